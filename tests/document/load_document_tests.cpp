#include "document/background_load.h"
#include "document/file_reader.h"
#include "document/load.h"
#include "editor/time_date.h"
#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "program/commands.h"
#include "support/editor_fixture.h"
#include "text/stream_decoder.h"
#include "resource.h"

#include <richedit.h>
#include <string>

static std::string Utf16(const std::wstring& text)
{
    return std::string((const char*)text.data(), text.size() * sizeof(wchar_t));
}

static bool FormatChecked(UINT id)
{
    return (GetMenuState(GetMenu(App.MainWindow), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

static bool CanUndo()
{
    return SendMessageA(App.EditControl, EM_CANUNDO, 0, 0) != 0;
}

static bool Modified()
{
    return SendMessageA(App.EditControl, EM_GETMODIFY, 0, 0) != 0;
}

static std::string Stamp()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[104];
    FormatTimeDate(&now, Config.DateFirst, text, 104);
    return Utf8(text);
}

class LoadTest : public EditorFixture {
protected:
    int Open(const std::string& path)
    {
        int result = OpenDocument(Wide(path).c_str());
        Pump();
        return result;
    }

    // Writes the file and opens it, expecting success.
    void Load(const std::string& path, const std::string& bytes)
    {
        WriteBytes(path, bytes);
        ASSERT_EQ(Open(path), 1) << path;
    }

    void ExpectFormatShown(int format, const wchar_t* label)
    {
        EXPECT_EQ(App.LineFormat, format);
        EXPECT_EQ(StatusText(1), label);
        EXPECT_EQ(FormatChecked(IDM_FORMAT_DOS), format == DOS);
        EXPECT_EQ(FormatChecked(IDM_FORMAT_UNIX), format == UNIX);
        EXPECT_EQ(FormatChecked(IDM_FORMAT_MAC), format == MAC);
    }
};

TEST_F(LoadTest, EachLineFormatLoadsAsBreaksAndIsShown)
{
    std::string folder = MakeScratchFolder("load_formats");
    struct Case {
        const char* name;
        const char* bytes;
        int format;
        const wchar_t* label;
    } cases[] = {
        {"dos.txt", "one\r\ntwo\r\n\r\nfour", DOS, L"WIN"},
        {"unix.txt", "one\ntwo\n\nfour", UNIX, L"UNIX"},
        {"mac.txt", "one\rtwo\r\rfour", MAC, L"MAC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(folder + c.name, c.bytes);
        EXPECT_EQ(EditText(), "one\rtwo\r\rfour");
        ExpectFormatShown(c.format, AnsiStatus(c.label).c_str());
        EXPECT_EQ(App.HasFile, 1);
        EXPECT_EQ(Utf8(App.FilePath), folder + c.name);
        EXPECT_EQ(WindowTitle(), std::string(c.name) + " - scrivlet");
        EXPECT_EQ(App.Encoding, 0);
        EXPECT_EQ(App.IsLogFile, 0);
        EXPECT_FALSE(Modified());
        EXPECT_FALSE(CanUndo());
        EXPECT_EQ(StatusText(0), L"");
    }
    EXPECT_TRUE(RecordedPrompts().empty());
}

TEST_F(LoadTest, Utf16LoadsWithAndWithoutMark)
{
    std::string folder = MakeScratchFolder("load_utf16");
    const std::wstring text = L"\x4E2D\x6587 line one\r\nsecond \x00E9 line\r\n";
    const std::wstring expected = L"\x4E2D\x6587 line one\rsecond \x00E9 line\r";

    Load(folder + "marked.txt", "\xFF\xFE" + Utf16(text));
    EXPECT_EQ(App.Encoding, 1);
    EXPECT_EQ(EditTextW(), expected);
    ExpectFormatShown(DOS, L"WIN UTF-16 LE");

    // Unmarked: the first ten characters must be plain (zero high bytes).
    const std::wstring plainStart = L"0123456789\n\x4E2D\n";
    Load(folder + "unmarked.txt", Utf16(plainStart));
    EXPECT_EQ(App.Encoding, 1);
    EXPECT_EQ(EditTextW(), L"0123456789\r\x4E2D\r");
    ExpectFormatShown(UNIX, L"UNIX UTF-16 LE");

    Load(folder + "mark_only.txt", "\xFF\xFE");
    EXPECT_EQ(App.Encoding, 1);
    EXPECT_EQ(EditTextW(), L"");
}

TEST_F(LoadTest, EmptyFileKeepsPreviousLineFormat)
{
    std::string folder = MakeScratchFolder("load_empty");
    Load(folder + "unix.txt", "a\nb\n");
    Load(folder + "empty.txt", "");
    EXPECT_EQ(EditText(), "");
    EXPECT_EQ(App.Encoding, 0);
    EXPECT_EQ(App.IsLogFile, 0);
    EXPECT_EQ(Utf8(App.FilePath), folder + "empty.txt");
    ExpectFormatShown(UNIX, AnsiStatus(L"UNIX").c_str());
}

TEST_F(LoadTest, RelativeShortNameBecomesFullLongPath)
{
    std::string folder = MakeScratchFolder("load_long_name");
    const std::string longName = "A rather long file name.text";
    WriteBytes(folder + longName, "content");
    char shortPath[MAX_PATH];
    ASSERT_GT(GetShortPathNameA((folder + longName).c_str(), shortPath, MAX_PATH), 0u);
    std::string shortName = shortPath;
    shortName = shortName.substr(shortName.find_last_of('\\') + 1);
    ASSERT_NE(shortName, longName);

    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder.c_str());
    int opened = Open(shortName);
    SetCurrentDirectoryA(previous);

    ASSERT_EQ(opened, 1);
    EXPECT_EQ(Utf8(App.FilePath), folder + longName);
    EXPECT_EQ(WindowTitle(), longName + " - scrivlet");
    EXPECT_EQ(EditText(), "content");
}

TEST_F(LoadTest, LogFileGetsStampOnLineOfItsOwn)
{
    std::string folder = MakeScratchFolder("load_log");
    std::string before = Stamp();
    Load(folder + "log.txt", ".LOG");
    std::string after = Stamp();
    std::string text = EditText();
    EXPECT_TRUE(text == ".LOG\r" + before + "\r" || text == ".LOG\r" + after + "\r") << text;
    EXPECT_EQ(App.IsLogFile, 1);
    // The stamp is an edit of its own: modified and undoable.
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(CanUndo());
    EXPECT_EQ(WindowTitle(), "log.txt* - scrivlet");

    // Only four raw bytes count. The stamp left the document modified.
    QueueAnswer(IDNO);
    before = Stamp();
    Load(folder + "book.txt", ".LOGBOOK\r\nentry");
    after = Stamp();
    text = EditText();
    EXPECT_TRUE(text == ".LOGBOOK\rentry\r" + before + "\r" ||
                text == ".LOGBOOK\rentry\r" + after + "\r")
        << text;
}

TEST_F(LoadTest, MissingFileAnsweredNoLeavesDocument)
{
    std::string folder = MakeScratchFolder("load_missing_no");
    Load(folder + "kept.txt", "kept\r\n");
    ClearPromptLog();
    std::string missing = folder + "missing.txt";

    QueueAnswer(IDNO);
    EXPECT_EQ(Open(missing), 0);

    ASSERT_EQ(RecordedPrompts().size(), 1u);
    const RecordedPrompt& prompt = RecordedPrompts()[0];
    EXPECT_EQ(prompt.Text, L"Can't open file \"" + Wide(missing) + L"\", Create new file?");
    EXPECT_EQ(prompt.Caption, L"scrivlet");
    EXPECT_EQ(prompt.Buttons, (UINT)MB_YESNO);
    EXPECT_EQ(prompt.Icon, (UINT)MB_ICONEXCLAMATION);
    EXPECT_TRUE(prompt.Owner == NULL);

    EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Utf8(App.FilePath), folder + "kept.txt");
    EXPECT_EQ(App.HasFile, 1);
    EXPECT_EQ(EditText(), "kept\r");
    EXPECT_EQ(WindowTitle(), "kept.txt - scrivlet");
}

TEST_F(LoadTest, CancelAtSaveQuestionChangesNothing)
{
    std::string folder = MakeScratchFolder("load_cancel");
    WriteBytes(folder + "other.txt", "other");
    SetEditText("unsaved");
    SetEditModified(1);
    QueueAnswer(IDCANCEL);
    EXPECT_EQ(Open(folder + "other.txt"), 0);
    EXPECT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(EditText(), "unsaved");
    EXPECT_EQ(App.HasFile, 0);
    EXPECT_TRUE(Modified());
}

TEST_F(LoadTest, MissingFileAnsweredYesIsCreatedAndOpened)
{
    std::string folder = MakeScratchFolder("load_missing_yes");
    SetEditText("old text");
    std::string missing = folder + "new.txt";
    QueueAnswer(IDYES);
    EXPECT_EQ(Open(missing), 1);
    EXPECT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_NE(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadBytes(missing), "");
    EXPECT_EQ(App.HasFile, 1);
    EXPECT_EQ(Utf8(App.FilePath), missing);
    EXPECT_EQ(WindowTitle(), "new.txt - scrivlet");
    EXPECT_EQ(EditText(), "");
    EXPECT_FALSE(Modified());
}

TEST_F(LoadTest, UnopenableFileShowsSystemErrorAndChangesNothing)
{
    std::string folder = MakeScratchFolder("load_locked");
    Load(folder + "kept.txt", "kept");
    ClearPromptLog();
    std::string locked = folder + "locked.txt";
    WriteBytes(locked, "locked text");
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    int opened = Open(locked);
    CloseHandle(holder);

    EXPECT_EQ(opened, 0);
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    const RecordedPrompt& prompt = RecordedPrompts()[0];
    EXPECT_EQ(prompt.Caption, L"Can't open file \"" + Wide(locked) + L"\"!");
    EXPECT_FALSE(prompt.Text.empty());
    EXPECT_EQ(prompt.Icon, (UINT)MB_ICONEXCLAMATION);
    EXPECT_TRUE(prompt.Owner == App.MainWindow);
    EXPECT_EQ(Utf8(App.FilePath), folder + "kept.txt");
    EXPECT_EQ(EditText(), "kept");

    // A missing folder is no "create new file" case.
    ClearPromptLog();
    std::string nowhere = folder + "no such folder\\file.txt";
    EXPECT_EQ(Open(nowhere), 0);
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Caption, L"Can't open file \"" + Wide(nowhere) + L"\"!");
}

