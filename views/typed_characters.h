// Characters typed as whole code points (WM_UNICHAR), which the edit
// control takes as UTF-16 units.
#ifndef SCRIVLET_TYPED_CHARACTERS_H
#define SCRIVLET_TYPED_CHARACTERS_H

#include <windows.h>

// The control's answer to WM_UNICHAR: TRUE to UNICODE_NOCHAR (the window
// takes such characters); any other code point reaches the control as one
// WM_CHAR, or as the two of its surrogate pair above U+FFFF, the way the
// keyboard delivers it, so the keyboard filter and the control's own typing
// see it as they see any key.
LRESULT PassUnicodeCharacter(HWND window, WPARAM codePoint, LPARAM keyData);

// The UTF-16 units of a code point into units (room for two); returns how
// many, 0 for no character (above U+10FFFF, or a lone surrogate).
int CodePointUnits(unsigned int codePoint, wchar_t* units);

#endif
