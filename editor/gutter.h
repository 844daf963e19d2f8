// Line-number gutter painted inside the edit control.
#ifndef SCRIVLET_GUTTER_H
#define SCRIVLET_GUTTER_H

#include <windows.h>

LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void UpdateGutterWidth();
void PaintGutter(int full);

// Width in pixels, in the editor font, of as many sevens as the number
// firstVisibleLine + 50 has digits (at least three).
int MeasureGutterDigits(LONG firstVisibleLine);
// The 1-based lines whose numbers are drawn in blue: those the selection
// touches, or the caret's line.
void HighlightedLines(LONG* first, LONG* last);

#endif
