// Where scrivlet.ini lives, and the two writes that touch only changed keys.
#include "settings/ini_file.h"

#include "text/memory.h"
#include "text/text_hash.h"

#include <windows.h>
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

ModuleFileNameFunction ModuleFileName = GetModuleFileNameW;

wchar_t* ModuleSiblingPath(wchar_t* buffer)
{
    DWORD length = ModuleFileName(NULL, buffer, INI_PATH_SIZE);
    // A full buffer means the name was cut short: it would name another file.
    if (length == 0 || length >= INI_PATH_SIZE)
        return NULL;
    wchar_t* namePart = NULL;
    length = GetFullPathNameW(buffer, INI_PATH_SIZE, buffer, &namePart);
    if (length == 0 || length >= INI_PATH_SIZE || !namePart)
        return NULL;
    return namePart;
}

// Appends tail when the whole of it fits; a cut-short path would name another file.
#define INI_LOCK_WAIT_MS 10000

static bool AppendToPath(wchar_t* buffer, const wchar_t* tail)
{
    size_t used = wcslen(buffer);
    size_t extra = wcslen(tail);
    if (used + extra >= INI_PATH_SIZE)
        return false;
    memcpy(buffer + used, tail, (extra + 1) * sizeof(wchar_t));
    return true;
}

