#include "document/load.h"

#include "document/background_load.h"
#include "document/device_refusal.h"
#include "document/file_dialogs.h"
#include "document/file_reader.h"
#include "document/load_stamp.h"
#include "document/unsaved_changes.h"
#include "editor/own_undo.h"
#include "editor/time_date.h"
#include "ground/app_state.h"
#include "ground/file_stat.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "ground/status_text.h"
#include "ground/user_prompts.h"
#include "recovery/recovery.h"
#include "settings/recent_encodings.h"
#include "settings/recent_lists.h"
#include "settings/settings.h"
#include "text/charset_detect.h"
#include "text/extended_path.h"
#include "text/memory.h"
#include "text/stream_decoder.h"
#include "text/text_format.h"
#include "views/caret_status.h"
#include "views/edit_window.h"
#include "views/format_status.h"
#include "views/list_menus.h"
#include "views/menu_state.h"
#include "views/title_bar.h"
#include "resource.h"

#include <stdio.h>

#include <string>

#define PROBE_BYTES 1024
// The detector's verdict is in after this much text.
#define CHARSET_PROBE_BYTES (64 * 1024)
#define UTF8_CHECK_BLOCK (1024 * 1024)

// Whether the whole open file is UTF-8 with a character beyond ASCII: read
// in large blocks and given up at the first byte that does not fit.
static int IsUtf8File()
{
    unsigned char* block = (unsigned char*)AllocZeroed(UTF8_CHECK_BLOCK);
    if (!block)
        return 0;
    Utf8Check check;
    StartUtf8Check(&check);
    SetFilePointer(App.FileHandle, 0, NULL, FILE_BEGIN);
    DWORD got = 0;
    while (check.Valid && ReadFile(App.FileHandle, block, UTF8_CHECK_BLOCK, &got, NULL) && got > 0)
        ContinueUtf8Check(&check, block, got);
    FreeBlock(block);
    return Utf8CheckPassed(&check) && check.MultiByte;
}

// The code page of the open file's ANSI text, by the detector's reading of
// its start; the system's when it says nothing.
static UINT DetectFileCodePage()
{
    UINT system = GetACP();
    unsigned char* block = (unsigned char*)AllocZeroed(CHARSET_PROBE_BYTES);
    DWORD got = 0;
    SetFilePointer(App.FileHandle, 0, NULL, FILE_BEGIN);
    if (!block || !ReadFile(App.FileHandle, block, CHARSET_PROBE_BYTES, &got, NULL))
        got = 0;
    UINT codePage = got > 0 ? DetectCodePage(block, got, got < App.FileSize ? START_OF_TEXT : WHOLE_TEXT, system)
                            : system;
    FreeBlock(block);
    return codePage;
}

// Looks at the start of the open file and leaves the file pointer where
// streaming must begin; *codePage gets the code page of ANSI text. An
// encoding asked for is taken as it is; the file's mark is skipped only
// when it is that encoding's.
static DetectedFormat DetectOpenedFile(const EncodingRequest* asked, UINT* codePage)
{
    unsigned char* probe = (unsigned char*)AllocZeroed(PROBE_BYTES);
    DWORD got = 0;
    if (!probe || !ReadFile(App.FileHandle, probe, PROBE_BYTES, &got, NULL))
        got = 0;
    DetectedFormat found = DetectFormat(probe, got, App.LineFormat);
    FreeBlock(probe);
    *codePage = GetACP();
    // A file rewritten since with a mark of another encoding is in that one.
    if (asked && asked->MarkWins && found.HasByteOrderMark && found.Encoding != asked->Encoding)
        asked = NULL;
    if (asked) {
        if (found.Encoding != asked->Encoding) {
            found.MarkBytes = 0;
            found.HasByteOrderMark = 0;
        }
        found.Encoding = asked->Encoding;
        *codePage = asked->CodePage;
    } else if (found.Encoding == ENCODING_ANSI && got > 0) {
        if (IsUtf8File())
            found.Encoding = ENCODING_UTF8;
        else
            *codePage = DetectFileCodePage();
    }
    // The mark itself is not text.
    SetFilePointer(App.FileHandle, found.MarkBytes, NULL, FILE_BEGIN);
    return found;
}

