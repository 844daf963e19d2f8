#include "program/commands.h"

#include "about/about.h"
#include "document/file_commands.h"
#include "document/encoding_commands.h"
#include "document/file_dialogs.h"
#include "document/load.h"
#include "document/new_document.h"
#include "document/save.h"
#include "editor/block_indent.h"
#include "editor/clipboard.h"
#include "editor/find_replace.h"
#include "editor/goto_line.h"
#include "editor/large_replace.h"
#include "editor/links.h"
#include "editor/own_undo.h"
#include "editor/time_date.h"
#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "ground/saved_text.h"
#include "ground/shell_open.h"
#include "ground/user_prompts.h"
#include "options/options_sheet.h"
#include "print/print.h"
#include "program/favorites_commands.h"
#include "program/tray.h"
#include "recovery/recovery.h"
#include "settings/ini_file.h"
#include "settings/recent_lists.h"
#include "text/extended_path.h"
#include "views/caret_status.h"
#include "views/encoding_menus.h"
#include "views/gutter.h"
#include "views/list_menus.h"
#include "views/main_window.h"
#include "views/menu_state.h"
#include "views/zoom.h"
#include "resource.h"

#include <richedit.h>
#include <shellapi.h>
#include <stdio.h>
#include <string.h>

#include <string>

HelpFunction HelpViewer = WinHelpW;

// The full path of the file name beside the program into path (INI_PATH_SIZE
// characters); 0, having told the user, when it is longer than the shell
// and the help viewer take: cut short it would name another file.
static int ProgramSibling(wchar_t* path, const wchar_t* name)
{
    wchar_t* namePart = ModuleSiblingPath(path);
    if (!namePart || (size_t)(namePart - path) + lstrlenW(name) >= MAX_PATH) {
        ShowError(L"The file name is too long.");
        return 0;
    }
    lstrcpynW(namePart, name, MAX_PATH);
    return 1;
}

void StartNewInstance(const wchar_t* parameters)
{
    PathBuffer program;
    if (!ModuleSiblingPath(program) || lstrlenW(program) >= MAX_PATH) {
        ShowError(L"The file name is too long.");
        return;
    }
    Prompts.ShellExecute(App.MainWindow, L"open", program, parameters, NULL, SW_SHOWNORMAL);
}

void ToggleWordWrap()
{
    // Line width 0 wraps at the window edge, 1 turns wrapping off.
    SendMessageW(App.EditControl, EM_SETTARGETDEVICE, 0, (LPARAM)Config.WordWrap);
    Config.WordWrap = !Config.WordWrap;
    UpdateCaretStatus();
}

static void ToggleBar(int* setting, HWND bar)
{
    *setting = !*setting;
    ShowWindow(bar, *setting ? SW_SHOWNORMAL : SW_HIDE);
    LayoutMainWindow();
}

static void ToggleGutterSetting(int* setting)
{
    *setting = !*setting;
    UpdateGutterWidth();
}

// The help is a page beside the program; an old help file there is shown
// by its own viewer.
void ShowHelp()
{
    PathBuffer path;
    if (!ProgramSibling(path, L"scrivlet.hlp"))
        return;
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) {
        HelpViewer(App.MainWindow, path, HELP_FINDER, 0);
        return;
    }
    if (ProgramSibling(path, L"scrivlet.html"))
        OpenWithShell(NULL, path);
}

static void SaveCommand()
{
    if (App.HasFile)
        SaveDocument();
    else
        ShowSaveAsDialog();
}

void ProvideTooltip(NMTTDISPINFOW* info)
{
    if (LoadStringW(App.Instance, (UINT)info->hdr.idFrom, App.TooltipText, TOOLTIP_CHARS) <= 0)
        App.TooltipText[0] = 0;
    info->hinst = NULL;
    info->lpszText = App.TooltipText;
}

