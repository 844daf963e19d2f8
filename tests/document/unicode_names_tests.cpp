// Names of any script, and longer than 260 characters, by every road a
// document takes: each behaviour is one table over the same names. Run again
// under code pages 950, 1252 and 936, where most of them cannot be spelt.
#include "document/load.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "program/commands.h"
#include "recovery/recovery.h"
#include "recovery/recovery_offer.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <shellapi.h>
#include <string>
#include <vector>

struct NameCase {
    const char* Kind;
    std::string Name; // UTF-8
};

class UnicodeNames : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        ExpectTheCodePageAskedFor();
        folder_ = MakeScratchFolder("unicode_names");
        // The last name makes a full path of 300 characters.
        size_t rest = 300 - Wide(folder_).size() - 4;
        names_ = {{"Big5 Chinese", "\xE5\xA0\xB1\xE5\x91\x8A.txt"},                     // 報告
                  {"simplified Chinese", "\xE4\xBC\x9A\xE8\xAE\xAE\xE8\xAE\xB0\xE5\xBD\x95.txt"}, // 会议记录
                  {"kana", "\xE3\x81\x8B\xE3\x81\xAA.txt"},                                  // かな
                  {"emoji", "note\xF0\x9F\x98\x80.txt"},                                     // note😀
                  {"300 characters", std::string(rest, 'n') + ".txt"}};
        ASSERT_EQ(Wide(folder_ + names_.back().Name).size(), 300u);
    }

    std::string Path(const NameCase& name) { return folder_ + name.Name; }
    static std::string Content(const NameCase& name) { return std::string("text of ") + name.Kind; }

    // The named file with its own text; returns its path.
    std::string Make(const NameCase& name)
    {
        WriteBytes(Path(name), Content(name));
        return Path(name);
    }

    void ExpectOpened(const NameCase& name, const char* road)
    {
        EXPECT_EQ(Utf8(App.FilePath), Path(name)) << name.Kind << " by " << road;
        EXPECT_EQ(EditText(), Content(name)) << name.Kind << " by " << road;
        EXPECT_EQ(WindowTitle(), name.Name + " - scrivlet") << name.Kind << " by " << road;
        EXPECT_EQ(App.HasFile, 1) << name.Kind << " by " << road;
    }

    std::string folder_;
    std::vector<NameCase> names_;
};

TEST_F(UnicodeNames, OpenByCommandLineDropDialogAndRecentFiles)
{
    for (const NameCase& name : names_) {
        std::string path = Make(name);
        StopEditor();
        StartEditor("\"" + path + "\"");
        ExpectOpened(name, "command line");

        RunCommand(IDM_NEW);
        SendMessageW(App.MainWindow, WM_DROPFILES, (WPARAM)MakeFileDrop({path}), 0);
        Pump();
        ExpectOpened(name, "drop");

        RunCommand(IDM_NEW);
        QueueFileDialogAnswer(path);
        RunCommand(IDM_OPEN);
        ExpectOpened(name, "Open dialog");

        RunCommand(IDM_NEW);
        RunCommand(IDM_RECENT_FIRST);
        ExpectOpened(name, "recent files");
        EXPECT_TRUE(RecordedPrompts().empty()) << name.Kind;
    }
}

// The recent files and favorites keep the names in the INI file: after a
// restart the menus show them and take the user to them.
TEST_F(UnicodeNames, ListsKeepTheNamesThroughTheIni)
{
    for (const NameCase& name : names_) {
        ASSERT_EQ(OpenDocument(Wide(Make(name)).c_str()), 1);
        RunCommand(IDM_FAV_ADD);
    }
    ASSERT_TRUE(CloseMainWindow());
    StopEditor();
    StartEditor("");
    HMENU file = GetSubMenu(GetMenu(App.MainWindow), MENU_FILE);
    for (size_t i = 0; i < names_.size(); i++) {
        const NameCase& name = names_[names_.size() - 1 - i]; // the newest first
        wchar_t label[400];
        GetMenuStringW(file, (UINT)(IDM_RECENT_FIRST + i), label, 400, MF_BYCOMMAND);
        // Numbered, shortened to a tail of the path that ends in the name.
        std::wstring shown = label;
        std::wstring start = L"&" + std::to_wstring(i + 1) + L" ...";
        std::wstring end = Wide(name.Name);
        end = end.substr(end.size() > 30 ? end.size() - 30 : 0);
        EXPECT_EQ(shown.substr(0, start.size()), start) << name.Kind;
        EXPECT_TRUE(shown.size() >= end.size() && shown.compare(shown.size() - end.size(), end.size(), end) == 0)
            << name.Kind << ": " << Utf8(shown);
        RunCommand(IDM_RECENT_FIRST + (int)i);
        ExpectOpened(name, "recent files after a restart");
        ASSERT_GT(App.FavoritesList.Count, (int)i);
        EXPECT_EQ(Utf8(App.FavoritesList.Items[i]), Path(names_[i])) << names_[i].Kind;
    }
}

