#include "ground/app_state.h"
#include "settings/recent_lists.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <string>

static std::string Label(int index, const std::string& path)
{
    wchar_t out[300];
    FormatListLabel(index, Wide(path).c_str(), out, 300);
    return Utf8(out);
}

TEST(ListLabel, LongPathsKeepTheirTailFromABackslash)
{
    EXPECT_EQ(Label(0, "C:\\Projects\\alpha-one\\beta\\gamma\\delta\\notes-for-tuesday.txt"),
              "&1 ...\\beta\\gamma\\delta\\notes-for-tuesday.txt");
    // No backslash among the last 40 characters: all 40 of them.
    EXPECT_EQ(Label(0, "C:\\x\\abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOP.txt"),
              "&1 ...qrstuvwxyz0123456789ABCDEFGHIJKLMNOP.txt");
    std::string forty = "C:\\Data\\exactly-forty-bytes-long-123.txt";
    ASSERT_EQ(forty.size(), 40u);
    EXPECT_EQ(Label(2, forty), "&3 " + forty);
    EXPECT_EQ(Label(1, forty + "x"), "&2 ...\\Data\\exactly-forty-bytes-long-123.txtx");
}

TEST(ListLabel, CharactersCountOnceAndPairsAreNeverCut)
{
    const std::string emoji = "\xF0\x9F\x98\x80"; // two UTF-16 units
    std::string name;
    for (int i = 0; i < 25; i++)
        name += emoji;
    // The cut at 40 units from the end falls inside a pair: the tail starts
    // with the next whole character.
    std::string path = "C:\\" + name + "a.txt";
    std::string tail;
    for (int i = 0; i < 17; i++)
        tail += emoji;
    EXPECT_EQ(Label(0, path), "&1 ..." + tail + "a.txt");
    // A Chinese character is one of the 40, whatever its bytes in a code page.
    std::string tricky = "C:\\\xE8\xA8\xB1" "folder\\notes-notes-notes-notes-note.txt"; // 許
    ASSERT_EQ(Wide(tricky).size(), 43u);
    EXPECT_EQ(Label(0, tricky), "&1 ...\\notes-notes-notes-notes-note.txt");
}

TEST(ListCommands, FavoritesPast198AvoidOptionsAndTray)
{
    StringList favorites = {NULL, 0, 200, IDM_FAV_FIRST};
    EXPECT_EQ(ListCommandId(&favorites, 0), 802);
    EXPECT_EQ(ListCommandId(&favorites, 197), 999);
    EXPECT_EQ(ListCommandId(&favorites, 198), IDM_FAV_OVERFLOW_FIRST);
    EXPECT_EQ(ListCommandId(&favorites, 199), IDM_FAV_OVERFLOW_LAST);
    for (int i = 0; i < 200; i++) {
        int id = ListCommandId(&favorites, i);
        EXPECT_NE(id, IDM_OPTIONS);
        EXPECT_NE(id, IDM_TOTRAY);
        EXPECT_EQ(ListIndexOfCommand(&favorites, id), i);
    }
    EXPECT_EQ(ListIndexOfCommand(&favorites, IDM_OPTIONS), -1);
    EXPECT_EQ(ListIndexOfCommand(&favorites, IDM_TOTRAY), -1);
    EXPECT_EQ(ListIndexOfCommand(&favorites, IDM_FAV_REMOVE), -1);

    StringList recent = {NULL, 0, 9, IDM_RECENT_FIRST};
    EXPECT_EQ(ListIndexOfCommand(&recent, 521), 8);
    EXPECT_EQ(ListIndexOfCommand(&recent, IDM_EXIT), -1);
    EXPECT_EQ(ListIndexOfCommand(&recent, IDM_PRINT), -1);
}

// Without a main window the lists work on memory alone.
class ListOperations : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        list.FirstCommandId = IDM_RECENT_FIRST;
        InitList(&list, 3);
    }
    std::string At(int i) { return ListItemAt(&list, i) ? Utf8(ListItemAt(&list, i)) : "(none)"; }
    StringList list;
};

TEST_F(ListOperations, AddToTopMovesAMatchIgnoringCaseAndDropsTheOldest)
{
    AddToTop(L"C:\\a.txt", &list);
    AddToTop(L"C:\\b.txt", &list);
    AddToTop(L"C:\\c.txt", &list);
    AddToTop(L"c:\\A.TXT", &list);
    EXPECT_EQ(list.Count, 3);
    EXPECT_EQ(At(0), "c:\\A.TXT");
    EXPECT_EQ(At(1), "C:\\c.txt");
    EXPECT_EQ(At(2), "C:\\b.txt");
    AddToTop(L"C:\\d.txt", &list);
    EXPECT_EQ(list.Count, 3);
    EXPECT_EQ(At(0), "C:\\d.txt");
    EXPECT_EQ(At(2), "C:\\c.txt");
    EXPECT_EQ(At(3), "(none)");
    // An entry added again from the list itself stays whole.
    AddToTop(ListItemAt(&list, 2), &list);
    EXPECT_EQ(At(0), "C:\\c.txt");
    EXPECT_EQ(At(1), "C:\\d.txt");
}
