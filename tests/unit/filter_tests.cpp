#include "text/file_filter.h"

#include <gtest/gtest.h>
#include <string.h>
#include <wchar.h>
#include <string>
#include <vector>

static std::vector<std::wstring> FilterTableEntries()
{
    std::vector<std::wstring> entries;
    for (const wchar_t* p = FileFilterTable; *p; p += wcslen(p) + 1)
        entries.push_back(p);
    return entries;
}

TEST(FileFilterTable, HoldsThirteenPairsEndingWithAllFiles)
{
    std::vector<std::wstring> entries = FilterTableEntries();
    ASSERT_EQ(entries.size(), 26u);
    EXPECT_EQ(entries[0], L"Text Files (*.txt;*.log;*.diz;*.nfo;*.ini;*.csv;*.text)");
    EXPECT_EQ(entries[1], L"*.txt;*.log;*.diz;*.nfo;*.ini;*.csv;*.text");
    EXPECT_EQ(entries[9], L"*.jsp;*.java;*.inc;");
    EXPECT_EQ(entries[14], L"PHP Files (*.php;*.php3;*.php4;*.phtml;*.inc;)");
    EXPECT_EQ(entries[24], L"All Files (*.*)");
    EXPECT_EQ(entries[25], L"*.*");
}

TEST(FilterIndexForPath, FirstPairListingTheExtensionWins)
{
    EXPECT_EQ(FilterIndexForPath(L"C:\\web\\page.php"), 8);
    // .inc is in five lists; the ASP list comes first.
    EXPECT_EQ(FilterIndexForPath(L"C:\\web\\util.inc"), 2);
    EXPECT_EQ(FilterIndexForPath(L"C:\\notes.txt"), 1);
    EXPECT_EQ(FilterIndexForPath(L"C:\\notes.text"), 1);
    EXPECT_EQ(FilterIndexForPath(L"C:\\src\\main.cpp"), 3);
    EXPECT_EQ(FilterIndexForPath(L"C:\\src\\Main.Java"), 5);
    EXPECT_EQ(FilterIndexForPath(L"C:\\feed.RSS"), 9);
    EXPECT_EQ(FilterIndexForPath(L"C:\\doc.fo"), 12);
    EXPECT_EQ(FilterIndexForPath(L"C:\\run.cmd"), 6);
}

TEST(FilterIndexForPath, NoOrUnknownExtensionGivesZero)
{
    EXPECT_EQ(FilterIndexForPath(L"C:\\notes"), 0);
    // The dot of a folder name makes ".dir\readme" the extension: no match.
    EXPECT_EQ(FilterIndexForPath(L"C:\\my.dir\\readme"), 0);
    EXPECT_EQ(FilterIndexForPath(L"C:\\archive.zip"), 0);
    // A prefix of a listed extension is not that extension.
    EXPECT_EQ(FilterIndexForPath(L"C:\\a.ph"), 0);
    EXPECT_EQ(FilterIndexForPath(L"C:\\a.phpx"), 0);
    // Empty pieces after the trailing semicolons match nothing either.
    EXPECT_EQ(FilterIndexForPath(L"C:\\trailing."), 0);
    EXPECT_EQ(FilterIndexForPath(L""), 0);
}
