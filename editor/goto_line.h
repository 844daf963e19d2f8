// Go To Line: the dialog and the caret move behind it.
#ifndef SCRIVLET_GOTO_LINE_H
#define SCRIVLET_GOTO_LINE_H

#include <windows.h>

void GoToLine(int line);
INT_PTR CALLBACK GoToLineDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the Go To Line dialog (template 200) over the main window.
void ShowGoToLineDialog();

#endif
