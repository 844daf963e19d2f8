// Find and replace, driven through the real modeless dialogs: their buttons
// send the registered notification to the main window as a user's click does.
#include "document/save.h"
#include "editor/find_replace.h"
#include "editor/replace_text.h"
#include "ground/edit_control.h"
#include "ground/status_text.h"
#include "ground/user_prompts.h"
#include "text/memory.h"
#include "views/menu_state.h"
#include "editor_test_support.h"
#include "resource.h"

#include <stdlib.h>

static const int FindTextBox = 0x480;
static const int ReplaceTextBox = 0x481;
static const int MatchCaseBox = 0x411;
static const int ReplaceButton = 0x400;
static const int ReplaceAllButton = 0x401;
static const wchar_t NotFoundText[] = L"找不到搜尋的字串!";

class FindReplaceTest : public EditorBehaviourTest {
protected:
    void Open(int command, const wchar_t* find, const wchar_t* replacement = NULL)
    {
        Command(command);
        ASSERT_TRUE(App.FindDialog != NULL);
        if (find)
            SetDlgItemTextW(App.FindDialog, FindTextBox, find);
        if (replacement)
            SetDlgItemTextW(App.FindDialog, ReplaceTextBox, replacement);
    }

    void Click(int button)
    {
        SendMessageW(GetDlgItem(App.FindDialog, button), BM_CLICK, 0, 0);
        Pump();
    }

    std::wstring DialogText(int id)
    {
        wchar_t text[300];
        text[0] = 0;
        GetDlgItemTextW(App.FindDialog, id, text, 300);
        return text;
    }

    bool ShowedNotFound(HWND owner)
    {
        for (const RecordedPrompt& prompt : RecordedPrompts())
            if (prompt.Text == NotFoundText && prompt.Caption == L"scrivlet" && prompt.Owner == owner &&
                prompt.Buttons == MB_OK && prompt.Icon == MB_ICONINFORMATION)
                return true;
        return false;
    }
};

// Run only by the code-page-950 run (which also runs disabled cases): the
// ANSI code page must really be the one it asked for.
TEST(CodePage, DISABLED_IsTheOneTheRunAskedFor)
{
    const char* expected = getenv("SCRIVLET_EXPECT_ACP");
    ASSERT_TRUE(expected != NULL);
    EXPECT_EQ(GetACP(), (UINT)atoi(expected));
}

