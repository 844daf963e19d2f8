#include "editor/time_date.h"
#include "ground/app_state.h"
#include "program/commands.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <commctrl.h>
#include <string.h>

TEST(TimeDate, OrderFollowsTheSetting)
{
    SYSTEMTIME when;
    ZeroMemory(&when, sizeof(when));
    when.wYear = 2026;
    when.wMonth = 12;
    when.wDay = 7;
    when.wHour = 23;
    when.wMinute = 5;
    wchar_t date[50];
    wchar_t time[50];
    GetDateFormatW(0, DATE_SHORTDATE, &when, NULL, date, 50);
    GetTimeFormatW(0, TIME_NOSECONDS, &when, NULL, time, 50);

    wchar_t text[100];
    FormatTimeDate(&when, 0, text, 100);
    EXPECT_EQ(std::wstring(text), std::wstring(time) + L" " + date);
    FormatTimeDate(&when, 1, text, 100);
    EXPECT_EQ(std::wstring(text), std::wstring(date) + L" " + time);
    EXPECT_EQ(wcschr(text, L'\n'), nullptr);
}

using DispatchTest = EditorFixture;

TEST_F(DispatchTest, TimeDateKeyReplacesTheSelection)
{
    SetEditText("abc");
    SendMessageW(App.EditControl, EM_SETSEL, 0, 3);
    Config.DateFirst = 1;
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t expected[100];
    FormatTimeDate(&now, 1, expected, 100);
    PressKey(VK_F5);
    std::wstring text = EditTextW();
    EXPECT_EQ(text.find(L"abc"), std::wstring::npos);
    // Allow for a minute turning over between the two readings.
    wchar_t date[50];
    GetDateFormatW(0, DATE_SHORTDATE, &now, NULL, date, 50);
    EXPECT_EQ(text.rfind(date, 0), 0u) << Utf8(text);
    EXPECT_EQ(text.size() >= wcslen(expected) - 1, true) << Utf8(text);
}

TEST_F(DispatchTest, WordWrapTwiceReturnsToTheFirstStateWithMenuAndButton)
{
    HMENU menu = GetMenu(App.MainWindow);
    int first = Config.WordWrap;
    PressKey('W', true);
    EXPECT_EQ(Config.WordWrap, !first);
    EXPECT_EQ((GetMenuState(menu, IDM_WORDWRAP, MF_BYCOMMAND) & MF_CHECKED) != 0, Config.WordWrap != 0);
    EXPECT_EQ((SendMessageW(App.ToolBar, TB_GETSTATE, IDM_WORDWRAP, 0) & TBSTATE_CHECKED) != 0,
              Config.WordWrap != 0);
    PressKey('W', true);
    EXPECT_EQ(Config.WordWrap, first);
    EXPECT_EQ((GetMenuState(menu, IDM_WORDWRAP, MF_BYCOMMAND) & MF_CHECKED) != 0, first != 0);
    EXPECT_EQ((SendMessageW(App.ToolBar, TB_GETSTATE, IDM_WORDWRAP, 0) & TBSTATE_CHECKED) != 0,
              first != 0);
}

TEST_F(DispatchTest, ToolbarButtonSendsTheSameCommandAsTheMenu)
{
    // Each road turns the setting over once, from where the other left it.
    int first = Config.WordWrap;
    SendMessageW(App.MainWindow, WM_COMMAND, MAKEWPARAM(IDM_WORDWRAP, 0), (LPARAM)App.ToolBar);
    EXPECT_EQ(Config.WordWrap, !first);
    SendMessageW(App.MainWindow, WM_COMMAND, MAKEWPARAM(IDM_WORDWRAP, 0), 0);
    EXPECT_EQ(Config.WordWrap, first);
    SendMessageW(App.MainWindow, WM_COMMAND, MAKEWPARAM(IDM_WORDWRAP, 0), (LPARAM)App.ToolBar);
    EXPECT_EQ(Config.WordWrap, !first);
}

TEST_F(DispatchTest, UndoRedoAndSelectAllReachTheControl)
{
    TypeText("ab");
    PressKey('A', true);
    CHARRANGE all;
    SendMessageW(App.EditControl, EM_EXGETSEL, 0, (LPARAM)&all);
    EXPECT_EQ(all.cpMin, 0);
    EXPECT_GE(all.cpMax, 2); // the control may count its final paragraph mark too
    RunCommand(IDM_UNDO);
    EXPECT_NE(EditText(), "ab");
    RunCommand(IDM_REDO);
    EXPECT_EQ(EditText(), "ab");
}

TEST_F(DispatchTest, DroppingSeveralFilesOpensTheFirstOnly)
{
    std::string folder = MakeScratchFolder("drop");
    WriteBytes(folder + "first.txt", "one");
    WriteBytes(folder + "second.txt", "two");
    WriteBytes(folder + "third.txt", "three");
    SendMessageW(App.MainWindow, WM_DROPFILES,
                 (WPARAM)MakeFileDrop({folder + "first.txt", folder + "second.txt", folder + "third.txt"}), 0);
    Pump();
    EXPECT_EQ(EditText(), "one");
    EXPECT_EQ(App.HasFile, 1);
}

TEST_F(DispatchTest, DropIntoUntitledWindowOpensHereEvenForNewWindowSetting)
{
    Config.DNDNewWindow = 1;
    std::string folder = MakeScratchFolder("drop_here");
    WriteBytes(folder + "here.txt", "here");
    SendMessageW(App.MainWindow, WM_DROPFILES, (WPARAM)MakeFileDrop({folder + "here.txt"}), 0);
    Pump();
    EXPECT_EQ(EditText(), "here");
}

TEST_F(DispatchTest, ExitClosesThroughTheCloseFlow)
{
    RunCommand(IDM_EXIT);
    Pump();
    EXPECT_FALSE(IsWindow(App.MainWindow));
}

TEST_F(DispatchTest, DroppedNameTooLongIsRefusedNotCut)
{
    SetEditText("kept");
    std::string folder = MakeScratchFolder("drop_long");
    // Cut to a path buffer this name would still name an existing file.
    std::string longName = folder + std::string(300 - folder.size(), 'x');
    WriteBytes(longName.substr(0, MAX_PATH - 1), "wrong file");
    SendMessageW(App.MainWindow, WM_DROPFILES, (WPARAM)MakeFileDrop({longName}), 0);
    Pump();
    // The whole name goes to the load, which asks about that file: no such file.
    EXPECT_EQ(EditText(), "kept");
    EXPECT_EQ(App.HasFile, 0);
    ASSERT_FALSE(RecordedPrompts().empty());
    EXPECT_EQ(RecordedPrompts().back().Text, L"Can't open file \"" + Wide(longName) + L"\", Create new file?");
    // Past what any path can be, the name is refused as it is.
    std::string tooLong = folder + std::string(PATH_CAPACITY, 'x');
    SendMessageW(App.MainWindow, WM_DROPFILES, (WPARAM)MakeFileDrop({tooLong}), 0);
    Pump();
    EXPECT_EQ(EditText(), "kept");
    EXPECT_EQ(RecordedPrompts().back().Text, L"The file name is too long.");
    RemoveFile(longName.substr(0, MAX_PATH - 1));
}
