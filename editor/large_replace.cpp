#include "editor/large_replace.h"

#include "editor/fresh_text.h"
#include "editor/own_undo.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "recovery/recovery.h"
#include "text/memory.h"
#include "views/caret_status.h"
#include "views/edit_window.h"
#include "views/menu_state.h"

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

int ReplaceInFreshControl(wchar_t* text, LONG length, const ReplacedSpan* span)
{
    StandPoint before = CurrentStandPoint();
    TextPieces pieces;
    SetPieces(&pieces, text, span->Start, span->Text, span->TextLength, text + span->End, length - span->End);
    if (!StreamIntoFreshControl(&pieces))
        return 0;
    KeepOwnUndoStep(OWN_STEP_UNDO, text, length, &before, 1);
    SetEditModified(1);
    LONG caret = span->Start + span->TextLength;
    CHARRANGE after = {caret, caret};
    ShowStreamedText(after, -1);
    return 1;
}
