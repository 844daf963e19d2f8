// Where the INI file is found, and the two writes that touch only changed keys.
#include "ground/app_state.h"
#include "options/options_sheet.h"
#include "program/commands.h"
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <shlobj.h>
#include <io.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

typedef std::map<std::string, std::string> IniMap;
IniMap IniEntries(const std::string& text);

static bool Exists(const std::string& path) { return _access(path.c_str(), 0) == 0; }

static std::string AppDataFolder()
{
    char path[MAX_PATH];
    path[0] = 0;
    SHGetFolderPathA(NULL, CSIDL_APPDATA, NULL, SHGFP_TYPE_CURRENT, path);
    return path;
}

static std::string PerUserFolder() { return AppDataFolder() + "\\Tolvek\\scrivlet"; }
static std::string PerUserIni() { return PerUserFolder() + "\\scrivlet.ini"; }

// The Wine prefix belongs to this build tree, so its per-user folder is ours to clear.
static void RemovePerUserFiles()
{
    DeleteFileA(PerUserIni().c_str());
    RemoveDirectoryA(PerUserFolder().c_str());
    RemoveDirectoryA((AppDataFolder() + "\\Tolvek").c_str());
    DeleteFileA((AppDataFolder() + "\\Tolvek").c_str()); // left by the failure tests
}

static std::string BesideProgramIni() { return TestProgramFolder() + "scrivlet.ini"; }
static std::string PortableReadme() { return TestProgramFolder() + "scrivlet-portable.txt"; }

// --- ModuleSiblingPath and LocateIniFile ---------------------------------

TEST(ModuleSiblingPath, PointsAtTheProgramNameInsideTheFullPath)
{
    static wchar_t buffer[INI_PATH_SIZE];
    wchar_t* name = ModuleSiblingPath(buffer);
    ASSERT_TRUE(name != NULL);
    EXPECT_GT(name, buffer);
    EXPECT_EQ(name[-1], L'\\');
    EXPECT_EQ(lstrcmpiW(name, L"settings_tests.exe"), 0) << Utf8(name);
    *name = 0;
    EXPECT_EQ(lstrcmpiW(buffer, Wide(TestProgramFolder()).c_str()), 0) << Utf8(buffer);
}

class IniLocation : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemovePerUserFiles();
        DeleteFileA(BesideProgramIni().c_str());
        DeleteFileA(PortableReadme().c_str());
    }
    void TearDown() override
    {
        RemovePerUserFiles();
        DeleteFileA(BesideProgramIni().c_str());
        DeleteFileA(PortableReadme().c_str());
    }
};

TEST_F(IniLocation, EmptyFileBesideTheProgramIsPreferred)
{
    WriteBytes(BesideProgramIni(), "");
    static wchar_t buffer[INI_PATH_SIZE];
    ASSERT_TRUE(LocateIniFile(buffer));
    EXPECT_EQ(lstrcmpiW(buffer, Wide(BesideProgramIni()).c_str()), 0) << Utf8(buffer);
    // The per-user folders are neither looked at nor created then.
    EXPECT_FALSE(Exists(AppDataFolder() + "\\Tolvek"));
}

TEST_F(IniLocation, WithoutAFileBesideTheProgramThePerUserFoldersAreCreated)
{
    ASSERT_FALSE(Exists(AppDataFolder() + "\\Tolvek"));
    static wchar_t buffer[INI_PATH_SIZE];
    ASSERT_TRUE(LocateIniFile(buffer));
    EXPECT_EQ(lstrcmpiW(buffer, Wide(PerUserIni()).c_str()), 0) << Utf8(buffer);
    EXPECT_TRUE(Exists(AppDataFolder() + "\\Tolvek"));
    EXPECT_TRUE(Exists(PerUserFolder()));
    // The file itself waits for the first write.
    EXPECT_FALSE(Exists(PerUserIni()));
    EXPECT_FALSE(Exists(BesideProgramIni()));

    // Existing folders are simply used again.
    ASSERT_TRUE(LocateIniFile(buffer));
    EXPECT_EQ(lstrcmpiW(buffer, Wide(PerUserIni()).c_str()), 0) << Utf8(buffer);
}

