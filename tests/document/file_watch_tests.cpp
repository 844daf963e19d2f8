#include "document/load.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "program/commands.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <richedit.h>
#include <string>

class FileWatch : public EditorFixture {
protected:
    void OpenFile(const char* text)
    {
        path_ = MakeScratchFolder("file_watch") + "watched.txt";
        WriteBytes(path_, text);
        ASSERT_EQ(OpenDocument(Wide(path_).c_str()), 1);
        ClearPromptLog();
    }

    // Another program rewrites the file; its time stamp moves on.
    void ChangeOutside(const char* text)
    {
        WriteBytes(path_, text);
        MoveTimeOn();
    }

    void MoveTimeOn()
    {
        ASSERT_TRUE(MoveFileTimeOn(path_));
    }

    // The user comes back to the window; the check runs half a second later.
    void ComeBack()
    {
        SendMessageA(App.MainWindow, WM_SETFOCUS, 0, 0);
        PumpFor(800);
    }

    int Asked(UINT stringId)
    {
        wchar_t text[256];
        LoadStringW(GetModuleHandleA(NULL), stringId, text, 256);
        int count = 0;
        for (const RecordedPrompt& prompt : RecordedPrompts())
            if (prompt.Text == text)
                count++;
        return count;
    }

    std::string path_;
};

TEST_F(FileWatch, AnOutsideChangeAsksOnceAndReloadsOnYes)
{
    OpenFile("before");
    ComeBack();
    EXPECT_TRUE(RecordedPrompts().empty());

    ChangeOutside("after");
    QueueAnswer(IDYES);
    ComeBack();
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(Asked(IDS_FILE_CHANGED), 1);
    EXPECT_EQ(RecordedPrompts()[0].Buttons, (UINT)MB_YESNO);
    EXPECT_EQ(RecordedPrompts()[0].Icon, (UINT)MB_ICONQUESTION);
    EXPECT_EQ(EditText(), "after");
    // Reloaded: the new time is the reference, so no more questions.
    ComeBack();
    EXPECT_EQ(RecordedPrompts().size(), 1u);
}

TEST_F(FileWatch, NoKeepsTheTextAndTheQuestionComesBack)
{
    OpenFile("before");
    ChangeOutside("after");
    ComeBack();
    EXPECT_EQ(Asked(IDS_FILE_CHANGED), 1);
    EXPECT_EQ(EditText(), "before");
    ComeBack();
    EXPECT_EQ(Asked(IDS_FILE_CHANGED), 2);
    // Switched off, nothing is checked.
    Config.FileChange = 0;
    ComeBack();
    EXPECT_EQ(Asked(IDS_FILE_CHANGED), 2);
}

TEST_F(FileWatch, EditsAreNeverReloadedAwayWithoutTheSaveQuestion)
{
    OpenFile("before");
    SetEditSelection(0, 0);
    ReplaceEditSelection(L"my edit ");
    ChangeOutside("after");
    QueueAnswer(IDYES);    // reload
    QueueAnswer(IDCANCEL); // save changes?
    ComeBack();
    EXPECT_EQ(Asked(IDS_SAVE_CHANGES), 1);
    EXPECT_EQ(EditText(), "my edit before");
    EXPECT_EQ(WindowTitle(), "watched.txt* - scrivlet");

    QueueAnswer(IDYES); // reload
    QueueAnswer(IDNO);  // discard the edit
    ComeBack();
    EXPECT_EQ(Asked(IDS_SAVE_CHANGES), 2);
    EXPECT_EQ(EditText(), "after");
}

TEST_F(FileWatch, ADeletedFileIsKeptAsUntitled)
{
    OpenFile("keep me");
    DeleteFileA(path_.c_str());
    QueueAnswer(IDYES);
    ComeBack();
    EXPECT_EQ(Asked(IDS_FILE_DELETED), 1);
    EXPECT_EQ(EditText(), "keep me");
    EXPECT_EQ(App.HasFile, 0);
    EXPECT_EQ(WindowTitle(), "[Untitled]* - scrivlet");
    // Untitled now: no further checks.
    ComeBack();
    EXPECT_EQ(RecordedPrompts().size(), 1u);
}

// The mark was already there: only the name changes, and the title with it.
TEST_F(FileWatch, ADeletedFileWithUnsavedEditsKeptIsNamedUntitled)
{
    OpenFile("keep me");
    ReplaceEditSelection(L"edit ");
    ASSERT_EQ(WindowTitle(), "watched.txt* - scrivlet");
    DeleteFileA(path_.c_str());
    QueueAnswer(IDYES);
    ComeBack();
    EXPECT_EQ(Asked(IDS_FILE_DELETED), 1);
    EXPECT_EQ(WindowTitle(), "[Untitled]* - scrivlet");
}

TEST_F(FileWatch, ReloadKeepsTheSelection)
{
    OpenFile("abcdef");
    SetEditSelection(2, 4);
    WriteBytes(path_, "ABCDEFGH");
    RunCommand(IDM_RELOAD);
    EXPECT_EQ(EditText(), "ABCDEFGH");
    CHARRANGE selection = GetEditSelection();
    EXPECT_EQ(selection.cpMin, 2);
    EXPECT_EQ(selection.cpMax, 4);
}

TEST_F(FileWatch, InsertFilePutsItsTextAtTheCaretAndKeepsTheDocument)
{
    OpenFile("hello");
    std::string other = MakeScratchFolder("insert_file") + "other.txt";
    WriteBytes(other, "XYZ");
    std::string name = Utf8(App.FilePath);
    SetEditSelection(5, 5);
    QueueFileDialogAnswer(other);
    RunCommand(IDM_INSERTFILE);
    Pump();
    EXPECT_EQ(EditText(), "helloXYZ");
    EXPECT_EQ(Utf8(App.FilePath), name);
    EXPECT_EQ(WindowTitle(), "watched.txt* - scrivlet");
    EXPECT_EQ(App.HasFile, 1);
    // Cancelled, nothing changes.
    RunCommand(IDM_INSERTFILE);
    EXPECT_EQ(EditText(), "helloXYZ");
}

TEST_F(FileWatch, AFolderInTheFilesPlaceCountsAsDeleted)
{
    OpenFile("keep me");
    DeleteFileA(path_.c_str());
    ASSERT_TRUE(CreateDirectoryA(path_.c_str(), NULL));
    MoveTimeOn();
    QueueAnswer(IDYES);
    ComeBack();
    RemoveDirectoryA(path_.c_str());
    EXPECT_EQ(Asked(IDS_FILE_DELETED), 1);
    EXPECT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(EditText(), "keep me");
    EXPECT_EQ(App.HasFile, 0);
}

TEST_F(FileWatch, AChangedFileThatCannotBeReadIsNotReloadedOverTheText)
{
    OpenFile("keep me");
    ChangeOutside("after");
    HANDLE other = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    QueueAnswer(IDYES);
    ComeBack();
    CloseHandle(other);
    EXPECT_EQ(Asked(IDS_FILE_CHANGED), 1);
    ASSERT_EQ(RecordedPrompts().size(), 2u);
    EXPECT_NE(RecordedPrompts()[1].Caption.find(L"Can't open file"), std::wstring::npos);
    EXPECT_EQ(EditText(), "keep me");
    EXPECT_EQ(Utf8(App.FilePath), path_);
    EXPECT_EQ(App.HasFile, 1);
}