TEST_F(FindReplaceTest, FindProposesTheSelectionThenSearchesWrapsAndRepeatsAfterClosing)
{
    SetEditTextW(L"中文 one 中文 two 中文");
    Select(7, 9); // the second 中文
    PressKey('F', true);
    ASSERT_TRUE(App.FindDialog != NULL);
    EXPECT_EQ(DialogText(FindTextBox), L"中文");

    Click(IDOK);
    EXPECT_SELECTION(14, 16);
    EXPECT_EQ(StatusText(0), L"");
    Click(IDOK); // only earlier matches are left
    EXPECT_SELECTION(0, 2);
    EXPECT_EQ(StatusText(0), L"Search wrapped...");

    // Escape in the text box, through the program's loop, closes the dialog;
    // the box losing the focus as it goes must not lose the search options.
    SetFocus(GetDlgItem(App.FindDialog, FindTextBox));
    PostMessageA(GetDlgItem(App.FindDialog, FindTextBox), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    Pump();
    EXPECT_TRUE(App.FindDialog == NULL);
    PressKey(VK_F3); // the last search, its options kept
    EXPECT_SELECTION(7, 9);
    PressKey(VK_F3, false, true); // Shift+F3 goes the other way
    EXPECT_SELECTION(0, 2);
    EXPECT_TRUE(RecordedPrompts().empty());
}

// The INI file holds the texts in UTF-16: any text comes back whole at the
// next run, whatever the ANSI code page.
TEST_F(FindReplaceTest, SearchTextsComeBackWholeAtTheNextRunInAnyCodePage)
{
    lstrcpyW(App.FindWhat, L"old");
    Open(IDM_FIND, NULL);
    EXPECT_EQ(DialogText(FindTextBox), L"old");
    SetEditTextW(L"abc 中文");
    SetDlgItemTextW(App.FindDialog, FindTextBox, L"");
    PutUnicodeOnClipboard(L"中文"); // pasted, as a user gets Chinese into the box
    SendMessageW(GetDlgItem(App.FindDialog, FindTextBox), WM_PASTE, 0, 0);
    Click(IDOK);
    EXPECT_SELECTION(4, 6);
    EXPECT_STREQ(App.FindWhat, L"中文");
    ASSERT_TRUE(CloseMainWindow());
    StopEditor();
    StartEditor("");
    EXPECT_STREQ(App.FindWhat, L"中文");
    EXPECT_EQ((unsigned char)ReadBytes(IniPath())[0], 0xFFu) << "kept as UTF-16";
}

TEST_F(FindReplaceTest, SearchAndReplaceTextsComeBackAtTheNextRun)
{
    SetEditText("needle");
    Open(IDM_REPLACE, L"needle", L"thread");
    Click(IDOK);
    ASSERT_TRUE(CloseMainWindow());
    StopEditor();
    StartEditor("");
    Open(IDM_REPLACE, NULL);
    EXPECT_EQ(DialogText(FindTextBox), L"needle");
    EXPECT_EQ(DialogText(ReplaceTextBox), L"thread");
}

TEST_F(FindReplaceTest, FindNextBeforeAnySearchOpensTheDialog)
{
    SetEditText("abc");
    PressKey(VK_F3);
    HWND findDialog = App.FindDialog;
    ASSERT_TRUE(findDialog != NULL);
    EXPECT_SELECTION(0, 0);

    // Replace takes the Find dialog off the screen; its own notifications still count.
    Open(IDM_REPLACE, L"c");
    EXPECT_FALSE(IsWindowVisible(findDialog));
    EXPECT_TRUE(IsWindowVisible(App.FindDialog));
    Click(IDOK);
    EXPECT_SELECTION(2, 3);
}

TEST_F(FindReplaceTest, FindPreviousAtTheStartWrapsToTheEndAndAMissReports3003)
{
    SetEditText("ab cd ab");
    Open(IDM_FIND, L"ab");
    Click(IDOK);
    EXPECT_SELECTION(0, 2);
    Select(0, 0);
    Command(IDM_FINDPREV);
    EXPECT_SELECTION(6, 8);
    EXPECT_EQ(StatusText(0), L"Search wrapped...");

    SetDlgItemTextW(App.FindDialog, FindTextBox, L"zz");
    Select(3, 4);
    Click(IDOK);
    EXPECT_SELECTION(3, 4);
    EXPECT_EQ(StatusText(0), L"Search wrapped...");
    EXPECT_TRUE(ShowedNotFound(App.FindDialog));
}

TEST_F(FindReplaceTest, ReplaceReplacesTheMatchingSelectionAndMovesOnWrappingSilently)
{
    SetEditText("cat dog cat dog");
    Open(IDM_REPLACE, L"dog", L"Ox");
    Select(4, 7);
    Click(ReplaceButton);
    EXPECT_EQ(EditText(), "cat Ox cat dog");
    EXPECT_SELECTION(11, 14);

    Select(10, 10); // the caret right before a match: that one is skipped
    SetDlgItemTextW(App.FindDialog, FindTextBox, L"cat");
    Click(ReplaceButton);
    EXPECT_EQ(EditText(), "cat Ox cat dog");
    EXPECT_SELECTION(0, 3); // wrapped to position 0 without a word

    SetDlgItemTextW(App.FindDialog, FindTextBox, L"CAT"); // compared without case
    Click(ReplaceButton);
    EXPECT_EQ(EditText(), "Ox Ox cat dog");
    EXPECT_SELECTION(6, 9);
    EXPECT_TRUE(RecordedPrompts().empty());

    SetDlgItemTextW(App.FindDialog, FindTextBox, L"none");
    Click(ReplaceButton);
    EXPECT_TRUE(ShowedNotFound(App.MainWindow));
}

TEST_F(FindReplaceTest, ReplaceAllIsOneUndoStepAndNeverSearchesItsOwnReplacement)
{
    SetEditText("aaa");
    SendMessageA(App.EditControl, EM_EMPTYUNDOBUFFER, 0, 0);
    SetEditModified(0);
    RefreshAfterEdit();
    ASSERT_EQ(WindowTitle(), "[Untitled] - scrivlet");
    Open(IDM_REPLACE, L"a", L"aa");
    Click(ReplaceAllButton);
    EXPECT_EQ(EditText(), "aaaaaa");
    EXPECT_EQ(StatusText(0), L"Items replaced: 3");
    EXPECT_EQ(WindowTitle(), "[Untitled]* - scrivlet"); // the masked change notification made up
    SendMessageA(App.EditControl, EM_UNDO, 0, 0);
    EXPECT_EQ(EditText(), "aaa");

    SetEditText("Cat cat\rCAT");
    SetDlgItemTextW(App.FindDialog, FindTextBox, L"cat");
    SetDlgItemTextW(App.FindDialog, ReplaceTextBox, L"");
    Click(ReplaceAllButton);
    EXPECT_EQ(EditText(), " \r");
    EXPECT_EQ(StatusText(0), L"Items replaced: 3");
    SendMessageA(App.EditControl, EM_UNDO, 0, 0); // matches on two lines: still one step
    EXPECT_EQ(EditText(), "Cat cat\rCAT");

    SetEditText("Cat cat CAT");
    CheckDlgButton(App.FindDialog, MatchCaseBox, BST_CHECKED);
    SetDlgItemTextW(App.FindDialog, ReplaceTextBox, L"中文");
    Click(ReplaceAllButton);
    EXPECT_EQ(EditTextW(), L"Cat 中文 CAT");
    EXPECT_EQ(StatusText(0), L"Items replaced: 1");

    SetDlgItemTextW(App.FindDialog, FindTextBox, L"");
    SetStatusText(0, L"");
    Click(ReplaceAllButton);
    EXPECT_EQ(StatusText(0), L"");
}

// Memory runs out: the replaced text would be longer than any the control holds.
TEST_F(FindReplaceTest, ReplaceAllThatRunsOutOfMemoryShowsOnlyTheError)
{
    const std::string text(3000, 'a');
    SetEditText(text.c_str());
    Open(IDM_REPLACE, L"a", L"b");
    SetStatusText(0, L"");
    std::wstring huge(1000000, L'b');
    FINDREPLACEW request = App.FindRequest;
    request.Flags = FR_REPLACEALL | FR_DOWN;
    request.lpstrFindWhat = (LPWSTR)L"a";
    request.lpstrReplaceWith = &huge[0];
    SendMessageW(App.MainWindow, App.FindReplaceMessage, 0, (LPARAM)&request);
    Pump();
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Text, L"Not enough memory to replace all.");
    EXPECT_EQ(StatusText(0), L"");
    EXPECT_EQ(EditText(), text);
}