TEST_F(IniLocation, AFileBesideTheProgramWinsOverAnExistingPerUserFile)
{
    static wchar_t buffer[INI_PATH_SIZE];
    ASSERT_TRUE(LocateIniFile(buffer)); // creates the per-user folders
    WriteBytes(PerUserIni(), "[View]\r\nToolbar=0\r\n");
    WriteBytes(BesideProgramIni(), "");
    ASSERT_TRUE(LocateIniFile(buffer));
    EXPECT_EQ(lstrcmpiW(buffer, Wide(BesideProgramIni()).c_str()), 0) << Utf8(buffer);
}

TEST_F(IniLocation, PortableReadmeStartsTheFileBesideTheProgram)
{
    static wchar_t buffer[INI_PATH_SIZE];
    ASSERT_TRUE(LocateIniFile(buffer)); // an earlier per-user file does not hold a portable copy
    WriteBytes(PerUserIni(), "[View]\r\nToolbar=0\r\n");
    WriteBytes(PortableReadme(), "read me");
    ASSERT_TRUE(LocateIniFile(buffer));
    EXPECT_EQ(lstrcmpiW(buffer, Wide(BesideProgramIni()).c_str()), 0) << Utf8(buffer);
    // Made at once, so that removing the read-me later keeps the settings here.
    EXPECT_EQ(ReadBytes(BesideProgramIni()), "");
    DeleteFileA(PortableReadme().c_str());
    ASSERT_TRUE(LocateIniFile(buffer));
    EXPECT_EQ(lstrcmpiW(buffer, Wide(BesideProgramIni()).c_str()), 0) << Utf8(buffer);
}

TEST_F(IniLocation, PerUserFolderThatCannotBeMadeFails)
{
    // A file where the folder "Tolvek" should be: "scrivlet" cannot be made in it.
    WriteBytes(AppDataFolder() + "\\Tolvek", "not a folder");
    static wchar_t buffer[INI_PATH_SIZE];
    EXPECT_FALSE(LocateIniFile(buffer));
}

// --- WriteIniIntIfChanged and WriteIniStringIfChanged --------------------

class IniWrites : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = MakeScratchFolder("ini_writes");
        path_ = folder_ + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
    }
    std::string folder_;
    std::string path_;
};

TEST_F(IniWrites, IntEqualToItsDefaultStaysAbsent)
{
    WriteIniIntIfChanged(Wide(path_).c_str(), L"View", L"Toolbar", 1, 1);
    EXPECT_FALSE(Exists(path_)); // not even the file is made
    WriteBytes(path_, "[View]\r\nStatusbar=0\r\n");
    WriteIniIntIfChanged(Wide(path_).c_str(), L"View", L"Toolbar", 1, 1);
    EXPECT_EQ(ReadBytes(path_), "[View]\r\nStatusbar=0\r\n");
}

TEST_F(IniWrites, IntThatDiffersIsWrittenAsSignedDecimal)
{
    WriteIniIntIfChanged(Wide(path_).c_str(), L"View", L"Toolbar", 0, 1);
    WriteIniIntIfChanged(Wide(path_).c_str(), L"View", L"left", -800, 0);
    IniMap entries = IniEntries(ReadBytes(path_));
    EXPECT_EQ(entries, (IniMap{{"View/Toolbar", "0"}, {"View/left", "-800"}}));
    EXPECT_EQ((int)GetPrivateProfileIntA("View", "left", 0, path_.c_str()), -800);
}

TEST_F(IniWrites, IntEqualToTheStoredValueLeavesTheFileUntouched)
{
    // Spaced the way the system's writer never spaces: a rewrite would show.
    const std::string original = "[View]\r\nleft = -800\r\ntop = 7\r\n";
    WriteBytes(path_, original);
    WriteIniIntIfChanged(Wide(path_).c_str(), L"View", L"left", -800, 0);
    WriteIniIntIfChanged(Wide(path_).c_str(), L"View", L"top", 7, 0);
    EXPECT_EQ(ReadBytes(path_), original);
    // A stored value wins over the default: equal to the default is not enough.
    WriteIniIntIfChanged(Wide(path_).c_str(), L"View", L"top", 0, 0);
    EXPECT_EQ(IniEntries(ReadBytes(path_))["View/top"], "0");
}

