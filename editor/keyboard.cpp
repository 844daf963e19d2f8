// Every key the edit control receives comes here first (EN_MSGFILTER): the
// program handles some keys itself and swallows them, and lets the control
// do its usual work with the rest.
#include "editor/keyboard.h"

#include "editor/block_indent.h"
#include "editor/clipboard.h"
#include "editor/large_replace.h"
#include "editor/own_undo.h"
#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "ground/status_text.h"
#include "text/memory.h"
#include "views/caret_status.h"
#include "resource.h"

#include <string.h>

#define TAB_UNIT_SIZE 32
// Home reads the line's leading blanks in pieces this long.
#define HOME_CHUNK 256

int SpacesToNextTabStop(int caretColumn, int tabSize)
{
    if (tabSize < 1)
        tabSize = 1;
    if (caretColumn < 1)
        caretColumn = 1;
    return tabSize - (caretColumn - 1) % tabSize;
}

size_t LeadingBlankLength(const wchar_t* text)
{
    size_t length = 0;
    while (text[length] == L' ' || text[length] == L'\t')
        length++;
    return length;
}

static LRESULT Swallow(MSGFILTER* filter)
{
    filter->msg = 0;
    filter->wParam = 0;
    filter->lParam = 0;
    return 1;
}

static int KeyHeld(int key)
{
    return GetKeyState(key) < 0;
}

// Spaces up to the next tab stop from the caret column, or one tab.
static void InsertTabUnit()
{
    wchar_t unit[TAB_UNIT_SIZE];
    if (Config.TabsToSpaces) {
        int spaces = SpacesToNextTabStop(App.CaretColumn, Config.TabSize);
        if (spaces > TAB_UNIT_SIZE - 1)
            spaces = TAB_UNIT_SIZE - 1;
        for (int i = 0; i < spaces; i++)
            unit[i] = L' ';
        unit[spaces] = 0;
    } else {
        unit[0] = L'\t';
        unit[1] = 0;
    }
    ReplaceEditSelection(unit);
}

// A selection within one line's text is replaced by the unit; one that
// reaches the end of its first line indents the lines as a block.
static LRESULT OnTabKey(MSGFILTER* filter, CHARRANGE selection, int shift)
{
    if (shift) {
        IndentBlock(UNINDENT);
        return 0;
    }
    LONG lineEnd = EditLineIndex(EditLineFromChar(selection.cpMin)) + EditLineLength(selection.cpMin);
    if (selection.cpMin == selection.cpMax || selection.cpMax < lineEnd) {
        InsertTabUnit();
        return Swallow(filter);
    }
    IndentBlock(INDENT);
    return 0;
}

// Enter starts the new line with the blanks that lead the text before the caret.
static LRESULT AutoIndent(MSGFILTER* filter, LONG caret)
{
    LONG lineStart = EditLineIndex(-1);
    if (caret <= lineStart)
        return 0;
    wchar_t* text = ReadTextRange(lineStart, caret);
    if (!text)
        return 0;
    // The block holds one unit more than the text, and the blanks are at
    // most all of it, so the line feed fits in front of them.
    size_t blanks = LeadingBlankLength(text);
    memmove(text + 1, text, blanks * sizeof(wchar_t));
    text[0] = L'\n';
    text[blanks + 1] = 0;
    ReplaceEditSelection(text);
    FreeBlock(text);
    UpdateCaretStatus();
    return Swallow(filter);
}

// First non-blank character of the line that starts at lineStart; the line
// end when the line holds blanks only.
static LONG FirstNonBlank(LONG lineStart)
{
    LONG end = lineStart + EditLineLength(lineStart);
    LONG position = lineStart;
    while (position < end) {
        LONG chunkEnd = end - position > HOME_CHUNK ? position + HOME_CHUNK : end;
        wchar_t* text = ReadTextRange(position, chunkEnd);
        if (!text)
            break;
        LONG blanks = (LONG)LeadingBlankLength(text);
        FreeBlock(text);
        position += blanks;
        if (position < chunkEnd)
            break;
    }
    return position;
}

// Home goes to the first non-blank character, and from there to the line start.
static void SmartHome(CHARRANGE selection)
{
    LONG lineStart = EditLineIndex(-1);
    LONG target = FirstNonBlank(lineStart);
    if (selection.cpMin == target)
        target = lineStart;
    SetEditSelection(target, target);
}

// Whether the two units from position on are one character's surrogate pair.
static int IsPairAt(LONG position)
{
    if (position < 0)
        return 0;
    wchar_t* text = ReadTextRange(position, position + 2);
    if (!text)
        return 0;
    int pair = IS_SURROGATE_PAIR(text[0], text[1]);
    FreeBlock(text);
    return pair;
}

// A character beyond U+FFFF is one step for the arrows and one deletion for
// Backspace and Delete: a control that counts UTF-16 units would leave the
// caret inside it, or half of it in the text.
static LRESULT StepOverPair(MSGFILTER* filter, CHARRANGE selection, WPARAM key)
{
    if (selection.cpMin != selection.cpMax)
        return 0;
    int backwards = key == VK_LEFT || key == VK_BACK;
    LONG pairStart = backwards ? selection.cpMin - 2 : selection.cpMin;
    if (!IsPairAt(pairStart))
        return 0;
    if (key == VK_LEFT || key == VK_RIGHT) {
        LONG target = backwards ? pairStart : pairStart + 2;
        SetEditSelection(target, target);
        return Swallow(filter);
    }
    // A deletion is an edit: the gate decides, as for any typed key.
    if (!IsCommandAllowed(CMD_TYPED_EDIT))
        return Swallow(filter);
    SetEditSelection(pairStart, pairStart + 2);
    ReplaceEditSelection(L"");
    return Swallow(filter);
}

