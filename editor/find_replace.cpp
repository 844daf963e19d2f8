// Find and replace, on UTF-16 text: the dialogs, the control's search and
// the settings all take the texts whole, whatever the ANSI code page is.
#include "editor/find_replace.h"

#include "editor/clipboard.h"
#include "editor/large_replace.h"
#include "editor/own_undo.h"
#include "editor/replace_text.h"
#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "ground/status_text.h"
#include "ground/user_prompts.h"
#include "recovery/recovery.h"
#include "text/memory.h"
#include "views/caret_status.h"
#include "views/menu_state.h"
#include "resource.h"

#include <dlgs.h>
#include <stdio.h>
#include <string.h>

static const int FindBufferChars = FIND_BUFFER_CHARS;

// The settings fill the buffers at start-up; without them they start empty.
static int EnsureFindBuffers()
{
    if (App.FindBufferSize == 0) {
        App.FindBufferSize = FIND_BUFFER_CHARS - 1;
        App.FindWhat = (wchar_t*)AllocZeroed(FIND_BUFFER_CHARS * sizeof(wchar_t));
        App.ReplaceWith = (wchar_t*)AllocZeroed(FIND_BUFFER_CHARS * sizeof(wchar_t));
    }
    return App.FindWhat && App.ReplaceWith;
}

static void PrepareFindRequest()
{
    CHARRANGE selection = GetEditSelection();
    LONG selected = selection.cpMax - selection.cpMin;
    if (selected > 0 && selected < App.FindBufferSize) {
        GetSelectionUnicode(FindBufferChars * (int)sizeof(wchar_t), App.FindWhat);
    }
    FINDREPLACEW* request = &App.FindRequest;
    memset(request, 0, sizeof(*request));
    request->lStructSize = sizeof(FINDREPLACEW);
    request->hwndOwner = App.MainWindow;
    request->Flags = FR_DOWN;
    request->lpstrFindWhat = App.FindWhat;
    request->lpstrReplaceWith = App.ReplaceWith;
    request->wFindWhatLen = (WORD)App.FindBufferSize;
    request->wReplaceWithLen = (WORD)App.FindBufferSize;
    if (App.FindReplaceMessage == 0)
        App.FindReplaceMessage = RegisterWindowMessageW(FINDMSGSTRINGW);
    // Only taken off the screen: destroying it would send its closing
    // notification, which clears the message id the new dialog needs.
    if (App.FindDialog)
        EndDialog(App.FindDialog, 0);
}

// Some systems (Wine) build the dialog from an ANSI copy of the record and
// hand its texts back through the ANSI code page, which turns Chinese into
// "?" under code page 1252. The dialog's text boxes hold the text whole, so
// they are written and read in their wide form.
static void PutTextsIntoDialog()
{
    SetDlgItemTextW(App.FindDialog, edt1, App.FindWhat);
    if (GetDlgItem(App.FindDialog, edt2))
        SetDlgItemTextW(App.FindDialog, edt2, App.ReplaceWith);
}

static void TakeTextsFromDialog()
{
    if (!App.FindDialog || !IsWindow(App.FindDialog))
        return;
    GetDlgItemTextW(App.FindDialog, edt1, App.FindWhat, App.FindBufferSize + 1);
    if (GetDlgItem(App.FindDialog, edt2))
        GetDlgItemTextW(App.FindDialog, edt2, App.ReplaceWith, App.FindBufferSize + 1);
}

static void ShowFindDialog(HWND (WINAPI *open)(FINDREPLACEW*))
{
    if (!EnsureFindBuffers())
        return;
    PrepareFindRequest();
    App.FindDialog = open(&App.FindRequest);
    if (App.FindDialog) {
        PutTextsIntoDialog();
        return;
    }
    wchar_t text[32];
    _snwprintf(text, 32, L"Error: %u", (unsigned int)CommDlgExtendedError());
    text[31] = 0;
    AskUserText(App.MainWindow, text, MB_OK);
}

