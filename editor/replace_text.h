// Replace All as a pure text transform, so one pass over the text does the
// whole job and the control takes the result as a single edit.
#ifndef SCRIVLET_REPLACE_TEXT_H
#define SCRIVLET_REPLACE_TEXT_H

#include <windows.h>

// The part of a text that Replace All changes: from the first match's start
// to the last match's end, and what takes its place.
struct ReplacedSpan {
    LONG Start;
    LONG End;
    wchar_t* Text;     // zero-filled block (FreeBlock), NULL when nothing matched
    LONG TextLength;
};

// Replaces every match of find in text (length characters) by replacement,
// left to right, each search resuming right after the previous replacement, so
// a replacement that contains the find text is never searched again. flags:
// FR_MATCHCASE and FR_WHOLEWORD as the control's own search takes them.
// Returns the number of matches (the span is filled when there is one), or
// -1 when no memory is left.
int ReplaceAllInText(const wchar_t* text, LONG length, const wchar_t* find, const wchar_t* replacement,
                     DWORD flags, ReplacedSpan* span);

#endif
