// Files in the code pages users meet (Big5, GBK, Shift-JIS, EUC-KR,
// Western): detected at load on any system, shown and named, saved back
// byte for byte, reopened and converted through the encoding menus.
#include "document/file_commands.h"
#include "document/load.h"
#include "document/new_document.h"
#include "document/save.h"
#include "editor/block_indent.h"
#include "editor/find_replace.h"
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
#include <vector>

static const wchar_t Traditional[] = L"這是一份繁體中文的文件，用來檢查編碼的偵測是否正確。\r\n"
                                     L"第二行也是繁體中文，會議記錄與報告。\r\n";
static const wchar_t Simplified[] = L"这是一份简体中文的文件，用来检查编码的侦测是否正确。\r\n"
                                    L"第二行也是简体中文，会议记录与报告。\r\n";
static const wchar_t Japanese[] = L"これは日本語の文書です。文字コードの判定が正しいかを確かめます。\r\n";
static const wchar_t Korean[] = L"이것은 한국어 문서입니다. 문자 인코딩 감지가 올바른지 확인합니다.\r\n";
static const wchar_t Western[] = L"Grüße aus Köln für Jörg, café\r\n";

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
        std::string path = folder_ + name;
        WriteBytes(path, bytes);
        return path;
    }

    // The entry checked in the Reopen list, -1 for none; the Convert list
    // checks the same one.
    int CurrentEncodingChoiceShown()
    {
        HMENU encoding = GetSubMenu(GetSubMenu(GetMenu(App.MainWindow), MENU_FILE), 12);
        int checked[2] = {-1, -1};
        for (int list = 0; list < 2; list++) {
            HMENU menu = GetSubMenu(encoding, list);
            for (int i = 0; i < GetMenuItemCount(menu); i++)
                if (GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_CHECKED)
                    checked[list] = i;
        }
        EXPECT_EQ(checked[0], checked[1]);
        return checked[0];
    }

    std::string folder_;
};

// The entry a code page's document is checked at: the system's own code
// page is listed first as the system's.
static int ListedAs(UINT codePage, int entry)
{
    return codePage == GetACP() ? 0 : entry;
}

static std::wstring MenuLabel(HMENU menu, int position)
{
    wchar_t label[64] = L"";
    GetMenuStringW(menu, (UINT)position, label, 64, MF_BYPOSITION);
    return label;
}

// Beside the line-format submenu: Reopen as and Convert to, each listing
// the same entries as the Save As box, in Traditional Chinese.
TEST_F(LoadInCodePage, TheEncodingMenuSitsBesideTheLineFormatOne)
{
    HMENU file = GetSubMenu(GetMenu(App.MainWindow), MENU_FILE);
    EXPECT_EQ(MenuLabel(file, 11), Utf8ToWide("檔案格式(&F)"));
    EXPECT_EQ(MenuLabel(file, 12), Utf8ToWide("編碼(&C)"));
    HMENU encoding = GetSubMenu(file, 12);
    ASSERT_TRUE(encoding != NULL);
    EXPECT_EQ(MenuLabel(encoding, 0), Utf8ToWide("重新開啟為(&R)"));
    EXPECT_EQ(MenuLabel(encoding, 1), Utf8ToWide("轉換為(&V)"));
    static const char* const labels[] = {"系統 ANSI", "Big5", "GB18030", "GBK", "Shift-JIS", "EUC-KR",
                                         "西歐 (1252)", "UTF-8", "UTF-8 (含 BOM)", "UTF-16 LE", "UTF-16 BE"};
    for (int list = 0; list < 2; list++) {
        HMENU menu = GetSubMenu(encoding, list);
        ASSERT_EQ(GetMenuItemCount(menu), 11);
        for (int i = 0; i < 11; i++) {
            EXPECT_EQ(MenuLabel(menu, i), Utf8ToWide(labels[i])) << list << " " << i;
            EXPECT_EQ(GetMenuItemID(menu, i), (UINT)((list ? IDM_CONVERT_FIRST : IDM_REOPEN_FIRST) + i));
        }
    }
    EXPECT_EQ(CurrentEncodingChoiceShown(), 0);
}

