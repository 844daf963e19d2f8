// Start-up: the copies of windows that are gone are offered back, and a
// copy of the program started for one of them takes it over.
#include "recovery/recovery_offer.h"

#include "ground/app_state.h"
#include "ground/file_stat.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "recovery/recovery.h"
#include "recovery/recovery_file.h"
#include "settings/ini_file.h"
#include "text/extended_path.h"
#include "text/memory.h"
#include "views/caret_status.h"
#include "views/format_status.h"
#include "views/menu_state.h"
#include "views/title_bar.h"
#include "resource.h"

#include <richedit.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <string>

static const wchar_t CommandPrefix[] = L"/recover:";
#define MOST_OFFERED 32
#define OFFER_CHARS 8192

static BOOL StartProgramCopy(const wchar_t* commandLine)
{
    STARTUPINFOW startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    // The call may write into the line it is given.
    std::wstring line = commandLine;
    if (!CreateProcessW(NULL, &line[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process))
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
    SendMessageW(App.EditControl, EM_STREAMIN, SF_TEXT | SF_UNICODE, (LPARAM)&stream);
    App.Encoding = record->Encoding;
    App.CodePage = record->CodePage;
    App.NoByteOrderMark = record->NoByteOrderMark;
    App.TextChanges = record->TextChanges;
    App.AcceptedChanges = record->AcceptedChanges;
    App.IsLogFile = 0;
    // Bound to its file while it is there; the watch then asks about a
    // file changed since, as after any load.
    std::wstring file = ExtendedLengthPath(record->FilePath.c_str());
    DWORD attributes = !file.empty() ? GetFileAttributesW(file.c_str()) : INVALID_FILE_ATTRIBUTES;
    App.HasFile = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                  record->FilePath.size() < PATH_CAPACITY;
    if (App.HasFile) {
        lstrcpynW(App.FilePath, record->FilePath.c_str(), PATH_CAPACITY);
        StatFile(App.FilePath, &App.FileStat);
        App.FileStat.st_mtime = (time_t)record->FileTime;
    } else {
        App.FilePath[0] = 0;
    }
    SetLineFormat(record->LineFormat);
    SendMessageW(App.EditControl, EM_EMPTYUNDOBUFFER, 0, 0);
    SetEditSelection(0, 0);
    SetEditModified(1);
    App.GutterWidth = 0;
    UpdateTitle();
    RefreshAfterEdit();
    UpdateCaretStatus();
    return 1;
}

// A whole file into a block (FreeBlock); NULL when it cannot be read.
static unsigned char* ReadWholeFile(const wchar_t* path, size_t* bytes)
{
    HANDLE file = CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
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
static int TakeOverCopy(const wchar_t* name, unsigned char* bytes, size_t count)
{
    RecoveryRecord record;
    if (!ParseRecoveryCopy(bytes, count, &record))
        return 0;
    RestoreRecoveryRecord(&record);
    PathBuffer from;
    PathBuffer to;
    if (!RecoveryFilePath(name, L"rec", from))
        return 1;
    int kept = Config.Recovery && HoldOwnRecoveryLock() && OwnRecoveryCopyPath(to) &&
               MoveFileExW(ExtendedLengthPath(from).c_str(), ExtendedLengthPath(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING);
    if (!kept)
        DeleteFileW(ExtendedLengthPath(from).c_str());
    return 1;
}

// One copy found at start-up, its lock held.
struct FoundCopy {
    wchar_t Name[RECOVERY_NAME_SIZE];
    HANDLE Lock;
    unsigned char* Bytes;
    size_t Count;
    RecoveryRecord Record;
};

static int IsCopyName(const wchar_t* name)
{
    size_t length = wcslen(name);
    if (length == 0 || length >= RECOVERY_NAME_SIZE)
        return 0;
    for (const wchar_t* p = name; *p; p++)
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
    if (!copy->Record.FilePath.empty()) {
        AppendWide(text, PathAsShown(copy->Record.FilePath.c_str()).c_str());
    } else {
        AppendString(text, IDS_RECOVERY_UNTITLED);
    }
}

static void AppendSkipped(wchar_t* text, const wchar_t (*skipped)[RECOVERY_NAME_SIZE + 4], int count)
{
    if (count == 0)
        return;
    if (text[0])
        AppendWide(text, L"\n\n");
    AppendString(text, IDS_RECOVERY_SKIPPED);
    for (int i = 0; i < count; i++) {
        AppendWide(text, L"\n- ");
        AppendWide(text, skipped[i]);
    }
}

// A copy cut short or not scrivlet's is kept aside under another name, so
// it is reported once and never read again.
static void SetAside(FoundCopy* copy)
{
    PathBuffer from;
    PathBuffer to;
    if (RecoveryFilePath(copy->Name, L"rec", from) && RecoveryFilePath(copy->Name, L"bad", to))
        MoveFileExW(ExtendedLengthPath(from).c_str(), ExtendedLengthPath(to).c_str(), MOVEFILE_REPLACE_EXISTING);
}

// Claims the copies of windows that are gone; bad ones are set aside and named in skipped.
static int ClaimCopies(FoundCopy* found, wchar_t (*skipped)[RECOVERY_NAME_SIZE + 4], int* skippedCount)
{
    PathBuffer pattern;
    PathBuffer path;
    int count = 0;
    *skippedCount = 0;
    if (!RecoveryFilePath(L"*", L"rec", pattern))
        return 0;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(ExtendedLengthPath(pattern).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        FoundCopy* copy = &found[count];
        *copy = FoundCopy();
        wchar_t* dot = wcsrchr(entry.cFileName, L'.');
        if (!dot || lstrcmpiW(dot, L".rec") != 0)
            continue;
        *dot = 0;
        if (!IsCopyName(entry.cFileName) || wcscmp(entry.cFileName, OwnRecoveryName()) == 0)
            continue;
        lstrcpynW(copy->Name, entry.cFileName, RECOVERY_NAME_SIZE);
        copy->Lock = OpenRecoveryLock(copy->Name);
        if (copy->Lock == INVALID_HANDLE_VALUE)
            continue; // its window runs, or another start has it
        RecoveryFilePath(copy->Name, L"rec", path);
        copy->Bytes = ReadWholeFile(path, &copy->Count);
        if (copy->Bytes && ParseRecoveryCopy(copy->Bytes, copy->Count, &copy->Record)) {
            count++;
            continue;
        }
        // Cut short or not scrivlet's. One gone meanwhile was taken over by
        // another start, which has let go of its lock since.
        if (GetFileAttributesW(ExtendedLengthPath(path).c_str()) != INVALID_FILE_ATTRIBUTES &&
            *skippedCount < MOST_OFFERED) {
            _snwprintf(skipped[*skippedCount], RECOVERY_NAME_SIZE + 4, L"%ls.rec", copy->Name);
            (*skippedCount)++;
            SetAside(copy);
        }
        FreeBlock(copy->Bytes);
        CloseHandle(copy->Lock);
    } while (count < MOST_OFFERED && FindNextFileW(search, &entry));
    FindClose(search);
    return count;
}

// Another copy of the program takes the document over; the lock goes with
// it, so no other start can claim the copy meanwhile.
static void HandOver(FoundCopy* copy)
{
    PathBuffer program;
    if (!ModuleSiblingPath(program))
        return;
    std::wstring line = std::wstring(L"\"") + (const wchar_t*)program + L"\" " + CommandPrefix + copy->Name;
    SetHandleInformation(copy->Lock, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    RecoveryStarter(line.c_str());
}

static int IsEmptyUntitled()
{
    return !App.HasFile && !IsEditModified() && GetTextLength(GTL_DEFAULT) <= 0;
}

static void OfferCopies()
{
    static FoundCopy found[MOST_OFFERED];
    static wchar_t skipped[MOST_OFFERED][RECOVERY_NAME_SIZE + 4];
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
        AskUserText(App.MainWindow, text, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int restore = AskUserText(App.MainWindow, text, MB_YESNO | MB_ICONQUESTION) == IDYES;
    for (int i = 0; i < count; i++) {
        FoundCopy* copy = &found[i];
        if (restore && i == 0 && IsEmptyUntitled())
            TakeOverCopy(copy->Name, copy->Bytes, copy->Count);
        else if (restore)
            HandOver(copy);
        else {
            PathBuffer path;
            if (RecoveryFilePath(copy->Name, L"rec", path))
                DeleteFileW(ExtendedLengthPath(path).c_str());
        }
        FreeBlock(copy->Bytes);
        CloseHandle(copy->Lock);
    }
}

int IsRecoveryCommand(const wchar_t* commandTail)
{
    return commandTail && wcsncmp(commandTail, CommandPrefix, wcslen(CommandPrefix)) == 0;
}

void StartRecovery(const wchar_t* commandTail)
{
    if (!IsRecoveryCommand(commandTail)) {
        OfferCopies();
        return;
    }
    // Started for one copy whose lock this process was given.
    wchar_t name[RECOVERY_NAME_SIZE];
    lstrcpynW(name, commandTail + wcslen(CommandPrefix), RECOVERY_NAME_SIZE);
    PathBuffer path;
    if (!IsCopyName(name) || !RecoveryFilePath(name, L"rec", path))
        return;
    size_t count = 0;
    unsigned char* bytes = ReadWholeFile(path, &count);
    if (bytes)
        TakeOverCopy(name, bytes, count);
    FreeBlock(bytes);
}
