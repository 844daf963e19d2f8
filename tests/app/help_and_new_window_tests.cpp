// F1 and New Window: files beside the program, never a path cut short.
#include "ground/user_prompts.h"
#include "program/commands.h"
#include "settings/ini_file.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <string>
#include <vector>

static std::vector<std::string> shellTargets;
static std::vector<std::string> helpFiles;

static HINSTANCE WINAPI RecordShell(HWND, LPCWSTR verb, LPCWSTR target, LPCWSTR, LPCWSTR, INT)
{
    shellTargets.push_back(Utf8(verb) + " " + Utf8(target));
    return (HINSTANCE)33;
}

static BOOL WINAPI RecordHelp(HWND, LPCWSTR file, UINT command, ULONG_PTR)
{
    helpFiles.push_back(Utf8(file));
    return command == HELP_FINDER;
}

// A program path longer than any buffer: cut to the buffer, as the system does.
static DWORD WINAPI LongModuleName(HMODULE, LPWSTR buffer, DWORD size)
{
    std::wstring path = L"C:\\" + std::wstring(PATH_CAPACITY, L'a') + L"\\scrivlet.exe";
    lstrcpynW(buffer, path.c_str(), (int)size);
    return size;
}

class ProgramFilesTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        shellTargets.clear();
        helpFiles.clear();
        Prompts.ShellExecute = RecordShell;
        HelpViewer = RecordHelp;
        ClearPromptLog();
    }
    void TearDown() override
    {
        Prompts.ShellExecute = ShellExecuteW;
        HelpViewer = WinHelpW;
        ModuleFileName = GetModuleFileNameW;
        DeleteFileA((TestProgramFolder() + "scrivlet.hlp").c_str());
        EditorFixture::TearDown();
    }
};

TEST_F(ProgramFilesTest, F1OpensThePageBesideTheProgramOrAnOldHelpFileThere)
{
    RunCommand(IDM_HELP);
    ASSERT_EQ(shellTargets.size(), 1u);
    EXPECT_EQ(shellTargets[0], "open " + TestProgramFolder() + "scrivlet.html");
    EXPECT_TRUE(helpFiles.empty());

    WriteBytes(TestProgramFolder() + "scrivlet.hlp", "old help");
    RunCommand(IDM_HELP);
    EXPECT_EQ(shellTargets.size(), 1u);
    ASSERT_EQ(helpFiles.size(), 1u);
    EXPECT_EQ(helpFiles[0], TestProgramFolder() + "scrivlet.hlp");
    EXPECT_TRUE(RecordedPrompts().empty());

    // The build puts the Chinese page beside the program.
    std::string page = ReadBytes(TestProgramFolder() + "..\\scrivlet.html");
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("scrivlet \xE8\xAA\xAA\xE6\x98\x8E"), std::string::npos); // 說明
}

TEST_F(ProgramFilesTest, AProgramPathTooLongIsRefusedNotCut)
{
    ModuleFileName = LongModuleName;
    RunCommand(IDM_HELP);
    RunCommand(IDM_NEWWINDOW);
    EXPECT_TRUE(shellTargets.empty());
    EXPECT_TRUE(helpFiles.empty());
    ASSERT_EQ(RecordedPrompts().size(), 2u);
    EXPECT_EQ(RecordedPrompts()[0].Text, L"The file name is too long.");
    EXPECT_EQ(RecordedPrompts()[1].Text, L"The file name is too long.");
}
