#include "document/load.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/long_path.h"
#include "support/editor_fixture.h"
#include "views/format_status.h"
#include "resource.h"

#include <richedit.h>
#include <string>

class LineFormatCommandTest : public EditorFixture {};

static bool Checked(UINT id)
{
    return (GetMenuState(GetMenu(App.MainWindow), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

static bool Modified()
{
    return SendMessageA(App.EditControl, EM_GETMODIFY, 0, 0) != 0;
}

TEST_F(LineFormatCommandTest, SameFormatChangesNothing)
{
    SetLineFormat(UNIX);
    SetEditModified(0);
    SendMessageA(App.MainWindow, WM_COMMAND, IDM_FORMAT_UNIX, 0);
    Pump();
    EXPECT_EQ(App.LineFormat, UNIX);
    EXPECT_FALSE(Modified());
}

TEST_F(LineFormatCommandTest, NewFormatIsShownAndMarksModified)
{
    SetLineFormat(-1);
    EXPECT_EQ(App.LineFormat, DOS);
    EXPECT_EQ(StatusText(1), AnsiStatus(L"WIN"));
    SetEditModified(0);

    SendMessageA(App.MainWindow, WM_COMMAND, IDM_FORMAT_MAC, 0);
    Pump();
    EXPECT_EQ(App.LineFormat, MAC);
    EXPECT_EQ(StatusText(1), AnsiStatus(L"MAC"));
    EXPECT_TRUE(Checked(IDM_FORMAT_MAC));
    EXPECT_FALSE(Checked(IDM_FORMAT_DOS));
    EXPECT_TRUE(Modified());
    EXPECT_EQ(WindowTitle(), "[Untitled]* - scrivlet");

    SendMessageA(App.MainWindow, WM_COMMAND, IDM_FORMAT_UNIX, 0);
    Pump();
    EXPECT_EQ(StatusText(1), AnsiStatus(L"UNIX"));
    EXPECT_TRUE(Checked(IDM_FORMAT_UNIX));
    EXPECT_FALSE(Checked(IDM_FORMAT_MAC));
}

// A file with a long name and its 8.3 alias.
struct LongAndShort {
    std::string longPath;
    std::string shortPath;
};

static LongAndShort MakeLongNamedFile(const char* scratch)
{
    LongAndShort names;
    names.longPath = MakeScratchFolder(scratch) + "Quarterly report draft.text";
    WriteBytes(names.longPath, "x");
    wchar_t shortPath[MAX_PATH];
    if (GetShortPathNameW(Wide(names.longPath).c_str(), shortPath, MAX_PATH) > 0)
        names.shortPath = Utf8(shortPath);
    return names;
}

TEST(LongPath, ResolverSettlesOnTheSystemFunction)
{
    LongAndShort names = MakeLongNamedFile("long_path_resolver");
    ASSERT_NE(names.shortPath, names.longPath);
    App.GetLongPath = ResolveLongPath;
    wchar_t out[MAX_PATH];
    DWORD length = App.GetLongPath(Wide(names.shortPath).c_str(), out, MAX_PATH);
    EXPECT_EQ(Utf8(out), names.longPath);
    EXPECT_EQ(length, names.longPath.size());
    EXPECT_TRUE(App.GetLongPath != ResolveLongPath);
    EXPECT_TRUE(App.GetLongPath != GetLongPathFallback);
}

TEST(LongPath, FallbackSpellsEveryComponentLong)
{
    LongAndShort names = MakeLongNamedFile("long_path_fallback");
    ASSERT_NE(names.shortPath, names.longPath);
    wchar_t out[MAX_PATH];
    DWORD length = GetLongPathFallback(Wide(names.shortPath).c_str(), out, MAX_PATH);
    EXPECT_EQ(Utf8(out), names.longPath);
    EXPECT_EQ(length, names.longPath.size());
}

TEST(LongPath, FallbackReportsSmallBufferWithoutWriting)
{
    LongAndShort names = MakeLongNamedFile("long_path_small");
    wchar_t out[10] = L"untouched";
    SetLastError(0);
    DWORD needed = GetLongPathFallback(Wide(names.longPath).c_str(), out, 10);
    EXPECT_EQ(needed, names.longPath.size() + 1);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INSUFFICIENT_BUFFER);
    EXPECT_STREQ(out, L"untouched");
}

TEST(LongPath, FallbackFailsForMissingFile)
{
    std::string missing = MakeScratchFolder("long_path_missing") + "absent.txt";
    wchar_t out[MAX_PATH] = L"untouched";
    EXPECT_EQ(GetLongPathFallback(Wide(missing).c_str(), out, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(out, L"untouched");
}