void OpenFindDialog()
{
    ShowFindDialog(FindTextW);
}

void OpenReplaceDialog()
{
    ShowFindDialog(ReplaceTextW);
}

// The control's own search; returns the match start or -1.
static LONG SearchEdit(LONG from, LONG to, DWORD flags, const wchar_t* text, CHARRANGE* found)
{
    FINDTEXTEXW request;
    request.chrg.cpMin = from;
    request.chrg.cpMax = to;
    request.lpstrText = text;
    request.chrgText.cpMin = -1;
    request.chrgText.cpMax = -1;
    LONG position = (LONG)SendMessageW(App.EditControl, EM_FINDTEXTEXW, flags, (LPARAM)&request);
    *found = request.chrgText;
    return position;
}

static void ShowNotFound(HWND owner)
{
    AskUser(owner, IDS_NOT_FOUND, MB_OK | MB_ICONINFORMATION);
}

// Searches with the last dialog's text and options, in its direction or
// against it.
static void FindWithLastRequest(int againstDialog)
{
    if (!App.LastFindRequest || !EnsureFindBuffers()) {
        if (!App.FindDialog)
            OpenFindDialog();
        return;
    }
    CHARRANGE selection = GetEditSelection();
    const FINDREPLACEW* last = App.LastFindRequest;
    DWORD options = App.LastFindFlags & (FR_MATCHCASE | FR_WHOLEWORD);
    int forwards = (App.LastFindFlags & FR_DOWN) != 0;
    if (againstDialog)
        forwards = !forwards;
    if (forwards)
        options |= FR_DOWN;
    SetStatusText(STATUS_MESSAGE, L"");
    for (int attempt = 0; attempt < 2; attempt++) {
        LONG from, to;
        if (forwards) {
            from = attempt == 0 ? selection.cpMax : 0;
            to = attempt == 0 ? -1 : selection.cpMin;
        } else {
            from = attempt == 0 ? selection.cpMin : GetTextLength(GTL_DEFAULT);
            to = attempt == 0 ? 0 : selection.cpMax;
        }
        CHARRANGE found;
        if (SearchEdit(from, to, options, last->lpstrFindWhat, &found) >= 0) {
            SendMessageW(App.EditControl, EM_EXSETSEL, 0, (LPARAM)&found);
            return;
        }
        SetStatusText(STATUS_MESSAGE, L"Search wrapped...");
        MessageBeep(0);
    }
    ShowNotFound(App.FindDialog);
}

void FindNext() { FindWithLastRequest(0); }
void FindPrevious() { FindWithLastRequest(1); }

// Replaces the selection when it is the find text, then selects the next match.
static void ReplaceOnce(const FINDREPLACEW* request, DWORD options)
{
    const wchar_t* find = request->lpstrFindWhat;
    CHARRANGE selection = GetEditSelection();
    LONG from = selection.cpMin + 1;
    LONG selected = selection.cpMax - selection.cpMin;
    if (selected > 0 && selected == (LONG)lstrlenW(find)) {
        wchar_t text[FIND_BUFFER_CHARS];
        text[0] = 0;
        GetSelectionUnicode((int)sizeof(text), text);
        int same = (options & FR_MATCHCASE) ? lstrcmpW(text, find) : lstrcmpiW(text, find);
        if (same == 0) {
            ReplaceSelectionText(request->lpstrReplaceWith, 1200);
            from = selection.cpMin + (LONG)lstrlenW(request->lpstrReplaceWith);
        }
    }
    CHARRANGE found;
    LONG position = SearchEdit(from, -1, options, find, &found);
    if (position < 0 && from != 0)
        position = SearchEdit(0, -1, options, find, &found);
    if (position < 0) {
        ShowNotFound(App.MainWindow);
        return;
    }
    SendMessageW(App.EditControl, EM_EXSETSEL, 0, (LPARAM)&found);
    SetFocus(App.EditControl);
}

