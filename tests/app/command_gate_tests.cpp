// The command gate: the states each class of command is held by, every road a
// command arrives by asking it and keeping to its answer, and the menus and
// toolbar greying what it holds. Together: each road's answer in every state.
#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/user_prompts.h"
#include "ground/window_ids.h"
#include "program/commands.h"
#include "program/tray.h"
#include "support/editor_fixture.h"
#include "views/menu_state.h"
#include "resource.h"

#include <commctrl.h>
#include <dlgs.h>
#include <richedit.h>
#include <functional>
#include <map>
#include <string>

// What a command does to the text decides what holds it.
enum CommandClass { FREE, READS_TEXT, REPLACES_TEXT, CHANGES_TEXT };

static bool HeldBy(CommandClass kind, int states)
{
    // An incomplete text is neither read whole nor changed; the text being
    // printed or asked about is neither changed nor replaced. Loading alone
    // holds nothing: the text is incomplete for as long as it lasts.
    bool incomplete = (states & STATE_INCOMPLETE) != 0;
    bool busy = (states & (STATE_PRINTING | STATE_QUESTION)) != 0;
    switch (kind) {
    case FREE: return false;
    case READS_TEXT: return incomplete;
    case REPLACES_TEXT: return busy;
    case CHANGES_TEXT: return incomplete || busy;
    }
    return true;
}

static const int AllStates = STATE_INCOMPLETE | STATE_PRINTING | STATE_QUESTION | STATE_LOADING;

// Every command by name, each end of the ranges, and every entry of the
// encoding lists (the menus show each), with its class.
static std::map<int, CommandClass> WithEncodingEntries(std::map<int, CommandClass> classes)
{
    // Reopening replaces the text with the file's; converting changes what a save writes.
    for (int id = IDM_REOPEN_FIRST; id <= IDM_REOPEN_LAST; id++)
        classes[id] = CHANGES_TEXT;
    for (int id = IDM_CONVERT_FIRST; id <= IDM_CONVERT_LAST; id++)
        classes[id] = CHANGES_TEXT;
    return classes;
}
static const std::map<int, CommandClass> Classes = WithEncodingEntries({
    {IDM_NEWWINDOW, FREE}, {IDM_EXIT, FREE}, {IDM_COPY, FREE}, {IDM_SELECTALL, FREE},
    {IDM_TOOLBAR, FREE}, {IDM_STATUSBAR, FREE}, {IDM_ALWAYSONTOP, FREE}, {IDM_WORDWRAP, FREE},
    {IDM_LINENUMBERS, FREE}, {IDM_MARGIN, FREE}, {IDM_TOTRAY, FREE}, {IDM_ABOUT, FREE},
    {IDM_ZOOM_IN, FREE}, {IDM_ZOOM_OUT, FREE}, {IDM_ZOOM_RESET, FREE},
    {IDM_HELP, FREE}, {IDM_URL_OPEN, FREE}, {IDM_URL_SELECT, FREE}, {IDM_URL_COPY, FREE},
    {CMD_PEER_LIST_CHANGE, FREE}, {CMD_TRAY_RESTORE, FREE}, {CMD_LINK_CLICK, FREE},
    {SC_SIZE, FREE}, {SC_MOVE, FREE}, {SC_MINIMIZE, FREE}, {SC_MAXIMIZE, FREE},
    {SC_CLOSE, FREE}, {SC_RESTORE, FREE},
    {IDM_SAVE, READS_TEXT}, {IDM_SAVEAS, READS_TEXT}, {IDM_PROPERTIES, READS_TEXT},
    {IDM_EXECUTE, READS_TEXT}, {IDM_PRINT, READS_TEXT}, {IDM_FIND, READS_TEXT},
    {IDM_FINDNEXT, READS_TEXT}, {IDM_FINDPREV, READS_TEXT}, {IDM_GOTOLINE, READS_TEXT},
    {IDM_FAV_ADD, READS_TEXT}, {IDM_FAV_REMOVE, READS_TEXT}, {IDM_OPTIONS, READS_TEXT},
    {CMD_LINK_CLICK + 1, READS_TEXT}, // in no row
    {IDM_NEW, REPLACES_TEXT}, {IDM_OPEN, REPLACES_TEXT}, {IDM_RECENT_FIRST, REPLACES_TEXT},
    {IDM_RECENT_LAST, REPLACES_TEXT}, {IDM_FAV_FIRST, REPLACES_TEXT}, {IDM_FAV_LAST, REPLACES_TEXT},
    {IDM_FAV_OVERFLOW_FIRST, REPLACES_TEXT}, {IDM_FAV_OVERFLOW_LAST, REPLACES_TEXT},
    {CMD_DROP_FILE, REPLACES_TEXT},
    {IDM_RELOAD, CHANGES_TEXT}, {IDM_FORMAT_DOS, CHANGES_TEXT}, {IDM_FORMAT_UNIX, CHANGES_TEXT},
    {IDM_FORMAT_MAC, CHANGES_TEXT}, {IDM_UNDO, CHANGES_TEXT}, {IDM_REDO, CHANGES_TEXT},
    {IDM_CUT, CHANGES_TEXT}, {IDM_PASTE, CHANGES_TEXT}, {IDM_DELETE, CHANGES_TEXT},
    {IDM_INDENT, CHANGES_TEXT}, {IDM_UNINDENT, CHANGES_TEXT}, {IDM_REPLACE, CHANGES_TEXT},
    {IDM_DELETELINE, CHANGES_TEXT}, {IDM_TIMEDATE, CHANGES_TEXT}, {IDM_INSERTFILE, CHANGES_TEXT},
    {IDM_URL_CUT, CHANGES_TEXT}, {CMD_FIND_REPLACE_ONE, CHANGES_TEXT},
    {CMD_FIND_REPLACE_ALL, CHANGES_TEXT}, {CMD_TYPED_EDIT, CHANGES_TEXT},
});

