// Recovery copies. Each window names its copy after its process and start
// time and holds a lock file beside it, opened without sharing for as long
// as the process lives: a copy whose lock can be opened belongs to a window
// that is gone, and whoever opens the lock owns the copy until it is done
// with it, so two copies starting together never offer the same one.
#include "document/recovery.h"

#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/helpers.h"
#include "views/menu_state.h"
#include "document/background_load.h"
#include "document/load.h"
#include "views/caret_status.h"
#include "resource.h"
#include "settings/ini_file.h"

#include <richedit.h>
#include <stdio.h>
#include <string.h>

DWORD RecoveryPauseMs = 2000;
DWORD RecoveryLongestWaitMs = 10000;
RecoveryWriteFunction RecoveryWriter = WriteFile;

static const char CommandPrefix[] = "/recover:";
#define NAME_SIZE 64
#define MOST_OFFERED 32
#define OFFER_CHARS 8192
#define RETRY_MS 100

static BOOL StartProgramCopy(const char* commandLine)
{
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    char line[2 * MAX_PATH];
    lstrcpynA(line, commandLine, (int)sizeof(line));
    if (!CreateProcessA(NULL, line, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process))
        return FALSE;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return TRUE;
}
RecoveryStartFunction RecoveryStarter = StartProgramCopy;

static struct {
    char Name[NAME_SIZE]; // this window's copy, lock and temporary file share it
    HANDLE Lock;
    HANDLE Worker;        // the writing thread of the last copy, until waited for
    int Pending;          // edits since the last copy
    int DueNow;           // the longest wait is over: the timer runs at the first quiet moment
    DWORD FirstEdit;      // tick of the first of them
    int NoteShown;        // the status bar already says copies cannot be written
} Recovery = {"", INVALID_HANDLE_VALUE, NULL, 0, 0, 0, 0};

// What the writing thread gets: it owns all of it.
struct RecoveryJob {
    RecoveryRecord Record;
    wchar_t* Text;
    char TempPath[MAX_PATH];
    char CopyPath[MAX_PATH];
    HWND Notify;
};

int RecoveryFolder(char* folder)
{
    char ini[INI_PATH_SIZE];
    if (!LocateIniFile(ini))
        return 0;
    char* slash = strrchr(ini, '\\');
    if (!slash)
        return 0;
    slash[1] = 0;
    return _snprintf(folder, MAX_PATH, "%sscrivlet-recovery", ini) > 0 &&
           strlen(folder) + NAME_SIZE + 8 < MAX_PATH;
}

static const char* OwnName()
{
    if (!Recovery.Name[0]) {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        _snprintf(Recovery.Name, NAME_SIZE, "w%08lx-%08lx%08lx", GetCurrentProcessId(),
                  now.dwHighDateTime, now.dwLowDateTime);
        Recovery.Name[NAME_SIZE - 1] = 0;
    }
    return Recovery.Name;
}

// folder\name.extension into path (MAX_PATH bytes).
static int CopyFilePath(const char* name, const char* extension, char* path)
{
    char folder[MAX_PATH];
    if (!RecoveryFolder(folder))
        return 0;
    int length = _snprintf(path, MAX_PATH, "%s\\%s.%s", folder, name, extension);
    return length > 0 && length < MAX_PATH;
}

int OwnRecoveryCopyPath(char* path)
{
    return CopyFilePath(OwnName(), "rec", path);
}

// Opens a lock without sharing; it goes with the last handle to it, a dead
// process's included.
static HANDLE OpenLock(const char* name)
{
    char path[MAX_PATH];
    if (!CopyFilePath(name, "lock", path))
        return INVALID_HANDLE_VALUE;
    return CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, NULL);
}

// This window's lock, made with the folder before its first copy.
static int HoldOwnLock()
{
    if (Recovery.Lock != INVALID_HANDLE_VALUE)
        return 1;
    char folder[MAX_PATH];
    if (!RecoveryFolder(folder))
        return 0;
    CreateDirectoryA(folder, NULL);
    Recovery.Lock = OpenLock(OwnName());
    return Recovery.Lock != INVALID_HANDLE_VALUE;
}

static void ShowRecoveryNote(int written)
{
    if (written) {
        Recovery.NoteShown = 0;
        return;
    }
    if (Recovery.NoteShown)
        return;
    Recovery.NoteShown = 1;
    wchar_t note[256];
    if (LoadStringW(App.Instance, IDS_RECOVERY_NOTE, note, 256) > 0)
        SetStatusTextW(STATUS_MESSAGE, note);
}

