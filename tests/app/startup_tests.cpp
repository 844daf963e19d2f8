#include "ground/app_state.h"
#include "program/startup.h"
#include "support/editor_fixture.h"

#include <string.h>

static std::string Trimmed(const char* tail)
{
    wchar_t name[MAX_PATH];
    size_t length = TrimCommandLine(Wide(tail).c_str(), name, MAX_PATH);
    EXPECT_EQ(length, wcslen(name));
    return Utf8(name);
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
    wchar_t name[8] = L"x";
    EXPECT_EQ(TrimCommandLine(NULL, name, 8), 0u);
    EXPECT_STREQ(name, L"");
}

TEST(CommandLine, UnclosedQuoteIsDropped)
{
    EXPECT_EQ(Trimmed("\"C:\\notes.txt"), "C:\\notes.txt");
}

TEST(CommandLine, NameLongerThanTheBufferIsRefusedNotCut)
{
    wchar_t name[8];
    EXPECT_EQ(TrimCommandLine(L"\"abcdefgh.txt\"", name, 8), 0u);
    EXPECT_STREQ(name, L"");
    EXPECT_EQ(TrimCommandLine(L"abcdefg", name, 8), 7u);
    // Characters count, not their bytes in any code page.
    EXPECT_EQ(TrimCommandLine(L"\x4F1A\x8BAE\xD83D\xDE00.tx", name, 8), 7u);
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
    EXPECT_EQ(RunEditor(GetModuleHandleW(NULL), L""), 0);
    EXPECT_TRUE(RecordedPrompts().empty());
    App = saved;
    Config = savedConfig;
    EXPECT_TRUE(IsWindow(running));
}

TEST_F(StartupTest, FindDialogGetsItsKeysBeforeTheAccelerators)
{
    static FINDREPLACEW request;
    static wchar_t findWhat[64] = L"x";
    ZeroMemory(&request, sizeof(request));
    request.lStructSize = sizeof(request);
    request.hwndOwner = App.MainWindow;
    request.Flags = FR_DOWN;
    request.lpstrFindWhat = findWhat;
    request.wFindWhatLen = 64;
    App.FindDialog = FindTextW(&request);
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
    EXPECT_STREQ(CommandLineTail(L"scrivlet.exe \xE9t\xE9.txt"), L"\xE9t\xE9.txt");
    EXPECT_STREQ(CommandLineTail(L"scrivlet.exe \t \x4E2D\x6587.txt"), L"\x4E2D\x6587.txt");
    EXPECT_STREQ(CommandLineTail(L"\"C:\\My Files\\scrivlet.exe\"notes.txt"), L"notes.txt");
    EXPECT_STREQ(CommandLineTail(L"\"C:\\My Files\\scrivlet.exe\"  \"a b.txt\""), L"\"a b.txt\"");
    EXPECT_STREQ(CommandLineTail(L"C:\\\xE9\\scrivlet.exe a.txt b.txt"), L"a.txt b.txt");
    EXPECT_STREQ(CommandLineTail(L"\"unclosed name"), L"");
    EXPECT_STREQ(CommandLineTail(L"scrivlet.exe"), L"");
}
