#include "document/background_load.h"
#include "document/load.h"
#include "document/new_document.h"
#include "document/save.h"
#include "editor/find_replace.h"
#include "editor/large_replace.h"
#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "ground/status_text.h"
#include "recovery/recovery.h"
#include "recovery/recovery_file.h"
#include "recovery/recovery_offer.h"
#include "support/code_page_text.h"
#include "support/editor_fixture.h"
#include "text/memory.h"
#include "resource.h"

#include <richedit.h>
#include <stdio.h>
#include <string>
#include <vector>

static std::vector<std::string> startedCopies;

static BOOL RecordStart(const wchar_t* commandLine)
{
    startedCopies.push_back(Utf8(commandLine));
    return TRUE;
}

static BOOL WINAPI FullDisk(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

static int inputLooks;

static int KeyWaiting()
{
    inputLooks++;
    return 1;
}

static std::wstring Text(UINT id)
{
    wchar_t text[512];
    int length = LoadStringW(GetModuleHandleA(NULL), id, text, 512);
    return std::wstring(text, length > 0 ? (size_t)length : 0);
}

static std::string Copy(const char* path, const std::wstring& text, int encoding, int noMark, int lines)
{
    RecoveryRecord record;
    record.FilePath = Wide(path);
    record.Encoding = encoding;
    record.NoByteOrderMark = noMark;
    record.LineFormat = lines;
    record.Text = text.c_str();
    record.Units = text.size();
    size_t bytes = 0;
    unsigned char* block = FormatRecoveryCopy(&record, &bytes);
    std::string copy((const char*)block, bytes);
    FreeBlock(block);
    return copy;
}

class RecoveryTest : public EditorFixture {
protected:
    std::string folder_;  // the copies' folder, with a trailing backslash
    std::string scratch_; // documents

    void SetUp() override
    {
        folder_ = TestProgramFolder() + "scrivlet-recovery\\";
        DeleteFileA(folder_.substr(0, folder_.size() - 1).c_str());
        CreateDirectoryA(folder_.c_str(), NULL);
        EmptyFolder();
        RecoveryPauseMs = 100;
        RecoveryStarter = RecordStart;
        startedCopies.clear();
        EditorFixture::SetUp();
        scratch_ = MakeScratchFolder("recovery");
    }

    // No copy is left for another start in this folder to offer.
    void EmptyFolder()
    {
        for (const std::string& name : Files("*"))
            DeleteFileA((folder_ + name).c_str());
    }

    void TearDown() override
    {
        EditorFixture::TearDown();
        EmptyFolder();
        RecoveryPauseMs = 2000;
        RecoveryLongestWaitMs = 10000;
        RecoveryWriter = WriteFile;
        RecoveryInputWaiting = realInput_;
    }

    RecoveryInputFunction realInput_ = RecoveryInputWaiting;

    std::vector<std::string> Files(const char* pattern) { return FolderFiles(folder_, pattern); }

    std::string OwnCopy()
    {
        static wchar_t path[PATH_CAPACITY];
        EXPECT_TRUE(OwnRecoveryCopyPath(path));
        return Utf8(path);
    }

    // The window's copy once its write is done; "" when there is none.
    std::string CopyAfterPause()
    {
        PumpFor(RecoveryPauseMs * 3);
        WaitForRecoveryWrite();
        Pump();
        return ReadBytes(OwnCopy());
    }

    std::wstring CopyText(const std::string& copy, RecoveryRecord* record)
    {
        unsigned char* block = (unsigned char*)AllocZeroed(copy.size() + 2);
        memcpy(block, copy.data(), copy.size());
        std::wstring text;
        if (ParseRecoveryCopy(block, copy.size(), record))
            text.assign(record->Text, record->Units);
        else
            text = L"(no copy)";
        FreeBlock(block);
        return text;
    }
};

TEST_F(RecoveryTest, CopyFollowsThePauseAndGoesWithSaveNoNewOpenAndExit)
{
    TypeText("abc");
    RecoveryRecord record;
    EXPECT_TRUE(CopyText(CopyAfterPause(), &record) == L"abc");
    EXPECT_TRUE(record.FilePath.empty());

    std::string file = scratch_ + "doc.txt";
    std::string other = scratch_ + "other.txt";
    WriteBytes(file, "\xE4\xB8\xAD\n");
    WriteBytes(other, "other");
    QueueAnswer(IDNO);
    ASSERT_EQ(1, OpenDocument(Wide(file).c_str()));
    EXPECT_TRUE(ReadBytes(OwnCopy()).empty()) << "No and Open remove it";
    TypeText("x");
    EXPECT_TRUE(CopyText(CopyAfterPause(), &record) == L"x\x4E2D\r\n");
    EXPECT_EQ(file, Utf8(record.FilePath));
    EXPECT_EQ(3, record.Encoding);
    EXPECT_EQ(1, record.NoByteOrderMark);
    EXPECT_EQ(UNIX, record.LineFormat);
    ASSERT_EQ(1, SaveDocument());
    EXPECT_TRUE(ReadBytes(OwnCopy()).empty()) << "a save removes it";

    TypeText("y");
    ASSERT_FALSE(CopyAfterPause().empty());
    QueueAnswer(IDNO);
    NewDocument();
    EXPECT_TRUE(ReadBytes(OwnCopy()).empty()) << "No and New remove it";

    TypeText("z");
    ASSERT_FALSE(CopyAfterPause().empty());
    QueueAnswer(IDNO);
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_TRUE(Files("*").empty()) << "a normal exit leaves nothing";
}

// Replace All and the own undo step of a large one change the text with
// the change notifications masked; the copy must follow them all the same.
TEST_F(RecoveryTest, ReplaceAllAndItsOwnUndoReachTheCopy)
{
    std::string file = scratch_ + "lines.txt";
    WriteBytes(file, "a\r\na\r\na\r\n");
    ASSERT_EQ(1, OpenDocument(Wide(file).c_str()));
    LargeReplaceBreaks = 1;
    RecoveryRecord record;
    ASSERT_EQ(3, ReplaceAll(L"a\r", L"b", 0));
    EXPECT_TRUE(CopyText(CopyAfterPause(), &record) == L"bbb") << "Replace All";
    SendMessageA(App.MainWindow, WM_COMMAND, IDM_UNDO, 0);
    EXPECT_TRUE(CopyAfterPause().empty()) << "undone back to the file's text";
    SendMessageA(App.MainWindow, WM_COMMAND, IDM_REDO, 0);
    EXPECT_TRUE(CopyText(CopyAfterPause(), &record) == L"bbb") << "redone";
}

TEST_F(RecoveryTest, LongTypingIsCopiedWithinTheLongestWait)
{
    RecoveryPauseMs = 60000;
    RecoveryLongestWaitMs = 300;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 1500 && ReadBytes(OwnCopy()).empty()) {
        TypeText("a");
        WaitForRecoveryWrite();
    }
    EXPECT_FALSE(ReadBytes(OwnCopy()).empty());
}

