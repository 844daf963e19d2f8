#include "ground/long_path.h"

#include <shlobj.h>

// The shell's own item for the path, turned back into a path, spells every
// component in its long form. Result in longPath (MAX_PATH characters: the
// shell of the systems that need this walk takes no longer ones).
static BOOL LongPathFromShell(IShellFolder* desktop, const wchar_t* fullPath, wchar_t* longPath)
{
    LPITEMIDLIST items = NULL;
    HRESULT parsed = desktop->ParseDisplayName(NULL, NULL, (LPWSTR)fullPath, NULL, &items, NULL);
    if (FAILED(parsed)) {
        SetLastError(HRESULT_FACILITY(parsed) == FACILITY_WIN32 ? (DWORD)HRESULT_CODE(parsed)
                                                                 : ERROR_INVALID_DATA);
        return FALSE;
    }
    BOOL converted = SHGetPathFromIDListW(items, longPath);
    if (!converted)
        SetLastError(ERROR_INVALID_DATA);
    IMalloc* shellMemory = NULL;
    if (SUCCEEDED(SHGetMalloc(&shellMemory)) && shellMemory) {
        shellMemory->Free(items);
        shellMemory->Release();
    }
    return converted;
}

DWORD WINAPI GetLongPathFallback(LPCWSTR source, LPWSTR destination, DWORD size)
{
    if (GetFileAttributesW(source) == INVALID_FILE_ATTRIBUTES)
        return 0;
    wchar_t fullPath[MAX_PATH];
    DWORD fullLength = GetFullPathNameW(source, MAX_PATH, fullPath, NULL);
    if (fullLength == 0)
        return 0;
    if (fullLength >= MAX_PATH) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return 0;
    }
    IShellFolder* desktop = NULL;
    if (FAILED(SHGetDesktopFolder(&desktop)) || !desktop)
        return 0;
    wchar_t longPath[MAX_PATH];
    longPath[0] = 0;
    DWORD result = 0;
    if (LongPathFromShell(desktop, fullPath, longPath)) {
        DWORD length = (DWORD)lstrlenW(longPath);
        if (length + 1 > size) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            result = length + 1;
        } else {
            lstrcpynW(destination, longPath, (int)(length + 1));
            result = length;
        }
    }
    desktop->Release();
    return result;
}
