#include "about/about.h"

#include "ground/app_state.h"
#include "ground/shell_open.h"
#include "views/colour_scheme.h"
#include "resource.h"

// Alive while the dialog is open.
static HFONT LinkFont = NULL;
static HCURSOR HandCursor = NULL;

static int IsLinkId(int id)
{
    return id == IDC_ABOUT_HOMEPAGE || id == IDC_ABOUT_FORUM || id == IDC_ABOUT_MAIL;
}

static void OnAboutInit(HWND dialog)
{
    LOGFONTW font;
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    font.lfUnderline = TRUE;
    LinkFont = CreateFontIndirectW(&font);
    HandCursor = LoadCursorW(NULL, MAKEINTRESOURCEW(32649)); // IDC_HAND
    SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_SETICON, (WPARAM)App.AppIcon, 0);
}

// A link button drawn as a link: its text underlined in the link colour,
// and the focus frame round it when Tab has reached it.
static INT_PTR DrawLink(const DRAWITEMSTRUCT* item)
{
    if (!IsLinkId((int)item->CtlID))
        return FALSE;
    PaintedColours colours = CurrentColours();
    RECT area = item->rcItem;
    HBRUSH back = CreateSolidBrush(colours.LinkBack);
    FillRect(item->hDC, &area, back);
    DeleteObject(back);
    wchar_t text[250];
    text[0] = 0;
    GetWindowTextW(item->hwndItem, text, 250);
    HGDIOBJ oldFont = SelectObject(item->hDC, LinkFont);
    SetBkMode(item->hDC, TRANSPARENT);
    SetTextColor(item->hDC, colours.Link);
    RECT textArea = area;
    DrawTextW(item->hDC, text, -1, &textArea, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_CALCRECT);
    DrawTextW(item->hDC, text, -1, &textArea, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (item->itemState & ODS_FOCUS)
        DrawFocusRect(item->hDC, &textArea);
    SelectObject(item->hDC, oldFont);
    return TRUE;
}

// The hand over a link; the answer TRUE keeps the button's own arrow off.
static INT_PTR OnAboutCursor(HWND dialog, HWND over)
{
    if (!over || !IsLinkId(GetDlgCtrlID(over)))
        return FALSE;
    SetCursor(HandCursor);
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

static void OpenLink(HWND dialog, HWND link)
{
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

// A link opens (by click, Space, or Enter while it has the focus, which
// the dialog hands on as OK); every other command closes the box.
static void OnAboutCommand(HWND dialog, int id)
{
    HWND focus = GetFocus();
    if (IsLinkId(id))
        OpenLink(dialog, GetDlgItem(dialog, id));
    else if (id == IDOK && focus && GetParent(focus) == dialog && IsLinkId(GetDlgCtrlID(focus)))
        OpenLink(dialog, focus);
    else
        CloseAbout(dialog);
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnAboutInit(dialog);
        return TRUE;
    case WM_DRAWITEM:
        return DrawLink((const DRAWITEMSTRUCT*)lParam);
    case WM_SETCURSOR:
        return OnAboutCursor(dialog, (HWND)wParam);
    case WM_COMMAND:
        OnAboutCommand(dialog, LOWORD(wParam));
        return TRUE;
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