TEST(CommandGate, EachCommandIsHeldByTheStatesOfItsClass)
{
    for (const auto& command : Classes)
        for (int states = 0; states <= AllStates; states++)
            EXPECT_EQ(IsCommandAllowedIn(command.first, states) != 0, !HeldBy(command.second, states))
                << "command " << command.first << ", states " << states;
}

static int ShellOpens;
static HINSTANCE WINAPI CountShellOpen(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT)
{
    ShellOpens++;
    return (HINSTANCE)33;
}

class CommandGateTest : public EditorFixture {
protected:
    void TearDown() override
    {
        HoldCommandForTests(0);
        EditorFixture::TearDown();
    }

    // Whether each menu item and each toolbar button can be used, by id,
    // after every menu was opened (each refreshes its own rules then).
    void Usable(std::map<int, bool>& items, std::map<int, bool>& buttons)
    {
        HMENU bar = GetMenu(App.MainWindow);
        for (int i = 0; i < GetMenuItemCount(bar); i++)
            SendMessageW(App.MainWindow, WM_INITMENUPOPUP, (WPARAM)GetSubMenu(bar, i), i);
        items.clear();
        UsableItems(bar, items);
        buttons.clear();
        int count = (int)SendMessageW(App.ToolBar, TB_BUTTONCOUNT, 0, 0);
        for (int i = 0; i < count; i++) {
            TBBUTTON button;
            if (SendMessageW(App.ToolBar, TB_GETBUTTON, (WPARAM)i, (LPARAM)&button) &&
                !(button.fsStyle & BTNS_SEP))
                buttons[button.idCommand] =
                    SendMessageW(App.ToolBar, TB_ISBUTTONENABLED, button.idCommand, 0) != 0;
        }
    }

