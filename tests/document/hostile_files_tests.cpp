// Files and names a user may throw at the editor by mistake: each one loads,
// or is refused with a message while the document already open stays as it was.
#include "document/background_load.h"
#include "document/file_commands.h"
#include "document/file_dialogs.h"
#include "document/load.h"
#include "document/save.h"
#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "support/editor_fixture.h"

#include <string.h>
#include <string>

static const char KeptText[] = "kept text";

// A file on a drive letter no volume has.
static std::string MissingDrivePath()
{
    DWORD drives = GetLogicalDrives();
    char letter = 'Z';
    while (letter > 'D' && (drives & (1u << (letter - 'A'))))
        letter--;
    return std::string(1, letter) + ":\\missing\\file.txt";
}

class HostileFileTest : public EditorFixture {
protected:
    std::string folder_;
    std::string keeper_;

    void SetUp() override
    {
        EditorFixture::SetUp();
        folder_ = MakeScratchFolder("hostile");
        keeper_ = folder_ + "keeper.txt";
        WriteBytes(keeper_, KeptText);
        ASSERT_EQ(OpenDocument(Wide(keeper_).c_str()), 1);
        ClearPromptLog();
    }

    bool PromptMentions(const std::wstring& fragment)
    {
        for (const RecordedPrompt& prompt : RecordedPrompts()) {
            if ((prompt.Caption + L"\n" + prompt.Text).find(fragment) != std::wstring::npos)
                return true;
        }
        return false;
    }

    void ExpectDocumentKept()
    {
        EXPECT_EQ(EditText(), KeptText);
        EXPECT_EQ(Utf8(App.FilePath), keeper_);
        EXPECT_EQ(App.HasFile, 1);
    }

    void ExpectOpenRefused(const std::string& name, const std::wstring& fragment)
    {
        ClearPromptLog();
        EXPECT_EQ(OpenDocument(Wide(name).c_str()), 0) << name;
        Pump();
        EXPECT_TRUE(PromptMentions(fragment)) << name;
        ExpectDocumentKept();
    }

    void ExpectOpens(const std::string& path, const std::string& bytes)
    {
        WriteBytes(path, bytes);
        ClearPromptLog();
        EXPECT_EQ(OpenDocument(Wide(path).c_str()), 1) << path;
        Pump();
        EXPECT_EQ(Utf8(App.FilePath), path);
        EXPECT_TRUE(RecordedPrompts().empty()) << path;
    }

    // Replaces the document's text as typing would.
    void Change(const char* text)
    {
        SetEditText(text);
        SetEditModified(1);
        ClearPromptLog();
    }

    void OpenAndChange(const std::string& path, const char* expected, const char* changed)
    {
        EXPECT_EQ(OpenDocument(Wide(path).c_str()), 1);
        EXPECT_EQ(EditText(), expected);
        Change(changed);
    }

    // Types over the kept document, then saves it under path.
    int SaveAs(const std::string& path)
    {
        Change("new text");
        QueueFileDialogAnswer(path);
        return ShowSaveAsDialog();
    }
};

TEST_F(HostileFileTest, OddContentLoads)
{
    ExpectOpens(folder_ + "empty.txt", "");
    EXPECT_EQ(EditText(), "");
    ExpectOpens(folder_ + "mark.txt", "\xFF\xFE");
    EXPECT_EQ(App.Encoding, 1);
    EXPECT_EQ(EditText(), "");
}

// 64 KB from a fixed generator; every byte value but those in except.
static std::string RandomFileBytes(const char* except, size_t exceptCount)
{
    std::string bytes;
    for (unsigned int seed = 99; bytes.size() < 65536;) {
        seed = seed * 1103515245u + 12345u;
        char c = (char)(seed >> 16);
        if (!memchr(except, c, exceptCount))
            bytes += c;
    }
    return bytes;
}

