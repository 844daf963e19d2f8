// Find and replace through the system's modeless Find and Replace dialogs.
#ifndef SCRIVLET_FIND_REPLACE_H
#define SCRIVLET_FIND_REPLACE_H

#include <windows.h>
#include <commdlg.h>

void OpenFindDialog();
void OpenReplaceDialog();
// Search with the last dialog's text and options: Find Next in the dialog's
// direction, Find Previous against it.
void FindNext();
void FindPrevious();
// The registered "commdlg_FindReplace" message from either dialog.
LRESULT OnFindReplaceMessage(FINDREPLACEW* request);
// Replace All over the whole document as one edit; returns the count, or
// -1 when memory ran out (the user has been told).
int ReplaceAll(const wchar_t* find, const wchar_t* replacement, DWORD flags);

#endif
