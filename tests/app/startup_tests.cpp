#include "ground/app_state.h"
#include "program/startup.h"
#include "support/editor_fixture.h"

#include <string.h>

static std::string Trimmed(const char* tail)
{
    char name[MAX_PATH];
    size_t length = TrimCommandLine(tail, name, sizeof(name));
    EXPECT_EQ(length, strlen(name));
    return name;
}

TEST(CommandLine, QuotedOrBareNameWithBlanksIsOneName)
{
    EXPECT_EQ(Trimmed("\"C:\\My Files\\notes.txt\""), "C:\\My Files\\notes.txt");
    EXPECT_EQ(Trimmed("C:\\My Files\\notes.txt"), "C:\\My Files\\notes.txt");
    // Two names are taken as one name: there is never a second file.
    EXPECT_EQ(Trimmed("a.txt b.txt"), "a.txt b.txt");
    EXPECT_EQ(Trimmed("  \"a \"b\".txt\"  "), "a \"b\".txt");
}

TEST(CommandLine, NothingLeftOpensNothing)
{
    EXPECT_EQ(Trimmed("\"\""), "");
    EXPECT_EQ(Trimmed("    "), "");
    EXPECT_EQ(Trimmed(""), "");
    char name[8] = "x";
    EXPECT_EQ(TrimCommandLine(NULL, name, sizeof(name)), 0u);
    EXPECT_STREQ(name, "");
}

TEST(CommandLine, UnclosedQuoteIsDropped)
{
    EXPECT_EQ(Trimmed("\"C:\\notes.txt"), "C:\\notes.txt");
}

TEST(CommandLine, NameLongerThanTheBufferIsRefusedNotCut)
{
    char name[8];
    EXPECT_EQ(TrimCommandLine("\"abcdefgh.txt\"", name, sizeof(name)), 0u);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(TrimCommandLine("abcdefg", name, sizeof(name)), 7u);
}

class StartupTest : public EditorFixture {};

TEST_F(StartupTest, SecondRegistrationEndsTheRunSilentlyWithZero)
{
    // The class is registered by the running editor, so a second start-up in
    // this process cannot register it and must end at once.
    HWND running = App.MainWindow;
    ClearPromptLog();
    AppState saved = App;
    Settings savedConfig = Config;
    EXPECT_EQ(RunEditor(GetModuleHandleA(NULL), ""), 0);
    EXPECT_TRUE(RecordedPrompts().empty());
    App = saved;
    Config = savedConfig;
    EXPECT_TRUE(IsWindow(running));
}

TEST_F(StartupTest, FindDialogGetsItsKeysBeforeTheAccelerators)
{
    static FINDREPLACEA request;
    static char findWhat[64] = "x";
    ZeroMemory(&request, sizeof(request));
    request.lStructSize = sizeof(request);
    request.hwndOwner = App.MainWindow;
    request.Flags = FR_DOWN;
    request.lpstrFindWhat = findWhat;
    request.wFindWhatLen = sizeof(findWhat);
    App.FindDialog = FindTextA(&request);
    ASSERT_TRUE(App.FindDialog != NULL);
    HWND findEdit = GetDlgItem(App.FindDialog, 0x480); // the dialog's text box
    ASSERT_TRUE(findEdit != NULL);

    // F5 (insert time and date) typed into the find dialog stays there.
    MSG message = {findEdit, WM_KEYDOWN, VK_F5, 0x003F0001, 0, {0, 0}};
    HandleLoopMessage(&message);
    Pump();
    EXPECT_EQ(EditText(), "");

    // The same key meant for the editor is an accelerator of the main window.
    MSG forEditor = {App.EditControl, WM_KEYDOWN, VK_F5, 0x003F0001, 0, {0, 0}};
    HandleLoopMessage(&forEditor);
    Pump();
    EXPECT_NE(EditText(), "");

    DestroyWindow(App.FindDialog);
    App.FindDialog = NULL;
}

TEST(CommandLineTail, SkipsTheProgramNameByTheStartUpRule)
{
    EXPECT_STREQ(CommandLineTail("scrivlet.exe \xE9t\xE9.txt"), "\xE9t\xE9.txt");
    EXPECT_STREQ(CommandLineTail("scrivlet.exe \t \xA4\xA4\xA4\xE5.txt"), "\xA4\xA4\xA4\xE5.txt");
    EXPECT_STREQ(CommandLineTail("\"C:\\My Files\\scrivlet.exe\"notes.txt"), "notes.txt");
    EXPECT_STREQ(CommandLineTail("\"C:\\My Files\\scrivlet.exe\"  \"a b.txt\""), "\"a b.txt\"");
    EXPECT_STREQ(CommandLineTail("C:\\\xE9\\scrivlet.exe a.txt b.txt"), "a.txt b.txt");
    EXPECT_STREQ(CommandLineTail("\"unclosed name"), "");
    EXPECT_STREQ(CommandLineTail("scrivlet.exe"), "");
}
