#include "document/load_stamp.h"

#include "ground/app_state.h"

static struct {
    WIN32_FILE_ATTRIBUTE_DATA Exact;   // to the file system's own precision
    struct _stat Watched;              // the form the file watch compares
} Stamp;

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
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &Stamp.Exact))
        ZeroMemory(&Stamp.Exact, sizeof(Stamp.Exact));
    if (_stat(path, &Stamp.Watched) != 0)
        ZeroMemory(&Stamp.Watched, sizeof(Stamp.Watched));
}

void KeepLoadStamp()
{
    App.FileStat = Stamp.Watched;
}

int LoadedFileChanged(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA now;
    // A file gone meanwhile is the file watch's question.
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &now))
        return 0;
    return CompareFileTime(&now.ftLastWriteTime, &Stamp.Exact.ftLastWriteTime) != 0 ||
           now.nFileSizeLow != Stamp.Exact.nFileSizeLow || now.nFileSizeHigh != Stamp.Exact.nFileSizeHigh;
}