static bool Exists(const wchar_t* path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// Appends a folder level and creates it when it does not exist yet.
static bool AppendFolder(wchar_t* buffer, const wchar_t* folder)
{
    if (!AppendToPath(buffer, folder))
        return false;
    if (Exists(buffer))
        return true;
    return CreateDirectoryW(buffer, NULL) != 0;
}

// A portable copy (its read-me beside the program) starts its settings file
// there on the first run, so it keeps them when carried to another machine.
// A folder that cannot be written leaves the settings to the per-user file.
static bool StartPortableIni(const wchar_t* iniPath, size_t folderLength)
{
    PathBuffer readme;
    memcpy(readme, iniPath, folderLength * sizeof(wchar_t));
    readme[folderLength] = 0;
    if (!AppendToPath(readme, L"scrivlet-portable.txt") || !Exists(readme))
        return false;
    HANDLE file = CreateFileW(iniPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// A folder in the INI file's place is no settings file: with one there,
// nothing is read and nothing written.
static bool IsFolder(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool LocateIniFile(wchar_t* buffer)
{
    // Beside the program, when the file is already there or a portable copy
    // starts it. When the program's own path cannot be had, go straight to
    // the per-user folder.
    wchar_t* namePart = ModuleSiblingPath(buffer);
    if (namePart) {
        *namePart = 0;
        size_t folderLength = (size_t)(namePart - buffer);
        if (AppendToPath(buffer, L"scrivlet.ini")) {
            if (Exists(buffer))
                return !IsFolder(buffer);
            if (StartPortableIni(buffer, folderLength))
                return true;
        }
    }

    buffer[0] = 0;
    HRESULT result = SHGetFolderPathW(NULL, CSIDL_APPDATA, NULL, SHGFP_TYPE_CURRENT, buffer);
    if (FAILED(result) || buffer[0] == 0)
        return false;
    if (!AppendFolder(buffer, L"\\Tolvek"))
        return false;
    if (!AppendFolder(buffer, L"\\scrivlet"))
        return false;
    // The file itself is made by the first write.
    return AppendToPath(buffer, L"\\scrivlet.ini") && !IsFolder(buffer);
}

// Every running copy writes the same file, and each write rewrites all of
// it: two at once lose keys or leave broken lines. A mutex named after the
// file lets one write (its read, compare and rewrite) run at a time.
// Earlier versions hashed the path's bytes in the system code page, so a
// path the code page spells is hashed so still (the code page is used here
// only to agree with them); any other path is hashed as UTF-16.
void IniLockName(const wchar_t* iniPath, wchar_t* name, size_t size)
{
    int units = (int)wcslen(iniPath);
    BOOL lossy = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, iniPath, units, NULL, 0, NULL, &lossy);
    unsigned char* bytes = NULL;
    size_t count = 0;
    if (!lossy && length > 0) {
        bytes = (unsigned char*)AllocZeroed((size_t)length);
        if (bytes)
            count = (size_t)WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, iniPath, units, (char*)bytes,
                                                length, NULL, NULL);
    } else if (units > 0) {
        count = (size_t)units * sizeof(wchar_t);
        bytes = (unsigned char*)AllocZeroed(count);
        if (bytes)
            memcpy(bytes, iniPath, count);
    }
    // One name for every spelling of the path: case and slashes aside.
    unsigned long long hash = HASH_START;
    for (size_t i = 0; bytes && i < count; i++) {
        unsigned char c = bytes[i];
        if (c >= 'a' && c <= 'z')
            c = (unsigned char)(c - 'a' + 'A');
        if (c == '/')
            c = '\\';
        hash = ContinueHash(hash, &c, 1);
    }
    FreeBlock(bytes);
    _snwprintf(name, size, L"scrivlet-ini-%08lx%08lx", (unsigned long)(hash >> 32),
               (unsigned long)(hash & 0xFFFFFFFFu));
    name[size - 1] = 0;
}

HANDLE LockIniFile(const wchar_t* iniPath)
{
    wchar_t name[48];
    IniLockName(iniPath, name, 48);
    HANDLE mutex = CreateMutexW(NULL, FALSE, name);
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

// The file's bytes (none for a file not there yet); false when it cannot be read.
static bool ReadIniBytes(const wchar_t* iniPath, unsigned char** bytes, DWORD* count)
{
    *bytes = NULL;
    *count = 0;
    HANDLE file = CreateFileW(iniPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    DWORD size = GetFileSize(file, NULL);
    bool read = false;
    if (size != INVALID_FILE_SIZE && size < 0x10000000u) {
        *bytes = (unsigned char*)AllocZeroed((size_t)size + 2);
        read = *bytes && ReadFile(file, *bytes, size, count, NULL) && *count == size;
    }
    CloseHandle(file);
    return read;
}

// The whole text as the mark and UTF-16, through a temporary file beside
// it and a rename, so a failure leaves the old file whole.
static int WriteUnicodeIni(const wchar_t* iniPath, const wchar_t* text, int units)
{
    size_t length = wcslen(iniPath);
    wchar_t* temporary = (wchar_t*)AllocZeroed((length + 8) * sizeof(wchar_t));
    if (!temporary)
        return 0;
    memcpy(temporary, iniPath, length * sizeof(wchar_t));
    memcpy(temporary + length, L".new", 5 * sizeof(wchar_t));
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    int done = file != INVALID_HANDLE_VALUE;
    if (done) {
        static const unsigned char mark[] = {0xFF, 0xFE};
        DWORD written = 0;
        DWORD bytes = (DWORD)units * sizeof(wchar_t);
        done = WriteFile(file, mark, 2, &written, NULL) && written == 2 &&
               (bytes == 0 || (WriteFile(file, text, bytes, &written, NULL) && written == bytes));
        done = CloseHandle(file) && done;
        done = done && MoveFileExW(temporary, iniPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!done)
            DeleteFileW(temporary);
    }
    FreeBlock(temporary);
    return done;
}

// Already UTF-16 (either order), which the profile functions keep: asked
// at every write, so only the mark is read.
static bool StartsAsUtf16(const wchar_t* iniPath)
{
    HANDLE file = CreateFileW(iniPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char mark[2];
    DWORD got = 0;
    bool utf16 = ReadFile(file, mark, 2, &got, NULL) && got == 2 &&
                 ((mark[0] == 0xFF && mark[1] == 0xFE) || (mark[0] == 0xFE && mark[1] == 0xFF));
    CloseHandle(file);
    return utf16;
}

int MakeIniUnicode(const wchar_t* iniPath)
{
    if (StartsAsUtf16(iniPath))
        return 1;
    unsigned char* bytes = NULL;
    DWORD count = 0;
    if (!ReadIniBytes(iniPath, &bytes, &count))
        return 0;
    // An ANSI file's bytes are in the code page the profile functions read
    // it in; a UTF-8 mark is read as such by some systems' functions, and
    // kept so here.
    UINT codePage = CP_ACP;
    DWORD start = 0;
    if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        codePage = CP_UTF8;
        start = 3;
    }
    int units = count > start ? MultiByteToWideChar(codePage, 0, (const char*)bytes + start, (int)(count - start),
                                                    NULL, 0)
                              : 0;
    wchar_t* text = (wchar_t*)AllocZeroed(((size_t)units + 1) * sizeof(wchar_t));
    int made = 0;
    if (text && (units == 0 || MultiByteToWideChar(codePage, 0, (const char*)bytes + start, (int)(count - start),
                                                   text, units) == units))
        made = WriteUnicodeIni(iniPath, text, units);
    FreeBlock(text);
    FreeBlock(bytes);
    return made;
}

void WriteIniIntIfChanged(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, int value,
                          int defaultValue)
{
    HANDLE lock = LockIniFile(iniPath);
    int stored = (int)GetPrivateProfileIntW(section, key, defaultValue, iniPath);
    if (stored != value) {
        wchar_t text[34];
        _itow(value, text, 10);
        MakeIniUnicode(iniPath);
        WritePrivateProfileStringW(section, key, text, iniPath);
    }
    UnlockIniFile(lock);
}

void WriteIniStringIfChanged(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key,
                             const wchar_t* defaultValue, const wchar_t* value)
{
    HANDLE lock = LockIniFile(iniPath);
    // Room for any value the program writes (paths, search texts) and one
    // more character, so a longer stored value still reads as different.
    std::wstring stored(INI_PATH_SIZE + 2, L'\0');
    GetPrivateProfileStringW(section, key, defaultValue, &stored[0], INI_PATH_SIZE + 2, iniPath);
    if (lstrcmpW(stored.c_str(), value) != 0) {
        MakeIniUnicode(iniPath);
        WritePrivateProfileStringW(section, key, value, iniPath);
    }
    UnlockIniFile(lock);
}

void WriteIniString(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, const wchar_t* value)
{
    HANDLE lock = LockIniFile(iniPath);
    MakeIniUnicode(iniPath);
    WritePrivateProfileStringW(section, key, value, iniPath);
    UnlockIniFile(lock);
}
