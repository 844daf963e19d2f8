// The settings model: read at start-up, saved from the options and at exit.
#ifndef SCRIVLET_SETTINGS_H
#define SCRIVLET_SETTINGS_H

#include <windows.h>
#include <richedit.h>

// Every key into the records (Config, the search texts, the lists), with
// unusable values back at their defaults; no window is touched.
void ReadSettings(int dpi);
// The keys the Options sheet sets, into the INI file at ini.
void SaveOptionSettings(const wchar_t* ini);
// placement: the main window's, or NULL when it could not be had.
void SaveExitSettings(const WINDOWPLACEMENT* placement);

// Converts a restored rectangle in work-area coordinates to screen coordinates.
RECT WorkAreaToScreen(RECT normal, RECT workArea);

// The tab size a loaded value stands for: 2 to 9 as they are, anything else 8.
int ValidTabSize(int tabSize);
// An Appearance as read; anything else follows Windows.
int ValidAppearance(int appearance);


#endif
