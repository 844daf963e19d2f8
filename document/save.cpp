// Saving: the new text goes to a temporary file beside the document and only
// replaces it once it is completely on disk, so a failed write (disk full,
// device error) never leaves the old file half overwritten.
#include "document/save.h"

#include "app/app_state.h"
#include "app/edit_control.h"
#include "app/helpers.h"
#include "app/menu_state.h"
#include "document/device_names.h"
#include "document/text_format.h"
#include "resource.h"
#include "settings/recent_lists.h"

#include <commctrl.h>
#include <richedit.h>
#include <string.h>

SaveWriteFunction SaveWriter = WriteFile;

enum { SAVE_DONE, SAVE_OPEN_FAILED, SAVE_WRITE_FAILED };

// Attributes a replaced file keeps; read-only never gets this far.
#define KEPT_ATTRIBUTES (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)

// Largest piece handed to one write; a whole text fits in one on 32-bit.
#define WRITE_PIECE 0x40000000u

// Fails for a read-only file, missing rights, a file another program holds
// for writing, or a bad path; a missing file in an existing folder is fine.
static int CanWriteTarget(const char* path, int* exists)
{
    *exists = 0;
    // Asked first and outright: the file is about to be replaced, not
    // opened, and a replace would not stop at the read-only mark.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        *exists = 1;
        return 1;
    }
    return GetLastError() == ERROR_FILE_NOT_FOUND;
}

// The control's text in the document's encoding and line endings, FF FE
// first for Unicode. Returns the block (NULL when it cannot be had) and the
// number of bytes to write.
static unsigned char* FetchDocumentBytes(size_t* bytes)
{
    int unicode = App.IsUnicode;
    size_t prefix = unicode ? 2 : 0;
    int characters = GetTextLength(GTL_USECRLF);
    if (characters < 0)
        characters = 0;
    size_t capacity = (size_t)characters * (unicode ? 2 : 1);
    if (!unicode) {
        // A double-byte code page needs more bytes than characters.
        int ansiBytes = GetTextLength(GTL_USECRLF | GTL_PRECISE | GTL_NUMBYTES);
        if (ansiBytes > 0 && (size_t)ansiBytes > capacity)
            capacity = (size_t)ansiBytes;
    }
    if (capacity + 2 > MAXDWORD)
        return NULL;
    unsigned char* block = (unsigned char*)AllocZeroed(prefix + capacity + 2);
    if (!block)
        return NULL;

    GETTEXTEX* request = &App.TextRequest;
    request->cb = (DWORD)(capacity + 2);
    request->flags = App.LineFormat == DOS ? GT_USECRLF : GT_DEFAULT;
    request->codepage = unicode ? 1200 : CP_ACP;
    request->lpDefaultChar = NULL;
    request->lpUsedDefChar = NULL;
    LRESULT copied = SendMessageA(App.EditControl, EM_GETTEXTEX, (WPARAM)request,
                                  (LPARAM)(block + prefix));
    size_t textBytes = copied > 0 ? (size_t)copied * (unicode ? 2 : 1) : 0;
    if (textBytes > capacity)
        textBytes = capacity;
    if (App.LineFormat == UNIX)
        ReplaceCRWithLF(block + prefix, textBytes, unicode);
    if (unicode) {
        block[0] = 0xFF;
        block[1] = 0xFE;
    }
    *bytes = prefix + textBytes;
    return block;
}

static int WriteAll(HANDLE file, const unsigned char* data, size_t bytes)
{
    while (bytes > 0) {
        DWORD piece = bytes > WRITE_PIECE ? WRITE_PIECE : (DWORD)bytes;
        DWORD written = 0;
        if (!SaveWriter(file, data, piece, &written, NULL))
            return 0;
        if (written != piece) {
            SetLastError(ERROR_DISK_FULL);
            return 0;
        }
        data += piece;
        bytes -= piece;
    }
    return 1;
}

static void CloseFileHandle()
{
    if (App.FileHandle != INVALID_HANDLE_VALUE)
        CloseHandle(App.FileHandle);
    App.FileHandle = INVALID_HANDLE_VALUE;
}

