// Recovery copies. Each window names its copy after its process and start
// time and holds a lock file beside it, opened without sharing for as long
// as the process lives: a copy whose lock can be opened belongs to a window
// that is gone, and whoever opens the lock owns the copy until it is done
// with it, so two copies starting together never offer the same one.
#include "recovery/recovery.h"

#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "ground/status_text.h"
#include "recovery/recovery_file.h"
#include "settings/ini_file.h"
#include "text/extended_path.h"
#include "text/memory.h"
#include "resource.h"

#include <richedit.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <new>

DWORD RecoveryPauseMs = 2000;
DWORD RecoveryLongestWaitMs = 10000;
RecoveryWriteFunction RecoveryWriter = WriteFile;

static int IsInputWaiting() { return HIWORD(GetQueueStatus(QS_KEY | QS_MOUSEBUTTON)) != 0; }
RecoveryInputFunction RecoveryInputWaiting = IsInputWaiting;

#define RETRY_MS 100

static struct {
    wchar_t Name[RECOVERY_NAME_SIZE]; // this window's copy, lock and temporary file share it
    HANDLE Lock;
    HANDLE Worker;        // the writing thread of the last copy, until waited for
    int Pending;          // edits since the last copy
    DWORD FirstEdit;      // tick of the first of them
    int DueNow;           // the longest wait is over: the timer runs at the first quiet moment
    int NoteShown;        // the status bar already says copies cannot be written
} Recovery = {L"", INVALID_HANDLE_VALUE, NULL, 0, 0, 0, 0};

// What the writing thread gets: it owns all of it.
struct RecoveryJob {
    RecoveryRecord Record;
    wchar_t* Text;
    wchar_t TempPath[PATH_CAPACITY];
    wchar_t CopyPath[PATH_CAPACITY];
    HWND Notify;
};

int RecoveryFolder(wchar_t* folder)
{
    if (!LocateIniFile(folder))
        return 0;
    wchar_t* slash = wcsrchr(folder, L'\\');
    if (!slash)
        return 0;
    slash[1] = 0;
    static const wchar_t name[] = L"scrivlet-recovery";
    size_t length = (size_t)(slash + 1 - folder);
    if (length + wcslen(name) + RECOVERY_NAME_SIZE + 8 >= PATH_CAPACITY)
        return 0;
    memcpy(slash + 1, name, sizeof(name));
    return 1;
}

const wchar_t* OwnRecoveryName()
{
    if (!Recovery.Name[0]) {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        _snwprintf(Recovery.Name, RECOVERY_NAME_SIZE, L"w%08lx-%08lx%08lx", GetCurrentProcessId(),
                  now.dwHighDateTime, now.dwLowDateTime);
        Recovery.Name[RECOVERY_NAME_SIZE - 1] = 0;
    }
    return Recovery.Name;
}

// folder\name.extension into path (PATH_CAPACITY characters).
int RecoveryFilePath(const wchar_t* name, const wchar_t* extension, wchar_t* path)
{
    if (!RecoveryFolder(path))
        return 0;
    size_t used = wcslen(path);
    int length = _snwprintf(path + used, PATH_CAPACITY - used, L"\\%ls.%ls", name, extension);
    return length > 0 && used + (size_t)length < PATH_CAPACITY;
}

int OwnRecoveryCopyPath(wchar_t* path)
{
    return RecoveryFilePath(OwnRecoveryName(), L"rec", path);
}

// Opens a lock without sharing; it goes with the last handle to it, a dead
// process's included.
HANDLE OpenRecoveryLock(const wchar_t* name)
{
    PathBuffer path;
    if (!RecoveryFilePath(name, L"lock", path))
        return INVALID_HANDLE_VALUE;
    return CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_WRITE, 0, NULL, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, NULL);
}

// This window's lock, made with the folder before its first copy.
int HoldOwnRecoveryLock()
{
    if (Recovery.Lock != INVALID_HANDLE_VALUE)
        return 1;
    PathBuffer folder;
    if (!RecoveryFolder(folder))
        return 0;
    CreateDirectoryW(ExtendedLengthPath(folder).c_str(), NULL);
    Recovery.Lock = OpenRecoveryLock(OwnRecoveryName());
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
        SetStatusText(STATUS_MESSAGE, note);
}