TEST_F(RecoveryTest, UnwritableFolderGivesOneNoteAndEditingGoesOn)
{
    std::string blocked = folder_.substr(0, folder_.size() - 1);
    RemoveDirectoryA(blocked.c_str());
    WriteBytes(blocked, "a file where the folder would be");
    TypeText("ab");
    EXPECT_TRUE(CopyAfterPause().empty());
    EXPECT_TRUE(StatusText(STATUS_MESSAGE) == Text(IDS_RECOVERY_NOTE));
    SetStatusText(STATUS_MESSAGE, L"");
    TypeText("c");
    CopyAfterPause();
    EXPECT_TRUE(StatusText(STATUS_MESSAGE).empty()) << "said once";
    EXPECT_EQ("abc", EditText());
    DeleteFileA(blocked.c_str());
}

TEST_F(RecoveryTest, FullDiskKeepsTheLastWholeCopy)
{
    TypeText("ab");
    ASSERT_FALSE(CopyAfterPause().empty());
    RecoveryWriter = FullDisk;
    TypeText("c");
    RecoveryRecord record;
    EXPECT_TRUE(CopyText(CopyAfterPause(), &record) == L"ab");
    EXPECT_TRUE(Files("*.tmp").empty());
    EXPECT_TRUE(StatusText(STATUS_MESSAGE) == Text(IDS_RECOVERY_NOTE));
}

