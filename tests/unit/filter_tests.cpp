#include "text/file_filter.h"

#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>

static std::vector<std::string> FilterTableEntries()
{
    std::vector<std::string> entries;
    for (const char* p = FileFilterTable; *p; p += strlen(p) + 1)
        entries.push_back(p);
    return entries;
}

TEST(FileFilterTable, HoldsThirteenPairsEndingWithAllFiles)
{
    std::vector<std::string> entries = FilterTableEntries();
    ASSERT_EQ(entries.size(), 26u);
    EXPECT_EQ(entries[0], "Text Files (*.txt;*.log;*.diz;*.nfo;*.ini;*.csv;*.text)");
    EXPECT_EQ(entries[1], "*.txt;*.log;*.diz;*.nfo;*.ini;*.csv;*.text");
    EXPECT_EQ(entries[9], "*.jsp;*.java;*.inc;");
    EXPECT_EQ(entries[14], "PHP Files (*.php;*.php3;*.php4;*.phtml;*.inc;)");
    EXPECT_EQ(entries[24], "All Files (*.*)");
    EXPECT_EQ(entries[25], "*.*");
}

TEST(FilterIndexForPath, FirstPairListingTheExtensionWins)
{
    EXPECT_EQ(FilterIndexForPath("C:\\web\\page.php"), 8);
    // .inc is in five lists; the ASP list comes first.
    EXPECT_EQ(FilterIndexForPath("C:\\web\\util.inc"), 2);
    EXPECT_EQ(FilterIndexForPath("C:\\notes.txt"), 1);
    EXPECT_EQ(FilterIndexForPath("C:\\notes.text"), 1);
    EXPECT_EQ(FilterIndexForPath("C:\\src\\main.cpp"), 3);
    EXPECT_EQ(FilterIndexForPath("C:\\src\\Main.Java"), 5);
    EXPECT_EQ(FilterIndexForPath("C:\\feed.RSS"), 9);
    EXPECT_EQ(FilterIndexForPath("C:\\doc.fo"), 12);
    EXPECT_EQ(FilterIndexForPath("C:\\run.cmd"), 6);
}

TEST(FilterIndexForPath, NoOrUnknownExtensionGivesZero)
{
    EXPECT_EQ(FilterIndexForPath("C:\\notes"), 0);
    // The dot of a folder name makes ".dir\readme" the extension: no match.
    EXPECT_EQ(FilterIndexForPath("C:\\my.dir\\readme"), 0);
    EXPECT_EQ(FilterIndexForPath("C:\\archive.zip"), 0);
    // A prefix of a listed extension is not that extension.
    EXPECT_EQ(FilterIndexForPath("C:\\a.ph"), 0);
    EXPECT_EQ(FilterIndexForPath("C:\\a.phpx"), 0);
    // Empty pieces after the trailing semicolons match nothing either.
    EXPECT_EQ(FilterIndexForPath("C:\\trailing."), 0);
    EXPECT_EQ(FilterIndexForPath(""), 0);
}
