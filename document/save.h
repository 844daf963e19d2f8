// Saving a document.
#ifndef SCRIVLET_SAVE_H
#define SCRIVLET_SAVE_H

#include <windows.h>

int SaveDocument();

// The call that writes the document's bytes (WriteFile). Tests swap it to
// force a failed or short write and check that the old file survives.
typedef BOOL (WINAPI *SaveWriteFunction)(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written,
                                         LPOVERLAPPED overlapped);
extern SaveWriteFunction SaveWriter;
// The calls that put the finished temporary file in the document's place
// (ReplaceFileW, MoveFileExW); tests swap them to make a replace fail.
typedef BOOL (WINAPI *SaveReplaceFunction)(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup,
                                           DWORD flags, LPVOID exclude, LPVOID reserved);
typedef BOOL (WINAPI *SaveMoveFunction)(LPCWSTR from, LPCWSTR to, DWORD flags);
extern SaveReplaceFunction SaveReplacer;
extern SaveMoveFunction SaveMover;

#endif
