// The settings model: load at start-up, save from the options and at exit.
#ifndef SCRIVLET_SETTINGS_H
#define SCRIVLET_SETTINGS_H

#include <windows.h>

void LoadSettings();
void SaveOptionSettings();
void SaveExitSettings();
void DeriveEditorLogFont();

// Converts a restored rectangle in work-area coordinates to screen coordinates.
RECT WorkAreaToScreen(RECT normal, RECT workArea);

#endif