// A recent-file or favorite command: opens the entry. Returns 0 when id is
// not one of theirs.
static int RunListCommand(int id)
{
    StringList* list = &App.RecentList;
    int index = ListIndexOfCommand(list, id);
    if (index < 0) {
        list = &App.FavoritesList;
        index = ListIndexOfCommand(list, id);
    }
    if (index < 0)
        return 0;
    const wchar_t* entry = ListItemAt(list, index);
    if (!entry)
        return 1;
    // A copy: the lists may change while the document opens (the save
    // question lets other copies' changes in).
    std::wstring copy = entry;
    const wchar_t* path = copy.c_str();
    // A recent file that fails to open is dropped by the load itself. A
    // favorite goes only when its file is gone: a cancelled save question
    // also stops the opening, and must not cost the user a favorite.
    if (!OpenDocument(path) && list == &App.FavoritesList &&
        GetFileAttributesW(ExtendedLengthPath(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
        RemoveByName(list, path);
        ShowListMenu(list);
    }
    return 1;
}

// An entry of the encoding submenu; 0 when id is not one of theirs.
static int RunEncodingCommand(int id)
{
    if (ReopenChoiceOfCommand(id) >= 0)
        ReopenInEncoding(ReopenChoiceOfCommand(id));
    else if (ConvertChoiceOfCommand(id) >= 0)
        ConvertToEncoding(ConvertChoiceOfCommand(id));
    else
        return 0;
    return 1;
}

void RunCommand(int id)
{
    if (!IsCommandAllowed(id))
        return;
    switch (id) {
    case IDM_NEWWINDOW: StartNewInstance(NULL); break;
    case IDM_NEW: NewDocument(); break;
    case IDM_OPEN: ShowOpenDialog(); break;
    case IDM_SAVE: SaveCommand(); break;
    case IDM_SAVEAS: ShowSaveAsDialog(); break;
    case IDM_RELOAD: ReloadDocument(); break;
    case IDM_PROPERTIES: ShowFileProperties(); break;
    case IDM_EXECUTE: ExecuteDocument(); break;
    case IDM_FORMAT_DOS: ChangeLineFormat(DOS); break;
    case IDM_FORMAT_UNIX: ChangeLineFormat(UNIX); break;
    case IDM_FORMAT_MAC: ChangeLineFormat(MAC); break;
    case IDM_EXIT: SendMessageW(App.MainWindow, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case IDM_UNDO: UndoEdit(); break;
    case IDM_REDO: RedoEdit(); break;
    case IDM_CUT: CutSelection(); break;
    case IDM_COPY: CopySelection(); break;
    case IDM_PASTE: PasteClipboard(); break;
    case IDM_DELETE: DeleteSelection(); break;
    case IDM_SELECTALL: SendMessageW(App.EditControl, EM_SETSEL, 0, -1); break;
    case IDM_INDENT: IndentBlock(INDENT); break;
    case IDM_UNINDENT: IndentBlock(UNINDENT); break;
    case IDM_GOTOLINE: ShowGoToLineDialog(); break;
    case IDM_FIND: OpenFindDialog(); break;
    case IDM_FINDNEXT: FindNext(); break;
    case IDM_FINDPREV: FindPrevious(); break;
    case IDM_REPLACE: OpenReplaceDialog(); break;
    case IDM_DELETELINE: DeleteLine(); break;
    case IDM_TIMEDATE: InsertTimeDate(); break;
    case IDM_INSERTFILE: InsertFileAtSelection(); break;
    case IDM_TOOLBAR: ToggleBar(&Config.Toolbar, App.ToolBar); break;
    case IDM_STATUSBAR: ToggleBar(&Config.Statusbar, App.StatusBar); break;
    case IDM_ALWAYSONTOP: SetAlwaysOnTop(!Config.AlwaysOnTop); break;
    case IDM_WORDWRAP: ToggleWordWrap(); break;
    case IDM_LINENUMBERS: ToggleGutterSetting(&Config.LineNumbers); break;
    case IDM_MARGIN: ToggleGutterSetting(&Config.SelectionBar); break;
    case IDM_ZOOM_IN: ZoomIn(); break;
    case IDM_ZOOM_OUT: ZoomOut(); break;
    case IDM_ZOOM_RESET: ResetZoom(); break;
    case IDM_FAV_ADD: AddCurrentToFavorites(); break;
    case IDM_FAV_REMOVE: RemoveCurrentFromFavorites(); break;
    case IDM_HELP: ShowHelp(); break;
    case IDM_PRINT: PrintDocument(App.FilePath); break;
    case IDM_OPTIONS: ShowOptions(App.MainWindow); break;
    case IDM_TOTRAY: HideToTray(App.MainWindow); break;
    case IDM_ABOUT: ShowAbout(); break;
    case IDM_URL_OPEN:
    case IDM_URL_SELECT:
    case IDM_URL_COPY:
    case IDM_URL_CUT: OnLinkCommand(id); break;
    // The list ranges come after every fixed id.
    default:
        if (!RunEncodingCommand(id))
            RunListCommand(id);
        break;
    }
}

void OnCommand(WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (HIWORD(wParam)) {
    case EN_CHANGE:
        // A change the control cannot undo (a new text) voids the own step too.
        ForgetOwnUndoStep();
        NoteTextChanged();
        RefreshAfterEdit();
        NoteRecoveryEdit();
        break;
    case EN_VSCROLL:
        if (Config.LineNumbers)
            PostMessageW(App.EditControl, WM_GUTTER_REFRESH, 0, 0);
        break;
    default:
        RunCommand(LOWORD(wParam));
        break;
    }
}