// A key waiting stops a copy before the window has spent anything on it;
// the copy follows at the next pause, and one overdue twice over goes through.
TEST_F(RecoveryTest, CopyGivesWayToAWaitingKeyUntilItIsOverdue)
{
    TypeText("ab");
    RecoveryInputWaiting = KeyWaiting;
    inputLooks = 0;
    WriteRecoveryCopy();
    WaitForRecoveryWrite();
    EXPECT_EQ(1, inputLooks);
    EXPECT_TRUE(ReadBytes(OwnCopy()).empty());
    RecoveryInputWaiting = realInput_;
    RecoveryRecord record;
    EXPECT_TRUE(CopyText(CopyAfterPause(), &record) == L"ab") << "still due after giving way";

    RecoveryInputWaiting = KeyWaiting;
    RecoveryLongestWaitMs = 0;
    TypeText("c");
    WriteRecoveryCopy();
    WaitForRecoveryWrite();
    EXPECT_TRUE(CopyText(ReadBytes(OwnCopy()), &record) == L"abc");
}

TEST_F(RecoveryTest, SwitchedOffWritesNothing)
{
    Config.Recovery = 0;
    TypeText("ab");
    EXPECT_TRUE(CopyAfterPause().empty());
    EXPECT_TRUE(Files("*").empty());
}

TEST_F(RecoveryTest, TextStillStreamingInGetsNoCopy)
{
    std::string file = scratch_ + "big.txt";
    WriteBytes(file, std::string(5000, 'x'));
    DWORD threshold = BackgroundLoadThreshold;
    LONG first = FirstPieceBytes, pieces = MaxPieceBytes;
    BackgroundLoadThreshold = 0;
    FirstPieceBytes = 10;
    MaxPieceBytes = 7;
    ASSERT_EQ(1, OpenDocument(Wide(file).c_str()));
    ASSERT_TRUE(IsDocumentLoading());
    SetEditModified(1);
    WriteRecoveryCopy();
    WaitForRecoveryWrite();
    EXPECT_TRUE(ReadBytes(OwnCopy()).empty());
    StopBackgroundLoad();
    BackgroundLoadThreshold = threshold;
    FirstPieceBytes = first;
    MaxPieceBytes = pieces;
}

TEST_F(RecoveryTest, YesRestoresHereBoundToItsFileAndSavesItsBytes)
{
    std::string file = scratch_ + "kept.txt";
    WriteBytes(file, "old");
    WriteBytes(folder_ + "w1-dead.rec", Copy(file.c_str(), L"new\r\x4E2D", ENCODING_UTF16LE, 0, UNIX));
    QueueAnswer(IDYES);
    StartRecovery(L"");
    ASSERT_EQ(1u, RecordedPrompts().size());
    EXPECT_NE(std::wstring::npos, RecordedPrompts()[0].Text.find(Utf8ToWide(file.c_str())));
    EXPECT_TRUE(startedCopies.empty());
    EXPECT_TRUE(EditTextW() == L"new\r\x4E2D");
    EXPECT_TRUE(IsEditModified());
    EXPECT_EQ(1, App.HasFile);
    EXPECT_EQ(file, Utf8(App.FilePath));
    EXPECT_EQ("kept.txt* - scrivlet", WindowTitle());
    EXPECT_TRUE(ReadBytes(folder_ + "w1-dead.rec").empty());
    EXPECT_FALSE(ReadBytes(OwnCopy()).empty()) << "taken over as this window's own";
    ASSERT_EQ(1, SaveDocument());
    EXPECT_EQ(std::string("\xFF\xFEn\0e\0w\0\n\0\x2D\x4E", 12), ReadBytes(file));
    EXPECT_TRUE(ReadBytes(OwnCopy()).empty());
}

