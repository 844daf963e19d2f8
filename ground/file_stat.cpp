#include "ground/file_stat.h"

#include "text/extended_path.h"

#include <windows.h>
#include <string.h>

int StatFile(const wchar_t* path, struct _stat* stat)
{
    memset(stat, 0, sizeof(*stat));
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !path[0] ||
        !GetFileAttributesExW(ExtendedLengthPath(path).c_str(), GetFileExInfoStandard, &data))
        return -1;
    ULARGE_INTEGER written;
    written.LowPart = data.ftLastWriteTime.dwLowDateTime;
    written.HighPart = data.ftLastWriteTime.dwHighDateTime;
    // Seconds since 1970, as the C runtime counts them.
    const unsigned long long epoch = 116444736000000000ULL;
    stat->st_mtime = written.QuadPart >= epoch ? (time_t)((written.QuadPart - epoch) / 10000000ULL) : 0;
    stat->st_size = (_off_t)data.nFileSizeLow;
    stat->st_mode = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? _S_IFDIR : _S_IFREG;
    return 0;
}
