// Go To Line: the dialog and the caret move behind it.
#include "editor/goto_line.h"

#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "resource.h"

void GoToLine(int line)
{
    if (line < 0)
        return;
    LONG position = EditLineIndex(line - 1);
    if (position < 0)
        return; // no such line: leave the caret where it is
    SetEditSelection(position, position);
}

static INT_PTR OnGoToLineInit(HWND dialog)
{
    SetDlgItemInt(dialog, IDC_GOTO_LINE, App.CaretLine, FALSE);
    return TRUE;
}

// Bad input keeps the dialog open with the text left for correction.
static void OnGoToLineOk(HWND dialog)
{
    BOOL isNumber = FALSE;
    UINT value = GetDlgItemInt(dialog, IDC_GOTO_LINE, &isNumber, FALSE);
    if (!isNumber) {
        MessageBeep(0);
        return;
    }
    if ((int)value <= 0) {
        AskUser(dialog, IDS_LINE_INVALID, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (EditLineIndex((LONG)value - 1) < 0) {
        AskUser(dialog, IDS_LINE_TOO_BIG, MB_OK | MB_ICONINFORMATION);
        return;
    }
    GoToLine((int)value);
    EndDialog(dialog, IDOK);
}

static INT_PTR OnGoToLineCommand(HWND dialog, int id)
{
    switch (id) {
    case IDOK: OnGoToLineOk(dialog); break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
    }
    return TRUE;
}

INT_PTR CALLBACK GoToLineDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG: return OnGoToLineInit(dialog);
    case WM_COMMAND: return OnGoToLineCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}

void ShowGoToLineDialog()
{
    // The wide form, so the Chinese texts of the template show under any code page.
    DialogBoxParamW(App.Instance, MAKEINTRESOURCEW(IDD_GOTOLINE), App.MainWindow, GoToLineDlgProc, 0);
}
