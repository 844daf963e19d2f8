#include "about/about.h"

#include "ground/app_state.h"
#include "ground/shell_open.h"
#include "resource.h"

#include <windowsx.h>

// Alive while the dialog is open.
static HFONT LinkFont = NULL;
static HCURSOR ArrowCursor = NULL;
static HCURSOR HandCursor = NULL;

static int IsLinkId(int id)
{
    return id == IDC_ABOUT_HOMEPAGE || id == IDC_ABOUT_FORUM || id == IDC_ABOUT_MAIL;
}

// The link label under a point of the message, or NULL.
static HWND LinkAt(HWND dialog, LPARAM lParam)
{
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    HWND child = ChildWindowFromPointEx(dialog, point, CWP_SKIPTRANSPARENT);
    if (!child || child == dialog || !IsLinkId(GetDlgCtrlID(child)))
        return NULL;
    return child;
}

static void OnAboutInit(HWND dialog)
{
    LOGFONTW font;
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    font.lfUnderline = TRUE;
    LinkFont = CreateFontIndirectW(&font);
    ArrowCursor = LoadCursorW(NULL, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    HandCursor = LoadCursorW(NULL, MAKEINTRESOURCEW(32649));  // IDC_HAND
    SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_SETICON, (WPARAM)App.AppIcon, 0);
    // A static control selects its own font after asking for its colours,
    // so the underlined font is given to the link labels as theirs too.
    SendDlgItemMessageW(dialog, IDC_ABOUT_HOMEPAGE, WM_SETFONT, (WPARAM)LinkFont, FALSE);
    SendDlgItemMessageW(dialog, IDC_ABOUT_FORUM, WM_SETFONT, (WPARAM)LinkFont, FALSE);
    SendDlgItemMessageW(dialog, IDC_ABOUT_MAIL, WM_SETFONT, (WPARAM)LinkFont, FALSE);
}

static INT_PTR OnAboutColor(HDC context, HWND control)
{
    if (!IsLinkId(GetDlgCtrlID(control)))
        return FALSE;
    SetBkColor(context, GetSysColor(COLOR_BTNFACE));
    SetTextColor(context, RGB(0, 0, 255));
    SelectObject(context, LinkFont);
    return (INT_PTR)GetSysColorBrush(COLOR_BTNFACE);
}

static void OnAboutMouseMove(HWND dialog, LPARAM lParam)
{
    SetCursor(LinkAt(dialog, lParam) ? HandCursor : ArrowCursor);
}

static void OnAboutClick(HWND dialog, LPARAM lParam)
{
    HWND link = LinkAt(dialog, lParam);
    if (!link)
        return;
    wchar_t target[250];
    target[0] = 0;
    SendMessageW(link, WM_GETTEXT, 250, (LPARAM)target);
    OpenWithShell(dialog, target);
}

static void CloseAbout(HWND dialog)
{
    EndDialog(dialog, 1);
    DeleteObject(LinkFont);
    LinkFont = NULL;
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnAboutInit(dialog);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return OnAboutColor((HDC)wParam, (HWND)lParam);
    case WM_MOUSEMOVE:
        OnAboutMouseMove(dialog, lParam);
        return FALSE;
    case WM_LBUTTONUP:
        OnAboutClick(dialog, lParam);
        return FALSE;
    case WM_COMMAND:
    case WM_CLOSE:
        CloseAbout(dialog);
        return TRUE;
    }
    return FALSE;
}

void ShowAbout()
{
    // The wide form keeps the Chinese labels whatever the ANSI code page is.
    DialogBoxParamW(App.Instance, MAKEINTRESOURCEW(IDD_ABOUT), App.MainWindow, AboutDlgProc, 0);
}
