// The About box: icon, name and version, and three link labels.
#ifndef SCRIVLET_ABOUT_H
#define SCRIVLET_ABOUT_H

#include <windows.h>

// Runs the dialog modally over the main window.
void ShowAbout();
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
