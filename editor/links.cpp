// Web addresses the control detects: open on click, and the link menu.
#include "editor/links.h"

#include "editor/clipboard.h"
#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "ground/shell_open.h"
#include "text/memory.h"
#include "resource.h"

void OpenLink(LONG start, LONG end)
{
    if (start < 0 || end <= start)
        return;
    wchar_t* address = ReadTextRange(start, end);
    if (!address)
        return;
    OpenWithShell(App.MainWindow, address);
    FreeBlock(address);
}

static void ShowLinkMenu(LPARAM clientPoint)
{
    POINT point;
    point.x = LOWORD(clientPoint);
    point.y = HIWORD(clientPoint);
    ClientToScreen(App.EditControl, &point);
    HMENU menu = LoadMenuW(App.Instance, MAKEINTRESOURCEW(IDR_LINKMENU));
    if (!menu)
        return;
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_LEFTBUTTON, point.x, point.y, 0,
                   App.MainWindow, NULL);
    DestroyMenu(menu);
}

LRESULT OnLinkNotify(ENLINK* link)
{
    App.LinkRange = link->chrg;
    if ((link->msg == WM_LBUTTONDOWN || link->msg == WM_LBUTTONDBLCLK) && !IsCommandAllowed(CMD_LINK_CLICK))
        return 0;
    switch (link->msg) {
    case WM_LBUTTONDOWN:
        if (Config.SingleClickURLs)
            OpenLink(App.LinkRange.cpMin, App.LinkRange.cpMax);
        return 0;
    case WM_LBUTTONDBLCLK:
        OpenLink(App.LinkRange.cpMin, App.LinkRange.cpMax);
        return 0;
    case WM_RBUTTONDOWN:
        ShowLinkMenu(link->lParam);
        return 1; // the control ignores the click
    }
    return 0;
}

static void CopyLinkKeepingSelection()
{
    CHARRANGE kept = GetEditSelection();
    SetEditSelection(App.LinkRange.cpMin, App.LinkRange.cpMax);
    CopySelection();
    SetEditSelection(kept.cpMin, kept.cpMax);
}

static void CutLink()
{
    SetEditSelection(App.LinkRange.cpMin, App.LinkRange.cpMax);
    CopySelection();
    DeleteSelection();
}

void OnLinkCommand(int id)
{
    switch (id) {
    case IDM_URL_OPEN: OpenLink(App.LinkRange.cpMin, App.LinkRange.cpMax); break;
    case IDM_URL_SELECT: SetEditSelection(App.LinkRange.cpMin, App.LinkRange.cpMax); break;
    case IDM_URL_COPY: CopyLinkKeepingSelection(); break;
    case IDM_URL_CUT: CutLink(); break;
    }
}
