// A text made of pieces put into a fresh edit control in one stream-in:
// linear where Wine's control is not, for texts too large to change in
// place (Replace All over many lines, and the own undo step it leaves).
#ifndef SCRIVLET_FRESH_TEXT_H
#define SCRIVLET_FRESH_TEXT_H

#include <windows.h>
#include <richedit.h>

// The new text as the pieces it is made of, read out in turn by the stream.
#define STREAM_PIECES 3
struct TextPieces {
    const wchar_t* Text[STREAM_PIECES];
    LONG Length[STREAM_PIECES];
    int Index;
    LONG Offset;
};
void SetPieces(TextPieces* pieces, const wchar_t* first, LONG firstLength, const wchar_t* second,
               LONG secondLength, const wchar_t* third, LONG thirdLength);

// A fresh control takes the text in one stream: no undo of its own, and
// neither painting nor notifications while it reads. 0 when no control
// could be made, with the old one still in place.
int StreamIntoFreshControl(TextPieces* pieces);
// Selection and first visible line as given (firstLine -1: the caret's
// line in view), then notifications and painting back on.
void ShowStreamedText(CHARRANGE selection, LONG firstLine);

// Where the user stands in the shown text.
struct StandPoint {
    CHARRANGE Selection;
    LONG FirstLine;
    int Modified;
};
StandPoint CurrentStandPoint();

#endif
