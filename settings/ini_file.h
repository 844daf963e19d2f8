// Where scrivlet.ini lives, and writes that only touch changed keys.
#ifndef SCRIVLET_INI_FILE_H
#define SCRIVLET_INI_FILE_H

#include "ground/app_state.h"

#include <windows.h>

// Characters of an INI path buffer: any path Windows takes.
#define INI_PATH_SIZE PATH_CAPACITY

// The call that names the program's own file (GetModuleFileNameW); tests
// swap it for a path too long for the buffer.
typedef DWORD (WINAPI *ModuleFileNameFunction)(HMODULE module, LPWSTR buffer, DWORD size);
extern ModuleFileNameFunction ModuleFileName;

// Full path of the program into buffer (INI_PATH_SIZE); returns the start of
// its file-name part inside buffer, or NULL on failure.
wchar_t* ModuleSiblingPath(wchar_t* buffer);
bool LocateIniFile(wchar_t* buffer);
void WriteIniIntIfChanged(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, int value,
                          int defaultValue);
void WriteIniStringIfChanged(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key,
                             const wchar_t* defaultValue, const wchar_t* value);
// Lets one running copy at a time read, change and write the file; the
// writes below take it too, and the copy holding it may. NULL when it
// cannot be had, which UnlockIniFile accepts.
HANDLE LockIniFile(const wchar_t* iniPath);
void UnlockIniFile(HANDLE lock);
// The lock's name: the same for every spelling of the path (case, slashes)
// and, for a path the code page can spell, the one earlier versions used.
void IniLockName(const wchar_t* iniPath, wchar_t* name, size_t size);
// Writes whatever the file holds. Every write of the INI file goes through
// these three, which let one running copy write at a time.
void WriteIniString(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, const wchar_t* value);
// Makes the file one the profile functions write in UTF-16 (they write so
// when it begins with the UTF-16 mark): a missing or empty file gets the
// mark, a file in the code page or in UTF-8 with its mark is rewritten as
// the mark and UTF-16 with every line kept. The writes above call it under
// the lock; 0 when the file could not be made so (it is left as it was).
int MakeIniUnicode(const wchar_t* iniPath);

#endif
