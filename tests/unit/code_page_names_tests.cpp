// The names the status bar gives each encoding, and the entry of the one
// list of choices a document's encoding is checked at.
#include "text/code_page_names.h"
#include "text/encoding_choices.h"
#include "text/text_encoding.h"

#include <gtest/gtest.h>
#include <string>

TEST(EncodingNames, EveryEncodingHasTheNameUsersKnowAndItsEntryInTheList)
{
    struct Case {
        int Encoding;
        UINT CodePage;
        int NoMark;
        const wchar_t* Name;
        int Choice; // under system code page 1252
    } cases[] = {
        {ENCODING_ANSI, 950, 0, L"Big5", 1},          {ENCODING_ANSI, 54936, 0, L"GB18030", 2},
        {ENCODING_ANSI, 936, 0, L"GBK", 3},           {ENCODING_ANSI, 932, 0, L"Shift-JIS", 4},
        {ENCODING_ANSI, 949, 0, L"EUC-KR", 5},        {ENCODING_ANSI, 20932, 0, L"EUC-JP", -1},
        {ENCODING_ANSI, 1252, 0, L"Western (1252)", 0}, {ENCODING_ANSI, 1251, 0, L"Cyrillic (1251)", -1},
        {ENCODING_ANSI, 65001, 0, L"UTF-8 (ANSI)", -1}, {ENCODING_ANSI, 1361, 0, L"ANSI 1361", -1},
        // The code page means nothing to the others; UTF-16 is one entry with or without its mark.
        {ENCODING_UTF8, 950, 1, L"UTF-8", 7},         {ENCODING_UTF8, 950, 0, L"UTF-8 BOM", 8},
        {ENCODING_UTF16LE, 950, 0, L"UTF-16 LE", 9},  {ENCODING_UTF16LE, 950, 1, L"UTF-16 LE", 9},
        {ENCODING_UTF16BE, 1252, 0, L"UTF-16 BE", 10},
    };
    for (const Case& c : cases) {
        wchar_t name[48];
        EncodingName(c.Encoding, c.CodePage, c.NoMark, name, 48);
        EXPECT_EQ(std::wstring(name), c.Name) << c.Encoding << " " << c.CodePage;
        EXPECT_EQ(CurrentEncodingChoice(c.Encoding, c.CodePage, c.NoMark, 1252), c.Choice) << c.Name;
    }
    // The system's own code page is the system's entry; GB18030 falls back
    // to GBK only where its table is missing.
    EXPECT_EQ(CurrentEncodingChoice(ENCODING_ANSI, 950, 0, 950), 0);
    EXPECT_EQ(ChoiceCodePage(0, 950), 950u);
    EXPECT_EQ(ChoiceCodePage(2, 1252), IsValidCodePage(54936) ? 54936u : 936u);
    wchar_t small[5];
    CodePageName(1252, small, 5);
    EXPECT_EQ(std::wstring(small), L"West");
}
