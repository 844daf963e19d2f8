#include "document/load.h"
#include "document/save.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "support/editor_fixture.h"

#include <string>

// An ANSI document into which a character the code page lacks was pasted:
// U+D55C (Hangul) is in neither Western nor Big5, U+4E2D only in Big5.
class SaveLossyAnsi : public EditorFixture {
protected:
    std::string path_;
    std::string original_ = "old text\r\n";

    void SetUp() override
    {
        EditorFixture::SetUp();
        path_ = MakeScratchFolder("save_lossy") + "ansi.txt";
        WriteBytes(path_, original_);
        ASSERT_EQ(OpenDocument(Wide(path_).c_str()), 1);
        SetEditSelection(0, 0);
        const wchar_t pasted[] = {0x4E2D, 0xD55C, 0};
        SETTEXTEX paste = {ST_SELECTION | ST_KEEPUNDO, 1200};
        SendMessageW(App.EditControl, EM_SETTEXTEX, (WPARAM)&paste, (LPARAM)pasted);
        ClearPromptLog();
    }

    std::string Utf8Text() { return "\xE4\xB8\xAD\xED\x95\x9Cold text\r\n"; }
};

TEST_F(SaveLossyAnsi, CancelKeepsTheOldFileAndTheDocument)
{
    QueueAnswer(IDCANCEL);
    EXPECT_EQ(SaveDocument(), 0);
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Buttons, (UINT)MB_YESNOCANCEL);
    EXPECT_NE(RecordedPrompts()[0].Text.find(L"UTF-8"), std::wstring::npos);
    EXPECT_EQ(ReadBytes(path_), original_);
    EXPECT_EQ(App.Encoding, ENCODING_ANSI);
    EXPECT_EQ(StatusText(1), AnsiStatus(L"WIN"));
    EXPECT_TRUE(IsEditModified());
    EXPECT_EQ(EditTextW(), std::wstring(L"\x4E2D\xD55Cold text\r"));
}

TEST_F(SaveLossyAnsi, YesSavesAsUtf8WithoutAMark)
{
    QueueAnswer(IDYES);
    EXPECT_EQ(SaveDocument(), 1);
    EXPECT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(ReadBytes(path_), Utf8Text());
    EXPECT_EQ(App.Encoding, ENCODING_UTF8);
    EXPECT_EQ(StatusText(1), L"WIN UTF-8");
    EXPECT_FALSE(IsEditModified());
    // It reopens as what it now is.
    ASSERT_EQ(OpenDocument(Wide(path_).c_str()), 1);
    EXPECT_EQ(App.Encoding, ENCODING_UTF8);
    EXPECT_EQ(EditTextW(), std::wstring(L"\x4E2D\xD55Cold text\r"));
}

TEST_F(SaveLossyAnsi, NoWritesQuestionMarksOnceAgreed)
{
    QueueAnswer(IDNO);
    EXPECT_EQ(SaveDocument(), 1);
    std::string expected = GetACP() == 950 ? "\xA4\xA4?old text\r\n" : "??old text\r\n";
    EXPECT_EQ(ReadBytes(path_), expected);
    EXPECT_EQ(App.Encoding, ENCODING_ANSI);
    ClearPromptLog();
    ReplaceEditSelection(L"x");
    EXPECT_EQ(SaveDocument(), 1);
    EXPECT_TRUE(RecordedPrompts().empty());
}

// A write that fails after Yes leaves the document ANSI, as it was.
static BOOL WINAPI FailingWrite(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

TEST_F(SaveLossyAnsi, FailedSaveKeepsTheEncoding)
{
    SaveWriter = FailingWrite;
    QueueAnswer(IDYES);
    int saved = SaveDocument();
    SaveWriter = WriteFile;
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(ReadBytes(path_), original_);
    EXPECT_EQ(App.Encoding, ENCODING_ANSI);
    EXPECT_EQ(StatusText(1), AnsiStatus(L"WIN"));
}
