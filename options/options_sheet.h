// The Options property sheet: a General and an Editor page over the main window.
#ifndef SCRIVLET_OPTIONS_SHEET_H
#define SCRIVLET_OPTIONS_SHEET_H

#include <windows.h>

// Runs the sheet modally; returns when it closes.
void ShowOptions(HWND owner);
INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK EditorPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
// Moves window so that its centre lies on the main window's centre.
void CenterOverMainWindow(HWND window);
// The font chooser, started from the pending font; OK makes its choice pending.
void ChooseEditorFont(HWND owner);
// Writes the options to the INI file, when there is one, with the status bar
// saying so meanwhile.
void SaveOptions();
// Applies EditorLogFont at the pending point size as the control's default format.
void ApplyEditorFont();

#endif
