// The main window procedure: every message is one call to a named handler.
#include "program/main_wndproc.h"

#include "document/background_load.h"
#include "document/file_watch.h"
#include "document/load.h"
#include "document/unsaved_changes.h"
#include "editor/find_replace.h"
#include "editor/keyboard.h"
#include "editor/links.h"
#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/user_prompts.h"
#include "program/commands.h"
#include "program/dpi_change.h"
#include "program/tray.h"
#include "recovery/recovery.h"
#include "settings/favorites.h"
#include "settings/recent_lists.h"
#include "settings/settings.h"
#include "text/memory.h"
#include "views/caret_status.h"
#include "views/colour_scheme.h"
#include "views/encoding_menus.h"
#include "views/list_menus.h"
#include "views/main_window.h"
#include "views/menu_state.h"
#include "resource.h"

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>
#include <string.h>

static LRESULT OnEditKey(MSGFILTER* filter)
{
    if (TakeEscapeDuringLoad(filter))
        return 1;
    return FilterEditKey(filter);
}

// A double-click on the status bar's encoding opens the Reopen list there.
static void OnStatusDoubleClick(const NMMOUSE* click)
{
    if (click->hdr.hwndFrom != App.StatusBar || click->dwItemSpec != STATUS_FORMAT)
        return;
    HMENU reopen = ReopenEncodingMenu();
    UpdateMenuState(MENU_FILE, GetMenu(App.MainWindow));
    POINT point = click->pt;
    ClientToScreen(App.StatusBar, &point);
    // The pick runs as the menu's own command would.
    int picked = Prompts.PopupMenu(reopen, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD,
                                   point.x, point.y, 0, App.MainWindow, NULL);
    if (picked)
        RunCommand(picked);
}

static LRESULT OnNotify(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    NMHDR* header = (NMHDR*)lParam;
    switch (header->code) {
    case NM_DBLCLK:
        OnStatusDoubleClick((const NMMOUSE*)lParam);
        break;
    case EN_MSGFILTER:
        return OnEditKey((MSGFILTER*)lParam);
    case EN_SELCHANGE:
        UpdateCaretStatus();
        break;
    case EN_LINK:
        return OnLinkNotify((ENLINK*)lParam);
    case TTN_GETDISPINFOW:
        ProvideTooltip((NMTTDISPINFOW*)lParam);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static void OnContextMenu()
{
    POINT cursor;
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) != App.EditControl)
        return;
    HMENU mainMenu = GetMenu(App.MainWindow);
    UpdateMenuState(MENU_EDIT, mainMenu);
    TrackPopupMenu(GetSubMenu(mainMenu, MENU_EDIT), TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0,
                   App.MainWindow, NULL);
}

static void OnDropFiles(HDROP drop)
{
    // Only the first file of a drop is taken. It is read whole: a name cut
    // to a fixed buffer would name another file; one too long to open is
    // refused by the loading itself.
    UINT length = DragQueryFileW(drop, 0, NULL, 0);
    wchar_t* name = length && IsCommandAllowed(CMD_DROP_FILE)
                        ? (wchar_t*)AllocZeroed(((size_t)length + 1) * sizeof(wchar_t))
                        : NULL;
    if (name && DragQueryFileW(drop, 0, name, length + 1) == length) {
        if (Config.DNDNewWindow && App.HasFile)
            StartNewInstance(name);
        else
            OpenDocument(name);
    }
    FreeBlock(name);
    DragFinish(drop);
}

static void OnMenuOpening(HWND window, HMENU menu, int index)
{
    // Another copy may have changed the favorites while this one was too busy to hear.
    if (menu == GetSubMenu(GetMenu(window), MENU_FAVORITES)) {
        CatchUpFavorites();
        ShowListMenu(&App.FavoritesList);
    }
    UpdateMenuState(index, menu);
}

static void OnPeerFavoritesChange(const COPYDATASTRUCT* data)
{
    OnFavoritesMessage(data);
    ShowListMenu(&App.FavoritesList);
}

static void SaveMainWindowSettings()
{
    WINDOWPLACEMENT placement;
    memset(&placement, 0, sizeof(placement));
    placement.length = sizeof(placement);
    int placed = GetWindowPlacement(App.MainWindow, &placement);
    SaveExitSettings(placed ? &placement : NULL);
}

// Returns 0 when the user kept the window open.
static int RunCloseFlow()
{
    if (QuerySaveChanges() == IDCANCEL)
        return 0;
    SaveMainWindowSettings();
    FreeLists();
    DestroyWindow(App.MainWindow);
    return 1;
}

// Dark apps or high contrast switched, or the system colours changed.
static void OnSystemSettingChange(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsLookChange(message, wParam, message == WM_SETTINGCHANGE ? (const wchar_t*)lParam : NULL))
        FollowSystemLook();
}

// Registered messages have no fixed ids, so they are matched before the switch.
static void OnRegisteredMessage(HWND window, UINT message, WPARAM wParam)
{
    if (message == App.WheelMessage)
        OnLegacyWheel((int)wParam);
    else if (message == App.TaskbarCreatedMessage)
        OnTaskbarCreated(window);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Registered ids cannot be cases of the switch.
    if (App.FindReplaceMessage != 0 && message == App.FindReplaceMessage)
        return OnFindReplaceMessage((FINDREPLACEW*)lParam);
    if (message >= 0xC000)
        OnRegisteredMessage(window, message, wParam);
    switch (message) {
    case WM_SIZE:
        LayoutMainWindow();
        break;
    case WM_SETFOCUS:
        SetFocus(App.EditControl);
        ArmFileCheck();
        break;
    case WM_PAINT:
        UpdateMenuState(MENU_EDIT, GetMenu(window));
        break;
    case WM_INITMENUPOPUP:
        OnMenuOpening(window, (HMENU)wParam, LOWORD(lParam));
        return 0;
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        break;
    case WM_NOTIFY:
        return OnNotify(window, message, wParam, lParam);
    case WM_CONTEXTMENU:
        OnContextMenu();
        break;
    case WM_TIMER:
        OnFileCheckTimer(wParam);
        OnRecoveryTimer(wParam);
        break;
    case WM_COPYDATA:
        if (IsCommandAllowed(CMD_PEER_LIST_CHANGE))
            OnPeerFavoritesChange((const COPYDATASTRUCT*)lParam);
        break;
    case WM_SYSCOMMAND:
        if (MinimizeToTrayInstead(window, wParam))
            return 0;
        break;
    case WM_MOUSEMOVE:
        OnTrayCallback(window, LOWORD(lParam));
        break;
    case WM_DROPFILES:
        OnDropFiles((HDROP)wParam);
        break;
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
        if (!RunCloseFlow())
            return 0;
        break;
    case WM_DPICHANGED:
        OnDpiChanged(window, HIWORD(wParam), (const RECT*)lParam);
        return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        OnSystemSettingChange(message, wParam, lParam);
        break;
    case WM_RECOVERY_WRITTEN:
        OnRecoveryWritten(wParam);
        break;
    case WM_DESTROY:
        EndIncompleteDocument();
        EndRecovery();
        ReleaseDpiResources();
        PostQuitMessage(0);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
