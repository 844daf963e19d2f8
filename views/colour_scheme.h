// The colours painted now, and putting them on the editor, gutter, status
// bar and title bar; followed live when Windows changes its look.
#ifndef SCRIVLET_COLOUR_SCHEME_H
#define SCRIVLET_COLOUR_SCHEME_H

#include "ground/painted_colours.h"

// From the Settings' colours and appearance and App.Look. The Settings keep
// the user's colours whatever is painted, so the INI never gets others.
PaintedColours CurrentColours();
// Puts the current colours on the edit control (background, text), the
// gutter, the status bar and the title bar.
void ApplyColourScheme();
// Reads the system's look again through the seam and applies it.
void FollowSystemLook();
// A WM_SETTINGCHANGE's area names a change of the look (dark apps or high
// contrast), or a WM_SYSCOLORCHANGE came.
int IsLookChange(UINT message, WPARAM wParam, const wchar_t* area);
// Asks the window manager for a dark or light title bar: attribute 20, else
// the older 19; returns the attribute that took, 0 when neither did.
int ApplyDarkTitleBar(HWND window, int dark);
// The main window's title bar dark or light, asked for only when it changes.
void ShowTitleBarDark(int dark);

#endif
