// Line-number gutter painted inside the edit control.
#ifndef SCRIVLET_GUTTER_H
#define SCRIVLET_GUTTER_H

#include <windows.h>

LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void UpdateGutterWidth();
void PaintGutter(int full);

#endif
