#include "document/background_load.h"
#include "document/load.h"
#include "document/new_document.h"
#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "program/commands.h"
#include "program/startup.h"
#include "support/code_page_text.h"
#include "support/editor_fixture.h"
#include "views/menu_state.h"
#include "resource.h"

#include <commctrl.h>
#include <richedit.h>
#include <string>

// Everything a load leaves behind that the user or a later save can see.
struct LoadOutcome {
    std::wstring Text;
    bool Modified, CanUndo, ReadOnly;
    std::string Title, FilePath;
    std::wstring Status0, Status1, Status4;
    int HasFile, Encoding, LineFormat, IsLogFile, TextChanges;
    UINT CodePage;
    LONG SelectionStart, SelectionEnd;
};

static bool operator==(const LoadOutcome& a, const LoadOutcome& b)
{
    return a.Text == b.Text && a.Modified == b.Modified && a.CanUndo == b.CanUndo &&
           a.ReadOnly == b.ReadOnly && a.Title == b.Title && a.FilePath == b.FilePath &&
           a.Status0 == b.Status0 && a.Status1 == b.Status1 && a.Status4 == b.Status4 &&
           a.HasFile == b.HasFile && a.Encoding == b.Encoding && a.LineFormat == b.LineFormat &&
           a.IsLogFile == b.IsLogFile && a.TextChanges == b.TextChanges && a.CodePage == b.CodePage &&
           a.SelectionStart == b.SelectionStart && a.SelectionEnd == b.SelectionEnd;
}

static std::ostream& operator<<(std::ostream& out, const LoadOutcome& o)
{
    return out << "title " << o.Title << ", text " << o.Text.size() << " chars, modified "
               << o.Modified << ", undo " << o.CanUndo << ", read-only " << o.ReadOnly << ", file "
               << o.HasFile << " " << o.FilePath << ", encoding " << o.Encoding << ", format "
               << o.LineFormat << ", code page " << o.CodePage << ", log " << o.IsLogFile << ", changes " << o.TextChanges
               << ", selection " << o.SelectionStart << "-" << o.SelectionEnd;
}

static bool ReadOnly()
{
    return (GetWindowLongPtrW(App.EditControl, GWL_STYLE) & ES_READONLY) != 0;
}

