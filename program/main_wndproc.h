// The main window's procedure: every message of the main window, each passed
// to the handler that owns it.
#ifndef SCRIVLET_MAIN_WNDPROC_H
#define SCRIVLET_MAIN_WNDPROC_H

#include <windows.h>

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