static int WriteWholeFile(const wchar_t* path, const unsigned char* data, size_t bytes)
{
    HANDLE file = CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
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
                  MoveFileExW(ExtendedLengthPath(job->TempPath).c_str(), ExtendedLengthPath(job->CopyPath).c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    // A full disk or a refused rename keeps the last whole copy.
    if (!written)
        DeleteFileW(ExtendedLengthPath(job->TempPath).c_str());
    FreeBlock(block);
    PostMessageW(job->Notify, WM_RECOVERY_WRITTEN, (WPARAM)written, 0);
    delete job;
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
    int GiveWay;    // a key or click waiting stops the stream-out
    DWORD LastLook; // tick of the last look at the queue: one a tick is cheap
    int GaveWay;
};

static DWORD CALLBACK TakeStreamPiece(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* taken)
{
    StreamTarget* target = (StreamTarget*)cookie;
    size_t piece = wanted > 0 ? (size_t)wanted : 0;
    if (piece > target->Room - target->Used)
        return 1; // more than the control said it held: no copy
    DWORD now = GetTickCount();
    if (target->GiveWay && now != target->LastLook) {
        target->LastLook = now;
        if (RecoveryInputWaiting()) {
            target->GaveWay = 1;
            return 1;
        }
    }
    memcpy(target->Bytes + target->Used, buffer, piece);
    target->Used += piece;
    *taken = (LONG)piece;
    return 0;
}

// The text in one stream-out, breaks as CR LF: the cheapest way through
// the control. The writing thread does the rest. A large text takes the
// window longer than a key may wait, so it gives way to the user: *gaveWay
// is then set and nothing is fetched.
static wchar_t* FetchRecoveryText(size_t* units, int giveWay, int* gaveWay)
{
    int length = GetTextLength(GTL_USECRLF);
    size_t room = ((length > 0 ? (size_t)length : 0) + 2) * sizeof(wchar_t);
    StreamTarget target = {(unsigned char*)AllocZeroed(room), 0, room, giveWay, GetTickCount() - 1, 0};
    if (!target.Bytes)
        return NULL;
    EDITSTREAM stream;
    stream.dwCookie = (DWORD_PTR)&target;
    stream.dwError = 0;
    stream.pfnCallback = TakeStreamPiece;
    SendMessageW(App.EditControl, EM_STREAMOUT, SF_TEXT | SF_UNICODE, (LPARAM)&stream);
    *gaveWay = target.GaveWay;
    if (stream.dwError) {
        FreeBlock(target.Bytes);
        return NULL;
    }
    *units = target.Used / sizeof(wchar_t);
    return (wchar_t*)target.Bytes;
}

// Returns 0 when the write gave way to the user and is still due.
static int StartWrite(int giveWay)
{
    RecoveryJob* job = new (std::nothrow) RecoveryJob();
    if (!job)
        return 1;
    if (!HoldOwnRecoveryLock() || !RecoveryFilePath(OwnRecoveryName(), L"tmp", job->TempPath) ||
        !OwnRecoveryCopyPath(job->CopyPath)) {
        delete job;
        ShowRecoveryNote(0);
        return 1;
    }
    RecoveryRecord* record = &job->Record;
    if (App.HasFile && App.FilePath)
        record->FilePath = App.FilePath;
    record->Encoding = App.Encoding;
    record->CodePage = App.CodePage;
    record->NoByteOrderMark = App.NoByteOrderMark;
    record->LineFormat = App.LineFormat;
    record->TextChanges = App.TextChanges;
    record->AcceptedChanges = App.AcceptedChanges;
    record->FileTime = App.HasFile ? (long long)App.FileStat.st_mtime : 0;
    int gaveWay = 0;
    job->Text = FetchRecoveryText(&record->Units, giveWay, &gaveWay);
    record->Text = job->Text;
    job->Notify = App.MainWindow;
    if (job->Text)
        Recovery.Worker = CreateThread(NULL, 0, RunRecoveryJob, job, 0, NULL);
    if (!Recovery.Worker) {
        FreeBlock(job->Text);
        delete job;
        if (gaveWay)
            return 0;
        ShowRecoveryNote(0);
    }
    return 1;
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
    // A copy overdue twice over no longer gives way, or fast typing in a
    // large text would never let one through.
    DWORD now = GetTickCount();
    if (!Recovery.Pending)
        Recovery.FirstEdit = now;
    int giveWay = now - Recovery.FirstEdit < 2 * RecoveryLongestWaitMs;
    Recovery.Pending = 0;
    if (!StartWrite(giveWay)) {
        Recovery.Pending = 1;
        SetTimer(App.MainWindow, RECOVERY_TIMER, RecoveryPauseMs, NULL);
    }
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
    PathBuffer path;
    if (Recovery.Lock == INVALID_HANDLE_VALUE)
        return;
    if (OwnRecoveryCopyPath(path))
        DeleteFileW(ExtendedLengthPath(path).c_str());
    if (RecoveryFilePath(OwnRecoveryName(), L"tmp", path))
        DeleteFileW(ExtendedLengthPath(path).c_str());
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
