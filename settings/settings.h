// The settings model: load at start-up, save from the options and at exit.
#ifndef SCRIVLET_SETTINGS_H
#define SCRIVLET_SETTINGS_H

#include <windows.h>
#include <richedit.h>

void LoadSettings();
// Sets the edit control's background, word wrap, URL detection and selection
// display from the settings.
void ApplyEditorLook();
// Sets the control's default character format to the editor font and colour;
// 0 when the control refuses it.
int ApplyEditorCharFormat();
void SaveOptionSettings();
void SaveExitSettings();
// Fills EditorLogFont from EditorCharFormat and copies its text colour into FontColor.
void DeriveEditorLogFont();

// Converts a restored rectangle in work-area coordinates to screen coordinates.
RECT WorkAreaToScreen(RECT normal, RECT workArea);

// The tab size a loaded value stands for: 2 to 9 as they are, anything else 8.
int ValidTabSize(int tabSize);

// The drawing form of a character format for a device with pixelsPerInch
// vertical pixels per logical inch (the work of DeriveEditorLogFont).
void BuildEditorLogFont(const CHARFORMATA* format, int pixelsPerInch, LOGFONTA* font);

#endif
