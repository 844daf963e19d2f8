// The main window and its three children.
#ifndef SCRIVLET_MAIN_WINDOW_H
#define SCRIVLET_MAIN_WINDOW_H

#include <windows.h>

int CreateMainWindow(HINSTANCE instance);
void LayoutMainWindow();
void SetAlwaysOnTop(int on);
// Right edges of the five status-bar parts for a client width.
void ComputeStatusEdges(int clientWidth, int edges[5]);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
