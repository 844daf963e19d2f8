#include "print/print_progress.h"

#include "ground/app_state.h"
#include "resource.h"

#include <stdio.h>

static struct {
    HWND Dialog;
    int Cancelled;
    int QuitCode;       // a quit message that came while printing, posted again after
    int QuitSeen;
} Progress;

static INT_PTR CALLBACK PrintProgressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)dialog;
    (void)lParam;
    if (message == WM_INITDIALOG)
        return TRUE;
    // Cancel, Escape and the close box all come as IDCANCEL.
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        Progress.Cancelled = 1;
        return TRUE;
    }
    return FALSE;
}

// The printer asks this between bands and pages; so does the page loop.
static BOOL CALLBACK PrintAbortProc(HDC printer, int error)
{
    (void)printer;
    (void)error;
    MSG message;
    while (!Progress.Cancelled && PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            Progress.QuitSeen = 1;
            Progress.QuitCode = (int)message.wParam;
            Progress.Cancelled = 1;
            break;
        }
        if (Progress.Dialog && IsDialogMessageW(Progress.Dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return !Progress.Cancelled;
}

void StartPrintProgress(HDC printer)
{
    Progress.Cancelled = 0;
    Progress.QuitSeen = 0;
    // Nothing may edit or replace the text while its pages go out.
    EnableWindow(App.MainWindow, FALSE);
    if (App.FindDialog)
        EnableWindow(App.FindDialog, FALSE);
    Progress.Dialog = CreateDialogParamW(App.Instance, MAKEINTRESOURCEW(IDD_PRINTING), App.MainWindow,
                                         PrintProgressProc, 0);
    if (Progress.Dialog)
        SetFocus(GetDlgItem(Progress.Dialog, IDCANCEL));
    SetAbortProc(printer, PrintAbortProc);
}

void ShowPrintProgressPage(int page)
{
    if (!Progress.Dialog)
        return;
    wchar_t format[64];
    wchar_t text[96];
    if (LoadStringW(App.Instance, IDS_PRINTING_PAGE, format, 64) <= 0)
        lstrcpynW(format, L"%i", 64);
    _snwprintf(text, 96, format, page);
    text[95] = 0;
    SetDlgItemTextW(Progress.Dialog, IDC_PRINTING_PAGE, text);
    UpdateWindow(Progress.Dialog);
}

int PrintCancelled()
{
    return !PrintAbortProc(NULL, 0);
}

void EndPrintProgress()
{
    // The main window is enabled first, so it, not another program, takes
    // the activation back when the dialog goes.
    EnableWindow(App.MainWindow, TRUE);
    if (App.FindDialog)
        EnableWindow(App.FindDialog, TRUE);
    if (Progress.Dialog)
        DestroyWindow(Progress.Dialog);
    Progress.Dialog = NULL;
    if (Progress.QuitSeen)
        PostQuitMessage(Progress.QuitCode);
}
