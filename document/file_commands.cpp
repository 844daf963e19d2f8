#include "document/file_commands.h"

#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "views/menu_state.h"
#include "ground/helpers.h"
#include "document/background_load.h"
#include "document/file_dialogs.h"
#include "document/load.h"
#include "document/title.h"
#include "document/stream_decoder.h"

#include <richedit.h>
#include <shellapi.h>
#include <shlobj.h>
#include <string.h>

void ChangeLineFormat(int format)
{
    if (format == App.LineFormat)
        return;
    // The text stays; the next save writes the new line endings. Chosen
    // here, mixed endings becoming uniform needs no question at the save.
    SetLineFormat(format);
    App.AcceptedChanges |= CHANGE_LINE_ENDINGS;
    SetEditModified(1);
    RefreshAfterEdit();
}

void ReloadDocument()
{
    if (!App.HasFile)
        return;
    CHARRANGE selection;
    SendMessageA(App.EditControl, EM_EXGETSEL, 0, (LPARAM)&selection);
    // The load asks about unsaved changes first, so no edit is lost unasked.
    char path[APP_PATH_SIZE];
    lstrcpynA(path, App.FilePath, APP_PATH_SIZE);
    OpenDocument(path);
    SelectWhenLoaded(selection);
}

void ShowFileProperties()
{
    if (!App.HasFile)
        return;
    SHELLEXECUTEINFOA request;
    memset(&request, 0, sizeof(request));
    request.cbSize = sizeof(request);
    request.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.hwnd = App.MainWindow;
    request.lpVerb = "properties";
    request.lpFile = App.FilePath;
    ShellExecuteExA(&request);
    if (request.hProcess)
        CloseHandle(request.hProcess);
}

void ExecuteDocument()
{
    // An untitled document may still hold the name of a deleted file.
    if (!App.HasFile)
        return;
    if (QuerySaveChanges() == IDCANCEL)
        return;
    OpenWithShell(App.MainWindow, App.FilePath);
}

void InsertFileAtSelection()
{
    OPENFILENAMEA request;
    BuildOpenFileName(&request);
    request.lpstrTitle = "Insert File";
    // The chosen file's text goes in as ANSI; the document keeps its own
    // name, encoding and line format.
    if (request.lpstrFile && Prompts.OpenFile(&request))
        LoadFile(request.lpstrFile, LOAD_INSERT_MODE);
    FreeBlock(request.lpstrFile);
}

DWORD WINAPI ResolveLongPath(LPCSTR source, LPSTR destination, DWORD size)
{
    // Decided once: older systems lack the function or only stub it.
    HMODULE kernel = GetModuleHandleA("KERNEL32");
    FARPROC found = kernel ? GetProcAddress(kernel, "GetLongPathNameA") : NULL;
    if (found) {
        LongPathFunction system = (LongPathFunction)(void (*)(void))found;
        DWORD result = system(source, destination, size);
        if (result != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
            App.GetLongPath = system;
            return result;
        }
    }
    App.GetLongPath = GetLongPathFallback;
    return GetLongPathFallback(source, destination, size);
}

// The shell's own item for the path, turned back into a path, spells every
// component in its long form. Result in longPath (MAX_PATH characters).
static BOOL LongPathFromShell(IShellFolder* desktop, const char* fullPath, char* longPath)
{
    WCHAR wide[MAX_PATH];
    UINT codePage = AreFileApisANSI() ? CP_ACP : CP_OEMCP;
    if (MultiByteToWideChar(codePage, 0, fullPath, -1, wide, MAX_PATH) == 0) {
        if (GetLastError() == ERROR_INSUFFICIENT_BUFFER)
            SetLastError(ERROR_BUFFER_OVERFLOW);
        return FALSE;
    }
    LPITEMIDLIST items = NULL;
    HRESULT parsed = desktop->ParseDisplayName(NULL, NULL, wide, NULL, &items, NULL);
    if (FAILED(parsed)) {
        SetLastError(HRESULT_FACILITY(parsed) == FACILITY_WIN32 ? (DWORD)HRESULT_CODE(parsed)
                                                                 : ERROR_INVALID_DATA);
        return FALSE;
    }
    BOOL converted = SHGetPathFromIDListA(items, longPath);
    if (!converted)
        SetLastError(ERROR_INVALID_DATA);
    IMalloc* shellMemory = NULL;
    if (SUCCEEDED(SHGetMalloc(&shellMemory)) && shellMemory) {
        shellMemory->Free(items);
        shellMemory->Release();
    }
    return converted;
}

DWORD WINAPI GetLongPathFallback(LPCSTR source, LPSTR destination, DWORD size)
{
    if (GetFileAttributesA(source) == INVALID_FILE_ATTRIBUTES)
        return 0;
    char fullPath[MAX_PATH];
    DWORD fullLength = GetFullPathNameA(source, MAX_PATH, fullPath, NULL);
    if (fullLength == 0)
        return 0;
    if (fullLength >= MAX_PATH) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return 0;
    }
    IShellFolder* desktop = NULL;
    if (FAILED(SHGetDesktopFolder(&desktop)) || !desktop)
        return 0;
    char longPath[MAX_PATH];
    longPath[0] = 0;
    DWORD result = 0;
    if (LongPathFromShell(desktop, fullPath, longPath)) {
        DWORD length = (DWORD)lstrlenA(longPath);
        if (length + 1 > size) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            result = length + 1;
        } else {
            lstrcpynA(destination, longPath, (int)(length + 1));
            result = length;
        }
    }
    desktop->Release();
    return result;
}
