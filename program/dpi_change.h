// The window moved to a monitor of another DPI, or the DPI changed.
#ifndef SCRIVLET_DPI_CHANGE_H
#define SCRIVLET_DPI_CHANGE_H

#include <windows.h>

// Takes the suggested rectangle and makes fonts, images and layout anew for
// dpi; the editor font keeps its size in points.
void OnDpiChanged(HWND window, int dpi, const RECT* suggested);
// Frees what was made for the DPI, when the window goes.
void ReleaseDpiResources();

#endif
