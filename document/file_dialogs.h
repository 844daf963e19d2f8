// The shared Open/Save dialog record and its dialogs.
#ifndef SCRIVLET_FILE_DIALOGS_H
#define SCRIVLET_FILE_DIALOGS_H

#include <windows.h>
#include <commdlg.h>

#include "ground/app_state.h"

// Characters of the dialogs' file-name buffer: any path Windows takes.
#define DIALOG_FILE_CHARS PATH_CAPACITY

void BuildOpenFileName(OPENFILENAMEW* request);
int ShowSaveAsDialog();
// After a dialog that gave no name: a name longer than the buffer the
// system's dialog takes (older systems) is told; a cancel is not.
void ReportDialogNameTooLong();
UINT_PTR CALLBACK SaveAsHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void SelectFilterByExtension();

#endif
