// Block indent and unindent of every line the selection touches, as one undo
// step. The text goes through UTF-16 so that sizes and the new selection are
// counted in characters whatever the ANSI code page.
#include "editor/block_indent.h"

#include "editor/clipboard.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "text/memory.h"

#include <wchar.h>

#define INDENT_UNIT_SIZE 32

static void PutUnit(wchar_t* out, size_t outSize, size_t* length, wchar_t c)
{
    if (*length + 1 < outSize)
        out[(*length)++] = c;
}

// One tab, or up to tabSize spaces; a space run ends at the first non-space.
static const wchar_t* SkipIndentUnit(const wchar_t* line, int tabSize)
{
    if (*line == L'\t')
        return line + 1;
    for (int skipped = 0; *line == L' ' && skipped < tabSize; skipped++)
        line++;
    return line;
}

size_t RebuildIndentedText(const wchar_t* block, IndentWay way, const wchar_t* unit, int tabSize,
                           wchar_t* out, size_t outSize)
{
    if (!out || outSize == 0)
        return 0;
    if (tabSize < 1)
        tabSize = 1;
    size_t length = 0;
    const wchar_t* p = block;
    for (;;) {
        if (way == INDENT) {
            for (const wchar_t* u = unit; *u; u++)
                PutUnit(out, outSize, &length, *u);
        } else {
            p = SkipIndentUnit(p, tabSize);
        }
        while (*p && *p != L'\r')
            PutUnit(out, outSize, &length, *p++);
        if (!*p)
            break;
        PutUnit(out, outSize, &length, *p++);
        if (!*p)
            break;
    }
    out[length] = 0;
    return length;
}

size_t IndentedTextCapacity(const wchar_t* block, size_t unitLength)
{
    size_t lines = 1;
    size_t length = 0;
    for (const wchar_t* p = block; *p; p++, length++)
        if (*p == L'\r')
            lines++;
    return lines * unitLength + length + 1;
}

static void BuildIndentUnit(wchar_t* unit)
{
    if (!Config.TabsToSpaces) {
        unit[0] = L'\t';
        unit[1] = 0;
        return;
    }
    int spaces = Config.TabSize;
    if (spaces < 1)
        spaces = 1;
    if (spaces > INDENT_UNIT_SIZE - 1)
        spaces = INDENT_UNIT_SIZE - 1;
    for (int i = 0; i < spaces; i++)
        unit[i] = L' ';
    unit[spaces] = 0;
}

// Selects the whole lines the selection touches, from the first line's start
// to the end of the last line's text. Returns the block.
static CHARRANGE SelectWholeLines()
{
    CHARRANGE block;
    LONG lastLine;
    TouchedLines(GetEditSelection(), &block.cpMin, &lastLine);
    LONG lastStart = EditLineIndex(lastLine);
    block.cpMax = lastStart + EditLineLength(lastStart);
    SetEditSelection(block.cpMin, block.cpMax);
    return block;
}

static wchar_t* ReadSelectedBlock(LONG length)
{
    size_t units = (size_t)length + 2;
    wchar_t* text = (wchar_t*)AllocZeroed(units * sizeof(wchar_t));
    if (text)
        GetSelectionUnicode((int)(units * sizeof(wchar_t)), text);
    return text;
}

void IndentBlock(IndentWay way)
{
    wchar_t unit[INDENT_UNIT_SIZE];
    BuildIndentUnit(unit);
    CHARRANGE block = SelectWholeLines();
    if (way == UNINDENT && block.cpMax == block.cpMin)
        return; // one empty line: nothing to take away
    wchar_t* oldText = ReadSelectedBlock(block.cpMax - block.cpMin);
    if (!oldText)
        return;
    size_t capacity = IndentedTextCapacity(oldText, wcslen(unit));
    wchar_t* newText = (wchar_t*)AllocZeroed(capacity * sizeof(wchar_t));
    if (newText) {
        size_t length = RebuildIndentedText(oldText, way, unit, Config.TabSize, newText, capacity);
        ReplaceSelectionText(newText, 1200);
        SetEditSelection(block.cpMin, block.cpMin + (LONG)length);
    }
    FreeBlock(newText);
    FreeBlock(oldText);
}
