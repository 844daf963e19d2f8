// Key handling in front of the edit control.
#ifndef SCRIVLET_KEYBOARD_H
#define SCRIVLET_KEYBOARD_H

#include <windows.h>
#include <richedit.h>

LRESULT FilterEditKey(MSGFILTER* filter);

// Spaces that reach the next tab stop from a 1-based column.
int SpacesToNextTabStop(int caretColumn, int tabSize);
// Length of the leading run of spaces and tabs of text.
size_t LeadingBlankLength(const wchar_t* text);

#endif
