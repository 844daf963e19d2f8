#include "document/load_stamp.h"

#include "ground/app_state.h"

// To the file system's own precision; the watch keeps its own form in App.FileStat.
static WIN32_FILE_ATTRIBUTE_DATA Stamp;

HANDLE OpenFileToLoad(const char* path, DWORD disposition, DWORD flags)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, disposition, flags, NULL);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION)
        file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, disposition, flags,
                           NULL);
    return file;
}

void StampLoadedFile(const char* path)
{
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &Stamp))
        ZeroMemory(&Stamp, sizeof(Stamp));
    if (_stat(path, &App.FileStat) != 0)
        ZeroMemory(&App.FileStat, sizeof(App.FileStat));
}

int LoadedFileChanged(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA now;
    // A file gone meanwhile is the file watch's question.
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &now))
        return 0;
    return CompareFileTime(&now.ftLastWriteTime, &Stamp.ftLastWriteTime) != 0 ||
           now.nFileSizeLow != Stamp.nFileSizeLow || now.nFileSizeHigh != Stamp.nFileSizeHigh;
}
