// The Open and Save dialogs' file types, and which one a name belongs to.
#ifndef SCRIVLET_FILE_FILTER_H
#define SCRIVLET_FILE_FILTER_H

// The 13-pair filter table, double-NUL terminated.
extern const wchar_t FileFilterTable[];
// 1-based index of the first pair whose patterns list the extension of path
// (text from its last dot on, case ignored), or 0 when none does.
int FilterIndexForPath(const wchar_t* path);

#endif
