#include "editor/fresh_text.h"

#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "views/caret_status.h"
#include "views/edit_window.h"
#include "views/menu_state.h"

#include <string.h>

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

void SetPieces(TextPieces* pieces, const wchar_t* first, LONG firstLength, const wchar_t* second,
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

int StreamIntoFreshControl(TextPieces* pieces)
{
    if (!PutFreshEditControl())
        return 0;
    HWND edit = App.EditControl;
    SendMessageW(edit, WM_SETREDRAW, FALSE, 0);
    SendMessageW(edit, EM_SETEVENTMASK, 0, ENM_LINK);
    EDITSTREAM stream;
    stream.dwCookie = (DWORD_PTR)pieces;
    stream.dwError = 0;
    stream.pfnCallback = ReadPieces;
    SendMessageW(edit, EM_STREAMIN, SF_TEXT | SF_UNICODE, (LPARAM)&stream);
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    return 1;
}

void ShowStreamedText(CHARRANGE selection, LONG firstLine)
{
    HWND edit = App.EditControl;
    SendMessageW(edit, EM_EXSETSEL, 0, (LPARAM)&selection);
    if (firstLine >= 0) {
        LONG now = (LONG)SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
        SendMessageW(edit, EM_LINESCROLL, 0, firstLine - now);
    } else {
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    }
    SendMessageW(edit, EM_SETEVENTMASK, 0, EDIT_EVENT_MASK);
    SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(edit, NULL, TRUE);
    UpdateWindow(edit);
    RefreshAfterEdit();
    UpdateCaretStatus();
}

StandPoint CurrentStandPoint()
{
    StandPoint point;
    point.Selection = GetEditSelection();
    point.FirstLine = (LONG)SendMessageW(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0);
    point.Modified = IsEditModified();
    return point;
}
