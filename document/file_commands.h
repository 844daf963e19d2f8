// File commands besides open and save, and the long-path conversion.
#ifndef SCRIVLET_FILE_COMMANDS_H
#define SCRIVLET_FILE_COMMANDS_H

#include <windows.h>

// Format commands 508, 509, 510.
void ChangeLineFormat(int format);

DWORD WINAPI ResolveLongPath(LPCSTR source, LPSTR destination, DWORD size);
DWORD WINAPI GetLongPathFallback(LPCSTR source, LPSTR destination, DWORD size);

#endif
