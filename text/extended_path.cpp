#include "text/extended_path.h"

#include <windows.h>
#include <wchar.h>

static int IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

static int IsDriveLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

static std::wstring WithBackslashes(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

std::wstring ExtendedLengthPath(const wchar_t* path)
{
    if (!path)
        return std::wstring();
    if (wcslen(path) < MAX_PATH)
        return path;
    if (IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]))
        return L"\\\\?\\" + WithBackslashes(path);
    // "\\server\share": not "\\?\" nor "\\.\", which already say how to parse.
    if (IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] && path[2] != L'?' &&
        path[2] != L'.' && !IsSeparator(path[2]))
        return L"\\\\?\\UNC\\" + WithBackslashes(path + 2);
    return path;
}

std::wstring PathAsShown(const wchar_t* path)
{
    if (!path)
        return std::wstring();
    if (wcsncmp(path, L"\\\\?\\UNC\\", 8) == 0)
        return std::wstring(L"\\\\") + (path + 8);
    if (wcsncmp(path, L"\\\\?\\", 4) == 0 && IsDriveLetter(path[4]) && path[5] == L':')
        return path + 4;
    return path;
}
