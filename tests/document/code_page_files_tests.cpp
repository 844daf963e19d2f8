// Files in the code pages users meet (Big5, GBK, Shift-JIS, EUC-KR,
// Western): detected at load on any system, named, saved back byte for
// byte, reopened and converted through the encoding menus.
#include "document/file_commands.h"
#include "document/load.h"
#include "document/new_document.h"
#include "document/save.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "program/commands.h"
#include "settings/recent_encodings.h"
#include "settings/recent_lists.h"
#include "support/code_page_text.h"
#include "support/editor_fixture.h"
#include "views/encoding_menus.h"
#include "resource.h"

#include <commctrl.h>
#include <string>

static const wchar_t Simplified[] = L"这是一份简体中文的文件，用来检查编码的侦测是否正确。\r\n"
                                    L"第二行也是简体中文，会议记录与报告。\r\n";

// The entry a document in this code page is checked at: the system's own
// code page is listed first, as the system's.
static int ListedAs(UINT codePage, int entry) { return codePage == GetACP() ? 0 : entry; }

static HMENU EncodingList(int list)
{
    return GetSubMenu(GetSubMenu(GetSubMenu(GetMenu(App.MainWindow), MENU_FILE), 12), list);
}

class LoadInCodePage : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        ExpectTheCodePageAskedFor();
        folder_ = MakeScratchFolder("code_page_files");
    }

    std::string Write(const char* name, const std::string& bytes)
    {
        WriteBytes(folder_ + name, bytes);
        return folder_ + name;
    }

    // The entry checked in the Reopen list, -1 for none; Convert checks the same.
    int Checked()
    {
        int checked[2] = {-1, -1};
        for (int list = 0; list < 2; list++)
            for (int i = 0; i < GetMenuItemCount(EncodingList(list)); i++)
                if (GetMenuState(EncodingList(list), (UINT)i, MF_BYPOSITION) & MF_CHECKED)
                    checked[list] = i;
        EXPECT_EQ(checked[0], checked[1]);
        return checked[0];
    }

    std::string folder_;
};

// Each file opens in its code page on this system, whichever it is, shows
// its text, names its encoding and saves back unchanged without a question.
TEST_F(LoadInCodePage, EachCodePageIsDetectedNamedAndSavedBackByteForByte)
{
    struct Case {
        const wchar_t* Text;
        UINT CodePage;
        const wchar_t* Status;
        int Entry;
    } cases[] = {
        {L"這是一份繁體中文的文件，用來檢查編碼的偵測是否正確。\r\n第二行，會議記錄與報告。\r\n", 950, L"WIN Big5", 1},
        {Simplified, 936, L"WIN GBK", 3},
        {L"これは日本語の文書です。文字コードの判定が正しいかを確かめます。\r\n", 932, L"WIN Shift-JIS", 4},
        {L"이것은 한국어 문서입니다. 문자 인코딩 감지가 올바른지 확인합니다.\r\n", 949, L"WIN EUC-KR", 5},
        {L"Grüße aus Köln für Jörg, café\r\n", 1252, L"WIN Western (1252)", 6},
    };
    for (const Case& c : cases) {
        std::string bytes = EncodeInCodePage(c.CodePage, c.Text);
        std::string path = Write("file.txt", bytes);
        ClearPromptLog();
        ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1) << c.CodePage;
        EXPECT_EQ(App.CodePage, c.CodePage) << "under " << GetACP();
        EXPECT_TRUE(EditTextW() == AsShown(c.Text)) << c.CodePage << " shows other text";
        EXPECT_EQ(StatusText(1), c.Status);
        EXPECT_EQ(Checked(), ListedAs(c.CodePage, c.Entry)) << c.CodePage;
        ReplaceEditSelection(L"x");
        SendMessageW(App.EditControl, EM_UNDO, 0, 0);
        ASSERT_EQ(SaveDocument(), 1) << c.CodePage;
        EXPECT_TRUE(ReadBytes(path) == bytes) << c.CodePage << " changed on save";
        EXPECT_TRUE(RecordedPrompts().empty()) << c.CodePage;
    }
}

