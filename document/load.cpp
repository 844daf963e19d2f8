#include "document/load.h"

#include "app/app_state.h"
#include "app/edit_control.h"
#include "app/helpers.h"
#include "app/menu_state.h"
#include "document/device_names.h"
#include "document/file_dialogs.h"
#include "document/text_format.h"
#include "document/title.h"
#include "editor/caret_status.h"
#include "resource.h"
#include "settings/recent_lists.h"

#include <stdio.h>

#define PROBE_BYTES 1024
#define STAGING_BYTES 4096
#define MESSAGE_BYTES (APP_PATH_SIZE + 64)

DWORD CALLBACK ReadFileChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered)
{
    (void)cookie;
    DWORD got = 0;
    if (wanted > 0) {
        if (App.IsUnicode || App.LineFormat == MAC) {
            // Straight through: UTF-16 must stay intact, and in a MAC file
            // every CR is a line break the control has to see.
            if (!ReadFile(App.FileHandle, buffer, (DWORD)wanted, &got, NULL))
                got = 0;
        } else {
            // The control asks for as much as it likes; the staging buffer
            // takes at most its own size per call.
            unsigned char staging[STAGING_BYTES];
            DWORD ask = (DWORD)wanted < STAGING_BYTES ? (DWORD)wanted : STAGING_BYTES;
            if (!ReadFile(App.FileHandle, staging, ask, &got, NULL))
                got = 0;
            // Dropping every CR makes a CR LF split across two pieces one break.
            got = (DWORD)CopyDroppingCR(staging, got, buffer);
        }
    }
    *delivered = (LONG)got;
    return got == 0;
}