static int WriteWholeFile(const char* path, const unsigned char* data, size_t bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    int written = 1;
    while (written && bytes > 0) {
        DWORD piece = bytes > 0x10000000u ? 0x10000000u : (DWORD)bytes;
        DWORD done = 0;
        written = RecoveryWriter(file, data, piece, &done, NULL) && done == piece;
        data += piece;
        bytes -= piece;
    }
    // On disk before the rename, so a power cut leaves the old copy or the new one.
    written = written && FlushFileBuffers(file);
    return CloseHandle(file) && written;
}

static DWORD WINAPI RunRecoveryJob(LPVOID parameter)
{
    RecoveryJob* job = (RecoveryJob*)parameter;
    size_t bytes = 0;
    unsigned char* block = FormatRecoveryCopy(&job->Record, &bytes);
    FreeBlock(job->Text);
    int written = block && WriteWholeFile(job->TempPath, block, bytes) &&
                  MoveFileExA(job->TempPath, job->CopyPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    // A full disk or a refused rename keeps the last whole copy.
    if (!written)
        DeleteFileA(job->TempPath);
    FreeBlock(block);
    PostMessageA(job->Notify, WM_RECOVERY_WRITTEN, (WPARAM)written, 0);
    FreeBlock(job);
    return 0;
}

void WaitForRecoveryWrite()
{
    if (!Recovery.Worker)
        return;
    WaitForSingleObject(Recovery.Worker, INFINITE);
    CloseHandle(Recovery.Worker);
    Recovery.Worker = NULL;
}

static int IsWriting()
{
    if (!Recovery.Worker)
        return 0;
    if (WaitForSingleObject(Recovery.Worker, 0) == WAIT_TIMEOUT)
        return 1;
    WaitForRecoveryWrite();
    return 0;
}

struct StreamTarget {
    unsigned char* Bytes;
    size_t Used;
    size_t Room;
};

static DWORD CALLBACK TakeStreamPiece(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* taken)
{
    StreamTarget* target = (StreamTarget*)cookie;
    size_t piece = wanted > 0 ? (size_t)wanted : 0;
    if (piece > target->Room - target->Used)
        return 1; // more than the control said it held: no copy
    memcpy(target->Bytes + target->Used, buffer, piece);
    target->Used += piece;
    *taken = (LONG)piece;
    return 0;
}

// The text in one stream-out, breaks as CR LF: the cheapest way through
// the control. The writing thread does the rest.
static wchar_t* FetchRecoveryText(size_t* units)
{
    int length = GetTextLength(GTL_USECRLF);
    size_t room = ((length > 0 ? (size_t)length : 0) + 2) * sizeof(wchar_t);
    StreamTarget target = {(unsigned char*)AllocZeroed(room), 0, room};
    if (!target.Bytes)
        return NULL;
    EDITSTREAM stream;
    stream.dwCookie = (DWORD_PTR)&target;
    stream.dwError = 0;
    stream.pfnCallback = TakeStreamPiece;
    SendMessageA(App.EditControl, EM_STREAMOUT, SF_TEXT | SF_UNICODE, (LPARAM)&stream);
    if (stream.dwError) {
        FreeBlock(target.Bytes);
        return NULL;
    }
    *units = target.Used / sizeof(wchar_t);
    return (wchar_t*)target.Bytes;
}

static void StartWrite()
{
    RecoveryJob* job = (RecoveryJob*)AllocZeroed(sizeof(RecoveryJob));
    if (!job)
        return;
    if (!HoldOwnLock() || !CopyFilePath(OwnName(), "tmp", job->TempPath) ||
        !OwnRecoveryCopyPath(job->CopyPath)) {
        FreeBlock(job);
        ShowRecoveryNote(0);
        return;
    }
    RecoveryRecord* record = &job->Record;
    if (App.HasFile && App.FilePath)
        lstrcpynA(record->FilePath, App.FilePath, RECOVERY_PATH_SIZE);
    record->Encoding = App.IsUnicode;
    record->NoByteOrderMark = App.NoByteOrderMark;
    record->LineFormat = App.LineFormat;
    record->TextChanges = App.TextChanges;
    record->AcceptedChanges = App.AcceptedChanges;
    record->FileTime = App.HasFile ? (long long)App.FileStat.st_mtime : 0;
    job->Text = FetchRecoveryText(&record->Units);
    record->Text = job->Text;
    job->Notify = App.MainWindow;
    if (job->Text)
        Recovery.Worker = CreateThread(NULL, 0, RunRecoveryJob, job, 0, NULL);
    if (!Recovery.Worker) {
        FreeBlock(job->Text);
        FreeBlock(job);
    }
}

void WriteRecoveryCopy()
{
    KillTimer(App.MainWindow, RECOVERY_TIMER);
    Recovery.DueNow = 0;
    if (!Config.Recovery) {
        DiscardRecoveryCopy();
        return;
    }
    // A text still streaming in is no whole document yet.
    if (IsDocumentIncomplete()) {
        if (IsDocumentLoading())
            SetTimer(App.MainWindow, RECOVERY_TIMER, RecoveryPauseMs, NULL);
        return;
    }
    if (!IsEditModified() || (!App.HasFile && GetTextLength(GTL_DEFAULT) <= 0)) {
        DiscardRecoveryCopy();
        return;
    }
    // One write at a time; the next try follows shortly.
    if (IsWriting()) {
        SetTimer(App.MainWindow, RECOVERY_TIMER, RETRY_MS, NULL);
        return;
    }
    Recovery.Pending = 0;
    StartWrite();
}

void NoteRecoveryEdit()
{
    if (!Config.Recovery || !App.MainWindow)
        return;
    DWORD now = GetTickCount();
    if (!Recovery.Pending) {
        Recovery.Pending = 1;
        Recovery.FirstEdit = now;
    }
    if (Recovery.DueNow)
        return;
    if (now - Recovery.FirstEdit < RecoveryLongestWaitMs) {
        SetTimer(App.MainWindow, RECOVERY_TIMER, RecoveryPauseMs, NULL);
        return;
    }
    // Long typing: the copy is taken at the first moment no key waits,
    // which is when the system hands out a timer message.
    Recovery.DueNow = 1;
    SetTimer(App.MainWindow, RECOVERY_TIMER, 1, NULL);
}

void OnRecoveryTimer(UINT_PTR timerId)
{
    if (timerId != RECOVERY_TIMER)
        return;
    WriteRecoveryCopy();
}

void OnRecoveryWritten(WPARAM written)
{
    ShowRecoveryNote(written != 0);
}

static void DeleteOwnFiles()
{
    WaitForRecoveryWrite();
    char path[MAX_PATH];
    if (Recovery.Lock == INVALID_HANDLE_VALUE)
        return;
    if (OwnRecoveryCopyPath(path))
        DeleteFileA(path);
    if (CopyFilePath(OwnName(), "tmp", path))
        DeleteFileA(path);
}

void DiscardRecoveryCopy()
{
    Recovery.Pending = 0;
    Recovery.DueNow = 0;
    if (App.MainWindow)
        KillTimer(App.MainWindow, RECOVERY_TIMER);
    DeleteOwnFiles();
    if (Config.Recovery && App.EditControl && IsEditModified())
        NoteRecoveryEdit();
}

void EndRecovery()
{
    Recovery.Pending = 0;
    Recovery.DueNow = 0;
    Recovery.NoteShown = 0;
    KillTimer(App.MainWindow, RECOVERY_TIMER);
    DeleteOwnFiles();
    if (Recovery.Lock != INVALID_HANDLE_VALUE)
        CloseHandle(Recovery.Lock);
    Recovery.Lock = INVALID_HANDLE_VALUE;
}

// ---------------------------------------------------------------------------
// Start-up

struct StreamSource {
    const unsigned char* Bytes;
    size_t Left;
};

static DWORD CALLBACK ReadRecoveryText(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered)
{
    StreamSource* source = (StreamSource*)cookie;
    size_t piece = wanted > 0 ? (size_t)wanted & ~(size_t)1 : 0;
    if (piece > source->Left)
        piece = source->Left;
    memcpy(buffer, source->Bytes, piece);
    source->Bytes += piece;
    source->Left -= piece;
    *delivered = (LONG)piece;
    return 0;
}

int RestoreRecoveryRecord(const RecoveryRecord* record)
{
    StreamSource source = {(const unsigned char*)record->Text, record->Units * sizeof(wchar_t)};
    EDITSTREAM stream;
    stream.dwCookie = (DWORD_PTR)&source;
    stream.dwError = 0;
    stream.pfnCallback = ReadRecoveryText;
    SendMessageA(App.EditControl, EM_STREAMIN, SF_TEXT | SF_UNICODE, (LPARAM)&stream);
    App.IsUnicode = record->Encoding;
    App.NoByteOrderMark = record->NoByteOrderMark;
    App.TextChanges = record->TextChanges;
    App.AcceptedChanges = record->AcceptedChanges;
    App.IsLogFile = 0;
    // Bound to its file while it is there; the watch then asks about a
    // file changed since, as after any load.
    DWORD attributes = record->FilePath[0] ? GetFileAttributesA(record->FilePath) : INVALID_FILE_ATTRIBUTES;
    App.HasFile = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (App.HasFile) {
        lstrcpynA(App.FilePath, record->FilePath, APP_PATH_SIZE);
        _stat(App.FilePath, &App.FileStat);
        App.FileStat.st_mtime = (time_t)record->FileTime;
    } else {
        App.FilePath[0] = 0;
    }
    SetLineFormat(record->LineFormat);
    SendMessageA(App.EditControl, EM_EMPTYUNDOBUFFER, 0, 0);
    SetEditSelection(0, 0);
    SetEditModified(1);
    App.ShownModified = 0;
    App.GutterWidth = 0;
    RefreshAfterEdit();
    UpdateCaretStatus();
    return 1;
}

// A whole file into a block (FreeBlock); NULL when it cannot be read.
static unsigned char* ReadWholeFile(const char* path, size_t* bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return NULL;
    DWORD size = GetFileSize(file, NULL);
    unsigned char* block = size != INVALID_FILE_SIZE ? (unsigned char*)AllocZeroed((size_t)size + 2) : NULL;
    DWORD got = 0;
    if (block && (!ReadFile(file, block, size, &got, NULL) || got != size)) {
        FreeBlock(block);
        block = NULL;
    }
    CloseHandle(file);
    *bytes = got;
    return block;
}

// The copy, read and checked, takes its place as this window's own: a
// crash from here on still leaves it to the next start.
static int TakeOverCopy(const char* name, unsigned char* bytes, size_t count)
{
    RecoveryRecord record;
    if (!ParseRecoveryCopy(bytes, count, &record))
        return 0;
    RestoreRecoveryRecord(&record);
    char from[MAX_PATH];
    char to[MAX_PATH];
    if (!CopyFilePath(name, "rec", from))
        return 1;
    int kept = Config.Recovery && HoldOwnLock() && OwnRecoveryCopyPath(to) &&
               MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING);
    if (!kept)
        DeleteFileA(from);
    return 1;
}

