// Page geometry of a printout and the program's own line wrapping.
#include <gtest/gtest.h>

#include "ground/helpers.h"
#include "print/page_layout.h"
#include "print/print.h"

#include <string>

static std::wstring Expanded(const wchar_t* text, int tabSize)
{
    int length = -1;
    wchar_t* out = ExpandTabs(text, (int)wcslen(text), tabSize, &length);
    std::wstring result(out, (size_t)length);
    FreeBlock(out);
    return result;
}

TEST(PrintLayout, MarginsOnlyOnSheetsLargeEnough)
{
    RECT page;
    RECT text;
    // A4 at 600 dots per inch: 0.75 inch at the sides, 1 inch top and bottom.
    ASSERT_TRUE(ComputePrintLayout(4961, 7016, 600, 600, &page, &text));
    EXPECT_EQ(page.right, 11906);
    EXPECT_EQ(page.bottom, 16838);
    EXPECT_EQ(text.left, 1080);
    EXPECT_EQ(text.top, 1440);
    EXPECT_EQ(text.right, 11906 - 1080);
    EXPECT_EQ(text.bottom, 16838 - 1440);

    // A 2 by 2 inch label at 300 by 200 dots per inch: the whole sheet.
    ASSERT_TRUE(ComputePrintLayout(600, 400, 300, 200, &page, &text));
    EXPECT_TRUE(EqualRect(&page, &text));
    EXPECT_EQ(page.right, 2880);
    EXPECT_EQ(page.bottom, 2880);

    // Exactly 2.5 by 3 inches is not above the thresholds; one dot more is.
    ComputePrintLayout(250, 300, 100, 100, &page, &text);
    EXPECT_EQ(text.left, 0);
    EXPECT_EQ(text.top, 0);
    ComputePrintLayout(251, 301, 100, 100, &page, &text);
    EXPECT_EQ(text.left, 1080);
    EXPECT_EQ(text.top, 1440);

    EXPECT_FALSE(ComputePrintLayout(4961, 7016, 0, 600, &page, &text));
}

TEST(PrintLayout, TabsExpandToStopsAndBreaksBecomeOneCr)
{
    EXPECT_EQ(Expanded(L"a\tb", 4), L"a   b");
    EXPECT_EQ(Expanded(L"abcd\tx", 4), L"abcd    x");
    EXPECT_EQ(Expanded(L"ab\r\n\tc\nd\re", 2), L"ab\r  c\rd\re");
    EXPECT_EQ(Expanded(L"\x4E2D\t", 4), L"\x4E2D   ");
}

TEST(PrintLayout, LinesBreakAtParagraphsThenBlanksThenAnywhere)
{
    const wchar_t* text = L"one two three\rfour";
    int length = (int)wcslen(text);
    int end = -1;
    // Everything up to the paragraph mark fits: the next line is the next paragraph.
    EXPECT_EQ(WrapLine(text, length, 0, 40, &end), 14);
    EXPECT_EQ(end, 13);
    // Ten characters fit: the break falls after "two", its blank dropped.
    EXPECT_EQ(WrapLine(text, length, 0, 10, &end), 8);
    EXPECT_EQ(end, 7);
    // No blank to break at: cut where the width ends, never less than one.
    EXPECT_EQ(WrapLine(text, length, 8, 3, &end), 11);
    EXPECT_EQ(end, 11);
    EXPECT_EQ(WrapLine(text, length, 8, 0, &end), 9);
    // The last paragraph ends the text.
    EXPECT_EQ(WrapLine(text, length, 14, 40, &end), length);
    EXPECT_EQ(end, length);
    // An empty paragraph is a line of its own.
    EXPECT_EQ(WrapLine(L"\r\rx", 3, 1, 5, &end), 2);
    EXPECT_EQ(end, 1);
}