TEST_F(IniWrites, StringEqualToItsDefaultStaysAbsent)
{
    WriteIniStringIfChanged(Wide(path_).c_str(), L"Config", L"Search", L"", L"");
    EXPECT_FALSE(Exists(path_));
    WriteIniStringIfChanged(Wide(path_).c_str(), L"Config", L"Font", L"Fixedsys", L"Fixedsys");
    EXPECT_FALSE(Exists(path_));
}

TEST_F(IniWrites, StringIsComparedCaseSensitively)
{
    WriteBytes(path_, "[Config]\r\nSearch = Needle\r\n");
    WriteIniStringIfChanged(Wide(path_).c_str(), L"Config", L"Search", L"", L"Needle");
    EXPECT_EQ(ReadBytes(path_), "[Config]\r\nSearch = Needle\r\n");
    WriteIniStringIfChanged(Wide(path_).c_str(), L"Config", L"Search", L"", L"needle");
    EXPECT_EQ(IniEntries(ReadBytes(path_)), (IniMap{{"Config/Search", "needle"}}));
}

TEST_F(IniWrites, OnlyNinetyNineCharactersAreComparedSoLongTextsAreAlwaysWritten)
{
    // The read-back holds at most 99 characters: a 100-character text never
    // compares equal, so a change past the 99th character is still written.
    std::string stored = std::string(99, 'b') + "X";
    std::string wanted = std::string(100, 'b');
    WriteBytes(path_, "[Config]\r\nReplace = " + stored + "\r\n");
    WriteIniStringIfChanged(Wide(path_).c_str(), L"Config", L"Replace", L"", Wide(wanted).c_str());
    EXPECT_EQ(IniEntries(ReadBytes(path_))["Config/Replace"], wanted);
    // 99 characters compare in full: equal text leaves the file as it is.
    std::string short99(99, 'a');
    const std::string original = "[Config]\r\nSearch = " + short99 + "\r\n";
    WriteBytes(path_, original);
    WriteIniStringIfChanged(Wide(path_).c_str(), L"Config", L"Search", L"", Wide(short99).c_str());
    EXPECT_EQ(ReadBytes(path_), original);
}

// --- The editor and the per-user file -------------------------------------

class PerUserIniEditor : public EditorFixture {
protected:
    void SetUp() override
    {
        ClearPromptLog();
        RemovePerUserFiles();
        DeleteFileA(IniPath().c_str());
        StartEditor(CommandLine());
    }
    void TearDown() override
    {
        EditorFixture::TearDown();
        RemovePerUserFiles();
    }
};

TEST_F(PerUserIniEditor, StartWithNoIniAnywhereCreatesBothFolderLevels)
{
    EXPECT_TRUE(Exists(AppDataFolder() + "\\Tolvek"));
    EXPECT_TRUE(Exists(PerUserFolder()));
    EXPECT_FALSE(Exists(PerUserIni()));
    EXPECT_FALSE(Exists(IniPath()));
    // Every key took its default.
    EXPECT_EQ(Config.Toolbar, 1);
    EXPECT_EQ(Config.TabSize, 8);
    EXPECT_STREQ(Config.EditorCharFormat.szFaceName, L"Fixedsys");
}

TEST_F(PerUserIniEditor, ExitSettingsGoToThePerUserFile)
{
    RunCommand(IDM_TOOLBAR);
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(IniEntries(ReadBytes(PerUserIni())), (IniMap{{"View/Toolbar", "0"}}));
    EXPECT_FALSE(Exists(IniPath()));
}

TEST_F(PerUserIniEditor, PerUserFileIsReadAtStart)
{
    StopEditor();
    WriteBytes(PerUserIni(), "[View]\r\nStatusbar=0\r\n[Config]\r\nTabSize=3\r\n");
    StartEditor("");
    EXPECT_EQ(Config.Statusbar, 0);
    EXPECT_EQ(Config.TabSize, 3);
}

class BesideProgramIniDeleted : public EditorFixture {
protected:
    void TearDown() override
    {
        EditorFixture::TearDown();
        RemovePerUserFiles();
    }
};