// One copy found at start-up, its lock held.
struct FoundCopy {
    char Name[NAME_SIZE];
    HANDLE Lock;
    unsigned char* Bytes;
    size_t Count;
    RecoveryRecord Record;
};

static int IsCopyName(const char* name)
{
    size_t length = strlen(name);
    if (length == 0 || length >= NAME_SIZE)
        return 0;
    for (const char* p = name; *p; p++)
        if (!((*p >= '0' && *p <= '9') || (*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || *p == '-'))
            return 0;
    return 1;
}

static void AppendWide(wchar_t* text, const wchar_t* more)
{
    size_t used = wcslen(text);
    if (used + 1 < OFFER_CHARS)
        lstrcpynW(text + used, more, (int)(OFFER_CHARS - used));
}

static void AppendString(wchar_t* text, UINT id)
{
    wchar_t line[512];
    if (LoadStringW(App.Instance, id, line, 512) > 0)
        AppendWide(text, line);
}

// The copy's document as the list shows it: its file's full name, or untitled.
static void AppendCopyLine(wchar_t* text, const FoundCopy* copy)
{
    AppendWide(text, L"\n- ");
    if (copy->Record.FilePath[0]) {
        wchar_t name[RECOVERY_PATH_SIZE];
        AnsiToWide(copy->Record.FilePath, name, RECOVERY_PATH_SIZE);
        AppendWide(text, name);
    } else {
        AppendString(text, IDS_RECOVERY_UNTITLED);
    }
}

static void AppendSkipped(wchar_t* text, const char (*skipped)[NAME_SIZE + 4], int count)
{
    if (count == 0)
        return;
    if (text[0])
        AppendWide(text, L"\n\n");
    AppendString(text, IDS_RECOVERY_SKIPPED);
    for (int i = 0; i < count; i++) {
        wchar_t name[NAME_SIZE + 4];
        AnsiToWide(skipped[i], name, NAME_SIZE + 4);
        AppendWide(text, L"\n- ");
        AppendWide(text, name);
    }
}

// A copy cut short or not scrivlet's is kept aside under another name, so
// it is reported once and never read again.
static void SetAside(FoundCopy* copy)
{
    char from[MAX_PATH];
    char to[MAX_PATH];
    if (CopyFilePath(copy->Name, "rec", from) && CopyFilePath(copy->Name, "bad", to))
        MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING);
}