// Loading keeps every byte: an untouched file is saved back as it was, or
// the save asks first and, refused, leaves the file alone.
TEST_F(HostileFileTest, OddContentSavesBackByteForByteOrAsksFirst)
{
    std::string odd("\xFF\xFE" "a\0b\0c", 7);
    ExpectOpens(folder_ + "odd.txt", odd);
    EXPECT_EQ(EditText(), "ab");
    EXPECT_EQ(SaveDocument(), 0);
    EXPECT_TRUE(PromptMentions(L"the odd byte at the end will be dropped"));
    EXPECT_EQ(ReadBytes(folder_ + "odd.txt"), odd);
    QueueAnswer(IDOK);
    EXPECT_EQ(SaveDocument(), 1);
    EXPECT_EQ(ReadBytes(folder_ + "odd.txt"), odd.substr(0, 6));

    // NUL bytes and every kind of break.
    std::string binary = RandomFileBytes("", 0);
    ExpectOpens(folder_ + "binary.bin", binary);
    EXPECT_GT(GetTextLength(GTL_DEFAULT), 0);
    EXPECT_EQ(SaveDocument(), 0);
    EXPECT_TRUE(PromptMentions(L"Saving may change this file beyond your edits"));
    EXPECT_EQ(ReadBytes(folder_ + "binary.bin"), binary);

    // Without NUL and with one kind of break, nothing needs asking.
    std::string ansi = "x" + RandomFileBytes("\0\r\n", 3);
    for (size_t at = 100; at < ansi.size(); at += 997)
        ansi.insert(at, "\r\n");
    ExpectOpens(folder_ + "binary.txt", ansi);
    EXPECT_EQ(App.Encoding, 0);
    EXPECT_EQ(SaveDocument(), 1);
    EXPECT_TRUE(RecordedPrompts().empty());
    EXPECT_EQ(ReadBytes(folder_ + "binary.txt"), ansi);
}

// Wrapping one 5 MB paragraph takes Wine's RichEdit minutes (the load then
// looks hung), so the line is loaded unwrapped here.
class HostileFileUnwrapped : public HostileFileTest {
protected:
    std::string IniContents() override { return "[Config]\r\nWordWrap=0\r\n"; }
};

