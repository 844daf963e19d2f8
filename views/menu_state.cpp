#include "views/menu_state.h"

#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "settings/recent_lists.h"
#include "views/title_bar.h"
#include "resource.h"

#include <commctrl.h>
#include <richedit.h>

static void GreyUnless(HMENU menu, UINT id, int condition)
{
    EnableMenuItem(menu, id, MF_BYCOMMAND | (condition ? MF_ENABLED : MF_GRAYED));
}

static void CheckIf(HMENU menu, UINT id, int condition)
{
    CheckMenuItem(menu, id, MF_BYCOMMAND | (condition ? MF_CHECKED : MF_UNCHECKED));
}

static void EnableButton(UINT id, int condition)
{
    SendMessageW(App.ToolBar, TB_ENABLEBUTTON, id, MAKELPARAM(condition ? 1 : 0, 0));
}

// Every menu item and toolbar button that the states hold: greyed, or when
// enabling, enabled where the gate allows it now.
static void SetHeldItems(HMENU menu, int states, int enable)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; i++) {
        HMENU submenu = GetSubMenu(menu, i);
        if (submenu) {
            SetHeldItems(submenu, states, enable);
            continue;
        }
        int id = (int)GetMenuItemID(menu, i);
        if (id != 0 && id != -1 && !IsCommandAllowedIn(id, states) && (!enable || IsCommandAllowed(id)))
            EnableMenuItem(menu, (UINT)i, MF_BYPOSITION | (enable ? MF_ENABLED : MF_GRAYED));
    }
}

static void SetHeldButtons(int states, int enable)
{
    int count = (int)SendMessageW(App.ToolBar, TB_BUTTONCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        TBBUTTON button;
        if (!SendMessageW(App.ToolBar, TB_GETBUTTON, (WPARAM)i, (LPARAM)&button))
            continue;
        int id = button.idCommand;
        if (!(button.fsStyle & BTNS_SEP) && !IsCommandAllowedIn(id, states) && (!enable || IsCommandAllowed(id)))
            SendMessageW(App.ToolBar, TB_ENABLEBUTTON, (WPARAM)id, MAKELPARAM(enable, 0));
    }
}

// A question is left out: it disables the whole window, and a grey put on
// for it would outlast it.
static void GreyHeldCommands(HMENU menu)
{
    int states = CurrentDocumentStates() & ~STATE_QUESTION;
    if (!states)
        return;
    SetHeldItems(menu, states, 0);
    SetHeldButtons(states, 0);
}

void ReleaseCommandsHeldBy(int state)
{
    SetHeldItems(GetMenu(App.MainWindow), state, 1);
    SetHeldButtons(state, 1);
}

static void UpdateFileMenu(HMENU menu)
{
    int modified = IsEditModified();
    GreyUnless(menu, IDM_RELOAD, App.HasFile);
    // Reopening needs the file's bytes.
    for (UINT id = IDM_REOPEN_FIRST; id <= IDM_REOPEN_LAST; id++)
        GreyUnless(menu, id, App.HasFile);
    GreyUnless(menu, IDM_PROPERTIES, App.HasFile);
    EnableButton(IDM_PROPERTIES, App.HasFile);
    GreyUnless(menu, IDM_EXECUTE, App.HasFile);
    EnableButton(IDM_EXECUTE, App.HasFile);
    GreyUnless(menu, IDM_SAVE, modified);
    EnableButton(IDM_SAVE, modified);
}

static void UpdateEditMenu(HMENU menu)
{
    int selection = (int)SendMessageW(App.EditControl, EM_SELECTIONTYPE, 0, 0);
    int length = GetTextLength(GTL_DEFAULT);
    int canPaste = (int)SendMessageW(App.EditControl, EM_CANPASTE, CF_TEXT, 0);
    int canUndo = EditCanUndo();
    int canRedo = EditCanRedo();

    CheckIf(menu, IDM_WORDWRAP, Config.WordWrap);
    SendMessageW(App.ToolBar, TB_SETSTATE, IDM_WORDWRAP,
                 MAKELPARAM(TBSTATE_ENABLED | (Config.WordWrap ? TBSTATE_CHECKED : 0), 0));
    GreyUnless(menu, IDM_PASTE, canPaste);
    EnableButton(IDM_PASTE, canPaste);
    GreyUnless(menu, IDM_UNDO, canUndo);
    EnableButton(IDM_UNDO, canUndo);
    GreyUnless(menu, IDM_COPY, selection != 0);
    EnableButton(IDM_COPY, selection != 0);
    GreyUnless(menu, IDM_DELETELINE, selection == 0 && length > 0);
    GreyUnless(menu, IDM_CUT, selection != 0);
    EnableButton(IDM_CUT, selection != 0);
    GreyUnless(menu, IDM_DELETE, selection != 0);
    GreyUnless(menu, IDM_REDO, canRedo);
    EnableButton(IDM_REDO, canRedo);
}

static void UpdateViewMenu(HMENU menu)
{
    CheckIf(menu, IDM_TOOLBAR, Config.Toolbar);
    CheckIf(menu, IDM_STATUSBAR, Config.Statusbar);
    CheckIf(menu, IDM_LINENUMBERS, Config.LineNumbers);
    CheckIf(menu, IDM_MARGIN, Config.SelectionBar);
}

static void UpdateFavoritesMenu(HMENU menu)
{
    // The list is searched only for a titled document.
    int listed = App.HasFile && FindInList(&App.FavoritesList, App.FilePath) >= 0;
    GreyUnless(menu, IDM_FAV_ADD, App.HasFile && !listed);
    GreyUnless(menu, IDM_FAV_REMOVE, App.HasFile && listed);
}

void UpdateMenuState(int menuIndex, HMENU menu)
{
    switch (menuIndex) {
    case MENU_FILE: UpdateFileMenu(menu); break;
    case MENU_EDIT: UpdateEditMenu(menu); break;
    case MENU_VIEW: UpdateViewMenu(menu); break;
    case MENU_FAVORITES: UpdateFavoritesMenu(menu); break;
    }
    GreyHeldCommands(menu);
}

void RefreshAfterEdit()
{
    RefreshTitle(IsEditModified());
    HMENU mainMenu = GetMenu(App.MainWindow);
    UpdateMenuState(MENU_FILE, mainMenu);
    UpdateMenuState(MENU_EDIT, mainMenu);
}
