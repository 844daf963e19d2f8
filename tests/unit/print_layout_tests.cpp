// Page geometry of a printout and the program's own line wrapping.
#include "print/page_layout.h"
#include "print/print.h"
#include "text/memory.h"

#include <gtest/gtest.h>
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
    // A surrogate pair takes one column, as the status bar counts it.
    EXPECT_EQ(Expanded(L"\xD83D\xDE00\tx", 4), L"\xD83D\xDE00   x");
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

// A measure of one unit a character, counting what it is asked to measure.
struct CountingMeasure {
    int Width;
    long long Measured;
    int LongestCall;
    bool CrossedParagraph;
};

static int MeasureCounting(void* context, const wchar_t* text, int count)
{
    CountingMeasure* measure = (CountingMeasure*)context;
    measure->Measured += count;
    if (count > measure->LongestCall)
        measure->LongestCall = count;
    for (int i = 0; i < count; i++)
        if (text[i] == L'\r')
            measure->CrossedParagraph = true;
    return count < measure->Width ? count : measure->Width;
}

// Lays out every line of text as the printout does; returns the lines.
static int LayOutAllLines(const std::wstring& text, CountingMeasure* measure)
{
    int length = (int)text.size();
    int lines = 0;
    for (int position = 0; position < length; lines++) {
        int fit = FitOnLine(text.c_str(), length, position, MeasureCounting, measure);
        int end = -1;
        int next = WrapLine(text.c_str(), length, position, fit, &end);
        if (next <= position)
            return -1;
        position = next;
    }
    return lines;
}

TEST(PrintLayout, EachLineMeasuresItsOwnParagraphOnlySoPrintingIsLinear)
{
    CountingMeasure measure = {80, 0, 0, false};
    std::wstring manyParagraphs;
    for (int i = 0; i < 20000; i++)
        manyParagraphs += L"a short paragraph of a long document\r";
    EXPECT_EQ(LayOutAllLines(manyParagraphs, &measure), 20000);
    EXPECT_FALSE(measure.CrossedParagraph);
    EXPECT_LE(measure.Measured, (long long)manyParagraphs.size());

    // One paragraph of a megabyte: every line fits 80 characters, and the
    // whole layout measures a few times the text, not the rest of it per line.
    measure = {80, 0, 0, false};
    std::wstring oneParagraph((size_t)1 << 20, L'x');
    EXPECT_EQ(LayOutAllLines(oneParagraph, &measure), ((1 << 20) + 79) / 80);
    EXPECT_LE(measure.Measured, 4 * (long long)oneParagraph.size());
    EXPECT_LT(measure.LongestCall, 100000);

    // A paragraph wider than the first window is measured whole.
    measure = {5000, 0, 0, false};
    std::wstring wide(3000, L'y');
    EXPECT_EQ(FitOnLine(wide.c_str(), (int)wide.size(), 0, MeasureCounting, &measure), 3000);
    measure = {5000, 0, 0, false};
    EXPECT_EQ(FitOnLine(L"\rabc", 4, 0, MeasureCounting, &measure), 0);
    EXPECT_EQ(measure.Measured, 0);
}

TEST(PrintLayout, AHardCutNeverSplitsASurrogatePair)
{
    // "ab" then U+2000B as a pair: a cut after three units falls inside it.
    const wchar_t text[] = L"ab\xD840\xDC0B" L"cd";
    int length = 6;
    int end = -1;
    EXPECT_EQ(WrapLine(text, length, 0, 3, &end), 2);
    EXPECT_EQ(end, 2);
    // A pair alone wider than the line still goes out whole.
    EXPECT_EQ(WrapLine(text, length, 2, 1, &end), 4);
    EXPECT_EQ(end, 4);
    // A cut between two pairs stays where it is.
    EXPECT_EQ(WrapLine(text, length, 0, 4, &end), 4);
}

TEST(PrintLayout, TextIsClampedToThePrintableArea)
{
    // A4 at 600 dpi with margins larger than the printer's own: unchanged.
    RECT text = {1080, 1440, 11906 - 1080, 16838 - 1440};
    ClampToPrintableArea(&text, 100, 100, 4761, 6816, 600, 600);
    EXPECT_EQ(text.left, 1080);
    EXPECT_EQ(text.top, 1440);
    EXPECT_EQ(text.right, 11906 - 1080);
    EXPECT_EQ(text.bottom, 16838 - 1440);

    // A small sheet without margins: the printer's border is kept clear,
    // rounded inwards (0.1 inch = 144 twips, 0.15 inch = 216).
    RECT label = {0, 0, 2880, 2880};
    ClampToPrintableArea(&label, 30, 45, 540, 510, 300, 300);
    EXPECT_EQ(label.left, 144);
    EXPECT_EQ(label.top, 216);
    EXPECT_EQ(label.right, 144 + 2592);
    EXPECT_EQ(label.bottom, 2664);
    RECT sheet = {0, 0, 2880, 2880};
    ClampToPrintableArea(&sheet, 7, 0, 100, 100, 600, 600);
    EXPECT_EQ(sheet.left, 17); // 7/600 inch is 16.8 twips
    EXPECT_EQ(sheet.right, 256); // 107/600 inch is 256.8

    // Nothing printable across: an empty rectangle, never a negative one.
    RECT beyond = {5000, 5000, 6000, 6000};
    ClampToPrintableArea(&beyond, 0, 0, 100, 100, 100, 100);
    EXPECT_EQ(beyond.right - beyond.left, 0);
    EXPECT_EQ(beyond.bottom - beyond.top, 0);
}

// Pages of ten characters each.
static LONG TenAPage(void* context, LONG start)
{
    (*(int*)context)++;
    return start + 10;
}

static LONG NoProgress(void* context, LONG start)
{
    (void)context;
    return start;
}

TEST(PrintLayout, APageRangePastTheEndIsFoundBeforeAnyJob)
{
    int calls = 0;
    int pages = 0;
    // 45 characters: pages 1 to 5.
    EXPECT_EQ(FindPageStart(1, 0, 45, TenAPage, &calls, &pages), 0);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(FindPageStart(3, 0, 45, TenAPage, &calls, &pages), 20);
    EXPECT_EQ(FindPageStart(5, 0, 45, TenAPage, &calls, &pages), 40);
    pages = 0;
    EXPECT_EQ(FindPageStart(10, 0, 45, TenAPage, &calls, &pages), -1);
    EXPECT_EQ(pages, 5);
    EXPECT_EQ(FindPageStart(6, 0, 45, TenAPage, &calls, &pages), -1);
    // Exactly five pages of text: no sixth.
    EXPECT_EQ(FindPageStart(6, 0, 50, TenAPage, &calls, &pages), -1);
    EXPECT_EQ(pages, 5);
    // A selection from 100: its own pages count from 1.
    EXPECT_EQ(FindPageStart(2, 100, 115, TenAPage, &calls, &pages), 110);
    // An empty document prints one page, and has no second.
    EXPECT_EQ(FindPageStart(1, 0, 0, TenAPage, &calls, &pages), 0);
    EXPECT_EQ(FindPageStart(2, 0, 0, TenAPage, &calls, &pages), -1);
    EXPECT_EQ(pages, 1);
    // A page that takes nothing ends the text.
    EXPECT_EQ(FindPageStart(2, 0, 45, NoProgress, NULL, &pages), -1);
    EXPECT_EQ(pages, 1);
}
