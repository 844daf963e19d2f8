// The shared Open/Save dialog record and its dialogs.
#ifndef SCRIVLET_FILE_DIALOGS_H
#define SCRIVLET_FILE_DIALOGS_H

#include <windows.h>
#include <commdlg.h>

// Characters of the dialogs' file-name buffer.
#define DIALOG_FILE_CHARS 260

void BuildOpenFileName(OPENFILENAMEA* request);
int ShowSaveAsDialog();
UINT_PTR CALLBACK SaveAsHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void SelectFilterByExtension();

// The 13-pair filter table, double-NUL terminated.
extern const char FileFilterTable[];
// 1-based index of the first pair whose patterns list the extension of path
// (text from its last dot on, case ignored), or 0 when none does.
int FilterIndexForPath(const char* path);

#endif