TEST_F(HostileFileUnwrapped, FiveMegabyteSingleLineLoadsWhole)
{
    const int size = 5 * 1024 * 1024;
    DWORD start = GetTickCount();
    ExpectOpens(folder_ + "long line.txt", std::string((size_t)size, 'x'));
    while (IsDocumentLoading() && GetTickCount() - start < 60000)
        PumpFor(20);
    EXPECT_EQ(GetTextLength(GTL_DEFAULT), size);
    EXPECT_EQ(SendMessageA(App.EditControl, EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_LT(GetTickCount() - start, 30000u);
}

TEST_F(HostileFileTest, AwkwardNamesLoad)
{
    ExpectOpens(folder_ + " two  spaces .txt", "spaces");
    EXPECT_EQ(EditText(), "spaces");
    ExpectOpens(folder_ + "\xC3\xA9t\xC3\xA9 notes.txt", "accent"); // leading non-ASCII
    EXPECT_EQ(EditText(), "accent");
    // The longest full path the old limit took, and one past it.
    std::string longest = folder_ + std::string(259 - folder_.size() - 4, 'n') + ".txt";
    ExpectOpens(longest, "long");
    EXPECT_EQ(EditText(), "long");
    std::string past = folder_ + std::string(300 - folder_.size() - 4, 'p') + ".txt";
    ExpectOpens(past, "past");
    EXPECT_EQ(EditText(), "past");
    EXPECT_EQ(WindowTitle(), std::string(300 - folder_.size() - 4, 'p') + ".txt - scrivlet");

    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    WriteBytes(folder_ + "relative.txt", "relative");
    SetCurrentDirectoryA(folder_.c_str());
    EXPECT_EQ(OpenDocument(L"relative.txt"), 1);
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(Utf8(App.FilePath), folder_ + "relative.txt");
    EXPECT_EQ(EditText(), "relative");
}

TEST_F(HostileFileTest, NamesThatAreNoFileAreRefused)
{
    ExpectOpenRefused(folder_ + std::string(PATH_CAPACITY, 'n'), L"The file name is too long.");
    std::string sub = folder_ + "a folder";
    CreateDirectoryA(sub.c_str(), NULL);
    ExpectOpenRefused(sub, L"Can't open file");
    const char* devices[] = {"COM1", "aux.txt", "nul", "\\\\.\\pipe\\scrivlet-test", "CONOUT$"};
    for (const char* device : devices)
        ExpectOpenRefused(device, L"is the name of a device, not of a file.");
    ExpectOpenRefused(folder_ + "LPT1.txt", L"is the name of a device, not of a file.");

    ExpectOpenRefused(MissingDrivePath(), L"Can't open file");
}

TEST_F(HostileFileTest, DeviceIsRefusedUnderItsOwnNameBeforeAnyQuestion)
{
    SetEditModified(1);
    EXPECT_EQ(OpenDocument(L"C:\\docs\\aux.txt"), 0);
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Text, L"\"C:\\docs\\aux.txt\" is the name of a device, not of a file.\n\n"
                                         L"Only files on disk can be opened or saved.");
    EXPECT_EQ(RecordedPrompts()[0].Caption, L"scrivlet");
    EXPECT_EQ(RecordedPrompts()[0].Icon, (UINT)MB_ICONHAND);
    EXPECT_TRUE(IsEditModified());
    // The Open dialog's choice goes the same way.
    ClearPromptLog();
    QueueFileDialogAnswer("nul.txt");
    ShowOpenDialog();
    EXPECT_TRUE(PromptMentions(L"\"nul.txt\" is the name of a device"));
    // Loading itself refuses too, for callers that reach it directly.
    ClearPromptLog();
    EXPECT_EQ(LoadFile(L"\\\\.\\COM1", LOAD_INSERT_MODE), 0);
    EXPECT_EQ(RecordedPrompts().size(), 1u);
    ExpectDocumentKept();
}

TEST_F(HostileFileTest, FileHeldOpenByAnotherProgramIsRefused)
{
    std::string held = folder_ + "held.txt";
    WriteBytes(held, "held");
    HANDLE other = CreateFileA(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    ExpectOpenRefused(held, L"Can't open file");
    CloseHandle(other);
}

TEST_F(HostileFileTest, ReadOnlyFileLoadsAndRefusesTheSave)
{
    std::string locked = folder_ + "readonly.txt";
    WriteBytes(locked, "read only");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    OpenAndChange(locked, "read only", "changed");
    EXPECT_EQ(SaveDocument(), 0);
    EXPECT_TRUE(PromptMentions(L"Can't open file for writing!"));
    EXPECT_TRUE(IsEditModified());
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(locked), "read only");
}

TEST_F(HostileFileTest, SaveAsADeviceIsRefusedAndKeepsTheName)
{
    const char* devices[] = {"COM1", "lpt2.txt", "\\\\.\\pipe\\scrivlet-test"};
    for (const char* device : devices) {
        EXPECT_EQ(SaveAs(device), 0) << device;
        EXPECT_TRUE(PromptMentions(L"is the name of a device, not of a file.")) << device;
        EXPECT_EQ(Utf8(App.FilePath), keeper_);
        EXPECT_TRUE(IsEditModified());
    }
    EXPECT_EQ(SaveAs(folder_ + "prn.txt"), 0);
    EXPECT_TRUE(PromptMentions(L"is the name of a device"));
    EXPECT_EQ(ReadBytes(keeper_), KeptText);
}

TEST_F(HostileFileTest, SavingAfterTheFileWentAway)
{
    // Deleted behind the editor's back: the save writes it again.
    DeleteFileA(keeper_.c_str());
    Change("rewritten");
    EXPECT_EQ(SaveDocument(), 1);
    EXPECT_EQ(ReadBytes(keeper_), "rewritten");

    // Replaced by a folder: refused, the folder left alone, the text kept.
    DeleteFileA(keeper_.c_str());
    CreateDirectoryA(keeper_.c_str(), NULL);
    Change("still here");
    EXPECT_EQ(SaveDocument(), 0);
    EXPECT_FALSE(RecordedPrompts().empty());
    EXPECT_TRUE(IsEditModified());
    EXPECT_EQ(EditText(), "still here");
    EXPECT_TRUE(GetFileAttributesA(keeper_.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    RemoveDirectoryA(keeper_.c_str());

    EXPECT_EQ(SaveAs(MissingDrivePath()), 0);
    EXPECT_FALSE(RecordedPrompts().empty());
    EXPECT_EQ(Utf8(App.FilePath), keeper_);
}

TEST_F(HostileFileTest, FileInAReadOnlyFolderLoadsAndSavesOrSaysWhy)
{
    std::string sub = folder_ + "locked folder";
    CreateDirectoryA(sub.c_str(), NULL);
    std::string inside = sub + "\\inside.txt";
    WriteBytes(inside, "inside");
    SetFileAttributesA(sub.c_str(), FILE_ATTRIBUTE_READONLY);
    OpenAndChange(inside, "inside", "changed inside");
    // The attribute on a folder does not stop writing in it, as on Windows
    // (Wine does not even keep it); a folder that refuses a temporary file
    // is a test of the safe save.
    EXPECT_EQ(SaveDocument(), 1);
    EXPECT_TRUE(RecordedPrompts().empty());
    EXPECT_EQ(ReadBytes(inside), "changed inside");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((sub + "\\*").c_str(), &found);
    int files = 0;
    do
        files += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_EQ(files, 1) << "a temporary file was left in the folder";
    SetFileAttributesA(sub.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(inside.c_str());
    RemoveDirectoryA(sub.c_str());
}
