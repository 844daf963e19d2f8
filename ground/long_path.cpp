#include "ground/long_path.h"

#include <shlobj.h>

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