// Streams the open file into the control: the whole text in Open mode, the
// selection in Insert mode, where the document's state stays as it is.
// Returns 1 when a large file goes on streaming from the message loop, which
// then owns the open file.
static int StreamFile(const wchar_t* path, int streamFormat, const EncodingRequest* asked)
{
    int insert = (streamFormat & SFF_SELECTION) != 0;
    UINT codePage = 0;
    DetectedFormat found = DetectOpenedFile(asked, &codePage);
    int encoding = found.Encoding;
    StartFileReader(encoding, found.LineFormat, codePage);
    if (FileReaderGivesUtf16())
        streamFormat |= SF_UNICODE;
    else if (encoding == ENCODING_UTF8)
        streamFormat |= SF_USECODEPAGE | (CP_UTF8 << 16);
    if (!insert) {
        // From here the file's text replaces the document: it is this
        // file's, untitled until the whole of it is in.
        lstrcpynW(App.FilePath, path, PATH_CAPACITY);
        App.HasFile = 0;
        StampLoadedFile(path);
        App.Encoding = encoding;
        App.CodePage = codePage;
        App.NoByteOrderMark = encoding != ENCODING_ANSI && !found.HasByteOrderMark;
        App.IsLogFile = found.IsLogFile;
        App.LineFormat = found.LineFormat;
    }

    if (!insert) {
        SwapInFreshEditControl();
        if (App.FileSize >= LARGE_TEXT_BYTES)
            ShowScrollBarAtFirstRead();
    }
    SetStatusText(STATUS_MESSAGE, L"Loading File...");
    if (!insert && StartBackgroundLoad(streamFormat, found.FoundBreak, FinishOpenDocument))
        return 1;
    EDITSTREAM stream;
    stream.dwCookie = 0;
    stream.dwError = 0;
    stream.pfnCallback = ReadFileChunk;
    SendMessageW(App.EditControl, EM_STREAMIN, (WPARAM)streamFormat, (LPARAM)&stream);
    SetStatusText(STATUS_MESSAGE, L"");
    EndFileStream(path, streamFormat, found.FoundBreak);
    return 0;
}

