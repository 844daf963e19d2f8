// Where scrivlet.ini lives, and the two writes that touch only changed keys.
#include "settings/ini_file.h"

#include <windows.h>
#include <shlobj.h>
#include <io.h>
#include <stdlib.h>
#include <string.h>

char* ModuleSiblingPath(char* buffer)
{
    DWORD length = GetModuleFileNameA(NULL, buffer, INI_PATH_SIZE);
    // A full buffer means the name was cut short: it would name another file.
    if (length == 0 || length >= INI_PATH_SIZE)
        return NULL;
    char* namePart = NULL;
    length = GetFullPathNameA(buffer, INI_PATH_SIZE, buffer, &namePart);
    if (length == 0 || length >= INI_PATH_SIZE || !namePart)
        return NULL;
    return namePart;
}

// Appends tail when the whole of it fits; a cut-short path would name another file.
static bool AppendToPath(char* buffer, const char* tail)
{
    size_t used = strlen(buffer);
    size_t extra = strlen(tail);
    if (used + extra >= INI_PATH_SIZE)
        return false;
    memcpy(buffer + used, tail, extra + 1);
    return true;
}

// Appends a folder level and creates it when it does not exist yet.
static bool AppendFolder(char* buffer, const char* folder)
{
    if (!AppendToPath(buffer, folder))
        return false;
    if (_access(buffer, 0) == 0)
        return true;
    return CreateDirectoryA(buffer, NULL) != 0;
}

// A portable copy (its read-me beside the program) starts its settings file
// there on the first run, so it keeps them when carried to another machine.
// A folder that cannot be written leaves the settings to the per-user file.
static bool StartPortableIni(const char* iniPath, size_t folderLength)
{
    char readme[INI_PATH_SIZE];
    memcpy(readme, iniPath, folderLength);
    readme[folderLength] = 0;
    if (!AppendToPath(readme, "scrivlet-portable.txt") || _access(readme, 0) != 0)
        return false;
    HANDLE file = CreateFileA(iniPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// A folder in the INI file's place is no settings file: with one there,
// nothing is read and nothing written.
static bool IsFolder(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool LocateIniFile(char* buffer)
{
    // Beside the program, when the file is already there or a portable copy
    // starts it. When the program's own path cannot be had, go straight to
    // the per-user folder.
    char* namePart = ModuleSiblingPath(buffer);
    if (namePart) {
        *namePart = 0;
        size_t folderLength = (size_t)(namePart - buffer);
        if (AppendToPath(buffer, "scrivlet.ini")) {
            if (_access(buffer, 0) == 0)
                return !IsFolder(buffer);
            if (StartPortableIni(buffer, folderLength))
                return true;
        }
    }

    buffer[0] = 0;
    HRESULT result = SHGetFolderPathA(NULL, CSIDL_APPDATA, NULL, SHGFP_TYPE_CURRENT, buffer);
    if (FAILED(result) || buffer[0] == 0)
        return false;
    if (!AppendFolder(buffer, "\\Tolvek"))
        return false;
    if (!AppendFolder(buffer, "\\scrivlet"))
        return false;
    // The file itself is made by the first write.
    return AppendToPath(buffer, "\\scrivlet.ini") && !IsFolder(buffer);
}

void WriteIniIntIfChanged(const char* iniPath, const char* section, const char* key, int value,
                          int defaultValue)
{
    int stored = (int)GetPrivateProfileIntA(section, key, defaultValue, iniPath);
    if (stored == value)
        return;
    char text[34];
    _itoa(value, text, 10);
    WritePrivateProfileStringA(section, key, text, iniPath);
}

void WriteIniStringIfChanged(const char* iniPath, const char* section, const char* key,
                             const char* defaultValue, const char* value)
{
    char stored[100];
    GetPrivateProfileStringA(section, key, defaultValue, stored, (DWORD)sizeof(stored), iniPath);
    if (lstrcmpA(stored, value) == 0)
        return;
    WritePrivateProfileStringA(section, key, value, iniPath);
}
