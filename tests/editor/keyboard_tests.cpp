// Real key presses through the message loop into the edit control.
#include "editor/keyboard.h"
#include "ground/edit_control.h"
#include "views/caret_status.h"
#include "editor_test_support.h"
#include "resource.h"

class KeyboardTest : public EditorBehaviourTest {};

TEST_F(KeyboardTest, TabInsertsOneTabCharacterOrSpacesToTheNextStop)
{
    SetEditText("");
    PressKey(VK_TAB);
    EXPECT_EQ(EditText(), "\t"); // the tab character message never doubles it

    Config.TabsToSpaces = 1;
    Config.TabSize = 4;
    SetEditText("");
    PressKey(VK_TAB);
    EXPECT_EQ(EditText(), "    ");
    SetEditText("ab");
    Select(2, 2);
    PressKey(VK_TAB);
    EXPECT_EQ(EditText(), "ab  ");
    SetEditText("abcd");
    Select(4, 4);
    PressKey(VK_TAB);
    EXPECT_EQ(EditText(), "abcd    ");
    EXPECT_EQ(StatusText(4), L"列 : 9 行: 1");
}

TEST_F(KeyboardTest, TabReplacesASelectionWithinALineAndIndentsOneReachingItsEnd)
{
    SetEditText("hello world\rnext");
    Select(0, 5);
    PressKey(VK_TAB);
    EXPECT_EQ(EditText(), "\t world\rnext");

    SetEditText("one\rtwo\rthree");
    Select(1, 5);
    PressKey(VK_TAB);
    EXPECT_EQ(EditText(), "\tone\r\ttwo\rthree");
    EXPECT_SELECTION(0, 9);

    // The selection reaches exactly the end of its first line's text.
    SetEditText("one\rtwo");
    Select(1, 3);
    PressKey(VK_TAB);
    EXPECT_EQ(EditText(), "\tone\rtwo");
    EXPECT_SELECTION(0, 4);
}

TEST_F(KeyboardTest, ShiftTabUnindentsTheCaretLineOrTheSelectedLines)
{
    SetEditText("\tone\r    two\r\tthree");
    Select(7, 7);
    PressKey(VK_TAB, false, true);
    EXPECT_EQ(EditText(), "\tone\rtwo\r\tthree");
    EXPECT_SELECTION(5, 8);

    Select(0, 12);
    PressKey(VK_TAB, false, true);
    EXPECT_EQ(EditText(), "one\rtwo\rthree");
}

TEST_F(KeyboardTest, EnterCopiesTheBlanksBeforeTheCaret)
{
    SetEditText("  \tword");
    Select(7, 7);
    PressKey(VK_RETURN);
    EXPECT_EQ(EditText(), "  \tword\r  \t");
    EXPECT_SELECTION(11, 11);
    EXPECT_EQ(StatusText(4), L"列 : 9 行: 2");

    // Caret between the two spaces: the new line gets one space.
    SetEditText("  \tword");
    Select(1, 1);
    PressKey(VK_RETURN);
    EXPECT_EQ(EditText(), " \r  \tword");
    EXPECT_SELECTION(3, 3);

    // Shift+Enter is handled like Enter.
    SetEditText("    x");
    Select(5, 5);
    PressKey(VK_RETURN, false, true);
    EXPECT_EQ(EditText(), "    x\r    ");
}

TEST_F(KeyboardTest, EnterIsPlainAtTheLineStartWithASelectionOrWithoutAutoIndent)
{
    SetEditText("  word");
    Select(0, 0);
    PressKey(VK_RETURN);
    EXPECT_EQ(EditText(), "\r  word");

    SetEditText("  word");
    Select(3, 6);
    PressKey(VK_RETURN);
    EXPECT_EQ(EditText(), "  w\r");

    Config.AutoIndent = 0;
    SetEditText("  word");
    Select(6, 6);
    PressKey(VK_RETURN);
    EXPECT_EQ(EditText(), "  word\r");
}

TEST_F(KeyboardTest, TypedIndentedLinesKeepTheirIndent)
{
    SetEditText("");
    TypeText("  if x\n\tgo\nend");
    EXPECT_EQ(EditText(), "  if x\r  \tgo\r  \tend");
}

TEST_F(KeyboardTest, HomeAlternatesBetweenFirstWordAndLineStart)
{
    SetEditText("first\r    word here");
    Select(14, 14);
    PressKey(VK_HOME);
    EXPECT_SELECTION(10, 10);
    PressKey(VK_HOME);
    EXPECT_SELECTION(6, 6);
    PressKey(VK_HOME);
    EXPECT_SELECTION(10, 10);

    // Shift+Home keeps its standard meaning: select to the line start.
    Select(14, 14);
    PressKey(VK_HOME, false, true);
    EXPECT_SELECTION(6, 14);

    Config.SmartHome = 0;
    Select(14, 14);
    PressKey(VK_HOME);
    EXPECT_SELECTION(6, 6);
}

TEST_F(KeyboardTest, HomeOnABlankLineStaysOnThatLine)
{
    SetEditText("  \t\rnext");
    Select(1, 1);
    PressKey(VK_HOME);
    EXPECT_SELECTION(3, 3);
    PressKey(VK_HOME);
    EXPECT_SELECTION(0, 0);
}

