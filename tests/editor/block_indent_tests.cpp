// Block indent and unindent through the Edit menu commands.
#include "editor_test_support.h"
#include "resource.h"

class BlockIndentTest : public EditorBehaviourTest {};

TEST_F(BlockIndentTest, IndentTakesTheTouchedLinesSelectsThemAndUndoesInOneStep)
{
    const char* text = "l1\rl2\rline3\rline4\rline5\rline6\rl7";
    SetEditText(text);
    SendMessageA(App.EditControl, EM_EMPTYUNDOBUFFER, 0, 0);
    // From the middle of line 3 to the very start of line 6.
    Select(8, 24);
    Command(IDM_INDENT);
    EXPECT_EQ(EditText(), "l1\rl2\r\tline3\r\tline4\r\tline5\rline6\rl7");
    EXPECT_SELECTION(6, 26);
    Command(IDM_UNDO);
    EXPECT_EQ(EditText(), text);
}

TEST_F(BlockIndentTest, IndentUnitFollowsTabsToSpaces)
{
    Config.TabsToSpaces = 1;
    Config.TabSize = 4;
    SetEditText("a\r\rb");
    Select(0, 4);
    Command(IDM_INDENT);
    EXPECT_EQ(EditText(), "    a\r    \r    b");
    EXPECT_SELECTION(0, 16);
}

TEST_F(BlockIndentTest, UnindentRemovesOneTabOrUpToTabSizeSpaces)
{
    Config.TabSize = 4;
    SetEditText("      six\r\ttab\r \tmix\rnone");
    Select(0, 24);
    Command(IDM_UNINDENT);
    EXPECT_EQ(EditText(), "  six\rtab\r\tmix\rnone");
    EXPECT_SELECTION(0, 19);
}

TEST_F(BlockIndentTest, SingleEmptyLineIndentsButDoesNotUnindent)
{
    SetEditText("a\r\rb");
    Select(2, 2);
    Command(IDM_UNINDENT);
    EXPECT_EQ(EditText(), "a\r\rb");
    EXPECT_SELECTION(2, 2);
    Command(IDM_INDENT);
    EXPECT_EQ(EditText(), "a\r\t\rb");
    EXPECT_SELECTION(2, 3);
}

TEST_F(BlockIndentTest, TextOutsideTheCodePageSurvivesAndTheSelectionCountsCharacters)
{
    SetEditTextW(Utf8ToWide("中文\r字"));
    Select(0, 4);
    Command(IDM_INDENT);
    EXPECT_EQ(EditTextW(), Utf8ToWide("\t中文\r\t字"));
    EXPECT_SELECTION(0, 6);
}