// Each file opens in its code page, on this system whichever it is, shows
// its text, names its encoding, and saves back unchanged without a question.
TEST_F(LoadInCodePage, EachCodePageIsDetectedShownNamedAndSavedBackByteForByte)
{
    struct Case {
        const char* Name;
        const wchar_t* Text;
        UINT CodePage;
        const wchar_t* Status;
    } cases[] = {
        {"big5.txt", Traditional, 950, L"WIN Big5"},
        {"gbk.txt", Simplified, 936, L"WIN GBK"},
        {"sjis.txt", Japanese, 932, L"WIN Shift-JIS"},
        {"euckr.txt", Korean, 949, L"WIN EUC-KR"},
        {"western.txt", Western, 1252, L"WIN Western (1252)"},
    };
    for (const Case& c : cases) {
        std::string bytes = EncodeInCodePage(c.CodePage, c.Text);
        ASSERT_EQ(DecodeInCodePage(c.CodePage, bytes), c.Text) << c.Name;
        std::string path = Write(c.Name, bytes);
        ClearPromptLog();
        ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1) << c.Name;
        EXPECT_EQ(App.Encoding, ENCODING_ANSI) << c.Name;
        EXPECT_EQ(App.CodePage, c.CodePage) << c.Name << " under " << GetACP();
        EXPECT_TRUE(EditTextW() == AsShown(c.Text)) << c.Name << " shows other text";
        EXPECT_EQ(StatusText(1), c.Status) << c.Name;
        EXPECT_EQ(App.TextChanges, 0) << c.Name;
        // Saved untouched, and saved after an edit taken back.
        ASSERT_EQ(SaveDocument(), 1) << c.Name;
        EXPECT_TRUE(ReadBytes(path) == bytes) << c.Name << " changed on save";
        SetEditSelection(0, 0);
        ReplaceEditSelection(L"x");
        SetEditSelection(0, 1);
        ReplaceEditSelection(L"");
        ASSERT_EQ(SaveDocument(), 1) << c.Name;
        EXPECT_TRUE(ReadBytes(path) == bytes) << c.Name << " changed on the second save";
        EXPECT_TRUE(RecordedPrompts().empty()) << c.Name;
    }
}

// The system code page's own files behave as they always did.
TEST_F(LoadInCodePage, AsciiAndTheSystemsOwnTextKeepTheSystemCodePage)
{
    std::string ascii = Write("ascii.txt", "plain text\r\nno code page to tell\r\n");
    ASSERT_EQ(OpenDocument(Wide(ascii).c_str()), 1);
    EXPECT_EQ(App.CodePage, GetACP());
    EXPECT_EQ(StatusText(1), AnsiStatus(L"WIN"));
    std::string empty = Write("empty.txt", "");
    ASSERT_EQ(OpenDocument(Wide(empty).c_str()), 1);
    EXPECT_EQ(App.CodePage, GetACP());
    EXPECT_EQ(CurrentEncodingChoiceShown(), 0);
}

