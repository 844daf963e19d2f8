// The edit control's window: creating it, and swapping in a fresh one when a
// large text is to be thrown away.
#ifndef SCRIVLET_EDIT_WINDOW_H
#define SCRIVLET_EDIT_WINDOW_H

#include <windows.h>

// Above this many characters a fresh control replaces the old one instead of
// the old one being emptied: emptying a control of many lines takes time that
// grows much faster than the text, destroying it does not.
#define FRESH_CONTROL_CHARACTERS 65536

// A new RichEdit control with the editor's window id, styles, event mask,
// text limit and subclass; NULL if it could not be made.
HWND CreateEditControl(HINSTANCE instance);
// When the control holds more than FRESH_CONTROL_CHARACTERS, puts an empty
// control set up like it in its place and returns 1; otherwise leaves the
// control alone and returns 0.
int SwapInFreshEditControl();

#endif
