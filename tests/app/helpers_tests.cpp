#include "ground/app_state.h"
#include "ground/status_text.h"
#include "ground/user_prompts.h"
#include "support/editor_fixture.h"
#include "text/memory.h"
#include "resource.h"

class HelpersTest : public EditorFixture {};

TEST_F(HelpersTest, ShowErrorIsAStopBoxOwnedByTheMainWindow)
{
    ShowError(L"Status Bar not created!");
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    const RecordedPrompt& box = RecordedPrompts()[0];
    EXPECT_EQ(box.Owner, App.MainWindow);
    EXPECT_EQ(box.Caption, L"scrivlet");
    EXPECT_EQ(box.Text, L"Status Bar not created!");
    EXPECT_EQ(box.Buttons, (UINT)MB_OK);
    EXPECT_EQ(box.Icon, (UINT)MB_ICONHAND);
}

TEST_F(HelpersTest, SystemErrorShowsTheSystemTextUnderOurCaption)
{
    SetLastError(ERROR_ACCESS_DENIED);
    ShowSystemError(L"Can't open file for writing!");
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    const RecordedPrompt& box = RecordedPrompts()[0];
    EXPECT_EQ(box.Caption, L"Can't open file for writing!");
    wchar_t expected[512];
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, ERROR_ACCESS_DENIED,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), expected, 512, NULL);
    EXPECT_EQ(box.Text, std::wstring(expected));
    EXPECT_FALSE(box.Text.empty());
    EXPECT_EQ(box.Icon, (UINT)MB_ICONEXCLAMATION);
}

TEST_F(HelpersTest, AskUserShowsTheChineseStringAndReturnsTheAnswer)
{
    QueueAnswer(IDNO);
    EXPECT_EQ(AskUser(App.MainWindow, IDS_SAVE_CHANGES, MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Text, Utf8ToWide("你要儲存變更嗎?"));
    EXPECT_EQ(RecordedPrompts()[0].Caption, L"scrivlet");
    EXPECT_EQ(RecordedPrompts()[0].Buttons, (UINT)MB_YESNOCANCEL);
}

TEST_F(HelpersTest, StatusTextKeepsChineseWhateverTheCodePage)
{
    SetStatusText(4, Utf8ToWide("列 : 1 行: 1").c_str());
    EXPECT_EQ(StatusText(4), Utf8ToWide("列 : 1 行: 1"));
    SetStatusText(0, L"Loading File...");
    EXPECT_EQ(StatusText(0), L"Loading File...");
}

TEST(Memory, BlocksComeZeroFilled)
{
    unsigned char* block = (unsigned char*)AllocZeroed(5000);
    ASSERT_TRUE(block != NULL);
    bool allZero = true;
    for (int i = 0; i < 5000; i++)
        allZero = allZero && block[i] == 0;
    EXPECT_TRUE(allZero);
    block[4999] = 1; // the whole size is writable
    FreeBlock(block);
    FreeBlock(NULL);
}