static void ShowInsertMode()
{
    SetStatusText(STATUS_INSERT, App.InsertMode == 1 ? L"INS" : L"OVR");
}

static LRESULT OnInsertKey(MSGFILTER* filter, int shift, int ctrl)
{
    int alt = KeyHeld(VK_MENU);
    if (shift || (alt && ctrl)) {
        PasteClipboard();
        return Swallow(filter);
    }
    if (alt || ctrl)
        return 0;
    // The control flips its own mode; the status bar mirrors it.
    App.InsertMode = !App.InsertMode;
    ShowInsertMode();
    return 0;
}

static LRESULT OnKeyDown(MSGFILTER* filter)
{
    int shift = KeyHeld(VK_SHIFT);
    int ctrl = KeyHeld(VK_CONTROL);
    CHARRANGE selection = GetEditSelection();
    WPARAM key = filter->wParam;
    switch (key) {
    case VK_TAB:
        return ctrl ? 0 : OnTabKey(filter, selection, shift);
    case VK_RETURN:
        if (ctrl || selection.cpMin != selection.cpMax || !Config.AutoIndent)
            return 0;
        return AutoIndent(filter, selection.cpMin);
    case VK_ESCAPE:
        // Posted, so the key finishes before the window starts to close.
        if (Config.EscapeExit)
            PostMessageW(App.MainWindow, WM_COMMAND, IDM_EXIT, 0);
        return 0;
    case VK_HOME:
        if (ctrl || shift || !Config.SmartHome)
            return 0;
        SmartHome(selection);
        return Swallow(filter);
    case VK_UP:
    case VK_DOWN:
        if (!ctrl)
            return 0;
        SendMessageW(App.EditControl, WM_VSCROLL, key == VK_UP ? SB_LINEUP : SB_LINEDOWN, 0);
        return Swallow(filter);
    case VK_INSERT:
        return OnInsertKey(filter, shift, ctrl);
    case VK_LEFT:
    case VK_RIGHT:
    case VK_BACK:
    case VK_DELETE:
        return ctrl || shift ? 0 : StepOverPair(filter, selection, key);
    case 'V':
        if (!ctrl)
            return 0;
        PasteClipboard();
        return Swallow(filter);
    case 'Z':
        // The program's own undo step is not the control's to take.
        if (!ctrl || shift)
            return 0;
        UndoEdit();
        return Swallow(filter);
    case '1':
        // Keeps the control's own Ctrl+1 away.
        return ctrl ? Swallow(filter) : 0;
    case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
        if (!ctrl)
            return 0;
        SetTabSize((int)(key - '0'));
        UpdateCaretStatus(); // the caret column moves with the tab stops
        return Swallow(filter);
    }
    return 0;
}

// The command a key pressed stands for where the program edits the text
// itself; 0 for the keys whose typing the control's read-only style holds.
static int CommandOfKey(WPARAM key)
{
    int ctrl = GetKeyState(VK_CONTROL) < 0;
    int shift = GetKeyState(VK_SHIFT) < 0;
    int alt = GetKeyState(VK_MENU) < 0;
    switch (key) {
    case VK_TAB:
    case VK_RETURN:
        return CMD_TYPED_EDIT;
    case 'V':
        return ctrl ? IDM_PASTE : 0;
    case 'Z':
        return ctrl && !shift ? IDM_UNDO : 0;
    case VK_INSERT:
        return shift || (ctrl && alt) ? IDM_PASTE : 0;
    }
    return 0;
}

// A key whose command the gate refuses does nothing. Returns 1 when the key
// must go no further.
static int HoldKey(const MSGFILTER* filter)
{
    if (filter->msg != WM_KEYDOWN)
        return 0;
    int id = CommandOfKey(filter->wParam);
    return id != 0 && !IsCommandAllowed(id);
}

// A character the control is about to insert at a caret, no line break, tab
// or other control character, keeps the caret on its line.
static void NoteTypedCharacter(WPARAM unit)
{
    if (unit < 0x20 || unit == 0x7F || !IsCommandAllowed(CMD_TYPED_EDIT) ||
        (GetWindowLongPtrW(App.EditControl, GWL_STYLE) & ES_READONLY))
        return;
    CHARRANGE selection = GetEditSelection();
    if (selection.cpMin == selection.cpMax) {
        App.CharacterTypedAt = selection.cpMin;
        App.CharacterTyped = (wchar_t)unit;
    }
}

LRESULT FilterEditKey(MSGFILTER* filter)
{
    // Tab characters never reach the control: the Tab rule inserts its own.
    if (HoldKey(filter))
        return Swallow(filter);
    if (filter->msg == WM_CHAR)
        NoteTypedCharacter(filter->wParam);
    if (filter->msg != WM_KEYDOWN)
        return filter->wParam == VK_TAB ? Swallow(filter) : 0;
    // Whatever the key does, it was not typed at the caret yet.
    App.CharacterTypedAt = -1;
    return OnKeyDown(filter);
}