static bool Greyed(UINT id)
{
    return (GetMenuState(GetMenu(App.MainWindow), id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

static bool ButtonEnabled(UINT id)
{
    return SendMessageA(App.ToolBar, TB_ISBUTTONENABLED, id, 0) != 0;
}

// Nobody else has the file open.
static bool FileClosed(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

static std::string Utf16(const std::wstring& text)
{
    return std::string((const char*)text.data(), text.size() * sizeof(wchar_t));
}

class LoadInBackground : public EditorFixture {
protected:
    LoadOutcome Outcome()
    {
        LoadOutcome o;
        o.Text = EditTextW();
        o.Modified = IsEditModified() != 0;
        o.CanUndo = SendMessageA(App.EditControl, EM_CANUNDO, 0, 0) != 0;
        o.ReadOnly = ReadOnly();
        o.Title = WindowTitle();
        o.FilePath = Utf8(App.FilePath);
        o.Status0 = StatusText(0);
        o.Status1 = StatusText(1);
        o.Status4 = StatusText(4);
        o.HasFile = App.HasFile;
        o.Encoding = App.Encoding;
        o.CodePage = App.CodePage;
        o.LineFormat = App.LineFormat;
        o.IsLogFile = App.IsLogFile;
        o.TextChanges = App.TextChanges;
        CHARRANGE selection = GetEditSelection();
        o.SelectionStart = selection.cpMin;
        o.SelectionEnd = selection.cpMax;
        return o;
    }

    // New without a question, whatever the last load left.
    void Discard()
    {
        SetEditModified(0);
        NewDocument();
    }

    LoadOutcome LoadAtOnce(const std::string& path)
    {
        BackgroundLoadThreshold = 0xFFFFFFFF;
        Discard();
        EXPECT_EQ(OpenDocument(Wide(path).c_str()), 1);
        EXPECT_FALSE(IsDocumentLoading());
        Pump();
        return Outcome();
    }

    // Tiny pieces, so the piece boundaries fall everywhere in a small file.
    void StartLoading(const std::string& path, LONG firstPiece = 10, LONG pieces = 7)
    {
        BackgroundLoadThreshold = 0;
        FirstPieceBytes = firstPiece;
        MaxPieceBytes = pieces;
        ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
        ASSERT_TRUE(IsDocumentLoading());
    }

    void PumpUntilLoaded()
    {
        DWORD start = GetTickCount();
        while (IsDocumentLoading() && GetTickCount() - start < 60000)
            PumpFor(20);
        ASSERT_FALSE(IsDocumentLoading());
    }

};

TEST_F(LoadInBackground, EndsInTheStateOfALoadInOneGo)
{
    std::string folder = MakeScratchFolder("background_same");
    std::string lines;
    for (int i = 0; i < 40; i++)
        lines += "line " + std::to_string(i) + " \xA4\xA4\xA4\xE5 text\r\n";
    std::string utf8;
    for (int i = 0; i < 30; i++)
        utf8 += "utf \xE4\xB8\xAD\xF0\x9F\x98\x80 " + std::to_string(i) + (i == 7 ? "\xEF\xBB\xBF\r\n" : "\r\n");
    std::wstring wide = L"\xFEFF";
    for (int i = 0; i < 30; i++)
        wide += L"wide \xD83D\xDE00 \x4E2D\x6587 " + std::to_wstring(i) + L"\r\n";
    // Each multi-byte code page, its characters cut by the tiny pieces at
    // every offset, and a Western file: whichever is not the system's is
    // decoded by the program itself.
    auto inCodePage = [](UINT codePage, const wchar_t* line) {
        std::wstring text;
        for (int i = 0; i < 12; i++)
            text += (i % 2 ? L"" : L"x") + std::wstring(line) + L"\r\n";
        return EncodeInCodePage(codePage, text);
    };
    struct Case {
        const char* name;
        std::string bytes;
        UINT codePage = 0; // the one it must be read in; 0: not of this concern
    } cases[] = {
        {"big5.txt", inCodePage(950, L"這是一份繁體中文的文件，用來檢查編碼的偵測是否正確。"), 950},
        {"gbk.txt", inCodePage(936, L"这是一份简体中文的文件，用来检查编码的侦测是否正确。"), 936},
        {"sjis.txt", inCodePage(932, L"これは日本語の文書です。文字コードの判定が正しいかを確かめます。"), 932},
        {"euckr.txt", inCodePage(949, L"이것은 한국어 문서입니다. 문자 인코딩 감지가 올바른지 확인합니다."), 949},
        {"western.txt", inCodePage(1252, L"Grüße aus Köln für Jörg, café"), 1252},
        {"log.txt", ".LOG\r\n" + lines},
        {"wide.txt", Utf16(wide)},
        // Bytes that open a UTF-8 file at the start of the second piece of an
        // ANSI one (the last two are no UTF-8), and no break before the
        // first 1024 bytes end.
        {"mark.txt", "0123456789\xEF\xBB\xBF" + std::string(1100, 'x') + "\nunix\nlines\n\xA4\xA4"},
        // UTF-8 pieces, each read as UTF-8, with a U+FEFF in the text.
        {"utf8.txt", "\xEF\xBB\xBF" + utf8},
        {"utf8bare.txt", utf8},
        {"mac.txt", "one\rtwo\r\rthree\r" + lines.substr(0, 200)},
    };
    for (const Case& c : cases) {
        std::string path = folder + c.name;
        WriteBytes(path, c.bytes);
        LoadOutcome atOnce, background;
        // A ".LOG" stamp taken on each side of a minute would differ.
        for (int attempt = 0; attempt < 2; attempt++) {
            SYSTEMTIME before, after;
            GetLocalTime(&before);
            atOnce = LoadAtOnce(path);
            Discard();
            StartLoading(path);
            std::wstring firstScreen = EditTextW();
            EXPECT_EQ(firstScreen, atOnce.Text.substr(0, firstScreen.size())) << c.name;
            EXPECT_GT(firstScreen.size(), 0u) << c.name;
            PumpUntilLoaded();
            background = Outcome();
            GetLocalTime(&after);
            if (before.wMinute == after.wMinute)
                break;
        }
        EXPECT_EQ(background, atOnce) << c.name;
        if (c.codePage) {
            EXPECT_EQ(atOnce.CodePage, c.codePage) << c.name;
            EXPECT_TRUE(background.Text == AsShown(DecodeInCodePage(c.codePage, c.bytes)))
                << c.name << " shows other text";
        }
        EXPECT_TRUE(FileClosed(path)) << c.name;
    }
    EXPECT_TRUE(RecordedPrompts().empty());

    // A file of exactly the threshold loads in one go.
    Discard();
    std::string path = folder + "log.txt";
    BackgroundLoadThreshold = (DWORD)(6 + lines.size());
    ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1);
    EXPECT_FALSE(IsDocumentLoading());
}

class LoadInBackgroundBigFile : public LoadInBackground {
protected:
    void SetUp() override
    {
        LoadInBackground::SetUp();
        folder_ = MakeScratchFolder("background_big");
        path_ = folder_ + "big.txt";
        std::string bytes;
        for (int i = 0; bytes.size() < 60000; i++)
            bytes += "line " + std::to_string(i) + " of a file that takes a while\r\n";
        WriteBytes(path_, bytes);
        text_ = LoadAtOnce(path_).Text;
        Discard();
    }

    // One timer tick of the load; a pump would run every tick to the end,
    // as the next is always due when one ends.
    void RunOneTick()
    {
        Sleep(20);
        MSG message;
        if (PeekMessageA(&message, NULL, WM_TIMER, WM_TIMER, PM_REMOVE))
            HandleLoopMessage(&message);
    }

    // A key as the control receives it, without pumping the loop.
    void Key(WPARAM key, WPARAM character = 0)
    {
        SendMessageA(App.EditControl, WM_KEYDOWN, key, 1);
        if (character || (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z'))
            SendMessageA(App.EditControl, WM_CHAR, character ? character : key, 1);
        SendMessageA(App.EditControl, WM_KEYUP, key, 0xC0000001);
    }

    // Pieces large enough for the test to end in seconds, enough of them
    // for the checks to run while the load goes on.
    void StartLoadingBigFile() { StartLoading(path_, 1000, 20); }

    std::string folder_, path_;
    std::wstring text_;
};

TEST_F(LoadInBackgroundBigFile, WholeTextCommandsWaitAndTheTextIsReadOnly)
{
    StartLoadingBigFile();
    EXPECT_TRUE(ReadOnly());
    EXPECT_EQ(WindowTitle(), "big.txt - scrivlet");
    EXPECT_EQ(App.HasFile, 0);
    EXPECT_EQ(StatusText(0).rfind(L"Loading File...", 0), 0u) << StatusText(0).c_str();
    RunOneTick();
    Key('z');
    Key(VK_TAB, '\t');
    Key(VK_RETURN, '\r');
    EXPECT_EQ(EditTextW().substr(0, 6), L"line 0");
    EXPECT_FALSE(IsEditModified());
    RunCommand(IDM_SAVEAS);
    RunCommand(IDM_SAVE);
    EXPECT_EQ(FileDialogCalls(), 0);
    HMENU menu = GetMenu(App.MainWindow);
    UpdateMenuState(MENU_FILE, menu);
    UpdateMenuState(MENU_EDIT, menu);
    const UINT held[] = {IDM_SAVEAS, IDM_FORMAT_UNIX, IDM_GOTOLINE, IDM_INDENT, IDM_PASTE, IDM_TIMEDATE};
    for (UINT id : held)
        EXPECT_TRUE(Greyed(id)) << id;
    EXPECT_FALSE(ButtonEnabled(IDM_PASTE));
    EXPECT_FALSE(Greyed(IDM_NEW));
    EXPECT_FALSE(Greyed(IDM_OPEN));
    EXPECT_TRUE(ButtonEnabled(IDM_OPEN));
    ASSERT_TRUE(IsDocumentLoading()) << "the load ended before the checks";

    PumpUntilLoaded();
    EXPECT_FALSE(ReadOnly());
    EXPECT_EQ(EditTextW(), text_);
    EXPECT_EQ(WindowTitle(), "big.txt - scrivlet");
    UpdateMenuState(MENU_FILE, menu);
    for (UINT id : held) {
        if (id == IDM_PASTE) // greyed or not by the clipboard
            continue;
        EXPECT_FALSE(Greyed(id)) << id;
    }
    Key('z');
    EXPECT_EQ(EditTextW().substr(0, 7), L"zline 0");
}

TEST_F(LoadInBackgroundBigFile, EscapeStopsTheLoadAndNothingCanBeSavedOverTheFile)
{
    StartLoadingBigFile();
    RunOneTick();
    Key(VK_ESCAPE, 27);
    ASSERT_FALSE(IsDocumentLoading());
    ASSERT_TRUE(IsWindow(App.MainWindow));
    EXPECT_TRUE(FileClosed(path_));
    std::wstring partial = EditTextW();
    EXPECT_LT(partial.size(), text_.size());
    EXPECT_EQ(partial, text_.substr(0, partial.size()));
    EXPECT_EQ(WindowTitle(), "[Untitled] - scrivlet");
    EXPECT_TRUE(ReadOnly());
    EXPECT_FALSE(IsEditModified());

    std::string before = ReadBytes(path_);
    RunCommand(IDM_SAVE);
    RunCommand(IDM_SAVEAS);
    EXPECT_EQ(FileDialogCalls(), 0);
    EXPECT_EQ(ReadBytes(path_), before);
    PumpFor(100);
    EXPECT_EQ(EditTextW(), partial);

    // New leaves an empty, editable document; no question, nothing changed.
    RunCommand(IDM_NEW);
    EXPECT_TRUE(RecordedPrompts().empty());
    EXPECT_EQ(EditTextW(), L"");
    EXPECT_FALSE(ReadOnly());
    UpdateMenuState(MENU_FILE, GetMenu(App.MainWindow));
    EXPECT_FALSE(Greyed(IDM_SAVEAS));
    EXPECT_TRUE(ButtonEnabled(IDM_PASTE) ==
                (SendMessageA(App.EditControl, EM_CANPASTE, CF_TEXT, 0) != 0));
}

TEST_F(LoadInBackgroundBigFile, OpeningAnotherFileOrClosingStopsTheLoad)
{
    std::string small = folder_ + "small.txt";
    WriteBytes(small, "small\r\nfile\r\n");
    LoadOutcome expected = LoadAtOnce(small);
    Discard();

    StartLoadingBigFile();
    RunOneTick();
    BackgroundLoadThreshold = 0xFFFFFFFF;
    ASSERT_EQ(OpenDocument(Wide(small).c_str()), 1);
    Pump();
    EXPECT_EQ(Outcome(), expected);
    EXPECT_TRUE(FileClosed(path_));

    StartLoadingBigFile();
    RunOneTick();
    EXPECT_TRUE(CloseMainWindow());
    EXPECT_TRUE(RecordedPrompts().empty());
    EXPECT_TRUE(FileClosed(path_));
    EXPECT_FALSE(IsDocumentIncomplete());
}

// An edit made while the file streams in (by any way that reaches the text)
// is not forgotten by the pieces that follow it: closing asks.
TEST_F(LoadInBackgroundBigFile, AnEditWhileTheFileStreamsInIsAskedAboutOnClosing)
{
    StartLoadingBigFile();
    RunOneTick();
    SetEditSelection(0, 0);
    ReplaceSelectionText(L"edit ", 1200);
    RefreshAfterEdit();
    ASSERT_EQ(WindowTitle(), "[Untitled]* - scrivlet");
    RunOneTick();
    ASSERT_TRUE(IsDocumentLoading()) << "the load ended before the checks";
    QueueAnswer(IDCANCEL);
    EXPECT_FALSE(CloseMainWindow());
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Text, Utf8ToWide("你要儲存變更嗎?"));
    EXPECT_EQ(EditTextW().substr(0, 11), L"edit line 0");
}

// The file is rewritten while it streams in: the text may splice the old
// file's start with the new one's rest, and must never pass for the file.
TEST_F(LoadInBackgroundBigFile, AFileRewrittenWhileItStreamsInIsNeverShownAsItsCopy)
{
    auto openWriter = [&]() {
        return CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    };
    // Another program writing it from the start of the load on, then
    // rewriting it (bytes) once the first pieces are in.
    auto loadWhileRewritten = [&](const std::string& bytes, int answer) {
        HANDLE writer = openWriter();
        ASSERT_NE(writer, INVALID_HANDLE_VALUE);
        StartLoadingBigFile();
        RunOneTick();
        DWORD written = 0;
        WriteFile(writer, bytes.data(), (DWORD)bytes.size(), &written, NULL);
        CloseHandle(writer);
        QueueAnswer(answer);
        PumpUntilLoaded();
    };
    std::string other = ReadBytes(path_);
    for (char& c : other)
        if (c == 'a')
            c = 'A';
    wchar_t changed[256];
    LoadStringW(GetModuleHandleA(NULL), IDS_FILE_CHANGED, changed, 256);

    // Other programs may not write the file while it streams in.
    StartLoadingBigFile();
    RunOneTick();
    HANDLE refused = openWriter();
    EXPECT_EQ(refused, INVALID_HANDLE_VALUE);
    if (refused != INVALID_HANDLE_VALUE)
        CloseHandle(refused);
    PumpUntilLoaded();
    Discard();

    // One already writing it cannot be kept out: the change is asked about
    // as the load ends, and the text kept is the user's, not the file's.
    loadWhileRewritten(other, IDNO);
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Text, changed);
    EXPECT_EQ(WindowTitle(), "big.txt* - scrivlet");
    EXPECT_TRUE(IsEditModified());

    // Yes reloads the file as it is now.
    Discard();
    loadWhileRewritten("X", IDYES);
    Pump();
    PumpUntilLoaded();
    EXPECT_EQ(RecordedPrompts().size(), 2u);
    EXPECT_EQ(EditTextW().substr(0, 5), L"Xine ");
    EXPECT_EQ(WindowTitle(), "big.txt - scrivlet");
}

// Reload remembers a selection the first piece does not reach.
TEST_F(LoadInBackgroundBigFile, ReloadSelectsWhatWasSelectedBeyondTheFirstPiece)
{
    BackgroundLoadThreshold = 0xFFFFFFFF;
    ASSERT_EQ(OpenDocument(Wide(path_).c_str()), 1);
    LONG end = (LONG)text_.size();
    SetEditSelection(end - 20, end - 10);
    BackgroundLoadThreshold = 0;
    FirstPieceBytes = 1000;
    MaxPieceBytes = 20;
    RunCommand(IDM_RELOAD);
    ASSERT_TRUE(IsDocumentLoading());
    PumpUntilLoaded();
    CHARRANGE selection = GetEditSelection();
    EXPECT_EQ(selection.cpMin, end - 20);
    EXPECT_EQ(selection.cpMax, end - 10);
}

// A find/replace dialog left open while a large file streams in: its Replace
// and Replace All went past the read-only style into the partial text, which
// the end of the load then showed as unmodified.
TEST_F(LoadInBackgroundBigFile, FindDialogChangesNothingWhileTheFileStreamsIn)
{
    RunCommand(IDM_REPLACE);
    ASSERT_TRUE(App.FindDialog != NULL);
    SetDlgItemTextW(App.FindDialog, 0x480, L"line");
    SetDlgItemTextW(App.FindDialog, 0x481, L"LINE");
    StartLoadingBigFile();
    RunOneTick();
    SetEditSelection(0, 4);
    SendMessageW(GetDlgItem(App.FindDialog, 0x400), BM_CLICK, 0, 0); // Replace
    SendMessageW(GetDlgItem(App.FindDialog, 0x401), BM_CLICK, 0, 0); // Replace All
    ASSERT_TRUE(IsDocumentLoading()) << "the load ended before the clicks";
    PumpUntilLoaded();
    EXPECT_EQ(EditTextW(), text_);
    EXPECT_FALSE(IsEditModified());
}
