#include "editor/own_undo.h"

#include "editor/fresh_text.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "recovery/recovery.h"
#include "text/memory.h"

#include <string.h>

// The text on the other side of the step, with where the user stood in it;
// App.OwnStepWaits says which way it waits.
struct OwnUndoStep {
    wchar_t* Text;                  // FreeBlock; NULL while no step waits
    LONG Length;
    CHARRANGE Selection;
    LONG FirstLine;
    int Modified;                   // its modified flag when it was left
    int ArrivedModified;            // the shown text's flag when it came in
};
static OwnUndoStep Step;

void ForgetOwnUndoStep()
{
    FreeBlock(Step.Text);
    memset(&Step, 0, sizeof(Step));
    App.OwnStepWaits = OWN_STEP_NONE;
}

void ForgetOwnStepBehindEdit()
{
    if (App.OwnStepWaits != OWN_STEP_NONE && SendMessageW(App.EditControl, EM_CANUNDO, 0, 0))
        ForgetOwnUndoStep();
}

int OwnUndoStepHoldsText()
{
    return Step.Text != NULL;
}

void KeepOwnUndoStep(int direction, wchar_t* text, LONG length, const StandPoint* left, int arrivedModified)
{
    OwnUndoStep* step = &Step;
    FreeBlock(step->Text);
    App.OwnStepWaits = direction;
    step->Text = text;
    step->Length = length;
    step->Selection = left->Selection;
    step->FirstLine = left->FirstLine;
    step->Modified = left->Modified;
    step->ArrivedModified = arrivedModified;
}

// Swaps the shown text with the step's: the shown one becomes the step the
// other way. The step's side is unmodified only if it matched the file when
// it was left and no save came since (a save is what clears the flag of
// text that was not edited).
static void SwapOwnStep(int nextDirection)
{
    OwnUndoStep* step = &Step;
    LONG length = 0;
    wchar_t* shown = ReadWholeTextWide(&length);
    if (!shown) {
        ShowError(L"Not enough memory to undo.");
        return;
    }
    StandPoint left = CurrentStandPoint();
    TextPieces pieces;
    SetPieces(&pieces, step->Text, step->Length, NULL, 0, NULL, 0);
    if (!StreamIntoFreshControl(&pieces)) {
        FreeBlock(shown);
        ShowError(L"Not enough memory to undo.");
        return;
    }
    int savedSince = step->ArrivedModified && !left.Modified;
    int modified = savedSince ? 1 : step->Modified;
    SetEditModified(modified);
    CHARRANGE selection = step->Selection;
    LONG firstLine = step->FirstLine;
    KeepOwnUndoStep(nextDirection, shown, length, &left, modified);
    ShowStreamedText(selection, firstLine);
    // The swap sends no change notification: the recovery copy follows here.
    NoteRecoveryEdit();
}

void UndoEdit()
{
    ForgetOwnStepBehindEdit();
    if (App.OwnStepWaits == OWN_STEP_UNDO)
        SwapOwnStep(OWN_STEP_REDO);
    else
        SendMessageW(App.EditControl, EM_UNDO, 0, 0);
}

void RedoEdit()
{
    ForgetOwnStepBehindEdit();
    if (App.OwnStepWaits == OWN_STEP_REDO)
        SwapOwnStep(OWN_STEP_UNDO);
    else
        SendMessageW(App.EditControl, EM_REDO, 0, 0);
}
