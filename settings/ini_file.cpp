// Where scrivlet.ini lives, and the two writes that touch only changed keys.
#include "settings/ini_file.h"

#include "text/text_hash.h"

#include <windows.h>
#include <shlobj.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

ModuleFileNameFunction ModuleFileName = GetModuleFileNameA;

char* ModuleSiblingPath(char* buffer)
{
    DWORD length = ModuleFileName(NULL, buffer, INI_PATH_SIZE);
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
#define INI_LOCK_WAIT_MS 10000

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

// Every running copy writes the same file, and each write rewrites all of
// it: two at once lose keys or leave broken lines. A mutex named after the
// file lets one write (its read, compare and rewrite) run at a time.
HANDLE LockIniFile(const char* iniPath)
{
    // One name for every spelling of the path: case and slashes aside.
    unsigned long long hash = HASH_START;
    for (const char* p = iniPath; *p; p++) {
        unsigned char c = (unsigned char)*p;
        if (c >= 'a' && c <= 'z')
            c = (unsigned char)(c - 'a' + 'A');
        if (c == '/')
            c = '\\';
        hash = ContinueHash(hash, &c, 1);
    }
    char name[48];
    _snprintf(name, sizeof(name), "scrivlet-ini-%08lx%08lx", (unsigned long)(hash >> 32),
              (unsigned long)(hash & 0xFFFFFFFFu));
    name[sizeof(name) - 1] = 0;
    HANDLE mutex = CreateMutexA(NULL, FALSE, name);
    if (!mutex)
        return NULL;
    // A copy that died holding it leaves it abandoned, which still grants it.
    // After a long wait the write goes ahead rather than being lost.
    DWORD waited = WaitForSingleObject(mutex, INI_LOCK_WAIT_MS);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return NULL;
    }
    return mutex;
}

void UnlockIniFile(HANDLE mutex)
{
    if (!mutex)
        return;
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

void WriteIniIntIfChanged(const char* iniPath, const char* section, const char* key, int value,
                          int defaultValue)
{
    HANDLE lock = LockIniFile(iniPath);
    int stored = (int)GetPrivateProfileIntA(section, key, defaultValue, iniPath);
    if (stored != value) {
        char text[34];
        _itoa(value, text, 10);
        WritePrivateProfileStringA(section, key, text, iniPath);
    }
    UnlockIniFile(lock);
}

void WriteIniStringIfChanged(const char* iniPath, const char* section, const char* key,
                             const char* defaultValue, const char* value)
{
    HANDLE lock = LockIniFile(iniPath);
    // Room for any value the program writes (paths, search texts) and one
    // more byte, so a longer stored value still reads as different.
    char stored[INI_PATH_SIZE + 2];
    GetPrivateProfileStringA(section, key, defaultValue, stored, (DWORD)sizeof(stored), iniPath);
    if (lstrcmpA(stored, value) != 0)
        WritePrivateProfileStringA(section, key, value, iniPath);
    UnlockIniFile(lock);
}

void WriteIniString(const char* iniPath, const char* section, const char* key, const char* value)
{
    HANDLE lock = LockIniFile(iniPath);
    WritePrivateProfileStringA(section, key, value, iniPath);
    UnlockIniFile(lock);
}
