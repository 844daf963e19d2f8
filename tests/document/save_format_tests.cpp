#include "document/save.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <commctrl.h>
#include <richedit.h>
#include <string>

class SaveFormatTest : public EditorFixture {
protected:
    std::string folder_;

    void SetUp() override
    {
        EditorFixture::SetUp();
        folder_ = MakeScratchFolder("save_format");
    }

    std::string PathOf(const char* name) { return folder_ + name; }

    // Saves the current text under name with the given encoding and format.
    std::string Save(const char* name, int unicode, int format)
    {
        std::string path = PathOf(name);
        lstrcpynW(App.FilePath, Wide(path).c_str(), PATH_CAPACITY);
        App.Encoding = unicode;
        App.LineFormat = format;
        EXPECT_EQ(SaveDocument(), 1) << name;
        return ReadBytes(path);
    }
};

static std::string Widened(const std::string& ansi)
{
    std::string wide("\xFF\xFE", 2);
    for (char c : ansi) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

TEST_F(SaveFormatTest, ThreeLinesInEveryFormatAndEncoding)
{
    SetEditText("a\rb\rc");
    struct Case { int format; const char* bytes; } cases[] = {
        {DOS, "a\r\nb\r\nc"}, {UNIX, "a\nb\nc"}, {MAC, "a\rb\rc"}};
    for (const Case& c : cases) {
        EXPECT_EQ(Save("ansi.txt", 0, c.format), c.bytes) << "format " << c.format;
        EXPECT_EQ(Save("unicode.txt", 1, c.format), Widened(c.bytes)) << "format " << c.format;
    }
    // Saving converts the copy it writes, never the document.
    EXPECT_EQ(EditText(), "a\rb\rc");
}

TEST_F(SaveFormatTest, EmptyDocumentsOverExistingFiles)
{
    WriteBytes(PathOf("empty.txt"), "something that was here");
    SetEditText("");
    EXPECT_EQ(Save("empty.txt", 0, DOS), "");
    EXPECT_EQ(Save("empty.txt", 1, UNIX), "\xFF\xFE");
}

TEST_F(SaveFormatTest, ShorterTextLeavesNoTraceOfTheOldTail)
{
    WriteBytes(PathOf("long.txt"), std::string(5000, 'x') + "\r\nend");
    SetEditText("short\rtext");
    EXPECT_EQ(Save("long.txt", 0, DOS), "short\r\ntext");
    SetEditText("s");
    EXPECT_EQ(Save("long.txt", 1, DOS), Widened("s"));
}

TEST_F(SaveFormatTest, CharactersKeepTheirEncoding)
{
    // U+4E2D, U+00E9 and a line break.
    SETTEXTEX setText = {ST_DEFAULT, 1200};
    SendMessageW(App.EditControl, EM_SETTEXTEX, (WPARAM)&setText, (LPARAM)L"\x4E2D\x00E9\rz");
    Pump();
    ASSERT_EQ(EditTextW(), L"\x4E2D\x00E9\rz");
    EXPECT_EQ(Save("wide.txt", 1, UNIX), std::string("\xFF\xFE\x2D\x4E\xE9\x00\x0A\x00z\x00", 10));
    // ANSI goes through the system code page, with its default character
    // for what the code page lacks (no code page has both; never a
    // look-alike), once the user chose that over UTF-8.
    char expected[16] = {0};
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, L"\x4E2D\x00E9\r\nz", -1, expected, sizeof(expected), NULL, NULL);
    ClearPromptLog();
    QueueAnswer(IDNO);
    EXPECT_EQ(Save("narrow.txt", 0, DOS), std::string(expected));
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_NE(RecordedPrompts()[0].Text.find(L"UTF-8 instead"), std::wstring::npos);
}

TEST_F(SaveFormatTest, SuccessfulSaveMarksTheDocumentSaved)
{
    TypeText("hello");
    ASSERT_TRUE(IsEditModified());
    ASSERT_EQ(WindowTitle(), "[Untitled]* - scrivlet");
    ASSERT_TRUE(SendMessageA(App.ToolBar, TB_ISBUTTONENABLED, IDM_SAVE, 0));

    EXPECT_EQ(Save("done.txt", 0, DOS), "hello");
    EXPECT_FALSE(IsEditModified());
    EXPECT_EQ(App.HasFile, 1);
    EXPECT_EQ(WindowTitle(), "done.txt - scrivlet");
    EXPECT_FALSE(SendMessageA(App.ToolBar, TB_ISBUTTONENABLED, IDM_SAVE, 0));
    EXPECT_EQ(GetMenuState(GetMenu(App.MainWindow), IDM_SAVE, MF_BYCOMMAND) & MF_GRAYED, (UINT)MF_GRAYED);
    EXPECT_EQ(StatusText(STATUS_MESSAGE), L"");
    EXPECT_EQ(App.FileStat.st_size, 5);
    EXPECT_NE(App.FileStat.st_mtime, 0);
    // The undo history survives a save.
    EXPECT_TRUE(SendMessageA(App.EditControl, EM_CANUNDO, 0, 0));
}
