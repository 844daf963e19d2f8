// The program's own one-step undo of a Replace All too large for the control
// to take in place: the text on the other side of the step, swapped in and
// out through a fresh control. An edit of the control's makes it void.
#ifndef SCRIVLET_OWN_UNDO_H
#define SCRIVLET_OWN_UNDO_H

#include "editor/fresh_text.h"

#include <windows.h>

// Keeps text (length characters, a block the step now owns) as the step of
// the given direction (OwnStep), with where the user stood; the text the
// step held before is freed.
void KeepOwnUndoStep(int direction, wchar_t* text, LONG length, const StandPoint* left, int arrivedModified);
void ForgetOwnUndoStep();
// An edit the control can undo came after the step: the step goes.
void ForgetOwnStepBehindEdit();
// The step's text is held (freed with the step).
int OwnUndoStepHoldsText();

// Undo and Redo of the menus, toolbar and keys: the program's own step while
// there is one, else the control's.
void UndoEdit();
void RedoEdit();

#endif