// Wine's RichEdit has no overwrite mode, so what the control does with the
// key is not observable here; the filter must leave the key-down to it.
TEST_F(KeyboardTest, InsertFlipsTheIndicatorAndLeavesTheKeyToTheControl)
{
    PressKey(VK_INSERT);
    EXPECT_EQ(App.InsertMode, 0);
    EXPECT_EQ(StatusText(2), L"OVR");
    PressKey(VK_INSERT);
    EXPECT_EQ(App.InsertMode, 1);
    EXPECT_EQ(StatusText(2), L"INS");

    MSGFILTER filter;
    ZeroMemory(&filter, sizeof(filter));
    filter.nmhdr.code = EN_MSGFILTER;
    filter.msg = WM_KEYDOWN;
    filter.wParam = VK_INSERT;
    filter.lParam = 0x01520001;
    EXPECT_EQ(FilterEditKey(&filter), 0);
    EXPECT_EQ(filter.msg, (UINT)WM_KEYDOWN);
    EXPECT_EQ(filter.wParam, (WPARAM)VK_INSERT);
    EXPECT_EQ(StatusText(2), L"OVR");
}

TEST_F(KeyboardTest, CtrlUpAndDownScrollWithoutMovingTheCaret)
{
    std::string text;
    for (int i = 0; i < 200; i++)
        text += "line\r";
    SetEditText(text.c_str());
    Select(500, 500);
    SendMessageA(App.EditControl, EM_SCROLLCARET, 0, 0);
    Pump();
    LRESULT top = SendMessageA(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0);
    ASSERT_GT(top, 1);
    PressKey(VK_UP, true);
    EXPECT_EQ(SendMessageA(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0), top - 1);
    EXPECT_SELECTION(500, 500);
    PressKey(VK_DOWN, true);
    PressKey(VK_DOWN, true);
    EXPECT_EQ(SendMessageA(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0), top + 1);
    EXPECT_SELECTION(500, 500);
}

TEST_F(KeyboardTest, PasteKeysInsertTheClipboardOnce)
{
    SetEditText("");
    PutUnicodeOnClipboard(L"ab");
    PressKey('V', true);
    EXPECT_EQ(EditText(), "ab");
    PressKey(VK_INSERT, false, true);
    EXPECT_EQ(EditText(), "abab");
    PressKey(VK_INSERT, true, false, true);
    EXPECT_EQ(EditText(), "ababab");
    EXPECT_EQ(App.InsertMode, 1);
}

TEST_F(KeyboardTest, EscapeStartsTheNormalCloseOnlyWhenEnabled)
{
    Config.EscapeExit = 0;
    PressKey(VK_ESCAPE);
    PumpFor(100);
    EXPECT_TRUE(IsWindow(App.MainWindow));
    EXPECT_TRUE(RecordedPrompts().empty());

    // The changed text is asked about: Cancel keeps the window, No closes it.
    Config.EscapeExit = 1;
    TypeText("x");
    QueueAnswer(IDCANCEL);
    PressKey(VK_ESCAPE);
    PumpFor(100);
    EXPECT_TRUE(IsWindow(App.MainWindow));
    QueueAnswer(IDNO);
    PressKey(VK_ESCAPE);
    PumpFor(100);
    EXPECT_FALSE(IsWindow(App.MainWindow));
    ASSERT_EQ(RecordedPrompts().size(), 2u);
    for (const RecordedPrompt& prompt : RecordedPrompts()) {
        EXPECT_EQ(prompt.Text, Utf8ToWide("你要儲存變更嗎?"));
        EXPECT_EQ(prompt.Buttons, (UINT)MB_YESNOCANCEL);
    }
}

TEST_F(KeyboardTest, ArrowsBackspaceAndDeleteTakeASurrogatePairWhole)
{
    // "a😀b": the emoji is units 1 and 2.
    const std::wstring text = L"a\xD83D\xDE00" L"b";
    struct Case {
        UINT key;
        LONG caret;
        const wchar_t* textAfter;
        LONG caretAfter;
    } cases[] = {
        {VK_LEFT, 3, L"a\xD83D\xDE00" L"b", 1},
        {VK_RIGHT, 1, L"a\xD83D\xDE00" L"b", 3},
        {VK_BACK, 3, L"ab", 1},
        {VK_DELETE, 1, L"ab", 1},
        // Next to a character of one unit the keys are the control's own.
        {VK_LEFT, 1, L"a\xD83D\xDE00" L"b", 0},
        {VK_BACK, 4, L"a\xD83D\xDE00", 3},
    };
    for (const Case& c : cases) {
        SetEditTextW(text);
        Select(c.caret, c.caret);
        PressKey(c.key);
        CHARRANGE after = GetEditSelection();
        EXPECT_EQ(EditTextW(), c.textAfter) << "key " << c.key << " at " << c.caret;
        EXPECT_EQ(after.cpMin, c.caretAfter) << "key " << c.key << " at " << c.caret;
        EXPECT_EQ(after.cpMax, c.caretAfter) << "key " << c.key << " at " << c.caret;
    }
}

TEST_F(KeyboardTest, CaretStatusFollowsTypedCharactersAndNothingElseIsTakenForOne)
{
    SetEditText("ab\rcd");
    Select(5, 5);
    UpdateCaretStatus();
    TypeText("xy");
    EXPECT_EQ(StatusText(4), L"列 : 5 行: 2");
    // An emoji typed as its two units is one column.
    SendMessageW(App.EditControl, WM_CHAR, 0xD83D, 1);
    SendMessageW(App.EditControl, WM_CHAR, 0xDE00, 1);
    PumpFor(30);
    EXPECT_EQ(StatusText(4), L"列 : 6 行: 2");
    // A character the control refuses moves nothing: a caret then put one
    // unit on, past the line break, is on the next line.
    Select(2, 2);
    SendMessageW(App.EditControl, EM_SETREADONLY, TRUE, 0);
    TypeText("z");
    SendMessageW(App.EditControl, EM_SETREADONLY, FALSE, 0);
    Select(3, 3);
    PumpFor(30);
    EXPECT_EQ(EditText(), "ab\rcdxy\xF0\x9F\x98\x80");
    EXPECT_EQ(StatusText(4), L"列 : 1 行: 2");
}
