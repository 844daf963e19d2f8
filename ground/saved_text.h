// What the text was at the last save or load, kept as its length and a hash:
// the control may count an undo past that point as no change (Wine's does),
// and then only the text itself can tell that it differs from the file.
#ifndef SCRIVLET_SAVED_TEXT_H
#define SCRIVLET_SAVED_TEXT_H

// The control's text is now the saved or loaded one. Costs one pass over
// the text when there are steps to undo or redo.
void MarkSavePoint();
// The control's text is no longer comparable with any save point (a load
// streams in): until the next mark, the control's own flag alone counts.
void ForgetSavePoint();
// The text changed (an edit, an undo or a redo): the next question compares again.
void NoteTextChanged();
// The text differs from the one at the save point. Costs one pass over the
// text at the first question after a change that kept the length, none
// otherwise.
int TextDiffersFromSavePoint();

#endif