// A GBK file read as Big5 by the user's choice: its bytes read again, the
// choice kept for the file in the INI, beside the recent files unchanged.
TEST_F(LoadInCodePage, ReopenAsReadsTheBytesAgainAndTheFileReopensInIt)
{
    std::string bytes = EncodeInCodePage(936, Simplified);
    std::string path = Write("gbk.txt", bytes);
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    ASSERT_EQ(App.CodePage, 936u);
    EXPECT_EQ(CurrentEncodingChoiceShown(), ListedAs(936, 3));

    RunCommand(IDM_REOPEN_FIRST + 1);  // Big5
    EXPECT_EQ(App.CodePage, 950u);
    EXPECT_EQ(App.Encoding, ENCODING_ANSI);
    EXPECT_TRUE(EditTextW() == AsShown(DecodeInCodePage(950, bytes)));
    EXPECT_EQ(StatusText(1), L"WIN Big5");
    EXPECT_EQ(CurrentEncodingChoiceShown(), ListedAs(950, 1));
    EXPECT_FALSE(IsEditModified());
    EXPECT_TRUE(RecordedPrompts().empty());
    std::string ini = ReadIni();
    EXPECT_NE(ini.find("[Encodings]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("=0 950 " + path), std::string::npos) << ini;
    // The recent-files entry is the path, as before, and written as before (at exit).
    EXPECT_EQ(FindInList(&App.RecentList, Wide(path).c_str()), 0);
    EXPECT_EQ(ini.find("MRU"), std::string::npos) << ini;

    // From the recent files, by another road, and by Reload: Big5 again.
    NewDocument();
    RunCommand(IDM_RECENT_FIRST);
    EXPECT_EQ(App.CodePage, 950u);
    EXPECT_STREQ(Utf8(App.FilePath).c_str(), path.c_str());
    NewDocument();
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    EXPECT_EQ(App.CodePage, 950u);
    ReloadDocument();
    EXPECT_EQ(App.CodePage, 950u);

    // Unsaved changes are asked about first; Cancel keeps everything.
    ReplaceEditSelection(L"edit");
    ClearPromptLog();
    QueueAnswer(IDCANCEL);
    RunCommand(IDM_REOPEN_FIRST + 3);  // GBK
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Text, Utf8ToWide("你要儲存變更嗎?"));
    EXPECT_EQ(App.CodePage, 950u);
    EXPECT_TRUE(IsEditModified());
    // No: the edit goes, the file is read as GBK, and remembered so.
    QueueAnswer(IDNO);
    RunCommand(IDM_REOPEN_FIRST + 3);
    EXPECT_EQ(App.CodePage, 936u);
    EXPECT_TRUE(EditTextW() == AsShown(Simplified));
    int encoding = -1;
    UINT codePage = 0;
    ASSERT_TRUE(RecallFileEncoding(Wide(path).c_str(), &encoding, &codePage));
    EXPECT_EQ(codePage, 936u);

    // As UTF-16: the bytes taken as UTF-16 whatever they are.
    RunCommand(IDM_REOPEN_FIRST + 9);
    EXPECT_EQ(App.Encoding, ENCODING_UTF16LE);
    EXPECT_EQ(StatusText(1), L"WIN UTF-16 LE");
    EXPECT_EQ(CurrentEncodingChoiceShown(), 9);
}

// Without a file there is nothing to read again.
TEST_F(LoadInCodePage, ReopenNeedsAFile)
{
    SetEditText("untitled");
    RunCommand(IDM_REOPEN_FIRST + 1);
    EXPECT_EQ(EditText(), "untitled");
    EXPECT_EQ(App.HasFile, 0);
    SendMessageW(App.MainWindow, WM_INITMENUPOPUP, (WPARAM)GetSubMenu(GetMenu(App.MainWindow), MENU_FILE),
                 MENU_FILE);
    EXPECT_TRUE(GetMenuState(GetMenu(App.MainWindow), IDM_REOPEN_FIRST + 1, MF_BYCOMMAND) & MF_GRAYED);
}

// Convert: the text stays, the next save writes the chosen encoding, and
// what it cannot hold is told first.
TEST_F(LoadInCodePage, ConvertToWritesTheNextSaveInTheChosenEncoding)
{
    std::string bytes = EncodeInCodePage(936, Simplified);
    std::string path = Write("convert.txt", bytes);
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    std::wstring shown = EditTextW();

    RunCommand(IDM_CONVERT_FIRST + 7);  // UTF-8
    EXPECT_EQ(App.Encoding, ENCODING_UTF8);
    EXPECT_EQ(StatusText(1), L"WIN UTF-8");
    EXPECT_TRUE(IsEditModified());
    EXPECT_TRUE(EditTextW() == shown);
    EXPECT_TRUE(ReadBytes(path) == bytes) << "nothing written before the save";
    ASSERT_EQ(SaveDocument(), 1);
    EXPECT_TRUE(ReadBytes(path) == EncodeInCodePage(CP_UTF8, Simplified));
    EXPECT_TRUE(RecordedPrompts().empty());

    // To Big5, which lacks simplified characters: asked first, as ever.
    RunCommand(IDM_CONVERT_FIRST + 1);
    EXPECT_EQ(StatusText(1), L"WIN Big5");
    QueueAnswer(IDNO);
    ASSERT_EQ(SaveDocument(), 1);
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_NE(RecordedPrompts()[0].Text.find(L"cannot be saved as ANSI"), std::wstring::npos);
    EXPECT_TRUE(ReadBytes(path) == EncodeInCodePage(950, Simplified));

    // Each of the list's entries, and back to GBK: the file's own bytes again.
    struct Step {
        int Choice;
        const wchar_t* Status;
        std::string Bytes;
    } steps[] = {
        {10, L"WIN UTF-16 BE", "\xFE\xFF" + std::string("\x8F\xD9", 2)},
        {9, L"WIN UTF-16 LE", "\xFF\xFE" + std::string("\xD9\x8F", 2)},
        {8, L"WIN UTF-8 BOM", "\xEF\xBB\xBF" + EncodeInCodePage(CP_UTF8, L"这")},
        {3, L"WIN GBK", EncodeInCodePage(936, L"这")},
    };
    for (const Step& step : steps) {
        RunCommand(IDM_CONVERT_FIRST + step.Choice);
        EXPECT_EQ(StatusText(1), step.Status);
        EXPECT_EQ(CurrentEncodingChoiceShown(), step.Choice == 3 ? ListedAs(936, 3) : step.Choice);
        ClearPromptLog();
        ASSERT_EQ(SaveDocument(), 1) << step.Choice;
        EXPECT_EQ(ReadBytes(path).substr(0, step.Bytes.size()), step.Bytes) << step.Choice;
        EXPECT_TRUE(RecordedPrompts().empty()) << step.Choice;
    }
    EXPECT_TRUE(ReadBytes(path) == bytes);
}

// A file remembered in one encoding and saved in another opens in the one
// it was saved in.
TEST_F(LoadInCodePage, SavingInAnotherEncodingUpdatesTheRememberedOne)
{
    std::string path = Write("saved.txt", EncodeInCodePage(936, Simplified));
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    RunCommand(IDM_REOPEN_FIRST + 3);  // GBK, remembered
    RunCommand(IDM_CONVERT_FIRST + 1); // Big5 from the next save
    QueueAnswer(IDNO);
    ASSERT_EQ(SaveDocument(), 1);
    int encoding = -1;
    UINT codePage = 0;
    ASSERT_TRUE(RecallFileEncoding(Wide(path).c_str(), &encoding, &codePage));
    EXPECT_EQ(codePage, 950u);
    NewDocument();
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    EXPECT_EQ(App.CodePage, 950u);

    // Rewritten by another program with a mark: the mark tells.
    WriteBytes(path, std::string("\xFF\xFE" "a\0b\0", 6));
    NewDocument();
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    EXPECT_EQ(App.Encoding, ENCODING_UTF16LE);
    EXPECT_EQ(EditText(), "ab");
}

static std::vector<HMENU> Popups;
static BOOL WINAPI PickBig5(HMENU menu, UINT flags, int, int, int, HWND, const RECT*)
{
    Popups.push_back(menu);
    return (flags & TPM_RETURNCMD) ? IDM_REOPEN_FIRST + 1 : FALSE;
}

// The double-click on the status bar's encoding opens the Reopen list.
TEST_F(LoadInCodePage, DoubleClickOnTheEncodingOffersTheReopenList)
{
    std::string path = Write("click.txt", EncodeInCodePage(936, Simplified));
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    HMENU reopen = ReopenEncodingMenu();
    ASSERT_TRUE(reopen != NULL);
    EXPECT_EQ(GetMenuItemCount(reopen), 11);
    EXPECT_EQ(GetMenuItemID(reopen, 0), (UINT)IDM_REOPEN_FIRST);
    EXPECT_TRUE(GetMenuState(reopen, (UINT)ListedAs(936, 3), MF_BYPOSITION) & MF_CHECKED);
    RECT part;
    SendMessageW(App.StatusBar, SB_GETRECT, STATUS_FORMAT, (LPARAM)&part);
    NMMOUSE click = {};
    click.hdr.hwndFrom = App.StatusBar;
    click.hdr.idFrom = ID_STATUSBAR;
    click.hdr.code = NM_DBLCLK;
    click.dwItemSpec = STATUS_FORMAT;
    click.pt.x = part.left + 2;
    click.pt.y = part.top + 2;
    Popups.clear();
    Prompts.PopupMenu = PickBig5;
    SendMessageW(App.MainWindow, WM_NOTIFY, ID_STATUSBAR, (LPARAM)&click);
    ASSERT_EQ(Popups.size(), 1u);
    EXPECT_EQ(Popups[0], reopen);
    EXPECT_EQ(App.CodePage, 950u) << "the pick reopens the file";
    EXPECT_EQ(StatusText(1), L"WIN Big5");
    // A double-click elsewhere on the bar does nothing.
    click.dwItemSpec = STATUS_CARET;
    SendMessageW(App.MainWindow, WM_NOTIFY, ID_STATUSBAR, (LPARAM)&click);
    Prompts.PopupMenu = TrackPopupMenu;
    EXPECT_EQ(Popups.size(), 1u);
}

// Replace All and the block indent work on the text as on any other, and
// the save writes the result in the file's code page.
TEST_F(LoadInCodePage, EditsOfSuchADocumentSaveBackInItsCodePage)
{
    std::wstring text = L"第一行 会议记录\r\n第二行 会议记录\r\n";
    std::wstring rest = L"这是一份简体中文的文件，用来检查编码的侦测是否正确。\r\n";
    std::string path = Write("edits.txt", EncodeInCodePage(936, text + rest));
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    ASSERT_EQ(App.CodePage, 936u);
    EXPECT_EQ(ReplaceAll(L"会议", L"报告", FR_DOWN), 2);
    SetEditSelection(0, 0);
    IndentBlock(INDENT);
    ASSERT_EQ(SaveDocument(), 1);
    std::wstring edited = L"\t第一行 报告记录\r\n第二行 报告记录\r\n";
    EXPECT_TRUE(ReadBytes(path) == EncodeInCodePage(936, edited + rest));
    EXPECT_TRUE(RecordedPrompts().empty());
}
