#include "document/load.h"
#include "document/save.h"
#include "document/unsaved_changes.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "support/editor_fixture.h"
#include "views/menu_state.h"
#include "views/title_bar.h"
#include "resource.h"

#include <string>

class TitleTest : public EditorFixture {
protected:
    std::string folder_;

    void SetUp() override
    {
        EditorFixture::SetUp();
        folder_ = MakeScratchFolder("title");
    }

    void TearDown() override
    {
        SaveWriter = WriteFile;
        EditorFixture::TearDown();
    }

    void UseFile(const std::string& path)
    {
        lstrcpynW(App.FilePath, Wide(path).c_str(), PATH_CAPACITY);
        App.HasFile = 1;
    }

    void Command(int id)
    {
        SendMessageA(App.MainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }

    // The save question, exactly as the user sees it.
    void ExpectSaveQuestion(size_t index)
    {
        ASSERT_GT(RecordedPrompts().size(), index);
        const RecordedPrompt& prompt = RecordedPrompts()[index];
        EXPECT_EQ(prompt.Text, Utf8ToWide("你要儲存變更嗎?"));
        EXPECT_EQ(prompt.Caption, L"scrivlet");
        EXPECT_EQ(prompt.Buttons, (UINT)MB_YESNOCANCEL);
        EXPECT_EQ(prompt.Icon, (UINT)MB_ICONQUESTION);
        EXPECT_EQ(prompt.Owner, App.MainWindow);
    }
};

static BOOL WINAPI FailingWrite(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    *written = 0;
    SetLastError(ERROR_WRITE_FAULT);
    return FALSE;
}

TEST_F(TitleTest, TitleNamesTheDocumentAndMarksChanges)
{
    EXPECT_EQ(WindowTitle(), "[Untitled] - scrivlet");
    TypeText("x");
    EXPECT_EQ(WindowTitle(), "[Untitled]* - scrivlet");

    // The file system's spelling wins over the case the path was given in.
    std::string actual = folder_ + "Notes.TXT";
    WriteBytes(actual, "");
    UseFile(folder_ + "notes.txt");
    UpdateTitle();
    EXPECT_EQ(WindowTitle(), "Notes.TXT* - scrivlet");
    SetEditModified(0);
    UpdateTitle();
    EXPECT_EQ(WindowTitle(), "Notes.TXT - scrivlet");

    Config.FullPath = 1;
    UseFile(actual);
    UpdateTitle();
    EXPECT_EQ(WindowTitle(), actual + " - scrivlet");

    // While the file is missing the lookup finds nothing: full path.
    Config.FullPath = 0;
    std::string missing = folder_ + "gone.txt";
    UseFile(missing);
    UpdateTitle();
    EXPECT_EQ(WindowTitle(), missing + " - scrivlet");
}

TEST_F(TitleTest, NoQuestionWithoutChangesOrForAnEmptyUntitledDocument)
{
    EXPECT_EQ(QuerySaveChanges(), IDNO);
    // Typed and deleted again: modified, but nothing to lose.
    TypeText("ab");
    PressKey(VK_BACK);
    PressKey(VK_BACK);
    ASSERT_TRUE(IsEditModified());
    ASSERT_EQ(EditText(), "");
    EXPECT_EQ(QuerySaveChanges(), IDNO);
    Command(IDM_NEW);
    EXPECT_TRUE(RecordedPrompts().empty());
    EXPECT_FALSE(IsEditModified());
}

TEST_F(TitleTest, EmptiedTitledDocumentIsStillAskedAbout)
{
    std::string path = folder_ + "emptied.txt";
    WriteBytes(path, "content");
    UseFile(path);
    SetEditText("");
    SetEditModified(1);
    QueueAnswer(IDYES);
    EXPECT_EQ(QuerySaveChanges(), IDYES);
    ExpectSaveQuestion(0);
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_FALSE(IsEditModified());
}

TEST_F(TitleTest, AnswersOfTheQuestion)
{
    std::string path = folder_ + "answers.txt";
    UseFile(path);
    TypeText("kept");

    QueueAnswer(IDNO);
    EXPECT_EQ(QuerySaveChanges(), IDNO);
    QueueAnswer(IDCANCEL);
    EXPECT_EQ(QuerySaveChanges(), IDCANCEL);
    // Closing the box counts as Cancel.
    QueueAnswer(IDCLOSE);
    EXPECT_EQ(QuerySaveChanges(), IDCANCEL);
    EXPECT_EQ(RecordedPrompts().size(), 3u);
    EXPECT_TRUE(IsEditModified());
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

    // Yes with a failing save cancels the operation that asked.
    SaveWriter = FailingWrite;
    QueueAnswer(IDYES);
    EXPECT_EQ(QuerySaveChanges(), IDCANCEL);
    SaveWriter = WriteFile;

    QueueAnswer(IDYES);
    EXPECT_EQ(QuerySaveChanges(), IDYES);
    EXPECT_EQ(ReadBytes(path), "kept");
    EXPECT_EQ(FileDialogCalls(), 0);
}

TEST_F(TitleTest, NewAsksThenEmptiesTheEditor)
{
    std::string path = folder_ + "before.txt";
    UseFile(path);
    App.Encoding = 1;
    App.LineFormat = MAC;
    TypeText("text");

    QueueAnswer(IDCANCEL);
    Command(IDM_NEW);
    ExpectSaveQuestion(0);
    EXPECT_EQ(EditText(), "text");
    EXPECT_EQ(App.HasFile, 1);

    QueueAnswer(IDNO);
    Command(IDM_NEW);
    EXPECT_EQ(RecordedPrompts().size(), 2u);
    EXPECT_EQ(EditText(), "");
    EXPECT_EQ(App.HasFile, 0);
    EXPECT_EQ(Utf8(App.FilePath), path);
    EXPECT_EQ(App.Encoding, 0);
    EXPECT_EQ(App.LineFormat, DOS);
    EXPECT_FALSE(IsEditModified());
    EXPECT_EQ(WindowTitle(), "[Untitled] - scrivlet");
    EXPECT_EQ(GetMenuState(GetMenu(App.MainWindow), IDM_FORMAT_DOS, MF_BYCOMMAND) & MF_CHECKED,
              (UINT)MF_CHECKED);
}

TEST_F(TitleTest, YesOnUntitledRunsSaveAsAndItsCancelCancels)
{
    TypeText("draft");
    QueueAnswer(IDYES);
    QueueFileDialogAnswer("");
    Command(IDM_NEW);
    EXPECT_EQ(FileDialogCalls(), 1);
    EXPECT_EQ(EditText(), "draft");

    // The same through the close box: the window stays.
    QueueAnswer(IDYES);
    QueueFileDialogAnswer("");
    EXPECT_FALSE(CloseMainWindow());
    EXPECT_EQ(FileDialogCalls(), 2);

    QueueAnswer(IDCANCEL);
    EXPECT_FALSE(CloseMainWindow());
    EXPECT_EQ(FileDialogCalls(), 2);

    // Now with a name: saved, then closed.
    std::string path = folder_ + "draft.txt";
    QueueAnswer(IDYES);
    QueueFileDialogAnswer(path);
    EXPECT_TRUE(CloseMainWindow());
    EXPECT_EQ(ReadBytes(path), "draft");
}

TEST_F(TitleTest, DeletedFileKeptByTheUserIsAnUntitledModifiedDocument)
{
    // What the file watch leaves when the user keeps a deleted file's text.
    std::string path = folder_ + "deleted.txt";
    UseFile(path);
    SetEditText("still here");
    App.HasFile = 0;
    SetEditModified(1);

    QueueAnswer(IDYES);
    QueueFileDialogAnswer(path);
    Command(IDM_NEW);
    ExpectSaveQuestion(0);
    EXPECT_EQ(FileDialogCalls(), 1);
    EXPECT_EQ(ReadBytes(path), "still here");
    EXPECT_EQ(EditText(), "");

    // Emptied while untitled: dropped without a question.
    SetEditText("");
    SetEditModified(1);
    App.HasFile = 0;
    ClearPromptLog();
    Command(IDM_NEW);
    EXPECT_TRUE(RecordedPrompts().empty());
}

TEST_F(TitleTest, CtrlSOnUntitledDocumentOpensSaveAs)
{
    TypeText("typed");
    QueueFileDialogAnswer("");
    PressKey('S', true);
    EXPECT_EQ(FileDialogCalls(), 1);
    EXPECT_TRUE(IsEditModified());

    std::string path = folder_ + "typed.txt";
    QueueFileDialogAnswer(path);
    PressKey('S', true);
    EXPECT_EQ(FileDialogCalls(), 2);
    EXPECT_EQ(ReadBytes(path), "typed");
    EXPECT_EQ(WindowTitle(), "typed.txt - scrivlet");

    // Titled now: Ctrl+S saves without a dialog.
    TypeText("!");
    PressKey('S', true);
    EXPECT_EQ(FileDialogCalls(), 2);
    EXPECT_EQ(ReadBytes(path), "typed!");
}

// The control may count an undo past the save point as no change; the text
// differs from the file all the same.
TEST_F(TitleTest, UndoOrRedoAwayFromTheSavedTextMarksTheDocumentModified)
{
    std::string path = folder_ + "undo.txt";
    WriteBytes(path, "base");
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    SetEditSelection(4, 4);
    TypeText(" word");
    Command(IDM_SAVE);
    ASSERT_EQ(ReadBytes(path), "base word");
    ASSERT_EQ(WindowTitle(), "undo.txt - scrivlet");

    PressKey('Z', true);
    ASSERT_EQ(EditText(), "base");
    EXPECT_EQ(WindowTitle(), "undo.txt* - scrivlet");
    UpdateMenuState(MENU_FILE, GetMenu(App.MainWindow));
    EXPECT_FALSE(GetMenuState(GetMenu(App.MainWindow), IDM_SAVE, MF_BYCOMMAND) & MF_GRAYED);
    QueueAnswer(IDCANCEL);
    EXPECT_EQ(QuerySaveChanges(), IDCANCEL);
    ExpectSaveQuestion(0);
    Command(IDM_SAVE);
    EXPECT_EQ(ReadBytes(path), "base");
    EXPECT_EQ(WindowTitle(), "undo.txt - scrivlet");

    // Redo away from the text just saved, then undo back to it.
    Command(IDM_REDO);
    ASSERT_EQ(EditText(), "base word");
    EXPECT_EQ(WindowTitle(), "undo.txt* - scrivlet");
    Command(IDM_UNDO);
    ASSERT_EQ(EditText(), "base");
    EXPECT_EQ(WindowTitle(), "undo.txt - scrivlet");
    EXPECT_EQ(QuerySaveChanges(), IDNO);
    EXPECT_EQ(RecordedPrompts().size(), 1u);
}