TEST_F(UnicodeNames, ReloadAfterAnOutsideChange)
{
    for (const NameCase& name : names_) {
        ASSERT_EQ(OpenDocument(Wide(Make(name)).c_str()), 1);
        WriteBytes(Path(name), "changed outside");
        ASSERT_TRUE(MoveFileTimeOn(Path(name))) << name.Kind;
        ClearPromptLog();
        QueueAnswer(IDYES);
        SendMessageW(App.MainWindow, WM_SETFOCUS, 0, 0);
        PumpFor(800);
        EXPECT_EQ(RecordedPrompts().size(), 1u) << name.Kind;
        EXPECT_EQ(EditText(), "changed outside") << name.Kind;
        EXPECT_EQ(Utf8(App.FilePath), Path(name)) << name.Kind;
    }
}

TEST_F(UnicodeNames, SaveAsWritesTheNamedFileAndTitlesTheWindow)
{
    for (const NameCase& name : names_) {
        RunCommand(IDM_NEW);
        SetEditText("saved as");
        SetEditModified(1);
        QueueFileDialogAnswer(Path(name));
        RunCommand(IDM_SAVEAS);
        EXPECT_EQ(ReadBytes(Path(name)), "saved as") << name.Kind;
        EXPECT_EQ(WindowTitle(), name.Name + " - scrivlet") << name.Kind;
        EXPECT_EQ(Utf8(App.FilePath), Path(name)) << name.Kind;
        EXPECT_TRUE(RecordedPrompts().empty()) << name.Kind;
    }
}

static std::vector<std::wstring> shellCalls;

static HINSTANCE WINAPI RecordShell(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT)
{
    shellCalls.push_back(std::wstring(verb) + L" " + file);
    return (HINSTANCE)33;
}

static BOOL WINAPI RecordShellEx(SHELLEXECUTEINFOW* request)
{
    shellCalls.push_back(std::wstring(request->lpVerb) + L" " + request->lpFile);
    return TRUE;
}

// The shell takes names below MAX_PATH characters; a longer one is told of
// and the document stays.
TEST_F(UnicodeNames, PropertiesAndExecuteHandTheShellTheExactName)
{
    UserPrompts real = Prompts;
    Prompts.ShellExecute = RecordShell;
    Prompts.ShellExecuteEx = RecordShellEx;
    wchar_t tooLong[512];
    LoadStringW(GetModuleHandleW(NULL), IDS_NAME_TOO_LONG_FOR_SHELL, tooLong, 512);
    for (const NameCase& name : names_) {
        ASSERT_EQ(OpenDocument(Wide(Make(name)).c_str()), 1);
        shellCalls.clear();
        ClearPromptLog();
        RunCommand(IDM_PROPERTIES);
        RunCommand(IDM_EXECUTE);
        std::wstring path = Wide(Path(name));
        if (path.size() < MAX_PATH) {
            EXPECT_EQ(shellCalls, (std::vector<std::wstring>{L"properties " + path, L"open " + path})) << name.Kind;
            EXPECT_TRUE(RecordedPrompts().empty()) << name.Kind;
        } else {
            EXPECT_TRUE(shellCalls.empty()) << name.Kind;
            ASSERT_EQ(RecordedPrompts().size(), 2u) << name.Kind;
            EXPECT_EQ(RecordedPrompts()[0].Text, tooLong);
            EXPECT_EQ(RecordedPrompts()[1].Text, tooLong);
        }
        ExpectOpened(name, "the shell's commands");
    }
    Prompts = real;
}

// The copy of a named document holds its name in UTF-8 (version 2), and a
// restart restores the document under that name.
TEST_F(UnicodeNames, RecoveryCopyKeepsTheName)
{
    std::string recovery = TestProgramFolder() + "scrivlet-recovery\\";
    for (const NameCase& name : names_) {
        ASSERT_EQ(OpenDocument(Wide(Make(name)).c_str()), 1);
        SetEditText("unsaved edit");
        SetEditModified(1);
        WriteRecoveryCopy();
        WaitForRecoveryWrite();
        static wchar_t own[PATH_CAPACITY];
        ASSERT_TRUE(OwnRecoveryCopyPath(own));
        std::string copy = ReadBytes(Utf8(own));
        std::string header = "scrivlet recovery copy 2\r\npath=" + Path(name) + "\r\n";
        EXPECT_EQ(copy.substr(0, header.size()), header) << name.Kind;

        // Another start finds the copy of a window that is gone.
        SetEditModified(0);
        StopEditor();
        WriteBytes(recovery + "w1-gone.rec", copy);
        StartEditor("");
        QueueAnswer(IDYES);
        StartRecovery(L"");
        EXPECT_EQ(EditText(), "unsaved edit") << name.Kind;
        EXPECT_EQ(Utf8(App.FilePath), Path(name)) << name.Kind;
        EXPECT_EQ(WindowTitle(), name.Name + "* - scrivlet") << name.Kind;
        SetEditModified(0);
        DiscardRecoveryCopy();
        RemoveFile(recovery + "w1-gone.rec");
        RemoveFile(Utf8(own));
    }
}
