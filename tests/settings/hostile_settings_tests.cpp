// Settings files nobody should have, and values the Options sheet could
// never store: the editor still starts usable, on screen, and writes nowhere
// but its own INI file.
#include "ground/app_state.h"
#include "settings/usable_settings.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <richedit.h>
#include <map>
#include <set>
#include <string>

typedef std::map<std::string, std::string> IniMap;
IniMap IniEntries(const std::string& text);

static std::set<std::string> FolderListing(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

static RECT PrimaryWorkArea()
{
    POINT origin = {0, 0};
    MONITORINFO info;
    info.cbSize = sizeof(info);
    GetMonitorInfoA(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

static std::string Repeated(char c, size_t count) { return std::string(count, c); }

// Every start must end like this, whatever the file held.
static void ExpectUsableEditorOnScreen()
{
    EXPECT_TRUE(IsWindowVisible(App.MainWindow));
    RECT window;
    GetWindowRect(App.MainWindow, &window);
    RECT work = PrimaryWorkArea();
    RECT shown;
    EXPECT_TRUE(IntersectRect(&shown, &window, &work));
    EXPECT_GE(shown.right - shown.left, 50);
    EXPECT_GE(shown.bottom - shown.top, 50);
    EXPECT_GE(Config.TabSize, 2);
    EXPECT_LE(Config.TabSize, 9);
    EXPECT_TRUE(IsUsableFontSize(Config.EditorCharFormat.yHeight));
    EXPECT_NE(Config.FontColor & 0xFFFFFF, Config.BackColor & 0xFFFFFF);
}

// --- Hostile files --------------------------------------------------------

struct HostileIni {
    const char* Name;
    std::string Bytes;
};

static std::string Utf16Ini(const wchar_t* text)
{
    std::string bytes("\xFF\xFE", 2);
    for (const wchar_t* p = text; *p; p++) {
        bytes += (char)(*p & 0xFF);
        bytes += (char)(*p >> 8);
    }
    return bytes;
}

static std::string RandomBytes(size_t count, unsigned int seed)
{
    std::string bytes;
    for (size_t i = 0; i < count; i++) {
        seed = seed * 1103515245u + 12345u;
        bytes += (char)(seed >> 16);
    }
    return bytes;
}

static std::vector<HostileIni> HostileInis()
{
    std::string huge = Repeated('9', 100000);
    return {
        {"Garbage", "[Config\r\n=\r\n==x\r\nTabSize\r\n[[View]]]\r\nFontSize==12\r\n\x01\x02\x03\r\n"
                    "[View]\r\nSavePosition=yes\r\nleft=\r\n"},
        {"NegativeNumbers", "[Config]\r\nFontSize=-220\r\nTabSize=-4\r\nCharSet=-1\r\ndwEffects=-1\r\n"
                            "FontColor=-1\r\nBackColor=-1\r\n[View]\r\nSavePosition=1\r\nleft=-2147483648\r\n"
                            "top=-2147483648\r\nright=-2147483647\r\nbottom=-2147483647\r\nWindowState=-3\r\n"},
        {"HugeNumbers", "[Config]\r\nFontSize=99999999999\r\nTabSize=2147483647\r\nFontColor=4294967295\r\n"
                        "[View]\r\nSavePosition=1\r\nleft=2147483647\r\ntop=2147483647\r\n"
                        "right=99999999999\r\nbottom=99999999999\r\nWindowState=1\r\n"},
        {"LongValues", "[Config]\r\nSearch=" + Repeated('s', 100000) + "\r\nFont=" + Repeated('F', 100000) +
                           "\r\nFontSize=" + huge + "\r\nFontColor=" + huge + "\r\nBackColor=" + huge +
                           "\r\n[View]\r\nSavePosition=1\r\nleft=" + huge + "\r\nright=" + huge + "\r\n" +
                           Repeated('k', 100000) + "=1\r\n"},
        {"NoSections", "TabSize=4\r\nFontSize=1\r\nSavePosition=1\r\nleft=-9000\r\n"},
        {"Binary", RandomBytes(4096, 14)},
        {"BinaryWithZeros", std::string("[View]\0SavePosition=1\0left=-5000\r\n\0\0\0", 40) + RandomBytes(300, 7)},
        {"Utf16", Utf16Ini(L"[Config]\r\nTabSize=4\r\nFontSize=5000\r\n[View]\r\nSavePosition=1\r\n"
                           L"left=-9000\r\ntop=10\r\nright=-8500\r\nbottom=300\r\n")},
    };
}

class HostileIniFile : public EditorFixture, public ::testing::WithParamInterface<HostileIni> {
protected:
    std::string IniContents() override { return GetParam().Bytes; }
};

TEST_P(HostileIniFile, StartsUsableOnScreenAndWritesOnlyItsIni)
{
    ExpectUsableEditorOnScreen();
    EXPECT_TRUE(RecordedPrompts().empty());
    // Change what the exit writes, then close: only scrivlet.ini may change.
    std::set<std::string> before = FolderListing(TestProgramFolder());
    SendMessageA(App.MainWindow, WM_COMMAND, IDM_TOOLBAR, 0);
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(FolderListing(TestProgramFolder()), before);
    // The next start reads what this one wrote and is usable as well.
    StopEditor();
    ClearPromptLog();
    StartEditor("");
    ExpectUsableEditorOnScreen();
    EXPECT_EQ(Config.Toolbar, 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileIniFile, ::testing::ValuesIn(HostileInis()),
                         [](const ::testing::TestParamInfo<HostileIni>& info) { return info.param.Name; });

class ReadOnlyIni : public EditorFixture {
protected:
    std::string IniContents() override { return "[Config]\r\nTabSize=4\r\n"; }
    void SetUp() override
    {
        ClearPromptLog();
        WriteBytes(IniPath(), IniContents());
        SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_READONLY);
        StartEditor("");
    }
    void TearDown() override
    {
        SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        EditorFixture::TearDown();
    }
};

// Whether the system lets the write through is its affair (Windows refuses
// it; Wine running as root does not): the editor reads the file, says
// nothing, and writes nowhere else.
TEST_F(ReadOnlyIni, IsReadWithNoMessageAndNothingElseIsWritten)
{
    EXPECT_EQ(Config.TabSize, 4);
    std::set<std::string> before = FolderListing(TestProgramFolder());
    SendMessageA(App.MainWindow, WM_COMMAND, IDM_TOOLBAR, 0);
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(IniEntries(ReadIni())["Config/TabSize"], "4");
    EXPECT_EQ(FolderListing(TestProgramFolder()), before);
    EXPECT_TRUE(RecordedPrompts().empty());
}

class IniPathIsAFolder : public EditorFixture {
protected:
    void SetUp() override
    {
        ClearPromptLog();
        DeleteFileA(IniPath().c_str());
        CreateDirectoryA(IniPath().c_str(), NULL);
        StartEditor("");
    }
    void TearDown() override
    {
        StopEditor();
        RemoveDirectoryA(IniPath().c_str());
        ClearPromptLog();
    }
};

TEST_F(IniPathIsAFolder, DefaultsAndNothingWrittenAnywhere)
{
    ExpectUsableEditorOnScreen();
    EXPECT_EQ(Config.TabSize, 8);
    std::set<std::string> before = FolderListing(TestProgramFolder());
    std::set<std::string> inside = FolderListing(IniPath() + "\\");
    SendMessageA(App.MainWindow, WM_COMMAND, IDM_TOOLBAR, 0);
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(FolderListing(TestProgramFolder()), before);
    EXPECT_EQ(FolderListing(IniPath() + "\\"), inside);
    DWORD attributes = GetFileAttributesA(IniPath().c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

// --- Values the Options sheet never stores ---------------------------------

struct FontSizeCase {
    int Stored;
    int Loaded;
};

class FontSizeLoad : public EditorFixture, public ::testing::WithParamInterface<FontSizeCase> {
protected:
    std::string IniContents() override
    {
        return "[Config]\r\nFont=Courier New\r\nTabSize=5\r\nFontSize=" + std::to_string(GetParam().Stored) +
               "\r\n";
    }
};

TEST_P(FontSizeLoad, OutsideOneToTwentyPointsFallsBackTheRestStays)
{
    EXPECT_EQ(Config.EditorCharFormat.yHeight, GetParam().Loaded);
    EXPECT_STREQ(Config.EditorCharFormat.szFaceName, L"Courier New");
    EXPECT_EQ(Config.TabSize, 5);
    CHARFORMATW applied;
    ZeroMemory(&applied, sizeof(applied));
    applied.cbSize = sizeof(applied);
    SendMessageA(App.EditControl, EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&applied);
    EXPECT_EQ(applied.yHeight, GetParam().Loaded);
}

INSTANTIATE_TEST_SUITE_P(Stored, FontSizeLoad,
                         ::testing::Values(FontSizeCase{0, 220}, FontSizeCase{19, 220}, FontSizeCase{20, 20},
                                           FontSizeCase{400, 400}, FontSizeCase{401, 220},
                                           FontSizeCase{-220, 220}, FontSizeCase{100000, 220}));

struct ColorCase {
    const char* Stored;
    COLORREF Text;
    bool BackIsWindowColor;
    COLORREF Back;
};

class ColorLoad : public EditorFixture, public ::testing::WithParamInterface<ColorCase> {
protected:
    std::string IniContents() override { return std::string("[Config]\r\n") + GetParam().Stored; }
};

TEST_P(ColorLoad, TextLikeTheBackgroundOrNoColourFallsBack)
{
    COLORREF back = GetParam().BackIsWindowColor ? GetSysColor(COLOR_WINDOW) : GetParam().Back;
    EXPECT_EQ(Config.FontColor, GetParam().Text);
    EXPECT_EQ(Config.EditorCharFormat.crTextColor, GetParam().Text);
    EXPECT_EQ(Config.BackColor, back);
    COLORREF shown = (COLORREF)SendMessageA(App.EditControl, EM_SETBKGNDCOLOR, 0, (LPARAM)back);
    EXPECT_EQ(shown, back);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, ColorLoad,
    ::testing::Values(ColorCase{"FontColor=255\r\nBackColor=255\r\n", 0, false, 255},
                      ColorCase{"FontColor=16777215\r\nBackColor=16777215\r\n", 0, false, 16777215},
                      ColorCase{"FontColor=0\r\nBackColor=0\r\n", 16777215, false, 0},
                      ColorCase{"FontColor=255\r\nBackColor=junk\r\n", 255, false, 0},
                      ColorCase{"FontColor=16777471\r\nBackColor=65280\r\n", 0, false, 65280},
                      ColorCase{"FontColor=255\r\nBackColor=4278190335\r\n", 255, true, 0},
                      ColorCase{"FontColor=128\r\nBackColor=65280\r\n", 128, false, 65280}));

static HFONT WINAPI FailForBrokenFace(const LOGFONTW* font)
{
    if (lstrcmpW(font->lfFaceName, L"Broken Face") == 0)
        return NULL;
    return CreateFontIndirectW(font);
}

class FontThatCannotBeMade : public EditorFixture {
protected:
    std::string IniContents() override
    {
        return "[Config]\r\nFont=Broken Face\r\nFontSize=300\r\ndwEffects=3\r\nCharSet=136\r\nTabSize=3\r\n";
    }
    void SetUp() override
    {
        EditorFontCreator = FailForBrokenFace;
        EditorFixture::SetUp();
    }
    void TearDown() override
    {
        EditorFixture::TearDown();
        EditorFontCreator = CreateFontIndirectW;
    }
};

TEST_F(FontThatCannotBeMade, TheDefaultFontIsUsedInstead)
{
    const CHARFORMATW& format = Config.EditorCharFormat;
    EXPECT_STREQ(format.szFaceName, DEFAULT_FONT_FACE);
    EXPECT_EQ(format.yHeight, DEFAULT_FONT_TWIPS);
    EXPECT_EQ(format.dwEffects, 0u);
    EXPECT_EQ(format.bCharSet, 0);
    EXPECT_STREQ(Config.EditorLogFont.lfFaceName, DEFAULT_FONT_FACE);
    EXPECT_EQ(Config.TabSize, 3);
    EXPECT_TRUE(RecordedPrompts().empty());
}

// A face the system lacks keeps its name but gets a fixed-pitch stand-in; an
// installed face is left to itself.
static std::string SomeInstalledFace()
{
    LOGFONTW any;
    ZeroMemory(&any, sizeof(any));
    any.lfCharSet = DEFAULT_CHARSET;
    std::string face;
    HDC context = GetDC(NULL);
    EnumFontFamiliesExW(
        context, &any,
        [](const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM found) -> int {
            if (!(type & TRUETYPE_FONTTYPE) || font->lfFaceName[0] == '@')
                return 1;
            *(std::string*)found = Utf8(font->lfFaceName);
            return 0;
        },
        (LPARAM)&face, 0);
    ReleaseDC(NULL, context);
    return face;
}

class FaceLoad : public EditorFixture, public ::testing::WithParamInterface<bool> {
protected:
    std::string Face() { return GetParam() ? SomeInstalledFace() : "No Such Face Here"; }
    std::string IniContents() override { return "[Config]\r\nFont=" + Face() + "\r\n"; }
};

TEST_P(FaceLoad, MissingFaceIsStoodInForByAFixedPitchFont)
{
    std::string face = Face();
    ASSERT_FALSE(face.empty());
    EXPECT_STREQ(Config.EditorCharFormat.szFaceName, Wide(face).c_str());
    EXPECT_EQ(IsFontInstalled(Wide(face).c_str()), GetParam());
    BYTE expected = GetParam() ? 0 : (FIXED_PITCH | FF_MODERN);
    EXPECT_EQ(Config.EditorCharFormat.bPitchAndFamily, expected);
    EXPECT_EQ(Config.EditorLogFont.lfPitchAndFamily, expected);
    if (GetParam())
        return;
    HDC context = GetDC(App.EditControl);
    HFONT font = CreateFontIndirectW(&Config.EditorLogFont);
    HGDIOBJ old = SelectObject(context, font);
    TEXTMETRICW metrics;
    GetTextMetricsW(context, &metrics);
    SelectObject(context, old);
    DeleteObject(font);
    ReleaseDC(App.EditControl, context);
    // The bit set means a variable pitch.
    EXPECT_EQ(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
}

INSTANTIATE_TEST_SUITE_P(InstalledOrNot, FaceLoad, ::testing::Bool());
