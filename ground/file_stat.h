// The file system's record of a file by its wide name, of any length.
#ifndef SCRIVLET_FILE_STAT_H
#define SCRIVLET_FILE_STAT_H

#include <sys/stat.h>

// What _wstat gives (size, modification time, folder or file), also for a
// path longer than the C runtime takes; 0 on success, -1 when there is no
// such file.
int StatFile(const wchar_t* path, struct _stat* stat);

#endif
