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

#endif
