// The editor's pure text arithmetic: columns, tab units, leading blanks,
// block indent and the CR LF expansion of the clipboard.
#include "editor/block_indent.h"
#include "editor/clipboard.h"
#include "editor/keyboard.h"
#include "views/caret_status.h"

#include <gtest/gtest.h>
#include <string>

TEST(ColumnAfterText, TabsJumpToTheNextStop)
{
    // Letter at 1, tab from 2 to 9, letter at 9, caret at 10.
    EXPECT_EQ(ColumnAfterText(L"a\tb", 8), 10);
    EXPECT_EQ(ColumnAfterText(L"", 8), 1);
    EXPECT_EQ(ColumnAfterText(L"\t", 4), 5);
    EXPECT_EQ(ColumnAfterText(L"abcd\t", 4), 9); // a tab at a stop still moves a whole stop
    EXPECT_EQ(ColumnAfterText(L"abc\t", 4), 5);
    EXPECT_EQ(ColumnAfterText(L"ab\rx", 8), 2);
}

TEST(ColumnAfterText, EveryCharacterCountsOnce)
{
    // Three ideographs, and a character outside the basic plane (two units).
    EXPECT_EQ(ColumnAfterText(L"\x4E2D\x6587\x5B57", 8), 4);
    EXPECT_EQ(ColumnAfterText(L"\xD83D\xDE00x", 8), 3);
    EXPECT_EQ(ColumnAfterText(L"\x4E2D\t", 4), 5);
}

TEST(SpacesToNextTabStop, ReachesTheNextStopFromTheColumn)
{
    EXPECT_EQ(SpacesToNextTabStop(1, 4), 4);
    EXPECT_EQ(SpacesToNextTabStop(3, 4), 2);
    EXPECT_EQ(SpacesToNextTabStop(5, 4), 4);
    EXPECT_EQ(SpacesToNextTabStop(8, 8), 1);
    EXPECT_EQ(SpacesToNextTabStop(10, 9), 9); // 10 is a stop of 9
    EXPECT_EQ(SpacesToNextTabStop(11, 9), 8);
}

TEST(LeadingBlankLength, CountsSpacesAndTabsOnly)
{
    EXPECT_EQ(LeadingBlankLength(L"  \tword"), 3u);
    EXPECT_EQ(LeadingBlankLength(L"word  "), 0u);
    EXPECT_EQ(LeadingBlankLength(L" \xA0x"), 1u); // a no-break space is not a blank here
    EXPECT_EQ(LeadingBlankLength(L"\x3000x"), 0u); // nor the ideographic space
    EXPECT_EQ(LeadingBlankLength(L""), 0u);
}

static std::wstring Rebuild(const wchar_t* block, IndentWay way, const wchar_t* unit, int tabSize)
{
    wchar_t out[256];
    size_t length = RebuildIndentedText(block, way, unit, tabSize, out, 256);
    EXPECT_EQ(length, std::wstring(out).size());
    return out;
}

TEST(RebuildIndentedText, IndentPutsTheUnitBeforeEveryLineIncludingEmptyOnes)
{
    EXPECT_EQ(Rebuild(L"one\r\rthree", INDENT, L"\t", 8), L"\tone\r\t\r\tthree");
    EXPECT_EQ(Rebuild(L"one\rtwo", INDENT, L"    ", 4), L"    one\r    two");
    EXPECT_EQ(Rebuild(L"", INDENT, L"\t", 8), L"\t");
}

TEST(RebuildIndentedText, UnindentTakesOneTabOrUpToTabSizeSpaces)
{
    EXPECT_EQ(Rebuild(L"      six", UNINDENT, L"", 4), L"  six");
    EXPECT_EQ(Rebuild(L"\ttab", UNINDENT, L"", 4), L"tab");
    EXPECT_EQ(Rebuild(L"\t\ttwo", UNINDENT, L"", 4), L"\ttwo");
    EXPECT_EQ(Rebuild(L" \tmixed", UNINDENT, L"", 4), L"\tmixed");
    EXPECT_EQ(Rebuild(L"  \t", UNINDENT, L"", 8), L"\t");
    EXPECT_EQ(Rebuild(L"none\r  two\r\tthree\r", UNINDENT, L"", 4), L"none\rtwo\rthree\r");
    EXPECT_EQ(Rebuild(L"plain\rtext", UNINDENT, L"", 4), L"plain\rtext");
}

TEST(RebuildIndentedText, NeverWritesPastTheGivenSize)
{
    wchar_t out[8];
    for (int i = 0; i < 8; i++)
        out[i] = L'#';
    size_t length = RebuildIndentedText(L"abc\rdef", INDENT, L"\t\t", 8, out, 6);
    EXPECT_EQ(length, 5u);
    EXPECT_EQ(std::wstring(out), L"\t\tabc");
    EXPECT_EQ(out[6], L'#');
}

TEST(RebuildIndentedText, CapacityCoversTheUnitOnEveryLine)
{
    const wchar_t* block = L"a\r\rb";
    size_t capacity = IndentedTextCapacity(block, 9);
    EXPECT_EQ(capacity, 3u * 9 + 4 + 1);
    wchar_t out[64];
    EXPECT_EQ(RebuildIndentedText(block, INDENT, L"         ", 9, out, capacity), capacity - 1);
}

TEST(ExpandLoneCR, EveryBreakBecomesCRLF)
{
    wchar_t out[32];
    const wchar_t* text = L"a\rb\r\nc\r";
    size_t written = ExpandLoneCR(text, 7, out);
    EXPECT_EQ(std::wstring(out), L"a\r\nb\r\nc\r\n");
    EXPECT_EQ(written, 9u);
    EXPECT_EQ(ExpandLoneCR(L"\r\r", 2, out), 4u);
    EXPECT_EQ(std::wstring(out), L"\r\n\r\n");
    EXPECT_EQ(ExpandLoneCR(L"", 0, out), 0u);
    EXPECT_EQ(out[0], 0);
}
