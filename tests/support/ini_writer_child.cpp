// A child role of every test program: one of several processes that write
// the same INI file at once through the program's write primitives.
#include "settings/ini_file.h"

#include <stdio.h>
#include <string>

#define WRITER_KEYS 30

int RunIniWriterChild(const char* iniPath, int copy)
{
    // The arguments come in the code page; the tests' folders are ASCII.
    wchar_t path[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, iniPath, -1, path, MAX_PATH) == 0)
        return 1;
    wchar_t section[32];
    _snwprintf(section, 32, L"Copy%d", copy);
    section[31] = 0;
    for (int key = 0; key < WRITER_KEYS; key++) {
        std::wstring name = L"Key" + std::to_wstring(key);
        WriteIniIntIfChanged(path, section, name.c_str(), copy * 100 + key, -1);
        WriteIniStringIfChanged(path, L"Shared", L"Last", L"", section);
    }
    return 0;
}
