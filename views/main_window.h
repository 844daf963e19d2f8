// The main window and its three children.
#ifndef SCRIVLET_MAIN_WINDOW_H
#define SCRIVLET_MAIN_WINDOW_H

#include <windows.h>

int CreateMainWindow(HINSTANCE instance);
void LayoutMainWindow();
void SetAlwaysOnTop(int on);
// Puts settings just read on the windows: the list menus, placement, bars,
// the editor's look and font, tab size and gutter.
void ShowReadSettings();


#endif