// A GBK file read as Big5 by the user's choice: its bytes read again, the
// choice kept for the file, which opens in it by every road until a save
// or a mark says otherwise.
TEST_F(LoadInCodePage, ReopenAsReadsTheBytesAgainAndTheFileOpensInItAfterwards)
{
    SetEditText("untitled");
    RunCommand(IDM_REOPEN_FIRST + 1);
    EXPECT_EQ(EditText(), "untitled") << "nothing to read again without a file";
    std::string bytes = EncodeInCodePage(936, Simplified);
    std::string path = Write("gbk.txt", bytes);
    SetEditModified(0);
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);

    RunCommand(IDM_REOPEN_FIRST + 1);  // Big5
    EXPECT_EQ(App.CodePage, 950u);
    EXPECT_TRUE(EditTextW() == AsShown(DecodeInCodePage(950, bytes)));
    EXPECT_EQ(StatusText(1), L"WIN Big5");
    EXPECT_EQ(Checked(), ListedAs(950, 1));
    EXPECT_TRUE(RecordedPrompts().empty());
    EXPECT_EQ(FindInList(&App.RecentList, Wide(path).c_str()), 0) << "the recent entry is the path";
    NewDocument();
    RunCommand(IDM_RECENT_FIRST);
    EXPECT_EQ(App.CodePage, 950u);
    ReloadDocument();
    EXPECT_EQ(App.CodePage, 950u);

    // Unsaved changes are asked about first; Cancel keeps everything, No reopens.
    ReplaceEditSelection(L"edit");
    QueueAnswer(IDCANCEL);
    RunCommand(IDM_REOPEN_FIRST + 3);  // GBK
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Text, Utf8ToWide("你要儲存變更嗎?"));
    EXPECT_EQ(App.CodePage, 950u);
    QueueAnswer(IDNO);
    RunCommand(IDM_REOPEN_FIRST + 3);
    EXPECT_TRUE(EditTextW() == AsShown(Simplified));

    // Saved as Big5, it opens as Big5; rewritten with a mark, as the mark says.
    RunCommand(IDM_CONVERT_FIRST + 1);
    QueueAnswer(IDNO);
    ASSERT_EQ(SaveDocument(), 1);
    NewDocument();
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    EXPECT_EQ(App.CodePage, 950u);
    WriteBytes(path, std::string("\xFF\xFE" "a\0b\0", 6));
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    EXPECT_EQ(App.Encoding, ENCODING_UTF16LE);
    EXPECT_EQ(EditText(), "ab");
}

// Convert: the text stays, the next save writes the chosen encoding, and
// what it cannot hold is told first.
TEST_F(LoadInCodePage, ConvertToWritesTheNextSaveInTheChosenEncoding)
{
    std::string bytes = EncodeInCodePage(936, Simplified);
    std::string path = Write("convert.txt", bytes);
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    struct Step {
        int Choice;
        UINT CodePage; // of an ANSI entry
        const wchar_t* Status;
        std::string Bytes;
        int Questions;
    } steps[] = {
        {7, 0, L"WIN UTF-8", EncodeInCodePage(CP_UTF8, Simplified), 0},
        {1, 950, L"WIN Big5", EncodeInCodePage(950, Simplified), 1},  // lacks simplified characters
        {10, 0, L"WIN UTF-16 BE", "\xFE\xFF\x8F\xD9", 0},
        {8, 0, L"WIN UTF-8 BOM", "\xEF\xBB\xBF" + EncodeInCodePage(CP_UTF8, Simplified), 0},
        {3, 936, L"WIN GBK", bytes, 0},
    };
    for (const Step& step : steps) {
        RunCommand(IDM_CONVERT_FIRST + step.Choice);
        EXPECT_EQ(StatusText(1), step.Status);
        EXPECT_TRUE(IsEditModified());
        EXPECT_EQ(Checked(), step.CodePage ? ListedAs(step.CodePage, step.Choice) : step.Choice);
        ClearPromptLog();
        if (step.Questions)
            QueueAnswer(IDNO);
        ASSERT_EQ(SaveDocument(), 1) << step.Choice;
        EXPECT_EQ(ReadBytes(path).substr(0, step.Bytes.size()), step.Bytes) << step.Choice;
        ASSERT_EQ((int)RecordedPrompts().size(), step.Questions) << step.Choice;
        if (step.Questions) {
            EXPECT_NE(RecordedPrompts()[0].Text.find(GetACP() == 950 ? L"saved as ANSI and" : L"saved as Big5 and"),
                      std::wstring::npos) << Utf8(RecordedPrompts()[0].Text);
        }
    }
    EXPECT_TRUE(EditTextW() == AsShown(Simplified));
}

static HMENU PoppedUp;
static BOOL WINAPI PickBig5(HMENU menu, UINT flags, int, int, int, HWND, const RECT*)
{
    PoppedUp = menu;
    return (flags & TPM_RETURNCMD) ? IDM_REOPEN_FIRST + 1 : FALSE;
}

// The File menu's lists, and the double-click on the status bar's encoding
// that opens the Reopen list.
TEST_F(LoadInCodePage, TheListsSitBesideTheLineFormatAndOnTheStatusBar)
{
    wchar_t label[32];
    GetMenuStringW(GetSubMenu(GetMenu(App.MainWindow), MENU_FILE), 12, label, 32, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(label), Utf8ToWide("編碼(&C)"));
    for (int list = 0; list < 2; list++)
        EXPECT_EQ(GetMenuItemID(EncodingList(list), 10), (UINT)(list ? IDM_CONVERT_LAST : IDM_REOPEN_LAST));

    std::string path = Write("click.txt", EncodeInCodePage(936, Simplified));
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    NMMOUSE click = {};
    click.hdr.hwndFrom = App.StatusBar;
    click.hdr.code = NM_DBLCLK;
    click.dwItemSpec = STATUS_CARET;
    Prompts.PopupMenu = PickBig5;
    SendMessageW(App.MainWindow, WM_NOTIFY, ID_STATUSBAR, (LPARAM)&click);
    EXPECT_TRUE(PoppedUp == NULL) << "elsewhere on the bar nothing opens";
    click.dwItemSpec = STATUS_FORMAT;
    SendMessageW(App.MainWindow, WM_NOTIFY, ID_STATUSBAR, (LPARAM)&click);
    Prompts.PopupMenu = TrackPopupMenu;
    EXPECT_TRUE(PoppedUp == EncodingList(0));
    EXPECT_EQ(App.CodePage, 950u) << "the pick reopens the file";
}