// Whole-word matches of Replace All agree with the control's own search, which
// Find Next uses, including right after a replacement.
TEST_F(FindReplaceTest, WholeWordReplaceAllAgreesWithTheControlsSearch)
{
    const wchar_t* text = L"cat cats scat cat.cat_cat 1cat cat";
    SetEditTextW(text);
    int controlCount = 0;
    FINDTEXTEXW request = {{0, -1}, L"cat", {0, 0}};
    while (SendMessageA(App.EditControl, EM_FINDTEXTEXW, FR_DOWN | FR_WHOLEWORD, (LPARAM)&request) >= 0) {
        controlCount++;
        request.chrg.cpMin = request.chrgText.cpMax;
    }
    EXPECT_EQ(ReplaceAll(L"cat", L"dog", FR_WHOLEWORD), controlCount);

    ReplacedSpan span;
    EXPECT_EQ(ReplaceAllInText(L".a.a", 4, L".a", L"-", FR_WHOLEWORD, &span), 2);
    EXPECT_EQ(std::wstring(span.Text), L"--");
    FreeBlock(span.Text);
    EXPECT_EQ(ReplaceAllInText(L".a.a", 4, L".a", L"x", FR_WHOLEWORD, &span), 1);
    FreeBlock(span.Text);
}

// The text transform behind Replace All on generated documents of short
// lines, both too big for the processor's caches: ten times the matches cost
// about ten times the time (page faults make it vary), where any search or
// copy that restarts per match would cost thousands of times as much.
TEST(ReplaceAllText, TimeGrowsLinearlyWithTheMatches)
{
    double seconds[2];
    int counts[2] = {100000, 1000000};
    for (int run = 0; run < 2; run++) {
        std::wstring text;
        for (int i = 0; i < counts[run]; i++)
            text += (i % 10 == 9) ? L"x needle\r" : L"x needle ";
        seconds[run] = 1e9;
        for (int repeat = 0; repeat < 5; repeat++) {
            LARGE_INTEGER frequency, start, end;
            QueryPerformanceFrequency(&frequency);
            QueryPerformanceCounter(&start);
            ReplacedSpan span;
            int count = ReplaceAllInText(text.c_str(), (LONG)text.size(), L"NEEDLE", L"pin", 0, &span);
            QueryPerformanceCounter(&end);
            FreeBlock(span.Text);
            ASSERT_EQ(count, counts[run]);
            double taken = (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
            if (taken < seconds[run])
                seconds[run] = taken;
        }
    }
    printf("Replace All text transform: %d matches %.4f s, %d matches %.4f s\n", counts[0], seconds[0],
           counts[1], seconds[1]);
    EXPECT_LT(seconds[1], seconds[0] * 50);
}

// What the control held right after a Replace All clicked while a question
// or the print dialog was up.
static std::wstring TextAfterClickDuringPrompt;

static void ClickReplaceAllNow()
{
    SendMessageW(GetDlgItem(App.FindDialog, ReplaceAllButton), BM_CLICK, 0, 0);
    wchar_t text[64] = L"";
    GetWindowTextW(App.EditControl, text, 64);
    TextAfterClickDuringPrompt = text;
}

static int ClickDuringQuestion(HWND, const wchar_t*, const wchar_t*, UINT)
{
    ClickReplaceAllNow();
    return IDCANCEL;
}

static BOOL WINAPI ClickDuringPrintDialog(PRINTDLGW*)
{
    ClickReplaceAllNow();
    return FALSE;
}

// A question and the print dialog are about the text as it stands; the find
// dialog, usable meanwhile, changes nothing until they are over.
TEST_F(FindReplaceTest, ReplaceAllWaitsWhileAQuestionOrThePrintDialogIsUp)
{
    SetEditText("aaa");
    SetEditModified(1);
    Open(IDM_REPLACE, L"a", L"b");
    UserPrompts kept = Prompts;
    Prompts.Message = ClickDuringQuestion;
    Command(IDM_NEW);
    Prompts = kept;
    EXPECT_EQ(TextAfterClickDuringPrompt, L"aaa");
    EXPECT_EQ(EditText(), "aaa");

    TextAfterClickDuringPrompt.clear();
    Prompts.PrintDialog = ClickDuringPrintDialog;
    Command(IDM_PRINT);
    Prompts = kept;
    EXPECT_EQ(TextAfterClickDuringPrompt, L"aaa");

    Click(ReplaceAllButton);
    EXPECT_EQ(EditText(), "bbb");
}

// Characters outside the code page, typed the ways the system delivers them,
// are found, replaced and saved whole; an ANSI save asks first and names why.
using UnicodeText = FindReplaceTest;

TEST_F(UnicodeText, TypedFoundReplacedAndSavedInEveryEncoding)
{
    ExpectTheCodePageAskedFor();
    const std::wstring typed = L"\x4EEC\xD83D\xDE00"; // 们😀
    // As the keyboard gives it: UTF-16 units, a pair for the emoji.
    for (wchar_t unit : typed)
        PostMessageW(App.EditControl, WM_CHAR, unit, 1);
    Pump();
    EXPECT_TRUE(EditTextW() == typed) << Utf8(EditTextW());
    // As code points, which the window says it takes.
    SetEditText("");
    EXPECT_EQ(SendMessageW(App.EditControl, WM_UNICHAR, UNICODE_NOCHAR, 0), TRUE);
    SendMessageW(App.EditControl, WM_UNICHAR, 0x4EEC, 1);
    SendMessageW(App.EditControl, WM_UNICHAR, 0x1F600, 1);
    Pump();
    EXPECT_TRUE(EditTextW() == typed) << Utf8(EditTextW());

    SetEditTextW(L"a" + typed + L"b" + typed);
    Open(IDM_FIND, typed.c_str());
    Click(IDOK);
    EXPECT_SELECTION(1, 4);
    Click(IDOK);
    EXPECT_SELECTION(5, 8);
    SendMessageW(App.FindDialog, WM_CLOSE, 0, 0);
    Pump();
    Open(IDM_REPLACE, L"\xD83D\xDE00", L"\xD83C\xDF89"); // 😀 by 🎉
    Click(ReplaceAllButton);
    const std::wstring replaced = L"a\x4EEC\xD83C\xDF89" L"b\x4EEC\xD83C\xDF89";
    ASSERT_TRUE(EditTextW() == replaced) << Utf8(EditTextW());

    std::string path = MakeScratchFolder("unicode_text") + "saved.txt";
    lstrcpynW(App.FilePath, Wide(path).c_str(), PATH_CAPACITY);
    App.HasFile = 1;
    std::string ansi(64, '\0');
    ansi.resize((size_t)WideCharToMultiByte(CP_ACP, 0, replaced.c_str(), (int)replaced.size(), &ansi[0], 64,
                                            NULL, NULL));
    struct Save {
        int Encoding, NoMark;
        std::string Bytes;
    } saves[] = {
        {ENCODING_UTF8, 1, "a\xE4\xBB\xAC\xF0\x9F\x8E\x89" "b\xE4\xBB\xAC\xF0\x9F\x8E\x89"},
        {ENCODING_UTF16LE, 0, std::string("\xFF\xFE" "a\0\xEC\x4E\x3C\xD8\x89\xDF" "b\0\xEC\x4E\x3C\xD8\x89\xDF", 18)},
        {ENCODING_ANSI, 0, ansi},
    };
    for (const Save& save : saves) {
        App.Encoding = save.Encoding;
        App.NoByteOrderMark = save.NoMark;
        App.AcceptedChanges = 0;
        SetEditModified(1);
        ClearPromptLog();
        QueueAnswer(IDNO); // an ANSI save: keep ANSI, with "?" for what it cannot hold
        ASSERT_EQ(SaveDocument(), 1) << save.Encoding;
        EXPECT_EQ(ReadBytes(path), save.Bytes) << save.Encoding;
        if (save.Encoding != ENCODING_ANSI) {
            EXPECT_TRUE(RecordedPrompts().empty()) << save.Encoding;
            continue;
        }
        ASSERT_EQ(RecordedPrompts().size(), 1u);
        EXPECT_EQ(RecordedPrompts()[0].Text,
                  L"Some characters of this document cannot be saved as ANSI and would be written as \"?\".\n\n"
                  L"Save it as UTF-8 instead?\n\nYes: save as UTF-8, keeping every character.\n"
                  L"No: save as ANSI with \"?\" in their place.");
    }
}