TEST_F(RecoveryTest, OfferListsCopiesOfGoneWindowsAndSkipsTheRest)
{
    std::string gone = scratch_ + "gone.txt";
    WriteBytes(folder_ + "w1.rec", Copy("", L"untitled text", ENCODING_ANSI, 0, DOS));
    WriteBytes(folder_ + "w2.rec", Copy(gone.c_str(), L"gone text", ENCODING_UTF8, 1, DOS));
    WriteBytes(folder_ + "w3.rec", Copy("C:\\running.txt", L"running", ENCODING_ANSI, 0, DOS));
    WriteBytes(folder_ + "w4.rec", Copy("", L"cut short", ENCODING_ANSI, 0, DOS).substr(0, 60));
    WriteBytes(folder_ + "w5.rec", "not a copy");
    // A window that still runs holds its lock.
    HANDLE running = CreateFileA((folder_ + "w3.lock").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                 FILE_FLAG_DELETE_ON_CLOSE, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, running);
    QueueAnswer(IDYES);
    StartRecovery(L"");
    ASSERT_EQ(1u, RecordedPrompts().size());
    const std::wstring& asked = RecordedPrompts()[0].Text;
    EXPECT_NE(std::wstring::npos, asked.find(Text(IDS_RECOVERY_UNTITLED))) << "w1";
    EXPECT_NE(std::wstring::npos, asked.find(Utf8ToWide(gone.c_str()))) << "w2";
    EXPECT_EQ(std::wstring::npos, asked.find(L"running")) << "w3";
    EXPECT_NE(std::wstring::npos, asked.find(Text(IDS_RECOVERY_SKIPPED)));
    EXPECT_NE(std::wstring::npos, asked.find(L"w4.rec"));
    EXPECT_NE(std::wstring::npos, asked.find(L"w5.rec"));
    EXPECT_EQ(MB_YESNO, RecordedPrompts()[0].Buttons);
    EXPECT_FALSE(ReadBytes(folder_ + "w4.bad").empty()) << "set aside, not offered again";

    // One came back here, untitled either way; the other went to a new copy.
    std::wstring here = EditTextW();
    EXPECT_TRUE(here == L"untitled text" || here == L"gone text");
    EXPECT_EQ(0, App.HasFile);
    ASSERT_EQ(1u, startedCopies.size());
    std::string handed = here == L"gone text" ? "w1" : "w2";
    size_t at = startedCopies[0].find(" /recover:" + handed);
    ASSERT_NE(std::string::npos, at) << startedCopies[0];
    EXPECT_FALSE(ReadBytes(folder_ + "w3.rec").empty());
    CloseHandle(running);

    // The new copy takes the handed-over one.
    SetEditModified(0);
    StopEditor();
    StartEditor("");
    StartRecovery(Wide(startedCopies[0].substr(at + 1)).c_str());
    EXPECT_TRUE(EditTextW() == (handed == "w1" ? L"untitled text" : L"gone text"));
    EXPECT_TRUE(IsEditModified());
    EXPECT_TRUE(ReadBytes(folder_ + handed + ".rec").empty());
}

TEST_F(RecoveryTest, NoDeletesTheOfferedCopies)
{
    WriteBytes(folder_ + "w1.rec", Copy("", L"one", ENCODING_ANSI, 0, DOS));
    WriteBytes(folder_ + "w2.rec", Copy("", L"two", ENCODING_ANSI, 0, DOS));
    QueueAnswer(IDNO);
    StartRecovery(L"");
    ASSERT_EQ(1u, RecordedPrompts().size());
    EXPECT_TRUE(Files("*").empty());
    EXPECT_TRUE(EditTextW().empty());
    EXPECT_TRUE(startedCopies.empty());
}

