// The encoding a file was reopened in, remembered per path in the INI file
// (a section of its own, so the recent-files entries and the copies that
// read them stay as they were), so the file opens in it again.
#ifndef SCRIVLET_RECENT_ENCODINGS_H
#define SCRIVLET_RECENT_ENCODINGS_H

#include <windows.h>

// The encoding (TextEncoding) and ANSI code page remembered for the path;
// 0 when none is, or what is there is not one this system can read.
int RecallFileEncoding(const wchar_t* path, int* encoding, UINT* codePage);
// Remembers the encoding for the path; entries of paths no longer in the
// recent-files list go.
void RememberFileEncoding(const wchar_t* path, int encoding, UINT codePage);
// After a save: a path with an encoding remembered keeps the one it was
// written in, so it opens in that one.
void UpdateRememberedEncoding(const wchar_t* path, int encoding, UINT codePage);

#endif