// Claims the copies of windows that are gone; bad ones are set aside and named in skipped.
static int ClaimCopies(FoundCopy* found, char (*skipped)[NAME_SIZE + 4], int* skippedCount)
{
    char pattern[MAX_PATH];
    int count = 0;
    *skippedCount = 0;
    if (!CopyFilePath("*", "rec", pattern))
        return 0;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        FoundCopy* copy = &found[count];
        memset(copy, 0, sizeof(*copy));
        char* dot = strrchr(entry.cFileName, '.');
        if (!dot || lstrcmpiA(dot, ".rec") != 0)
            continue;
        *dot = 0;
        if (!IsCopyName(entry.cFileName) || strcmp(entry.cFileName, OwnName()) == 0)
            continue;
        lstrcpynA(copy->Name, entry.cFileName, NAME_SIZE);
        copy->Lock = OpenLock(copy->Name);
        if (copy->Lock == INVALID_HANDLE_VALUE)
            continue; // its window runs, or another start has it
        char path[MAX_PATH];
        CopyFilePath(copy->Name, "rec", path);
        copy->Bytes = ReadWholeFile(path, &copy->Count);
        if (copy->Bytes && ParseRecoveryCopy(copy->Bytes, copy->Count, &copy->Record)) {
            count++;
            continue;
        }
        // Gone meanwhile: another start took it over and let go of it.
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES && *skippedCount < MOST_OFFERED) {
            _snprintf(skipped[*skippedCount], NAME_SIZE + 4, "%s.rec", copy->Name);
            (*skippedCount)++;
            SetAside(copy);
        }
        FreeBlock(copy->Bytes);
        CloseHandle(copy->Lock);
    } while (count < MOST_OFFERED && FindNextFileA(search, &entry));
    FindClose(search);
    return count;
}

