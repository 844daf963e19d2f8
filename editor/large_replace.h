// Replace All over many lines.
// Wine's control spends time in proportion to the whole text for every line
// break a replacement removes, so above a number of breaks the replaced text
// goes into a fresh control in one linear stream-in instead.
#ifndef SCRIVLET_LARGE_REPLACE_H
#define SCRIVLET_LARGE_REPLACE_H

#include "editor/replace_text.h"

#include <windows.h>

// Above this many line breaks in the replaced span the control's own replace
// is too slow; tests lower it.
extern LONG LargeReplaceBreaks;

// Whether the span of text that Replace All changes holds more line breaks
// than LargeReplaceBreaks.
int IsLargeReplace(const wchar_t* text, const ReplacedSpan* span);

// Puts text (length characters) with the span replaced into a fresh control,
// the caret after the last replacement, and keeps text itself as the undo
// step: on 1 it belongs to the step. 0 when no fresh control could be made,
// with nothing changed.
int ReplaceInFreshControl(wchar_t* text, LONG length, const ReplacedSpan* span);

#endif
