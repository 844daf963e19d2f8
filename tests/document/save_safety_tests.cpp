#include "document/save.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "support/editor_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

static BOOL WINAPI FailingWrite(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

// Writes half of what it is given and reports success, as a device that
// ran out of room halfway might.
static BOOL WINAPI ShortWrite(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written, LPOVERLAPPED overlapped)
{
    return WriteFile(file, data, bytes / 2, written, overlapped);
}

class SaveSafetyTest : public EditorFixture {
protected:
    std::string folder_;

    void SetUp() override
    {
        EditorFixture::SetUp();
        folder_ = MakeScratchFolder("save_safety");
    }

    void TearDown() override
    {
        SaveWriter = WriteFile;
        SaveReplacer = ReplaceFileW;
        SaveMover = MoveFileExW;
        EditorFixture::TearDown();
    }

    std::vector<std::string> FolderFiles() { return ::FolderFiles(folder_); }

    void UseFile(const std::string& path, int hasFile)
    {
        lstrcpynW(App.FilePath, Wide(path).c_str(), PATH_CAPACITY);
        App.HasFile = hasFile;
    }

    void ExpectOneError(const wchar_t* caption)
    {
        ASSERT_EQ(RecordedPrompts().size(), 1u);
        EXPECT_EQ(RecordedPrompts()[0].Caption, caption);
        EXPECT_EQ(RecordedPrompts()[0].Buttons, (UINT)MB_OK);
        EXPECT_EQ(RecordedPrompts()[0].Icon, (UINT)MB_ICONEXCLAMATION);
        EXPECT_EQ(RecordedPrompts()[0].Owner, App.MainWindow);
    }
};

TEST_F(SaveSafetyTest, FailedOrShortWriteLeavesTheOldFileWhole)
{
    std::string path = folder_ + "keep.txt";
    std::string old = "old first line\r\nold second line\r\n";
    SaveWriteFunction writers[] = {FailingWrite, ShortWrite};
    for (SaveWriteFunction writer : writers) {
        WriteBytes(path, old);
        UseFile(path, 1);
        TypeText("new text");
        ClearPromptLog();
        SaveWriter = writer;

        EXPECT_EQ(SaveDocument(), 0);
        EXPECT_EQ(ReadBytes(path), old);
        EXPECT_EQ(FolderFiles(), std::vector<std::string>{"keep.txt"});
        ExpectOneError(L"Error during save.");
        EXPECT_TRUE(IsEditModified());
        EXPECT_EQ(App.HasFile, 1);
        EXPECT_EQ(StatusText(STATUS_MESSAGE), L"");
        EXPECT_EQ(App.FileHandle, INVALID_HANDLE_VALUE);
    }
    // With the disk working again, the same document saves normally.
    SaveWriter = WriteFile;
    EXPECT_EQ(SaveDocument(), 1);
    EXPECT_EQ(ReadBytes(path), EditText());
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"keep.txt"});
}

TEST_F(SaveSafetyTest, FailedWriteOfANewFileCreatesNothing)
{
    UseFile(folder_ + "new.txt", 0);
    TypeText("text");
    SaveWriter = FailingWrite;
    EXPECT_EQ(SaveDocument(), 0);
    EXPECT_TRUE(FolderFiles().empty());
    ExpectOneError(L"Error during save.");
    EXPECT_EQ(App.HasFile, 0);
    EXPECT_EQ(WindowTitle(), "[Untitled]* - scrivlet");
}

TEST_F(SaveSafetyTest, ReadOnlyFileIsRefusedAndLeftAlone)
{
    std::string path = folder_ + "locked.txt";
    WriteBytes(path, "read only");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    UseFile(path, 1);
    TypeText("other");

    EXPECT_EQ(SaveDocument(), 0);
    ExpectOneError(L"Can't open file for writing!");
    EXPECT_EQ(ReadBytes(path), "read only");
    EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"locked.txt"});
    EXPECT_TRUE(IsEditModified());
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SaveSafetyTest, MissingFolderCannotBeWritten)
{
    UseFile(folder_ + "no such folder\\file.txt", 0);
    TypeText("x");
    EXPECT_EQ(SaveDocument(), 0);
    ExpectOneError(L"Can't open file for writing!");
    EXPECT_TRUE(FolderFiles().empty());
}

