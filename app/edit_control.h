// Thin wrappers over the edit control's messages that many parts share.
#ifndef SCRIVLET_EDIT_CONTROL_H
#define SCRIVLET_EDIT_CONTROL_H

#include <windows.h>
#include <richedit.h>

// Text length in characters; GTL_DEFAULT counts a break as one, GTL_USECRLF as two.
int GetTextLength(int flags);
CHARRANGE GetEditSelection();
void SetEditSelection(LONG start, LONG end);
// Replaces the selection with ANSI text as one undo step.
void ReplaceEditSelection(const char* text);
int IsEditModified();
void SetEditModified(int modified);

#endif
