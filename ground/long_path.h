// The long form of a path (no 8.3 short names) through the shell, for
// systems without a working call of their own.
#ifndef SCRIVLET_LONG_PATH_H
#define SCRIVLET_LONG_PATH_H

#include <windows.h>

DWORD WINAPI GetLongPathFallback(LPCWSTR source, LPWSTR destination, DWORD size);

#endif
