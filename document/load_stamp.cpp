#include "document/load_stamp.h"

#include "ground/app_state.h"
#include "ground/file_stat.h"
#include "text/extended_path.h"

// To the file system's own precision; the watch keeps its own form in App.FileStat.
static WIN32_FILE_ATTRIBUTE_DATA Stamp;

HANDLE OpenFileToLoad(const wchar_t* name, DWORD disposition, DWORD flags)
{
    std::wstring path = ExtendedLengthPath(name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, disposition, flags, NULL);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION)
        file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, disposition,
                           flags, NULL);
    return file;
}

void StampLoadedFile(const wchar_t* path)
{
    if (!GetFileAttributesExW(ExtendedLengthPath(path).c_str(), GetFileExInfoStandard, &Stamp))
        ZeroMemory(&Stamp, sizeof(Stamp));
    StatFile(path, &App.FileStat);
}

int LoadedFileChanged(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA now;
    // A file gone meanwhile is the file watch's question.
    if (!GetFileAttributesExW(ExtendedLengthPath(path).c_str(), GetFileExInfoStandard, &now))
        return 0;
    return CompareFileTime(&now.ftLastWriteTime, &Stamp.ftLastWriteTime) != 0 ||
           now.nFileSizeLow != Stamp.nFileSizeLow || now.nFileSizeHigh != Stamp.nFileSizeHigh;
}