static int AskToCreate(const wchar_t* path)
{
    std::wstring question = L"Can't open file \"" + PathAsShown(path) + L"\", Create new file?";
    return AskUserText(NULL, question.c_str(), MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

int LoadFile(const wchar_t* path, int streamFormat, const EncodingRequest* asked)
{
    // Every road to a file passes here, Insert File's too.
    if (RefuseDeviceName(path))
        return 0;
    App.FileHandle = OpenFileToLoad(path, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    if (App.FileHandle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) {
        if (!AskToCreate(path))
            return 0;
        App.FileHandle = OpenFileToLoad(path, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    }
    if (App.FileHandle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        std::wstring caption = L"Can't open file \"" + PathAsShown(path) + L"\"!";
        SetLastError(error);
        ShowSystemError(caption.c_str());
        return 0;
    }

    App.FileSize = GetFileSize(App.FileHandle, NULL);
    if (App.FileSize == INVALID_FILE_SIZE) {
        ShowError(L"Can't determine the size of the file!");
        CloseHandle(App.FileHandle);
        App.FileHandle = INVALID_HANDLE_VALUE;
        return 0;
    }

    if (StreamFile(path, streamFormat, asked))
        return 1;
    CloseHandle(App.FileHandle);
    App.FileHandle = INVALID_HANDLE_VALUE;
    return 1;
}

// A ".LOG" file gets the time and date on a line of its own at every load.
static void AppendLogStamp()
{
    // Past the end the control puts the caret at the end of the text.
    LONG end = App.FileSize > 0x7FFFFFFF ? 0x7FFFFFFF : (LONG)App.FileSize;
    SetEditSelection(end, end);
    ReplaceEditSelection(L"\n");
    InsertTimeDate();
    ReplaceEditSelection(L"\n");
}

// Full, long form of name into path (PATH_CAPACITY characters). Returns 0,
// having told the user, when the name does not fit.
static int MakeDocumentPath(const wchar_t* name, wchar_t* path)
{
    DWORD length = GetFullPathNameW(name, PATH_CAPACITY, path, NULL);
    if (length == 0) {
        // Used as given, but never cut short: that would open another file.
        if (lstrlenW(name) >= PATH_CAPACITY) {
            ShowError(L"The file name is too long.");
            return 0;
        }
        lstrcpynW(path, name, PATH_CAPACITY);
    } else if (length >= PATH_CAPACITY) {
        // Nothing was written; the buffer holds no path.
        ShowError(L"The file name is too long.");
        return 0;
    }
    // Kept only when it fits; otherwise the full path serves. The system
    // spells a long path in its "\\?\" form, which the document is not named by.
    std::wstring longPath(PATH_CAPACITY, L'\0');
    DWORD longLength = App.GetLongPath(ExtendedLengthPath(path).c_str(), &longPath[0], PATH_CAPACITY);
    if (longLength > 0 && longLength < PATH_CAPACITY)
        lstrcpynW(path, PathAsShown(longPath.c_str()).c_str(), PATH_CAPACITY);
    return 1;
}

// The text may hold the old file's start and the new one's rest: it is
// reloaded, or kept as an edit of the user's, never as the file's copy.
static void AskAboutChangeDuringLoad()
{
    if (AskUser(App.MainWindow, IDS_FILE_CHANGED, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        PostMessageW(App.MainWindow, WM_COMMAND, IDM_RELOAD, 0);
        return;
    }
    // Asked about once, the change is not asked about again by the watch.
    StatFile(App.FilePath, &App.FileStat);
    SetEditModified(1);
    RefreshAfterEdit();
}

void FinishOpenDocument()
{
    EndIncompleteDocument();
    App.HasFile = 1;
    SetLineFormat(App.LineFormat);
    SendMessageW(App.EditControl, EM_EMPTYUNDOBUFFER, 0, 0);
    ForgetOwnUndoStep();
    SetEditModified(0);
    SetScrollPos(App.EditControl, SB_HORZ, 0, FALSE);
    if (App.IsLogFile)
        AppendLogStamp();
    SelectFilterByExtension();
    App.GutterWidth = 0;
    UpdateTitle();
    RefreshAfterEdit();
    UpdateCaretStatus();
    NoteRecentFile(App.FilePath);
    ShowListMenu(&App.RecentList);
    DiscardRecoveryCopy();
    // The stamp was taken as the load began: a change while it ran shows.
    if (LoadedFileChanged(App.FilePath))
        AskAboutChangeDuringLoad();
}

int OpenDocument(const wchar_t* name)
{
    return OpenDocumentIn(name, NULL);
}

int OpenDocumentIn(const wchar_t* name, const EncodingRequest* asked)
{
    // Asked on the name as given, before any question: the full path of
    // "aux.txt" is "\\.\aux", which would puzzle the user in the message.
    if (RefuseDeviceName(name))
        return 0;
    if (QuerySaveChanges() == IDCANCEL)
        return 0;
    // On the heap: a path may be longer than is wise for the stack.
    std::wstring full(PATH_CAPACITY, L'\0');
    wchar_t* path = &full[0];
    if (!MakeDocumentPath(name, path))
        return 0;
    EncodingRequest remembered = {ENCODING_ANSI, 0, 1};
    if (!asked && RecallFileEncoding(path, &remembered.Encoding, &remembered.CodePage))
        asked = &remembered;
    StopBackgroundLoad();
    if (!LoadFile(path, LOAD_OPEN_MODE, asked)) {
        RemoveByName(&App.RecentList, name);
        ShowListMenu(&App.RecentList);
        return 0;
    }
    // A large file finishes when its last piece is in.
    if (!IsDocumentLoading())
        FinishOpenDocument();
    return 1;
}
