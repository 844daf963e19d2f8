#include "ground/edit_control.h"

#include "ground/app_state.h"
#include "ground/saved_text.h"
#include "text/memory.h"

#include <string.h>

int GetTextLength(int flags)
{
    GETTEXTLENGTHEX request;
    request.flags = (DWORD)flags;
    request.codepage = 1200;
    return (int)SendMessageW(App.EditControl, EM_GETTEXTLENGTHEX, (WPARAM)&request, 0);
}

CHARRANGE GetEditSelection()
{
    CHARRANGE range = {0, 0};
    SendMessageW(App.EditControl, EM_EXGETSEL, 0, (LPARAM)&range);
    return range;
}

void SetEditSelection(LONG start, LONG end)
{
    CHARRANGE range = {start, end};
    SendMessageW(App.EditControl, EM_EXSETSEL, 0, (LPARAM)&range);
}

void ReplaceEditSelection(const wchar_t* text)
{
    SendMessageW(App.EditControl, EM_REPLACESEL, TRUE, (LPARAM)text);
}

int IsEditModified()
{
    return SendMessageW(App.EditControl, EM_GETMODIFY, 0, 0) || TextDiffersFromSavePoint();
}

void SetEditModified(int modified)
{
    SendMessageW(App.EditControl, EM_SETMODIFY, (WPARAM)modified, 0);
    if (!modified)
        MarkSavePoint();
}

LONG EditLineFromChar(LONG position)
{
    return (LONG)SendMessageW(App.EditControl, EM_EXLINEFROMCHAR, 0, position);
}

LONG EditLineIndex(LONG line)
{
    return (LONG)SendMessageW(App.EditControl, EM_LINEINDEX, (WPARAM)line, 0);
}

LONG EditLineLength(LONG position)
{
    return (LONG)SendMessageW(App.EditControl, EM_LINELENGTH, (WPARAM)position, 0);
}

void TouchedLines(CHARRANGE selection, LONG* firstStart, LONG* lastLine)
{
    *firstStart = EditLineIndex(EditLineFromChar(selection.cpMin));
    LONG last = selection.cpMax > *firstStart ? selection.cpMax - 1 : selection.cpMax;
    *lastLine = EditLineFromChar(last);
}

wchar_t* ReadTextRange(LONG start, LONG end)
{
    if (start < 0)
        start = 0;
    if (end < start)
        end = start;
    wchar_t* text = (wchar_t*)AllocZeroed(((size_t)(end - start) + 1) * sizeof(wchar_t));
    if (!text || end == start)
        return text;
    TEXTRANGEW range;
    range.chrg.cpMin = start;
    range.chrg.cpMax = end;
    range.lpstrText = text;
    SendMessageW(App.EditControl, EM_GETTEXTRANGE, 0, (LPARAM)&range);
    return text;
}

void ReplaceSelectionText(const void* text, UINT codePage)
{
    SETTEXTEX request;
    request.flags = ST_KEEPUNDO | ST_SELECTION;
    request.codepage = codePage;
    SendMessageW(App.EditControl, EM_SETTEXTEX, (WPARAM)&request, (LPARAM)text);
}

wchar_t* ReadWholeTextWide(LONG* length)
{
    GETTEXTLENGTHEX measure = {GTL_DEFAULT | GTL_NUMCHARS, 1200};
    LONG units = (LONG)SendMessageW(App.EditControl, EM_GETTEXTLENGTHEX, (WPARAM)&measure, 0);
    if (units < 0)
        units = 0;
    size_t bytes = ((size_t)units + 1) * sizeof(wchar_t);
    wchar_t* text = (wchar_t*)AllocZeroed(bytes);
    *length = 0;
    if (!text)
        return NULL;
    GETTEXTEX request;
    memset(&request, 0, sizeof(request));
    request.cb = (DWORD)bytes;
    request.flags = GT_DEFAULT;
    request.codepage = 1200;
    *length = (LONG)SendMessageW(App.EditControl, EM_GETTEXTEX, (WPARAM)&request, (LPARAM)text);
    return text;
}

// The own step waits only while the control has nothing of its own to undo.
int EditCanUndo()
{
    return SendMessageW(App.EditControl, EM_CANUNDO, 0, 0) || App.OwnStepWaits == OWN_STEP_UNDO;
}

int EditCanRedo()
{
    if (SendMessageW(App.EditControl, EM_CANREDO, 0, 0))
        return 1;
    return App.OwnStepWaits == OWN_STEP_REDO && !SendMessageW(App.EditControl, EM_CANUNDO, 0, 0);
}