TEST_F(LoadTest, TooLongPathIsRefused)
{
    std::string folder = MakeScratchFolder("load_too_long");
    Load(folder + "kept.txt", "kept");
    ClearPromptLog();
    EXPECT_EQ(Open(folder + std::string(PATH_CAPACITY, 'n') + ".txt"), 0);
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Text, L"The file name is too long.");
    EXPECT_EQ(RecordedPrompts()[0].Caption, L"scrivlet");
    EXPECT_EQ(RecordedPrompts()[0].Icon, (UINT)MB_ICONHAND);
    EXPECT_EQ(Utf8(App.FilePath), folder + "kept.txt");
    EXPECT_EQ(EditText(), "kept");
}

TEST_F(LoadTest, CRLFSplitAcrossPiecesIsOneBreak)
{
    std::string folder = MakeScratchFolder("load_boundary");
    // CR LF pairs straddling the 4096- and 8192-byte marks.
    std::string first(4095, 'a');
    std::string second(4094, 'b');
    std::string bytes = first + "\r\n" + second + "\r\n" + "tail\r\n";
    ASSERT_EQ(bytes[4095], '\r');
    ASSERT_EQ(bytes[8191], '\r');
    Load(folder + "boundary.txt", bytes);
    EXPECT_EQ(App.LineFormat, DOS);
    std::string text = EditText();
    EXPECT_EQ(text.size(), first.size() + second.size() + 4 + 3);
    EXPECT_TRUE(text == first + "\r" + second + "\r" + "tail\r") << "text differs";
}

