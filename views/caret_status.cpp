// Status-bar parts 3 and 4: the tab size, and the caret position or the
// selection, refreshed on every selection change.
#include "views/caret_status.h"

#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/status_text.h"
#include "text/memory.h"
#include "views/gutter.h"
#include "views/menu_state.h"

#include <stdio.h>

int ColumnAfterText(const wchar_t* text, int tabSize)
{
    if (tabSize < 1)
        tabSize = 1;
    int column = 1;
    for (const wchar_t* p = text; *p; p++) {
        if (*p == L'\r')
            column = 1;
        else if (*p == L'\t')
            column = ((column - 1) / tabSize) * tabSize + tabSize + 1;
        else if (!(IS_LOW_SURROGATE(*p) && p > text && IS_HIGH_SURROGATE(p[-1])))
            column++;
    }
    return column;
}

static int ColumnOfCaret(LONG lineStart, LONG caret)
{
    if (caret <= lineStart)
        return 1;
    wchar_t* text = ReadTextRange(lineStart, caret);
    if (!text)
        return 1;
    int column = ColumnAfterText(text, Config.TabSize);
    FreeBlock(text);
    return column;
}

// A character typed at the last caret, one unit before this one, left it on
// its line, one column on (none for the second half of a surrogate pair).
// Finding a line, or reading its text, costs the control time in proportion
// to the whole text: far more than a key may take at the end of a large file.
static int CaretMovedByTypedCharacter(LONG caret)
{
    CHARRANGE last = App.CurrentSelection;
    return App.CharacterTypedAt >= 0 && last.cpMin == last.cpMax && last.cpMin == App.CharacterTypedAt &&
           caret == App.CharacterTypedAt + 1 && App.CaretLine > 0;
}

static void ShowCaretPosition(LONG caret)
{
    if (CaretMovedByTypedCharacter(caret)) {
        if (!IS_LOW_SURROGATE(App.CharacterTyped))
            App.CaretColumn++;
    } else {
        LONG line = EditLineFromChar(caret);
        App.CaretLine = (unsigned int)line + 1;
        App.CaretColumn = ColumnOfCaret(EditLineIndex(line), caret);
    }
    if (Config.LineNumbers)
        UpdateGutterWidth();
    wchar_t text[64];
    _snwprintf(text, 64, L"列 : %u 行: %u", (unsigned int)App.CaretColumn, App.CaretLine);
    text[63] = 0;
    SetStatusText(STATUS_CARET, text);
}

// Positions as in a file with CR LF breaks: every line break before a
// position counts twice.
static void ShowSelectionFigures(CHARRANGE selection)
{
    // Select All takes in the control's own mark after the text, which no
    // file holds.
    LONG textEnd = GetTextLength(GTL_DEFAULT);
    if (selection.cpMax > textEnd)
        selection.cpMax = textEnd;
    if (selection.cpMin > selection.cpMax)
        selection.cpMin = selection.cpMax;
    unsigned int start = (unsigned int)(selection.cpMin + EditLineFromChar(selection.cpMin));
    unsigned int end = (unsigned int)(selection.cpMax + EditLineFromChar(selection.cpMax));
    wchar_t text[96];
    _snwprintf(text, 96, L"Selection Start: %u End: %u Len: %u", start, end, end - start);
    text[95] = 0;
    SetStatusText(STATUS_CARET, text);
}

void UpdateCaretStatus()
{
    CHARRANGE selection = GetEditSelection();
    if (selection.cpMin == selection.cpMax)
        ShowCaretPosition(selection.cpMin);
    else
        ShowSelectionFigures(selection);
    App.CurrentSelection = selection;
    App.CharacterTypedAt = -1;
    UpdateMenuState(MENU_EDIT, GetMenu(App.MainWindow));
    if (Config.LineNumbers)
        PaintGutter(0);
}

void ShowTabSize()
{
    wchar_t text[32];
    _snwprintf(text, 32, L"Tab: %i", Config.TabSize);
    text[31] = 0;
    SetStatusText(STATUS_TABSIZE, text);
}

void SetTabSize(int size)
{
    Config.TabSize = size;
    // Four dialog units are one average character width.
    DWORD stop = (DWORD)(size * 4);
    SendMessageW(App.EditControl, EM_SETTABSTOPS, 1, (LPARAM)&stop);
    ShowTabSize();
}