// One selection replace for the whole span: a single undo step, and
// neither painting nor notifications run while the control takes it.
static void ReplaceSpanInPlace(const ReplacedSpan* span)
{
    SendMessageW(App.EditControl, WM_SETREDRAW, FALSE, 0);
    SendMessageW(App.EditControl, EM_SETEVENTMASK, 0, ENM_LINK);
    SetEditSelection(span->Start, span->End);
    ReplaceSelectionText(span->Text, 1200);
    LONG caret = span->Start + span->TextLength;
    SetEditSelection(caret, caret);
    SendMessageW(App.EditControl, EM_SETEVENTMASK, 0, EDIT_EVENT_MASK);
    SendMessageW(App.EditControl, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(App.EditControl, NULL, TRUE);
    UpdateWindow(App.EditControl);
}

int ReplaceAll(const wchar_t* find, const wchar_t* replacement, DWORD flags)
{
    LONG length = 0;
    wchar_t* text = ReadWholeTextWide(&length);
    ReplacedSpan span;
    int count = text ? ReplaceAllInText(text, length, find, replacement, flags, &span) : -1;
    if (count < 0) {
        FreeBlock(text);
        ShowError(L"Not enough memory to replace all.");
        return -1;
    }
    if (count > 0) {
        // The text before stays as the undo step of a fresh control.
        if (IsLargeReplace(text, &span) && ReplaceInFreshControl(text, length, &span))
            text = NULL;
        else {
            // An edit the control can undo comes after any own step.
            ForgetOwnUndoStep();
            ReplaceSpanInPlace(&span);
        }
        // No change notification came: the recovery copy follows here.
        NoteRecoveryEdit();
    }
    FreeBlock(text);
    FreeBlock(span.Text);
    return count;
}

static void ReplaceAllCommand(const FINDREPLACEW* request, DWORD options)
{
    if (!request->lpstrFindWhat[0])
        return;
    int count = ReplaceAll(request->lpstrFindWhat, request->lpstrReplaceWith, options);
    // The error said it all: nothing was replaced, nothing to count.
    if (count < 0)
        return;
    wchar_t status[48];
    _snwprintf(status, 48, L"Items replaced: %i", count);
    status[47] = 0;
    SetStatusText(STATUS_MESSAGE, status);
    RefreshAfterEdit();
    // The selection notifications were masked; the caret moved.
    UpdateCaretStatus();
}

LRESULT OnFindReplaceMessage(FINDREPLACEW* request)
{
    App.LastFindRequest = request;
    // Wine's dialog clears the record's flags on each of its later commands,
    // the focus leaving its text box as it closes included; the options as
    // they were at the notification serve F3 and Shift+F3 afterwards.
    App.LastFindFlags = request->Flags;
    TakeTextsFromDialog();
    if (request->Flags & FR_DIALOGTERM) {
        if (App.FindDialog && IsWindow(App.FindDialog))
            DestroyWindow(App.FindDialog);
        App.FindDialog = NULL;
        App.FindReplaceMessage = 0;
        return 0;
    }
    // The dialog stays usable while the document's state holds commands.
    int id = (request->Flags & FR_FINDNEXT) ? IDM_FINDNEXT
             : (request->Flags & FR_REPLACE) ? CMD_FIND_REPLACE_ONE
                                              : CMD_FIND_REPLACE_ALL;
    if (!IsCommandAllowed(id))
        return 0;
    if (request->Flags & FR_FINDNEXT) {
        FindNext();
        return 0;
    }
    DWORD options = FR_DOWN | (request->Flags & (FR_MATCHCASE | FR_WHOLEWORD));
    if (request->Flags & FR_REPLACE)
        ReplaceOnce(request, options);
    else if (request->Flags & FR_REPLACEALL)
        ReplaceAllCommand(request, options);
    return 0;
}