TEST_F(LoadTest, BigFilesLoadWhole)
{
    std::string folder = MakeScratchFolder("load_big");
    std::string dos, mac, expected;
    std::wstring wide, expectedWide;
    for (int i = 0; i < 5000; i++) {
        std::string line = "line number " + std::to_string(i);
        dos += line + "\r\n";
        mac += line + "\r";
        expected += line + "\r";
        wide += Wide(line) + L"\x4E2D\n";
        expectedWide += Wide(line) + L"\x4E2D\r";
    }
    Load(folder + "big.txt", dos);
    EXPECT_EQ(EditText().size(), expected.size());
    EXPECT_TRUE(EditText() == expected) << "ANSI text differs";

    Load(folder + "big16.txt", "\xFF\xFE" + Utf16(wide));
    EXPECT_EQ(App.Encoding, 1);
    EXPECT_EQ(App.LineFormat, UNIX);
    EXPECT_TRUE(EditTextW() == expectedWide) << "UTF-16 text differs";

    Load(folder + "bigmac.txt", mac);
    EXPECT_EQ(App.LineFormat, MAC);
    EXPECT_TRUE(EditText() == expected) << "MAC text differs";
}

TEST_F(LoadTest, ReadFileChunkServesAtMostItsStagingBuffer)
{
    std::string folder = MakeScratchFolder("load_chunk");
    std::string path = folder + "chunk.txt";
    WriteBytes(path, std::string(5000, 'x') + std::string(4000, '\r') + "\n");
    App.FileHandle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(App.FileHandle, INVALID_HANDLE_VALUE);
    StartFileReader(0, DOS, GetACP());

    // Asked for more, it never serves more than its own 4096 bytes; every
    // CR is a break of its own, and the last one takes the LF with it.
    std::string buffer(20000, '#');
    LONG delivered = -1;
    EXPECT_EQ(ReadFileChunk(0, (LPBYTE)&buffer[0], 20000, &delivered), 0u);
    EXPECT_EQ(delivered, 4096);
    EXPECT_EQ(buffer.substr(0, 4096), std::string(4096, 'x'));
    EXPECT_EQ(buffer[4096], '#');
    EXPECT_EQ(ReadFileChunk(0, (LPBYTE)&buffer[0], 20000, &delivered), 0u);
    EXPECT_EQ(delivered, 4096);
    EXPECT_EQ(buffer.substr(0, 4096), std::string(904, 'x') + std::string(3192, '\r'));
    EXPECT_EQ(ReadFileChunk(0, (LPBYTE)&buffer[0], 20000, &delivered), 0u);
    EXPECT_EQ(delivered, 808);
    EXPECT_NE(ReadFileChunk(0, (LPBYTE)&buffer[0], 20000, &delivered), 0u);
    EXPECT_EQ(delivered, 0);

    CloseHandle(App.FileHandle);
    App.FileHandle = INVALID_HANDLE_VALUE;
}

