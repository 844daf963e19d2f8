// Thin wrappers over the edit control's messages that many parts share.
#ifndef SCRIVLET_EDIT_CONTROL_H
#define SCRIVLET_EDIT_CONTROL_H

#include <windows.h>
#include <richedit.h>

// Text length in characters; GTL_DEFAULT counts a break as one, GTL_USECRLF as two.
int GetTextLength(int flags);
CHARRANGE GetEditSelection();
void SetEditSelection(LONG start, LONG end);
// Replaces the selection with text as one undo step.
void ReplaceEditSelection(const wchar_t* text);
// The control says so, or the text differs from the last save or load.
int IsEditModified();
// Unmodified also makes the text the one the next questions compare with.
void SetEditModified(int modified);

// Line arithmetic of the control; lines count from 0, -1 means the caret's line.
LONG EditLineFromChar(LONG position);
LONG EditLineIndex(LONG line);
LONG EditLineLength(LONG position);
// The lines a selection touches: the start of its first line and the number
// of its last line. A selection ending just after a paragraph mark does not
// take in the line that follows.
void TouchedLines(CHARRANGE selection, LONG* firstStart, LONG* lastLine);

// Text of the control from start to end, in a zero-filled block (free with
// FreeBlock); NULL when no memory is left.
wchar_t* ReadTextRange(LONG start, LONG end);
// Replaces the selection with text in the given code page (1200 for UTF-16)
// as one undo step.
void ReplaceSelectionText(const void* text, UINT codePage);
// The whole text in UTF-16, breaks as CR, in a zero-filled block (free with
// FreeBlock), its length in *length; NULL when no memory is left.
wchar_t* ReadWholeTextWide(LONG* length);

// Undo and Redo as the menus show them: the control's own, or the program's
// own step (App.OwnStepWaits), which an edit of the control's makes void.
int EditCanUndo();
int EditCanRedo();

#endif