TEST_F(BesideProgramIniDeleted, NextSaveSwitchesToThePerUserFile)
{
    RemovePerUserFiles();
    ASSERT_TRUE(Exists(IniPath()));
    EXPECT_FALSE(Exists(AppDataFolder() + "\\Tolvek")); // the start used the file beside
    DeleteFileA(IniPath().c_str());
    RunCommand(IDM_STATUSBAR);
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_FALSE(Exists(IniPath()));
    EXPECT_EQ(IniEntries(ReadBytes(PerUserIni())), (IniMap{{"View/Statusbar", "0"}}));
}

// No usable INI path at all: every key takes its default and nothing is written.
class UnusableIniEditor : public EditorFixture {
protected:
    void SetUp() override
    {
        ClearPromptLog();
        RemovePerUserFiles();
        DeleteFileA(IniPath().c_str());
        WriteBytes(AppDataFolder() + "\\Tolvek", "not a folder");
        StartEditor(CommandLine());
    }
    void TearDown() override
    {
        EditorFixture::TearDown();
        RemovePerUserFiles();
    }
};

TEST_F(UnusableIniEditor, DefaultsAreUsedAndNothingIsWritten)
{
    EXPECT_EQ(Config.Toolbar, 1);
    EXPECT_EQ(Config.WordWrap, 1);
    EXPECT_EQ(Config.TabSize, 8);
    EXPECT_EQ(Config.BackColor, GetSysColor(COLOR_WINDOW));
    EXPECT_STREQ(Config.EditorCharFormat.szFaceName, L"Fixedsys");
    EXPECT_TRUE(IsWindowVisible(App.MainWindow));

    Config.SmartHome = 0;
    SaveOptions();
    RunCommand(IDM_TOOLBAR);
    lstrcpyW(App.FindWhat, L"needle");
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_FALSE(Exists(IniPath()));
    EXPECT_EQ(ReadBytes(AppDataFolder() + "\\Tolvek"), "not a folder");
    EXPECT_TRUE(RecordedPrompts().empty()); // no message for INI problems
}

// Several processes writing the one file at once, as copies closing together
// do: nothing any of them did not write is lost, each key holds its value,
// and every line is whole.
TEST(IniFileShared, CopiesWritingAtOnceLoseNothing)
{
    std::string folder = MakeScratchFolder("ini_shared");
    std::string ini = folder + "shared.ini";
    std::string kept = "[Keep]\r\n";
    for (int i = 0; i < 20; i++)
        kept += "Kept" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
    WriteBytes(ini, kept);

    char program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(NULL, program, MAX_PATH), 0u);
    const int copies = 6;
    std::vector<HANDLE> processes;
    for (int copy = 0; copy < copies; copy++) {
        std::string line = "\"" + std::string(program) + "\" --ini-writer \"" + ini + "\" " + std::to_string(copy);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info = {};
        ASSERT_TRUE(CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info));
        CloseHandle(info.hThread);
        processes.push_back(info.hProcess);
    }
    for (HANDLE process : processes) {
        EXPECT_EQ(WaitForSingleObject(process, 120000), WAIT_OBJECT_0);
        CloseHandle(process);
    }

    std::string text = IniText(ReadBytes(ini));
    IniMap entries = IniEntries(text);
    for (int i = 0; i < 20; i++)
        EXPECT_EQ(entries["Keep/Kept" + std::to_string(i)], "value " + std::to_string(i));
    for (int copy = 0; copy < copies; copy++)
        for (int key = 0; key < 30; key++)
            EXPECT_EQ(entries["Copy" + std::to_string(copy) + "/Key" + std::to_string(key)],
                      std::to_string(copy * 100 + key));
    EXPECT_EQ(entries["Shared/Last"].substr(0, 4), "Copy");
    // Whole lines only: a header, a key with its value, or nothing.
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        bool header = !line.empty() && line.front() == '[' && line.back() == ']';
        bool key = line.rfind("Kept", 0) == 0 || line.rfind("Key", 0) == 0 || line.rfind("Last=", 0) == 0;
        EXPECT_TRUE(line.empty() || header || key) << "broken line: " << line;
    }
}