void SetLineFormat(int format)
{
    static const char* const labels[] = {"WIN", "UNIX", "MAC"};
    if (format < DOS || format > MAC)
        format = DOS;
    App.LineFormat = format;
    SetStatusText(STATUS_FORMAT, labels[format]);
    HMENU menu = GetMenu(App.MainWindow);
    CheckMenuItem(menu, IDM_FORMAT_DOS, MF_BYCOMMAND | (format == DOS ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, IDM_FORMAT_UNIX, MF_BYCOMMAND | (format == UNIX ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, IDM_FORMAT_MAC, MF_BYCOMMAND | (format == MAC ? MF_CHECKED : MF_UNCHECKED));
}

// Looks at the start of the open file, sets the encoding, line format and
// ".LOG" mark, and leaves the file pointer where streaming must begin.
// Returns the stream format with the Unicode bit added when needed.
static int DetectOpenedFile(int streamFormat)
{
    unsigned char* probe = (unsigned char*)AllocZeroed(PROBE_BYTES);
    DWORD got = 0;
    if (!probe || !ReadFile(App.FileHandle, probe, PROBE_BYTES, &got, NULL))
        got = 0;
    DetectedFormat found = DetectFormat(probe, got, App.LineFormat);
    FreeBlock(probe);

    App.IsUnicode = found.IsUnicode;
    App.IsLogFile = found.IsLogFile;
    App.LineFormat = found.LineFormat;
    // The mark itself is not text.
    SetFilePointer(App.FileHandle, found.HasByteOrderMark ? 2 : 0, NULL, FILE_BEGIN);
    if (found.IsUnicode)
        streamFormat |= SF_UNICODE;
    return streamFormat;
}

static int AskToCreate(const char* path)
{
    char question[MESSAGE_BYTES];
    _snprintf(question, sizeof(question), "Can't open file \"%s\", Create new file?", path);
    question[sizeof(question) - 1] = 0;
    return AskUserText(NULL, question, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

int LoadFile(const char* path, int streamFormat)
{
    // Every road to a file passes here, Insert File's too.
    if (RefuseDeviceName(path))
        return 0;
    const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
    App.FileHandle = CreateFileA(path, GENERIC_READ, sharing, NULL, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (App.FileHandle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) {
        if (!AskToCreate(path))
            return 0;
        App.FileHandle = CreateFileA(path, GENERIC_READ, sharing, NULL, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, NULL);
    }
    if (App.FileHandle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        char caption[MESSAGE_BYTES];
        _snprintf(caption, sizeof(caption), "Can't open file \"%s\"!", path);
        caption[sizeof(caption) - 1] = 0;
        SetLastError(error);
        ShowSystemError(caption);
        return 0;
    }

    App.FileSize = GetFileSize(App.FileHandle, NULL);
    if (App.FileSize == INVALID_FILE_SIZE) {
        ShowError("Can't determine the size of the file!");
        CloseHandle(App.FileHandle);
        App.FileHandle = INVALID_HANDLE_VALUE;
        return 0;
    }

    if (!(streamFormat & SFF_SELECTION))
        streamFormat = DetectOpenedFile(streamFormat);

    SetStatusText(STATUS_MESSAGE, "Loading File...");
    EDITSTREAM stream;
    stream.dwCookie = 0;
    stream.dwError = 0;
    stream.pfnCallback = ReadFileChunk;
    SendMessageA(App.EditControl, EM_STREAMIN, (WPARAM)streamFormat, (LPARAM)&stream);
    SetStatusText(STATUS_MESSAGE, "");

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
    ReplaceEditSelection("\n");
    SendMessageA(App.MainWindow, WM_COMMAND, IDM_TIMEDATE, 0);
    ReplaceEditSelection("\n");
}

// Full, long form of name into path (APP_PATH_SIZE bytes). Returns 0, having
// told the user, when the name does not fit.
static int MakeDocumentPath(const char* name, char* path)
{
    DWORD length = GetFullPathNameA(name, MAX_PATH, path, NULL);
    if (length == 0) {
        // Used as given, but never cut short: that would open another file.
        if (lstrlenA(name) >= MAX_PATH) {
            ShowError("The file name is too long.");
            return 0;
        }
        lstrcpynA(path, name, MAX_PATH);
    } else if (length >= MAX_PATH) {
        // Nothing was written; the buffer holds no path.
        ShowError("The file name is too long.");
        return 0;
    }
    // Kept only when it fits; otherwise the full path serves.
    char longPath[APP_PATH_SIZE];
    DWORD longLength = App.GetLongPath(path, longPath, MAX_PATH);
    if (longLength > 0 && longLength < MAX_PATH)
        lstrcpynA(path, longPath, MAX_PATH);
    return 1;
}

int OpenDocument(const char* name)
{
    // Asked on the name as given, before any question: the full path of
    // "aux.txt" is "\\.\aux", which would puzzle the user in the message.
    if (RefuseDeviceName(name))
        return 0;
    if (QuerySaveChanges() == IDCANCEL)
        return 0;
    char path[APP_PATH_SIZE];
    if (!MakeDocumentPath(name, path))
        return 0;
    if (!LoadFile(path, LOAD_OPEN_MODE)) {
        RemoveByName(&App.RecentList, name);
        return 0;
    }

    App.HasFile = 1;
    lstrcpynA(App.FilePath, path, APP_PATH_SIZE);
    SetLineFormat(App.LineFormat);
    SetEditModified(0);
    _stat(App.FilePath, &App.FileStat);
    SetScrollPos(App.EditControl, SB_HORZ, 0, FALSE);
    SendMessageA(App.EditControl, EM_EMPTYUNDOBUFFER, 0, 0);
    if (App.IsLogFile)
        AppendLogStamp();
    SelectFilterByExtension();
    App.GutterWidth = 0;
    // Unlike the control's state, so the refresh always rewrites the title:
    // after a ".LOG" stamp the document is already modified.
    App.ShownModified = !IsEditModified();
    RefreshAfterEdit();
    UpdateCaretStatus();
    NoteRecentFile(App.FilePath);
    return 1;
}
