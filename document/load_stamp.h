// The file as it was when its load began: another program may rewrite it
// while it streams in, and the text would then splice two versions.
#ifndef SCRIVLET_LOAD_STAMP_H
#define SCRIVLET_LOAD_STAMP_H

#include <windows.h>

// Opens a file for loading, keeping other programs from writing it until it
// is closed; a file another program is already writing is opened beside it.
HANDLE OpenFileToLoad(const wchar_t* path, DWORD disposition, DWORD flags);
// Takes the stamp of the file whose load begins, and gives the watch its
// own form of it (App.FileStat), which it compares once the load is done.
void StampLoadedFile(const wchar_t* path);
// The file's time or size is no longer the stamp's.
int LoadedFileChanged(const wchar_t* path);

#endif
