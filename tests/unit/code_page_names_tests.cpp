// The names the status bar and the encoding menus give each encoding, and
// the one table of choices the menus and the Save As box list.
#include "text/code_page_names.h"
#include "text/encoding_choices.h"
#include "text/text_encoding.h"

#include <gtest/gtest.h>
#include <string>

static std::wstring NameOf(int encoding, UINT codePage, int noMark)
{
    wchar_t name[48];
    EncodingName(encoding, codePage, noMark, name, 48);
    return name;
}

TEST(EncodingNames, EveryEncodingAndCodePageHasTheNameUsersKnow)
{
    struct Case {
        int Encoding;
        UINT CodePage;
        int NoMark;
        const wchar_t* Name;
    } cases[] = {
        {ENCODING_ANSI, 950, 0, L"Big5"},
        {ENCODING_ANSI, 54936, 0, L"GB18030"},
        {ENCODING_ANSI, 936, 0, L"GBK"},
        {ENCODING_ANSI, 932, 0, L"Shift-JIS"},
        {ENCODING_ANSI, 949, 0, L"EUC-KR"},
        {ENCODING_ANSI, 20932, 0, L"EUC-JP"},
        {ENCODING_ANSI, 1252, 0, L"Western (1252)"},
        {ENCODING_ANSI, 1251, 0, L"Cyrillic (1251)"},
        {ENCODING_ANSI, 65001, 0, L"UTF-8 (ANSI)"},
        // A code page with no name of its own is named by its number.
        {ENCODING_ANSI, 1361, 0, L"ANSI 1361"},
        // The code page means nothing to the other encodings.
        {ENCODING_UTF8, 950, 1, L"UTF-8"},
        {ENCODING_UTF8, 950, 0, L"UTF-8 BOM"},
        {ENCODING_UTF16LE, 950, 0, L"UTF-16 LE"},
        {ENCODING_UTF16LE, 950, 1, L"UTF-16 LE"},
        {ENCODING_UTF16BE, 1252, 0, L"UTF-16 BE"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameOf(c.Encoding, c.CodePage, c.NoMark), c.Name) << c.Encoding << " " << c.CodePage;
    // Cut to the room given, and terminated.
    wchar_t small[5];
    CodePageName(1252, small, 5);
    EXPECT_EQ(std::wstring(small), L"West");
}

TEST(EncodingChoices, TheListsEntriesAndTheDocumentsOwn)
{
    ASSERT_EQ(ENCODING_CHOICE_COUNT, 11);
    struct Row {
        int Encoding;
        UINT CodePage;
        int WithMark;
    } rows[] = {{ENCODING_ANSI, 0, 0},    {ENCODING_ANSI, 950, 0},     {ENCODING_ANSI, 54936, 0},
                {ENCODING_ANSI, 936, 0},  {ENCODING_ANSI, 932, 0},     {ENCODING_ANSI, 949, 0},
                {ENCODING_ANSI, 1252, 0}, {ENCODING_UTF8, 0, 0},       {ENCODING_UTF8, 0, 1},
                {ENCODING_UTF16LE, 0, 1}, {ENCODING_UTF16BE, 0, 1}};
    for (int i = 0; i < ENCODING_CHOICE_COUNT; i++) {
        EXPECT_EQ(EncodingChoices[i].Encoding, rows[i].Encoding) << i;
        EXPECT_EQ(EncodingChoices[i].CodePage, rows[i].CodePage) << i;
        EXPECT_EQ(EncodingChoices[i].WithMark, rows[i].WithMark) << i;
    }
    // The first entry is the system's code page, whatever it is.
    EXPECT_EQ(ChoiceCodePage(0, 950), 950u);
    EXPECT_EQ(ChoiceCodePage(0, 1252), 1252u);
    EXPECT_EQ(ChoiceCodePage(1, 1252), 950u);
    // GB18030 falls back to GBK only where its table is missing.
    EXPECT_EQ(ChoiceCodePage(2, 1252), IsValidCodePage(54936) ? 54936u : 936u);

    struct Current {
        int Encoding;
        UINT CodePage;
        int NoMark;
        UINT System;
        int Choice;
    } currents[] = {
        // The system's code page is listed as the system's entry first.
        {ENCODING_ANSI, 950, 0, 950, 0},
        {ENCODING_ANSI, 950, 0, 1252, 1},
        {ENCODING_ANSI, 936, 0, 950, 3},
        {ENCODING_ANSI, 932, 0, 950, 4},
        {ENCODING_ANSI, 949, 0, 950, 5},
        {ENCODING_ANSI, 1252, 0, 950, 6},
        {ENCODING_ANSI, 1252, 0, 1252, 0},
        // A code page the list lacks is none of its entries.
        {ENCODING_ANSI, 1251, 0, 1252, -1},
        {ENCODING_UTF8, 950, 1, 950, 7},
        {ENCODING_UTF8, 950, 0, 950, 8},
        // UTF-16 with or without its mark.
        {ENCODING_UTF16LE, 950, 0, 950, 9},
        {ENCODING_UTF16LE, 950, 1, 950, 9},
        {ENCODING_UTF16BE, 950, 1, 950, 10},
    };
    for (const Current& c : currents)
        EXPECT_EQ(CurrentEncodingChoice(c.Encoding, c.CodePage, c.NoMark, c.System), c.Choice)
            << c.Encoding << " " << c.CodePage << " " << c.NoMark << " under " << c.System;
}
