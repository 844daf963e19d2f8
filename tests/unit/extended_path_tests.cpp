// The "\\?\" form past MAX_PATH characters, and back to what the user reads.
#include "text/extended_path.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>

TEST(ExtendedLengthPath, OnlyFullPathsOfMaxPathOrMoreGetThePrefix)
{
    std::wstring name(MAX_PATH, L'n');
    std::wstring shortName(MAX_PATH - 4, L'n');
    struct Case {
        std::wstring Path, Expected;
    } cases[] = {
        {L"C:\\" + shortName, L"C:\\" + shortName},             // 259 characters: as it is
        {L"C:\\" + name, L"\\\\?\\C:\\" + name},
        {L"c:/docs/" + name, L"\\\\?\\c:\\docs\\" + name},       // the prefix takes no "/"
        {L"\\\\server\\share\\" + name, L"\\\\?\\UNC\\server\\share\\" + name},
        {L"\\\\?\\C:\\" + name, L"\\\\?\\C:\\" + name},         // already in that form
        {L"\\\\.\\C:\\" + name, L"\\\\.\\C:\\" + name},
        {L"docs\\" + name, L"docs\\" + name},                   // relative: the system's to parse
        {L"C:" + name, L"C:" + name},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(ExtendedLengthPath(c.Path.c_str()) == c.Expected) << c.Path.size();
    EXPECT_TRUE(ExtendedLengthPath(NULL).empty());
}

TEST(PathAsShown, ThePrefixIsNotShown)
{
    EXPECT_EQ(PathAsShown(L"\\\\?\\C:\\docs\\a.txt"), L"C:\\docs\\a.txt");
    EXPECT_EQ(PathAsShown(L"\\\\?\\UNC\\server\\share\\a.txt"), L"\\\\server\\share\\a.txt");
    EXPECT_EQ(PathAsShown(L"C:\\docs\\\x4F1A.txt"), L"C:\\docs\\\x4F1A.txt");
    EXPECT_EQ(PathAsShown(L"\\\\?\\Volume{x}\\a.txt"), L"\\\\?\\Volume{x}\\a.txt");
}
