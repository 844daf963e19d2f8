// What is written, where and when: the options save, the exit save and the
// close flow that runs it.
#include "ground/app_state.h"
#include "options/options_sheet.h"
#include "program/commands.h"
#include "settings/settings.h"
#include "support/editor_fixture.h"
#include "views/caret_status.h"
#include "resource.h"

#include <commctrl.h>
#include <richedit.h>
#include <stdio.h>
#include <map>
#include <string>
#include <vector>

typedef std::map<std::string, std::string> IniMap;
IniMap IniEntries(const std::string& text);

static std::string WindowColorText()
{
    char text[20];
    sprintf(text, "%u", (unsigned int)GetSysColor(COLOR_WINDOW));
    return text;
}

// The six keys every options confirmation writes, with the default font.
static IniMap DefaultFontKeys()
{
    return IniMap{{"Config/Font", "Fixedsys"}, {"Config/dwEffects", "0"},
                  {"Config/CharSet", "0"},     {"Config/FontSize", "220"},
                  {"Config/BackColor", WindowColorText()}, {"Config/FontColor", "0"}};
}

class ExitSettings : public EditorFixture {};

TEST_F(ExitSettings, ClosingAfterChangingNothingWritesNoKey)
{
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(ReadIni(), "");
}

struct MenuToggle {
    int Command;
    const char* Key;
    const char* Value;
};

class MenuToggleAtExit : public EditorFixture, public ::testing::WithParamInterface<MenuToggle> {};

TEST_P(MenuToggleAtExit, WrittenOnlyWhenTheWindowCloses)
{
    RunCommand(GetParam().Command);
    Pump();
    EXPECT_EQ(ReadIni(), ""); // not at the toggle
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(IniEntries(ReadIni()), (IniMap{{GetParam().Key, GetParam().Value}}));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MenuToggleAtExit,
    ::testing::Values(MenuToggle{IDM_TOOLBAR, "View/Toolbar", "0"},
                      MenuToggle{IDM_STATUSBAR, "View/Statusbar", "0"},
                      MenuToggle{IDM_WORDWRAP, "Config/WordWrap", "0"},
                      MenuToggle{IDM_ALWAYSONTOP, "View/AlwaysOnTop", "1"},
                      MenuToggle{IDM_LINENUMBERS, "View/LineNumbers", "1"},
                      MenuToggle{IDM_MARGIN, "View/SelectionBar", "1"}));

TEST_F(ExitSettings, ToolbarToggledThroughTheWindowProcedure)
{
    SendMessageA(App.MainWindow, WM_COMMAND, MAKEWPARAM(IDM_TOOLBAR, 0), 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(App.ToolBar));
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(IniEntries(ReadIni()), (IniMap{{"View/Toolbar", "0"}}));
}

TEST_F(ExitSettings, ToggledTwiceWritesNothing)
{
    RunCommand(IDM_STATUSBAR);
    RunCommand(IDM_STATUSBAR);
    RunCommand(IDM_WORDWRAP);
    RunCommand(IDM_WORDWRAP);
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(ReadIni(), "");
}

TEST_F(ExitSettings, TabSizeAndSearchTextsAreWrittenAtExit)
{
    SetTabSize(4);
    lstrcpyW(App.FindWhat, L"needle");
    lstrcpyW(App.ReplaceWith, L"thread");
    EXPECT_EQ(ReadIni(), "");
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(IniEntries(ReadIni()), (IniMap{{"Config/TabSize", "4"},
                                             {"Config/Search", "needle"},
                                             {"Config/Replace", "thread"}}));
}

TEST_F(ExitSettings, ExitCommandRunsTheCloseFlow)
{
    RunCommand(IDM_TOOLBAR);
    RunCommand(IDM_EXIT);
    Pump();
    EXPECT_FALSE(IsWindow(App.MainWindow));
    EXPECT_EQ(IniEntries(ReadIni()), (IniMap{{"View/Toolbar", "0"}}));
}

TEST_F(ExitSettings, EndOfSessionRunsTheCloseFlow)
{
    RunCommand(IDM_LINENUMBERS);
    SendMessageA(App.MainWindow, WM_QUERYENDSESSION, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(App.MainWindow));
    EXPECT_EQ(IniEntries(ReadIni()), (IniMap{{"View/LineNumbers", "1"}}));
}

