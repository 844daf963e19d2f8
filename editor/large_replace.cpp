#include "editor/large_replace.h"

#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/helpers.h"
#include "views/caret_status.h"
#include "views/edit_window.h"
#include "views/menu_state.h"
#include "document/recovery.h"

#include <richedit.h>
#include <string.h>

// 2,000 breaks take Wine's control about a quarter of a second in place,
// and the time grows with the square of the breaks.
LONG LargeReplaceBreaks = 2000;

int IsLargeReplace(const wchar_t* text, const ReplacedSpan* span)
{
    LONG breaks = 0;
    for (LONG i = span->Start; i < span->End; i++)
        if (text[i] == L'\r' && ++breaks > LargeReplaceBreaks)
            return 1;
    return 0;
}

// The new text as the pieces it is made of, read out in turn by the stream.
#define STREAM_PIECES 3
struct TextPieces {
    const wchar_t* Text[STREAM_PIECES];
    LONG Length[STREAM_PIECES];
    int Index;
    LONG Offset;
};

static DWORD CALLBACK ReadPieces(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered)
{
    TextPieces* pieces = (TextPieces*)cookie;
    LONG room = wanted / (LONG)sizeof(wchar_t);
    LONG written = 0;
    while (written < room && pieces->Index < STREAM_PIECES) {
        LONG left = pieces->Length[pieces->Index] - pieces->Offset;
        if (left <= 0) {
            pieces->Index++;
            pieces->Offset = 0;
            continue;
        }
        LONG take = left < room - written ? left : room - written;
        memcpy(buffer + (size_t)written * sizeof(wchar_t), pieces->Text[pieces->Index] + pieces->Offset,
               (size_t)take * sizeof(wchar_t));
        pieces->Offset += take;
        written += take;
    }
    *delivered = written * (LONG)sizeof(wchar_t);
    return 0;
}

static void SetPieces(TextPieces* pieces, const wchar_t* first, LONG firstLength, const wchar_t* second,
                      LONG secondLength, const wchar_t* third, LONG thirdLength)
{
    memset(pieces, 0, sizeof(*pieces));
    pieces->Text[0] = first;
    pieces->Length[0] = firstLength;
    pieces->Text[1] = second;
    pieces->Length[1] = secondLength;
    pieces->Text[2] = third;
    pieces->Length[2] = thirdLength;
}

// A fresh control takes the text in one stream: no undo of its own, and
// neither painting nor notifications while it reads. 0 when no control
// could be made, with the old one still in place.
static int StreamIntoFreshControl(TextPieces* pieces)
{
    if (!PutFreshEditControl())
        return 0;
    HWND edit = App.EditControl;
    SendMessageA(edit, WM_SETREDRAW, FALSE, 0);
    SendMessageA(edit, EM_SETEVENTMASK, 0, ENM_LINK);
    EDITSTREAM stream;
    stream.dwCookie = (DWORD_PTR)pieces;
    stream.dwError = 0;
    stream.pfnCallback = ReadPieces;
    SendMessageA(edit, EM_STREAMIN, SF_TEXT | SF_UNICODE, (LPARAM)&stream);
    SendMessageA(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    return 1;
}

// Selection and first visible line as given (firstLine -1: the caret's
// line in view), then notifications and painting back on.
static void ShowStreamedText(CHARRANGE selection, LONG firstLine)
{
    HWND edit = App.EditControl;
    SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&selection);
    if (firstLine >= 0) {
        LONG now = (LONG)SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
        SendMessageA(edit, EM_LINESCROLL, 0, firstLine - now);
    } else {
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    }
    SendMessageA(edit, EM_SETEVENTMASK, 0, EDIT_EVENT_MASK);
    SendMessageA(edit, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(edit, NULL, TRUE);
    UpdateWindow(edit);
    RefreshAfterEdit();
    UpdateCaretStatus();
}

// Where the user stands in the shown text.
struct StandPoint {
    CHARRANGE Selection;
    LONG FirstLine;
    int Modified;
};

static StandPoint CurrentStandPoint()
{
    StandPoint point;
    point.Selection = GetEditSelection();
    point.FirstLine = (LONG)SendMessageA(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0);
    point.Modified = IsEditModified();
    return point;
}

// The text left behind, kept as the step of the given direction; the text
// the step held before is freed.
static void KeepStep(int state, wchar_t* text, LONG length, const StandPoint* left, int arrivedModified)
{
    OwnUndoStep* step = &App.OwnUndo;
    FreeBlock(step->Text);
    step->State = state;
    step->Text = text;
    step->Length = length;
    step->Selection = left->Selection;
    step->FirstLine = left->FirstLine;
    step->Modified = left->Modified;
    step->ArrivedModified = arrivedModified;
}

int ReplaceInFreshControl(wchar_t* text, LONG length, const ReplacedSpan* span)
{
    StandPoint before = CurrentStandPoint();
    TextPieces pieces;
    SetPieces(&pieces, text, span->Start, span->Text, span->TextLength, text + span->End, length - span->End);
    if (!StreamIntoFreshControl(&pieces))
        return 0;
    KeepStep(OWN_STEP_UNDO, text, length, &before, 1);
    SetEditModified(1);
    LONG caret = span->Start + span->TextLength;
    CHARRANGE after = {caret, caret};
    ShowStreamedText(after, -1);
    return 1;
}

// Swaps the shown text with the step's: the shown one becomes the step the
// other way. The step's side is unmodified only if it matched the file when
// it was left and no save came since (a save is what clears the flag of
// text that was not edited).
static void SwapOwnStep(int nextState)
{
    OwnUndoStep* step = &App.OwnUndo;
    LONG length = 0;
    wchar_t* shown = ReadWholeTextWide(&length);
    if (!shown) {
        ShowError("Not enough memory to undo.");
        return;
    }
    StandPoint left = CurrentStandPoint();
    TextPieces pieces;
    SetPieces(&pieces, step->Text, step->Length, NULL, 0, NULL, 0);
    if (!StreamIntoFreshControl(&pieces)) {
        FreeBlock(shown);
        ShowError("Not enough memory to undo.");
        return;
    }
    int savedSince = step->ArrivedModified && !left.Modified;
    int modified = savedSince ? 1 : step->Modified;
    SetEditModified(modified);
    CHARRANGE selection = step->Selection;
    LONG firstLine = step->FirstLine;
    KeepStep(nextState, shown, length, &left, modified);
    ShowStreamedText(selection, firstLine);
    // The swap sends no change notification: the recovery copy follows here.
    NoteRecoveryEdit();
}

void UndoEdit()
{
    if (EditCanUndo() && App.OwnUndo.State == OWN_STEP_UNDO)
        SwapOwnStep(OWN_STEP_REDO);
    else
        SendMessageA(App.EditControl, EM_UNDO, 0, 0);
}

void RedoEdit()
{
    if (EditCanRedo() && App.OwnUndo.State == OWN_STEP_REDO)
        SwapOwnStep(OWN_STEP_UNDO);
    else
        SendMessageA(App.EditControl, EM_REDO, 0, 0);
}