TEST_F(RecoveryTest, SwitchedOffStillOffersOldCopiesOnce)
{
    Config.Recovery = 0;
    WriteBytes(folder_ + "w1.rec", Copy("", L"left earlier", ENCODING_ANSI, 0, DOS));
    QueueAnswer(IDYES);
    StartRecovery(L"");
    ASSERT_EQ(1u, RecordedPrompts().size());
    EXPECT_TRUE(EditTextW() == L"left earlier") << Utf8(EditTextW());
    EXPECT_TRUE(IsEditModified());
    EXPECT_TRUE(Files("*.rec").empty()) << "nothing kept, nothing offered again";
}

// The window's share of a copy of a large text: what it spends before the
// writing thread takes over.
TEST_F(RecoveryTest, WritingLargeTextsKeepsTheWindowFree)
{
    DWORD threshold = BackgroundLoadThreshold;
    for (size_t megabytes : {1, 10}) {
        std::string line(79, 'x');
        line += "\n";
        std::string text;
        while (text.size() < megabytes * 1024 * 1024)
            text += line;
        std::string file = scratch_ + "large.txt";
        WriteBytes(file, text);
        BackgroundLoadThreshold = 0xFFFFFFFF;
        SetEditModified(0);
        ASSERT_EQ(1, OpenDocument(Wide(file).c_str()));
        SetEditModified(1);
        double best = 1e9;
        for (int round = 0; round < 3; round++) {
            LARGE_INTEGER frequency, before, after;
            QueryPerformanceFrequency(&frequency);
            QueryPerformanceCounter(&before);
            WriteRecoveryCopy();
            QueryPerformanceCounter(&after);
            WaitForRecoveryWrite();
            double ms = 1000.0 * (double)(after.QuadPart - before.QuadPart) / (double)frequency.QuadPart;
            best = ms < best ? ms : best;
        }
        printf("recovery copy of %u MB: %.1f ms of the window\n", (unsigned)megabytes, best);
        RecoveryRecord record;
        std::wstring copied = CopyText(ReadBytes(OwnCopy()), &record);
        std::wstring expected;
        for (char c : text)
            expected += c == '\n' ? std::wstring(L"\r\n") : std::wstring(1, (wchar_t)c);
        EXPECT_TRUE(copied == expected) << megabytes << " MB: " << copied.size() << " of " << expected.size();
        // A larger text costs the window one pass through the control,
        // which under Wine alone takes longer.
        if (megabytes == 1) {
            EXPECT_LT(best, 50.0);
        }
    }
    BackgroundLoadThreshold = threshold;
}

// A document read in another code page than the system's: its copy keeps
// the code page, so the text restored after a kill saves back in it.
TEST_F(RecoveryTest, RestoredTextKeepsItsCodePageAndSavesBackInIt)
{
    UINT other = GetACP() == 936 ? 950 : 936;
    std::wstring text = other == 936 ? L"这是一份简体中文的文件，用来检查编码的侦测是否正确。"
                                     : L"這是一份繁體中文的文件，用來檢查編碼的偵測是否正確。";
    auto encode = [other](const std::wstring& wide) { return EncodeInCodePage(other, wide); };
    std::string file = scratch_ + "code_page.txt";
    WriteBytes(file, encode(text));
    ASSERT_EQ(1, OpenDocument(Wide(file).c_str()));
    ASSERT_EQ(App.CodePage, other);
    TypeText("x");
    std::string copy = CopyAfterPause();
    RecoveryRecord record;
    EXPECT_TRUE(CopyText(copy, &record) == L"x" + text);
    EXPECT_EQ(record.CodePage, other);

    // The window is gone; a new one offers its copy.
    WriteBytes(folder_ + "w7-dead.rec", copy);
    SetEditModified(0);
    NewDocument();
    ASSERT_EQ(App.CodePage, GetACP());
    ClearPromptLog();
    QueueAnswer(IDYES);
    StartRecovery(L"");
    ASSERT_EQ(1u, RecordedPrompts().size());
    EXPECT_TRUE(EditTextW() == L"x" + text);
    EXPECT_EQ(App.CodePage, other);
    EXPECT_EQ(StatusText(1), other == 936 ? L"WIN GBK" : L"WIN Big5");
    ASSERT_EQ(1, SaveDocument());
    EXPECT_TRUE(ReadBytes(file) == encode(L"x" + text));
}