TEST_F(ExitSettings, FlagsOfTheOptionsSheetAreNotWrittenAtExit)
{
    Config.HighlightURLs = 0;
    Config.SingleClickURLs = 0;
    Config.AutoIndent = 0;
    Config.FullPath = 1;
    Config.TabsToSpaces = 1;
    Config.DNDNewWindow = 1;
    Config.MinimizeToTray = 1;
    Config.EscapeExit = 0;
    Config.FileChange = 0;
    Config.SmartHome = 0;
    Config.DateFirst = 1;
    Config.RecentFiles = 0;
    Config.FontColor = RGB(1, 2, 3);
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(ReadIni(), "");
}

// --- The options save ----------------------------------------------------

// Records what is written into status-bar part 0, in order.
static WNDPROC statusBarProc = NULL;
static std::vector<std::string> statusMessages;

static LRESULT CALLBACK RecordStatusText(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SB_SETTEXTW && LOBYTE(LOWORD(wParam)) == 0)
        statusMessages.push_back(lParam ? Utf8((const wchar_t*)lParam) : "");
    return CallWindowProcW(statusBarProc, window, message, wParam, lParam);
}

class OptionSettings : public EditorFixture {
protected:
    void WatchStatusBar()
    {
        statusMessages.clear();
        statusBarProc = (WNDPROC)SetWindowLongPtrW(App.StatusBar, GWLP_WNDPROC, (LONG_PTR)RecordStatusText);
    }
    void TearDown() override
    {
        if (statusBarProc && IsWindow(App.StatusBar))
            SetWindowLongPtrW(App.StatusBar, GWLP_WNDPROC, (LONG_PTR)statusBarProc);
        statusBarProc = NULL;
        EditorFixture::TearDown();
    }
};

TEST_F(OptionSettings, UnchangedOptionsWriteOnlyTheSixFontKeys)
{
    SaveOptions();
    EXPECT_EQ(IniEntries(ReadIni()), DefaultFontKeys());
}

TEST_F(OptionSettings, ShowsSavingConfigurationWhileWriting)
{
    WatchStatusBar();
    SaveOptions();
    EXPECT_EQ(statusMessages, (std::vector<std::string>{"Saving Configuration...", ""}));
    EXPECT_EQ(StatusText(0), L"");
}

TEST_F(OptionSettings, ChangedFlagsAreWrittenAtOnce)
{
    Config.WordWrap = 0;
    Config.HighlightURLs = 0;
    Config.SingleClickURLs = 0;
    Config.AutoIndent = 0;
    Config.TabSize = 3;
    Config.SavePosition = 1;
    Config.RecentFiles = 0;
    Config.FullPath = 1;
    Config.AlwaysOnTop = 1;
    Config.TabsToSpaces = 1;
    Config.DNDNewWindow = 1;
    Config.MinimizeToTray = 1;
    Config.EscapeExit = 0;
    Config.FileChange = 0;
    Config.Recovery = 0;
    Config.SmartHome = 0;
    Config.DateFirst = 1;
    SaveOptions();
    IniMap expected = DefaultFontKeys();
    expected["Config/WordWrap"] = "0";
    expected["Config/HighlightURLs"] = "0";
    expected["Config/SingleClickURLs"] = "0";
    expected["Config/AutoIndent"] = "0";
    expected["Config/TabSize"] = "3";
    expected["View/SavePosition"] = "1";
    expected["View/RecentFiles"] = "0";
    expected["View/FullPath"] = "1";
    expected["View/AlwaysOnTop"] = "1";
    expected["View/TabsToSpaces"] = "1";
    expected["View/DNDNewWindow"] = "1";
    expected["View/MinimizeToTray"] = "1";
    expected["View/EscapeExit"] = "0";
    expected["View/FileChange"] = "0";
    expected["View/Recovery"] = "0";
    expected["View/SmartHome"] = "0";
    expected["View/DateFirst"] = "1";
    EXPECT_EQ(IniEntries(ReadIni()), expected);
}