TEST_F(LoadTest, PiecesOfNothingButCRsDoNotEndTheLoad)
{
    std::string folder = MakeScratchFolder("load_cr_piece");
    std::string bytes = "start\r\n" + std::string(8192, '\r') + "\nend";
    Load(folder + "crs.txt", bytes);
    std::string text = EditText();
    EXPECT_EQ(text.size(), 6u + 8192u + 3u);
    EXPECT_EQ(text.substr(text.size() - 4), "\rend");
    // Its lone CRs cannot be written back as they were: a save asks first.
    EXPECT_EQ(App.TextChanges, CHANGE_LINE_ENDINGS);
    EXPECT_TRUE(RecordedPrompts().empty());
}

static int readsBeforeFailure;
static BOOL WINAPI ReadThatFailsLater(HANDLE file, LPVOID buffer, DWORD bytes, LPDWORD read, LPOVERLAPPED overlapped)
{
    if (readsBeforeFailure-- <= 0) {
        *read = 0;
        SetLastError(ERROR_NETNAME_DELETED);
        return FALSE;
    }
    return ReadFile(file, buffer, bytes, read, overlapped);
}

TEST_F(LoadTest, LoadThatStopsEarlySaysSoAndSaveAsksBeforeCuttingTheFile)
{
    std::string folder = MakeScratchFolder("load_partial");
    std::string path = folder + "partial.txt";
    std::string bytes(20000, 'p');
    WriteBytes(path, bytes);
    readsBeforeFailure = 2;
    LoadReader = ReadThatFailsLater;
    int opened = Open(path);
    LoadReader = ReadFile;
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(EditText(), std::string(8192, 'p'));
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_NE(RecordedPrompts()[0].Text.find(L"Only part of"), std::wstring::npos);

    // Typed into, a plain Ctrl+S asks; Cancel keeps the whole file.
    TypeText("q");
    ClearPromptLog();
    QueueAnswer(IDCANCEL);
    PressKey('S', true);
    Pump();
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_NE(RecordedPrompts()[0].Text.find(L"not loaded will be lost"), std::wstring::npos);
    EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(LoadTest, InsertedFileIsReadInItsOwnEncodingAndLeavesTheDocumentAlone)
{
    std::string folder = MakeScratchFolder("load_insert");
    Load(folder + "doc.txt", "one\ntwo");
    ASSERT_EQ(App.LineFormat, UNIX);
    WriteBytes(folder + "wide.txt", "\xFF\xFE" + Utf16(L"\x4E2D\r\nx"));
    SetEditSelection(4, 4);
    ASSERT_EQ(LoadFile(Wide(folder + "wide.txt").c_str(), LOAD_INSERT_MODE), 1);
    EXPECT_EQ(EditTextW(), L"one\r\x4E2D\rxtwo");
    EXPECT_EQ(App.Encoding, 0);
    EXPECT_EQ(App.LineFormat, UNIX);
}

// A large file's scroll bar goes up before its text; it must end up shown
// exactly when the text is taller than the control, and scroll it.
TEST_F(LoadTest, LargeFileScrollBarIsThereOnlyWhenNeeded)
{
    std::string folder = MakeScratchFolder("load_scrollbar");
    auto verticalBar = [] { return (GetWindowLongPtrW(App.EditControl, GWL_STYLE) & WS_VSCROLL) != 0; };
    std::string lines;
    while (lines.size() < 200000)
        lines += "a line of some eighty characters, give or take, for the scroll bar to measure\r\n";
    Load(folder + "tall.txt", lines);
    EXPECT_TRUE(verticalBar());
    SendMessageA(App.EditControl, WM_VSCROLL, SB_BOTTOM, 0);
    Pump();
    EXPECT_GT(SendMessageA(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0), 1000);

    SendMessageA(App.MainWindow, WM_COMMAND, IDM_WORDWRAP, 0);
    ASSERT_EQ(Config.WordWrap, 0);
    Load(folder + "wide.txt", std::string(200000, 'w') + "\r\nend\r\n");
    EXPECT_FALSE(verticalBar());
    // The same when the file streams in the background.
    DWORD threshold = BackgroundLoadThreshold;
    BackgroundLoadThreshold = 0;
    // Asked before any message is pumped: a slow run can stream so small a
    // file in whole within one pump.
    ASSERT_EQ(OpenDocument(Wide(folder + "wide.txt").c_str()), 1);
    ASSERT_TRUE(IsDocumentLoading());
    for (DWORD start = GetTickCount(); IsDocumentLoading() && GetTickCount() - start < 60000;)
        PumpFor(20);
    BackgroundLoadThreshold = threshold;
    EXPECT_EQ(EditText().size(), 200000u + 5);
    EXPECT_FALSE(verticalBar());
    Load(folder + "tall.txt", lines);
    EXPECT_TRUE(verticalBar());
}
