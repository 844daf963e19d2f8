// Where scrivlet.ini lives, and writes that only touch changed keys.
#ifndef SCRIVLET_INI_FILE_H
#define SCRIVLET_INI_FILE_H

#include <windows.h>

#define INI_PATH_SIZE 260

// The call that names the program's own file (GetModuleFileNameA); tests
// swap it for a path too long for the buffer.
typedef DWORD (WINAPI *ModuleFileNameFunction)(HMODULE module, LPSTR buffer, DWORD size);
extern ModuleFileNameFunction ModuleFileName;

// Full path of the program into buffer (INI_PATH_SIZE); returns the start of
// its file-name part inside buffer, or NULL on failure.
char* ModuleSiblingPath(char* buffer);
bool LocateIniFile(char* buffer);
void WriteIniIntIfChanged(const char* iniPath, const char* section, const char* key, int value,
                          int defaultValue);
void WriteIniStringIfChanged(const char* iniPath, const char* section, const char* key,
                             const char* defaultValue, const char* value);
// Lets one running copy at a time read, change and write the file; the
// writes below take it too, and the copy holding it may. NULL when it
// cannot be had, which UnlockIniFile accepts.
HANDLE LockIniFile(const char* iniPath);
void UnlockIniFile(HANDLE lock);
// Writes whatever the file holds. Every write of the INI file goes through
// these three, which let one running copy write at a time.
void WriteIniString(const char* iniPath, const char* section, const char* key, const char* value);

#endif