// Creates an empty uniquely named file in the document's folder; 0 when
// the folder takes no new file (or its name is too long for one).
static int CreateTempBeside(const char* path, char* temp)
{
    char folder[MAX_PATH];
    const char* slash = strrchr(path, '\\');
    const char* other = strrchr(path, '/');
    if (other > slash)
        slash = other;
    if (!slash)
        lstrcpynA(folder, ".", MAX_PATH);
    else if ((size_t)(slash - path) + 1 < MAX_PATH - 14)
        lstrcpynA(folder, path, (int)(slash - path) + 2);
    else
        return 0;
    return GetTempFileNameA(folder, "scr", 0, temp) != 0;
}

// The old way, kept for folders that take no temporary file.
static int WriteInPlace(const char* path, const unsigned char* data, size_t bytes)
{
    App.FileHandle = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (App.FileHandle == INVALID_HANDLE_VALUE)
        return SAVE_OPEN_FAILED;
    int written = WriteAll(App.FileHandle, data, bytes) && SetEndOfFile(App.FileHandle);
    DWORD error = GetLastError();
    CloseFileHandle();
    SetLastError(error);
    return written ? SAVE_DONE : SAVE_WRITE_FAILED;
}

static int MoveIntoPlace(const char* temp, const char* path, int existed)
{
    if (existed) {
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesA(temp, (attributes & KEPT_ATTRIBUTES) | FILE_ATTRIBUTE_ARCHIVE);
        if (ReplaceFileA(path, temp, NULL, REPLACEFILE_IGNORE_MERGE_ERRORS, NULL, NULL))
            return 1;
    }
    return MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

static int WriteThroughTemp(const char* path, int existed, const char* temp,
                            const unsigned char* data, size_t bytes)
{
    App.FileHandle = CreateFileA(temp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (App.FileHandle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        DeleteFileA(temp);
        SetLastError(error);
        return SAVE_OPEN_FAILED;
    }
    int written = WriteAll(App.FileHandle, data, bytes) && FlushFileBuffers(App.FileHandle);
    DWORD error = GetLastError();
    if (!CloseHandle(App.FileHandle) && written) {
        written = 0;
        error = GetLastError();
    }
    App.FileHandle = INVALID_HANDLE_VALUE;
    if (written && MoveIntoPlace(temp, path, existed))
        return SAVE_DONE;
    if (written)
        error = GetLastError();
    // Should a failed replace have taken the old file away, the temporary
    // file holds the only copy of the text: keep it.
    if (!existed || GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        DeleteFileA(temp);
    SetLastError(error);
    return SAVE_WRITE_FAILED;
}

static int WriteDocumentFile(const char* path, int existed, const unsigned char* data, size_t bytes)
{
    char temp[MAX_PATH];
    if (!CreateTempBeside(path, temp))
        return WriteInPlace(path, data, bytes);
    return WriteThroughTemp(path, existed, temp, data, bytes);
}

static int SaveFailed(const char* message)
{
    ShowSystemError(message);
    SetStatusText(STATUS_MESSAGE, "");
    return 0;
}

static void FinishSave()
{
    SetEditModified(0);
    App.HasFile = 1;
    RefreshAfterEdit();
    SendMessageA(App.ToolBar, TB_ENABLEBUTTON, IDM_SAVE, MAKELPARAM(FALSE, 0));
    SetStatusText(STATUS_MESSAGE, "");
    _stat(App.FilePath, &App.FileStat);
    NoteRecentFile(App.FilePath);
}

int SaveDocument()
{
    const char* path = App.FilePath ? App.FilePath : "";
    if (RefuseDeviceName(path))
        return 0;
    int existed = 0;
    if (!CanWriteTarget(path, &existed)) {
        ShowSystemError("Can't open file for writing!");
        return 0;
    }
    SetStatusText(STATUS_MESSAGE, "Saving File...");
    size_t bytes = 0;
    unsigned char* data = FetchDocumentBytes(&bytes);
    if (!data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return SaveFailed("Error during save.");
    }
    int result = WriteDocumentFile(path, existed, data, bytes);
    DWORD error = GetLastError();
    FreeBlock(data);
    SetLastError(error);
    if (result == SAVE_OPEN_FAILED)
        return SaveFailed("Can't open file for writing!");
    if (result == SAVE_WRITE_FAILED)
        return SaveFailed("Error during save.");
    FinishSave();
    return 1;
}