TEST_F(OptionSettings, FontKeysComeFromTheCharacterFormatAndTheColours)
{
    lstrcpyW(Config.EditorCharFormat.szFaceName, L"Courier New");
    Config.EditorCharFormat.dwEffects = CFE_BOLD | CFE_ITALIC;
    Config.EditorCharFormat.bCharSet = 136;
    Config.EditorCharFormat.yHeight = 180;
    Config.EditorCharFormat.crTextColor = RGB(9, 9, 9); // not what is saved
    Config.FontColor = RGB(0, 0, 255);
    Config.BackColor = RGB(255, 255, 224);
    SaveOptions();
    IniMap entries = IniEntries(ReadIni());
    EXPECT_EQ(entries["Config/Font"], "Courier New");
    EXPECT_EQ(entries["Config/dwEffects"], "3");
    EXPECT_EQ(entries["Config/CharSet"], "136");
    EXPECT_EQ(entries["Config/FontSize"], "180");
    EXPECT_EQ(entries["Config/FontColor"], std::to_string(RGB(0, 0, 255)));
    EXPECT_EQ(entries["Config/BackColor"], std::to_string(RGB(255, 255, 224)));
}

TEST_F(OptionSettings, MenuTogglesWaitForTheExit)
{
    RunCommand(IDM_TOOLBAR);
    RunCommand(IDM_LINENUMBERS);
    SaveOptions();
    EXPECT_EQ(IniEntries(ReadIni()), DefaultFontKeys());
    ASSERT_TRUE(CloseMainWindow());
    IniMap expected = DefaultFontKeys();
    expected["View/Toolbar"] = "0";
    expected["View/LineNumbers"] = "1";
    EXPECT_EQ(IniEntries(ReadIni()), expected);
}

TEST_F(OptionSettings, SavedOptionsAreReadAtTheNextStart)
{
    Config.SmartHome = 0;
    Config.TabSize = 5;
    lstrcpyW(Config.EditorCharFormat.szFaceName, L"Courier New");
    Config.EditorCharFormat.yHeight = 240;
    Config.FontColor = RGB(0, 0, 128);
    SaveOptions();
    StopEditor();
    StartEditor("");
    EXPECT_EQ(Config.SmartHome, 0);
    EXPECT_EQ(Config.TabSize, 5);
    EXPECT_STREQ(Config.EditorCharFormat.szFaceName, L"Courier New");
    EXPECT_EQ(Config.EditorCharFormat.yHeight, 240);
    EXPECT_EQ(Config.FontColor, RGB(0, 0, 128));
}

// --- The close flow ------------------------------------------------------

class CloseFlow : public EditorFixture {
protected:
    // An untitled document holding text that was never saved.
    void MakeUnsavedText()
    {
        SetEditText("unsaved words");
        SendMessageA(App.EditControl, EM_SETMODIFY, TRUE, 0);
        Pump();
        ASSERT_EQ(App.HasFile, 0);
        ClearPromptLog();
    }
};

TEST_F(CloseFlow, CancelledQuestionKeepsTheWindowAndWritesNothing)
{
    MakeUnsavedText();
    RunCommand(IDM_TOOLBAR);
    QueueAnswer(IDCANCEL);
    bool closed = CloseMainWindow();
    ASSERT_EQ(RecordedPrompts().size(), 1u) << "the close must ask about the unsaved text";
    EXPECT_FALSE(closed);
    EXPECT_TRUE(IsWindow(App.MainWindow));
    EXPECT_EQ(ReadIni(), "");
}

TEST_F(CloseFlow, AnsweringNoClosesAndWritesTheSettings)
{
    MakeUnsavedText();
    RunCommand(IDM_TOOLBAR);
    QueueAnswer(IDNO);
    EXPECT_TRUE(CloseMainWindow());
    EXPECT_EQ(IniEntries(ReadIni()), (IniMap{{"View/Toolbar", "0"}}));
}

TEST_F(CloseFlow, UnmodifiedDocumentClosesWithoutAQuestion)
{
    RunCommand(IDM_ALWAYSONTOP);
    EXPECT_TRUE(CloseMainWindow());
    EXPECT_TRUE(RecordedPrompts().empty());
    EXPECT_EQ(IniEntries(ReadIni()), (IniMap{{"View/AlwaysOnTop", "1"}}));
}
