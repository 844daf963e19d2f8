// Status-bar position and selection, tab size, and the Go To Line dialog.
#include "program/commands.h"
#include "views/caret_status.h"
#include "editor_test_support.h"
#include "resource.h"

#include <vector>

class CaretStatusTest : public EditorBehaviourTest {};

TEST_F(CaretStatusTest, CaretPositionCountsColumnsWithTabsExpanded)
{
    SetEditText("");
    Select(0, 0);
    EXPECT_EQ(StatusText(4), L"列 : 1 行: 1");

    SetEditText("first\ra\tb");
    Select(9, 9);
    EXPECT_EQ(StatusText(4), L"列 : 10 行: 2");
    EXPECT_EQ(App.CaretColumn, 10);
    EXPECT_EQ(App.CaretLine, 2u);

    // Characters outside the ANSI code page still count one column each.
    Config.TabSize = 4;
    SetEditTextW(Utf8ToWide("中文字\tx"));
    Select(0, 0);
    Select(5, 5);
    EXPECT_EQ(StatusText(4), L"列 : 6 行: 1");
}

TEST_F(CaretStatusTest, SelectionCountsEachLineBreakAsTwo)
{
    SetEditText("abc\rdefg\rhi");
    Select(4, 8);
    EXPECT_EQ(StatusText(4), L"Selection Start: 5 End: 9 Len: 4");
    Select(4, 9); // up to the start of the next line
    EXPECT_EQ(StatusText(4), L"Selection Start: 5 End: 11 Len: 6");
    Select(0, 11);
    EXPECT_EQ(StatusText(4), L"Selection Start: 0 End: 13 Len: 13");
    // Select All counts the text, not the control's mark after it.
    RunCommand(IDM_SELECTALL);
    Pump();
    EXPECT_EQ(StatusText(4), L"Selection Start: 0 End: 13 Len: 13");
}

TEST_F(CaretStatusTest, SelectionKeepsTheLastCaretColumnForTheTabKey)
{
    Config.TabsToSpaces = 1;
    Config.TabSize = 4;
    SetEditText("abcd");
    Select(2, 2); // column 3
    Select(2, 3); // "c" selected; the column stays 3
    EXPECT_EQ(App.CaretColumn, 3);
    PressKey(VK_TAB);
    EXPECT_EQ(EditText(), "ab  d");
}

// Wine's RichEdit ignores EM_SETTABSTOPS, so the drawn stops are not checked.
TEST_F(CaretStatusTest, CtrlDigitSetsTheTabSize)
{
    SetEditText("\tx");
    Select(2, 2);
    PressKey('5', true);
    EXPECT_EQ(Config.TabSize, 5);
    EXPECT_EQ(StatusText(3), L"Tab: 5");
    EXPECT_EQ(StatusText(4), L"列 : 7 行: 1"); // the column follows at once
    EXPECT_EQ(EditText(), "\tx");

    PressKey('1', true); // swallowed: nothing of its own
    EXPECT_EQ(Config.TabSize, 5);
    EXPECT_EQ(EditText(), "\tx");
    PressKey('9', true);
    EXPECT_EQ(StatusText(3), L"Tab: 9");
    EXPECT_EQ(StatusText(4), L"列 : 11 行: 1");
}

// The Go To Line dialog is modal: a timer inside its loop plays the user.
struct GoToScript {
    std::vector<std::wstring> Entries; // typed before each OK press
    std::wstring InitialText;
    std::vector<bool> OpenAfterOk;
    std::vector<size_t> PromptsAfterOk;
    bool Found;
};
static GoToScript script;

static void CALLBACK PlayGoToDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowW(L"#32770", L"移至");
    if (!dialog)
        return;
    KillTimer(NULL, timer);
    script.Found = true;
    wchar_t text[64];
    GetDlgItemTextW(dialog, IDC_GOTO_LINE, text, 64);
    script.InitialText = text;
    for (size_t i = 0; i < script.Entries.size() && IsWindowVisible(dialog); i++) {
        SetDlgItemTextW(dialog, IDC_GOTO_LINE, script.Entries[i].c_str());
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
        script.OpenAfterOk.push_back(IsWindowVisible(dialog) != FALSE);
        script.PromptsAfterOk.push_back(RecordedPrompts().size());
    }
    if (IsWindowVisible(dialog))
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

static void RunGoToDialog(const std::vector<std::wstring>& entries)
{
    script = GoToScript();
    script.Entries = entries;
    UINT_PTR timer = SetTimer(NULL, 0, 50, PlayGoToDialog);
    SendMessageA(App.MainWindow, WM_COMMAND, IDM_GOTOLINE, 0);
    KillTimer(NULL, timer);
}

class GoToLineTest : public EditorBehaviourTest {};

TEST_F(GoToLineTest, BadEntriesKeepTheDialogOpenAndAGoodOneMovesTheCaret)
{
    SetEditText("one\rtwo\rthree\rfour");
    Select(5, 5);
    RunGoToDialog({L"", L"0", L"5", L"3"});
    ASSERT_TRUE(script.Found);
    EXPECT_EQ(script.InitialText, L"2");
    ASSERT_EQ(script.OpenAfterOk.size(), 4u);
    // Empty: a beep only.
    EXPECT_TRUE(script.OpenAfterOk[0]);
    EXPECT_EQ(script.PromptsAfterOk[0], 0u);
    // Zero: "please enter a valid line number".
    EXPECT_TRUE(script.OpenAfterOk[1]);
    EXPECT_EQ(script.PromptsAfterOk[1], 1u);
    // One past the last line: "exceeds the number of lines".
    EXPECT_TRUE(script.OpenAfterOk[2]);
    EXPECT_EQ(script.PromptsAfterOk[2], 2u);
    EXPECT_FALSE(script.OpenAfterOk[3]);

    ASSERT_EQ(RecordedPrompts().size(), 2u);
    EXPECT_EQ(RecordedPrompts()[0].Text, L"請輸入有效的行號!");
    EXPECT_EQ(RecordedPrompts()[1].Text, L"您輸入的值超過檔案的行數!");
    for (const RecordedPrompt& prompt : RecordedPrompts()) {
        EXPECT_EQ(prompt.Caption, L"scrivlet");
        EXPECT_EQ(prompt.Buttons, (UINT)MB_OK);
        EXPECT_EQ(prompt.Icon, (UINT)MB_ICONINFORMATION);
        EXPECT_NE(prompt.Owner, App.MainWindow); // owned by the dialog
        EXPECT_TRUE(prompt.Owner != NULL);
    }
    Pump();
    EXPECT_SELECTION(8, 8);
    EXPECT_EQ(StatusText(4), L"列 : 1 行: 3");
}