TEST_F(SaveSafetyTest, ReplacedFileKeepsItsAttributes)
{
    std::string path = folder_ + "hidden.txt";
    WriteBytes(path, "before");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    UseFile(path, 1);
    SetEditText("after");
    EXPECT_EQ(SaveDocument(), 1);
    EXPECT_EQ(ReadBytes(path), "after");
    EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SaveSafetyTest, FolderTooDeepForATemporaryNameIsWrittenInPlace)
{
    // A folder name this long leaves no room for a temporary file name
    // within MAX_PATH, while the document's own name still fits.
    std::string deep = folder_;
    while (deep.size() < MAX_PATH - 12) {
        std::string part = std::string(std::min<size_t>(60, MAX_PATH - 12 - deep.size()), 'd') + "\\";
        deep += part;
        CreateDirectoryA(deep.c_str(), NULL);
    }
    std::string path = deep + "a.txt";
    ASSERT_LT(path.size(), (size_t)MAX_PATH);
    WriteBytes(path, "a much longer former content");
    ASSERT_EQ(ReadBytes(path), "a much longer former content");
    UseFile(path, 1);
    SetEditText("in place");
    EXPECT_EQ(SaveDocument(), 1);
    EXPECT_EQ(ReadBytes(path), "in place");
    DeleteFileA(path.c_str());
}

TEST_F(SaveSafetyTest, FileHeldOpenWithoutDeleteSharingIsWrittenInPlace)
{
    std::string path = folder_ + "held.txt";
    WriteBytes(path, "held by another program");
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    UseFile(path, 1);
    SetEditText("saved");
    ClearPromptLog();
    EXPECT_EQ(SaveDocument(), 1);
    CloseHandle(other);
    EXPECT_TRUE(RecordedPrompts().empty());
    EXPECT_EQ(ReadBytes(path), "saved");
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"held.txt"});
}

static DWORD FileIndexLow(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    BY_HANDLE_FILE_INFORMATION info = {};
    GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return info.nFileIndexLow;
}

TEST_F(SaveSafetyTest, HardLinkedFileKeepsItsLinks)
{
    std::string path = folder_ + "linked.txt";
    std::string other = folder_ + "other name.txt";
    WriteBytes(path, "shared text, longer than the new one");
    ASSERT_TRUE(CreateHardLinkA(other.c_str(), path.c_str(), NULL));
    DWORD identity = FileIndexLow(path);
    UseFile(path, 1);
    SetEditText("both names");
    EXPECT_EQ(SaveDocument(), 1);
    EXPECT_EQ(ReadBytes(path), "both names");
    EXPECT_EQ(ReadBytes(other), "both names");
    EXPECT_EQ(FileIndexLow(path), identity);
}

static BOOL WINAPI ReplaceLosingTheOriginal(LPCWSTR replaced, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID)
{
    DeleteFileW(replaced);
    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    return FALSE;
}

static BOOL WINAPI RefusedMove(LPCWSTR, LPCWSTR, DWORD)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

static BOOL WINAPI RefusedReplace(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID)
{
    SetLastError(ERROR_UNABLE_TO_REMOVE_REPLACED);
    return FALSE;
}

TEST_F(SaveSafetyTest, RefusedReplaceWritesInPlaceAndLeavesNoTemporaryFile)
{
    std::string path = folder_ + "refused.txt";
    WriteBytes(path, "old and longer content");
    UseFile(path, 1);
    SetEditText("new");
    SaveReplacer = RefusedReplace;
    SaveMover = RefusedMove;
    ClearPromptLog();
    EXPECT_EQ(SaveDocument(), 1);
    EXPECT_TRUE(RecordedPrompts().empty());
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"refused.txt"});
}

TEST_F(SaveSafetyTest, ReplaceThatLostTheOriginalNamesTheFileHoldingTheText)
{
    std::string path = folder_ + "lost.txt";
    WriteBytes(path, "old");
    UseFile(path, 1);
    TypeText("the only copy");
    SaveReplacer = ReplaceLosingTheOriginal;
    SaveMover = RefusedMove;
    ClearPromptLog();
    EXPECT_EQ(SaveDocument(), 0);
    EXPECT_TRUE(IsEditModified());
    std::vector<std::string> files = FolderFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(ReadBytes(folder_ + files[0]), "the only copy");
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    std::wstring text = RecordedPrompts()[0].Text;
    EXPECT_NE(text.find(Utf8ToWide(files[0].c_str())), std::wstring::npos) << files[0];
    EXPECT_NE(text.find(L"lost.txt"), std::wstring::npos);
}
