// Start-up: the copies of windows that are gone are offered back, and a
// copy of the program started for one of them takes it over.
#include "recovery/recovery_offer.h"

#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "recovery/recovery.h"
#include "recovery/recovery_file.h"
#include "settings/ini_file.h"
#include "text/memory.h"
#include "views/caret_status.h"
#include "views/format_status.h"
#include "views/menu_state.h"
#include "views/title_bar.h"
#include "resource.h"

#include <richedit.h>
#include <stdio.h>
#include <string.h>

static const char CommandPrefix[] = "/recover:";
#define MOST_OFFERED 32
#define OFFER_CHARS 8192

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
    App.Encoding = record->Encoding;
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
    App.GutterWidth = 0;
    UpdateTitle();
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
    if (!RecoveryFilePath(name, "rec", from))
        return 1;
    int kept = Config.Recovery && HoldOwnRecoveryLock() && OwnRecoveryCopyPath(to) &&
               MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING);
    if (!kept)
        DeleteFileA(from);
    return 1;
}

// One copy found at start-up, its lock held.
struct FoundCopy {
    char Name[RECOVERY_NAME_SIZE];
    HANDLE Lock;
    unsigned char* Bytes;
    size_t Count;
    RecoveryRecord Record;
};

static int IsCopyName(const char* name)
{
    size_t length = strlen(name);
    if (length == 0 || length >= RECOVERY_NAME_SIZE)
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

static void AppendSkipped(wchar_t* text, const char (*skipped)[RECOVERY_NAME_SIZE + 4], int count)
{
    if (count == 0)
        return;
    if (text[0])
        AppendWide(text, L"\n\n");
    AppendString(text, IDS_RECOVERY_SKIPPED);
    for (int i = 0; i < count; i++) {
        wchar_t name[RECOVERY_NAME_SIZE + 4];
        AnsiToWide(skipped[i], name, RECOVERY_NAME_SIZE + 4);
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
    if (RecoveryFilePath(copy->Name, "rec", from) && RecoveryFilePath(copy->Name, "bad", to))
        MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING);
}

// Claims the copies of windows that are gone; bad ones are set aside and named in skipped.
static int ClaimCopies(FoundCopy* found, char (*skipped)[RECOVERY_NAME_SIZE + 4], int* skippedCount)
{
    char pattern[MAX_PATH];
    int count = 0;
    *skippedCount = 0;
    if (!RecoveryFilePath("*", "rec", pattern))
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
        if (!IsCopyName(entry.cFileName) || strcmp(entry.cFileName, OwnRecoveryName()) == 0)
            continue;
        lstrcpynA(copy->Name, entry.cFileName, RECOVERY_NAME_SIZE);
        copy->Lock = OpenRecoveryLock(copy->Name);
        if (copy->Lock == INVALID_HANDLE_VALUE)
            continue; // its window runs, or another start has it
        char path[MAX_PATH];
        RecoveryFilePath(copy->Name, "rec", path);
        copy->Bytes = ReadWholeFile(path, &copy->Count);
        if (copy->Bytes && ParseRecoveryCopy(copy->Bytes, copy->Count, &copy->Record)) {
            count++;
            continue;
        }
        // Cut short or not scrivlet's. One gone meanwhile was taken over by
        // another start, which has let go of its lock since.
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES && *skippedCount < MOST_OFFERED) {
            _snprintf(skipped[*skippedCount], RECOVERY_NAME_SIZE + 4, "%s.rec", copy->Name);
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
    static char skipped[MOST_OFFERED][RECOVERY_NAME_SIZE + 4];
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
        AskUserWide(App.MainWindow, text, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int restore = AskUserWide(App.MainWindow, text, MB_YESNO | MB_ICONQUESTION) == IDYES;
    for (int i = 0; i < count; i++) {
        FoundCopy* copy = &found[i];
        if (restore && i == 0 && IsEmptyUntitled())
            TakeOverCopy(copy->Name, copy->Bytes, copy->Count);
        else if (restore)
            HandOver(copy);
        else {
            char path[MAX_PATH];
            if (RecoveryFilePath(copy->Name, "rec", path))
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
    char name[RECOVERY_NAME_SIZE];
    lstrcpynA(name, commandTail + strlen(CommandPrefix), RECOVERY_NAME_SIZE);
    char path[MAX_PATH];
    if (!IsCopyName(name) || !RecoveryFilePath(name, "rec", path))
        return;
    size_t count = 0;
    unsigned char* bytes = ReadWholeFile(path, &count);
    if (bytes)
        TakeOverCopy(name, bytes, count);
    FreeBlock(bytes);
}