// Another copy of the program takes the document over; the lock goes with
// it, so no other start can claim the copy meanwhile.
static void HandOver(FoundCopy* copy)
{
    char program[INI_PATH_SIZE];
    if (!ModuleSiblingPath(program))
        return;
    char line[2 * MAX_PATH];
    _snprintf(line, sizeof(line), "\"%s\" %s%s", program, CommandPrefix, copy->Name);
    line[sizeof(line) - 1] = 0;
    SetHandleInformation(copy->Lock, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    RecoveryStarter(line);
}

static int IsEmptyUntitled()
{
    return !App.HasFile && !IsEditModified() && GetTextLength(GTL_DEFAULT) <= 0;
}

static void OfferCopies()
{
    static FoundCopy found[MOST_OFFERED];
    static char skipped[MOST_OFFERED][NAME_SIZE + 4];
    static wchar_t text[OFFER_CHARS];
    int skippedCount = 0;
    int count = ClaimCopies(found, skipped, &skippedCount);
    text[0] = 0;
    if (count > 0) {
        AppendString(text, IDS_RECOVERY_OFFER);
        for (int i = 0; i < count; i++)
            AppendCopyLine(text, &found[i]);
        AppendSkipped(text, skipped, skippedCount);
        AppendWide(text, L"\n\n");
        AppendString(text, IDS_RECOVERY_ASK);
    } else {
        AppendSkipped(text, skipped, skippedCount);
    }
    if (!text[0])
        return;
    if (count == 0) {
        Prompts.Message(App.MainWindow, text, L"scrivlet", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int restore = Prompts.Message(App.MainWindow, text, L"scrivlet", MB_YESNO | MB_ICONQUESTION) == IDYES;
    for (int i = 0; i < count; i++) {
        FoundCopy* copy = &found[i];
        if (restore && i == 0 && IsEmptyUntitled())
            TakeOverCopy(copy->Name, copy->Bytes, copy->Count);
        else if (restore)
            HandOver(copy);
        else {
            char path[MAX_PATH];
            if (CopyFilePath(copy->Name, "rec", path))
                DeleteFileA(path);
        }
        FreeBlock(copy->Bytes);
        CloseHandle(copy->Lock);
    }
}

int IsRecoveryCommand(const char* commandTail)
{
    return commandTail && strncmp(commandTail, CommandPrefix, strlen(CommandPrefix)) == 0;
}

void StartRecovery(const char* commandTail)
{
    if (!IsRecoveryCommand(commandTail)) {
        OfferCopies();
        return;
    }
    // Started for one copy whose lock this process was given.
    char name[NAME_SIZE];
    lstrcpynA(name, commandTail + strlen(CommandPrefix), NAME_SIZE);
    char path[MAX_PATH];
    if (!IsCopyName(name) || !CopyFilePath(name, "rec", path))
        return;
    size_t count = 0;
    unsigned char* bytes = ReadWholeFile(path, &count);
    if (bytes)
        TakeOverCopy(name, bytes, count);
    FreeBlock(bytes);
}