    void UsableItems(HMENU menu, std::map<int, bool>& items)
    {
        for (int i = 0; i < GetMenuItemCount(menu); i++) {
            if (HMENU submenu = GetSubMenu(menu, i)) {
                UsableItems(submenu, items);
                continue;
            }
            int id = (int)GetMenuItemID(menu, i);
            if (id != 0 && id != -1)
                items[id] = !(GetMenuState(menu, (UINT)i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
        }
    }

    // Each command is greyed exactly while its class is held, a question
    // left out (it disables the whole window instead).
    void ExpectGreyedWhileHeld(const std::map<int, bool>& before, const std::map<int, bool>& now,
                               int states, const char* what)
    {
        for (const auto& command : before) {
            auto kind = Classes.find(command.first);
            ASSERT_TRUE(kind != Classes.end()) << what << " " << command.first << " has no class here";
            bool held = HeldBy(kind->second, states & ~STATE_QUESTION);
            EXPECT_EQ(now.at(command.first), command.second && !held)
                << what << " " << command.first << ", states " << states;
        }
    }
};

TEST_F(CommandGateTest, MenusAndToolbarGreyExactlyTheHeldCommands)
{
    // Much usable to start with: a change to save and undo, a selection to copy.
    TypeText("abc");
    SendMessageW(App.EditControl, EM_SETSEL, 0, 1);
    RunCommand(IDM_COPY);
    std::map<int, bool> items, buttons;
    Usable(items, buttons);
    for (int states = 1; states <= AllStates; states++) {
        EnterDocumentState(states);
        std::map<int, bool> heldItems, heldButtons;
        Usable(heldItems, heldButtons);
        ExpectGreyedWhileHeld(items, heldItems, states, "menu item");
        ExpectGreyedWhileHeld(buttons, heldButtons, states, "button");
        // Released, everything is as it was.
        LeaveDocumentState(states);
        ReleaseCommandsHeldBy(states);
        Usable(heldItems, heldButtons);
        EXPECT_EQ(heldItems, items) << "states " << states;
        EXPECT_EQ(heldButtons, buttons) << "states " << states;
    }
}

// A road the gate holds does nothing; allowed again, it acts.
TEST_F(CommandGateTest, EveryRoadAsksTheGateAndKeepsToItsAnswer)
{
    struct Road {
        const char* Name;
        int Id;
        std::function<void()> Prepare;
        std::function<void()> Arrive;
        std::function<std::string()> Effect;
    };
    std::string folder = MakeScratchFolder("gate");
    WriteBytes(folder + "dropped.txt", "dropped");
    const std::string favorite = folder + "favorite.txt";
    WriteBytes(favorite, "f");
    UserPrompts realPrompts = Prompts;
    Prompts.ShellExecute = CountShellOpen;

    auto wrap = [] { return std::to_string(Config.WordWrap); };
    auto text = [this] { return EditText(); };
    auto nothing = [] {};
    auto command = [](LPARAM from) {
        return [=] { SendMessageW(App.MainWindow, WM_COMMAND, MAKEWPARAM(IDM_WORDWRAP, 0), from); };
    };
    auto key = [this](UINT virtualKey, bool ctrl, bool shift, bool alt) {
        return [=] { PressKey(virtualKey, ctrl, shift, alt); };
    };
    auto copied = [this] {
        SetEditText("ab");
        SendMessageW(App.EditControl, EM_SETSEL, 0, -1);
        RunCommand(IDM_COPY);
        SendMessageW(App.EditControl, EM_SETSEL, 2, 2);
    };
    auto typed = [this] {
        SetEditText("ab");
        SendMessageW(App.EditControl, EM_SETSEL, 2, 2);
        TypeText("c");
    };
    auto dialog = [this] {
        SetEditText("aa");
        if (!App.FindDialog)
            RunCommand(IDM_REPLACE);
        SetDlgItemTextW(App.FindDialog, edt1, L"a");
        SetDlgItemTextW(App.FindDialog, edt2, L"b");
        SendMessageW(App.EditControl, EM_SETSEL, 0, 1);
    };
    auto click = [](int button) { return [=] { SendMessageW(GetDlgItem(App.FindDialog, button), BM_CLICK, 0, 0); }; };

    const Road roads[] = {
        {"menu", IDM_WORDWRAP, nothing, command(0), wrap},
        {"accelerator", IDM_WORDWRAP, nothing, key('W', true, false, false), wrap},
        {"toolbar", IDM_WORDWRAP, nothing, command((LPARAM)App.ToolBar), wrap},
        {"Ctrl+V", IDM_PASTE, copied, key('V', true, false, false), text},
        {"Shift+Insert", IDM_PASTE, copied, key(VK_INSERT, false, true, false), text},
        {"Ctrl+Alt+Insert", IDM_PASTE, copied, key(VK_INSERT, true, false, true), text},
        {"Ctrl+Z", IDM_UNDO, typed, key('Z', true, false, false), text},
        {"Tab", CMD_TYPED_EDIT, typed, key(VK_TAB, false, false, false), text},
        {"Enter", CMD_TYPED_EDIT, typed, key(VK_RETURN, false, false, false), text},
        {"drop", CMD_DROP_FILE,
         [this] {
             SetEditText("here");
             TakeTextAsFresh();
         },
         [&] { SendMessageW(App.MainWindow, WM_DROPFILES, (WPARAM)MakeFileDrop({folder + "dropped.txt"}), 0); },
         text},
        {"link", CMD_LINK_CLICK, [this] { SetEditText("http://a.example"); },
         [] {
             ENLINK link;
             ZeroMemory(&link, sizeof(link));
             link.nmhdr.hwndFrom = App.EditControl;
             link.nmhdr.idFrom = ID_EDITCONTROL;
             link.nmhdr.code = EN_LINK;
             link.msg = WM_LBUTTONDBLCLK;
             link.chrg.cpMax = 16;
             SendMessageW(App.MainWindow, WM_NOTIFY, ID_EDITCONTROL, (LPARAM)&link);
         },
         [] { return std::to_string(ShellOpens); }},
        {"favorites of another copy", CMD_PEER_LIST_CHANGE, nothing,
         [&] {
             std::wstring path = Wide(favorite);
             COPYDATASTRUCT message = {App.FavAddWideMessage, (DWORD)((path.size() + 1) * sizeof(wchar_t)),
                                       (PVOID)path.c_str()};
             SendMessageW(App.MainWindow, WM_COPYDATA, 0, (LPARAM)&message);
         },
         [] { return std::to_string(App.FavoritesList.Count); }},
        {"tray", CMD_TRAY_RESTORE, [] { HideToTray(App.MainWindow); },
         [] { SendMessageW(App.MainWindow, WM_MOUSEMOVE, TRAY_ICON_ID, WM_LBUTTONUP); },
         [] { return std::to_string(App.InTray); }},
        {"Replace", CMD_FIND_REPLACE_ONE, dialog, click(psh1), text},
        {"Replace All", CMD_FIND_REPLACE_ALL, dialog, click(psh2), text},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.Name);
        road.Prepare();
        Pump();
        std::string before = road.Effect();
        HoldCommandForTests(road.Id);
        road.Arrive();
        Pump();
        EXPECT_EQ(road.Effect(), before) << "held, yet it acted";
        HoldCommandForTests(0);
        road.Arrive();
        Pump();
        EXPECT_NE(road.Effect(), before) << "allowed, yet it did nothing";
    }
    Prompts = realPrompts;
}
