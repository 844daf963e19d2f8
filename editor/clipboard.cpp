// The program's own copy and paste, which carry Unicode text so that every
// script survives, with an ANSI copy beside it for programs that read only
// that; Cut, Delete and Delete Line.
#include "editor/clipboard.h"

#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "text/memory.h"

#include <string.h>

int GetSelectionUnicode(int bufferBytes, wchar_t* buffer)
{
    GETTEXTEX request;
    memset(&request, 0, sizeof(request));
    request.cb = (DWORD)bufferBytes;
    request.flags = GT_SELECTION;
    request.codepage = 1200;
    return (int)SendMessageW(App.EditControl, EM_GETTEXTEX, (WPARAM)&request, (LPARAM)buffer);
}

size_t ExpandLoneCR(const wchar_t* in, size_t count, wchar_t* out)
{
    size_t written = 0;
    for (size_t i = 0; i < count; i++) {
        out[written++] = in[i];
        if (in[i] == L'\r' && (i + 1 >= count || in[i + 1] != L'\n'))
            out[written++] = L'\n';
    }
    out[written] = 0;
    return written;
}

// The selection as UTF-16 with CR LF breaks, in a movable block for the
// clipboard; *units receives its length without the terminator.
static HGLOBAL BuildUnicodeBlock(size_t* units)
{
    CHARRANGE selection = GetEditSelection();
    size_t count = selection.cpMax > selection.cpMin ? (size_t)(selection.cpMax - selection.cpMin) : 0;
    size_t bufferUnits = count + 1;
    wchar_t* text = (wchar_t*)AllocZeroed(bufferUnits * sizeof(wchar_t));
    if (!text)
        return NULL;
    int copied = GetSelectionUnicode((int)(bufferUnits * sizeof(wchar_t)), text);
    if (copied < 0)
        copied = 0;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (2 * (size_t)copied + 1) * sizeof(wchar_t));
    wchar_t* target = block ? (wchar_t*)GlobalLock(block) : NULL;
    if (target) {
        *units = ExpandLoneCR(text, (size_t)copied, target);
        GlobalUnlock(block);
    } else if (block) {
        GlobalFree(block);
        block = NULL;
    }
    FreeBlock(text);
    return block;
}

// The same text in the ANSI code page, sized for its byte form so that a
// double-byte code page gets its text too; NULL when it does not convert.
static HGLOBAL BuildAnsiBlock(HGLOBAL unicodeBlock, size_t units)
{
    const wchar_t* text = (const wchar_t*)GlobalLock(unicodeBlock);
    if (!text)
        return NULL;
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, (int)units + 1, NULL, 0, NULL, NULL);
    HGLOBAL block = bytes > 0 ? GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (size_t)bytes) : NULL;
    char* target = block ? (char*)GlobalLock(block) : NULL;
    int converted = 0;
    if (target) {
        converted = WideCharToMultiByte(CP_ACP, 0, text, (int)units + 1, target, bytes, NULL, NULL);
        GlobalUnlock(block);
    }
    GlobalUnlock(unicodeBlock);
    if (block && converted == 0) {
        GlobalFree(block);
        block = NULL;
    }
    return block;
}

void CopySelection()
{
    if (!OpenClipboard(App.MainWindow))
        return;
    size_t units = 0;
    HGLOBAL unicodeBlock = BuildUnicodeBlock(&units);
    if (unicodeBlock) {
        HGLOBAL ansiBlock = BuildAnsiBlock(unicodeBlock, units);
        EmptyClipboard();
        if (ansiBlock)
            SetClipboardData(CF_TEXT, ansiBlock);
        SetClipboardData(CF_UNICODETEXT, unicodeBlock);
    }
    CloseClipboard();
}

// Unicode when the clipboard offers it, else ANSI text, else 0.
static UINT ChooseTextFormat()
{
    int unicode = 0;
    int ansi = 0;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        if (format == CF_UNICODETEXT || format == CF_LOCALE)
            unicode = 1;
        if (format == CF_TEXT || format == CF_OEMTEXT)
            ansi = 1;
    }
    if (unicode)
        return CF_UNICODETEXT;
    return ansi ? CF_TEXT : 0;
}

static void InsertClipboardData(UINT format)
{
    HANDLE data = GetClipboardData(format);
    if (!data)
        return; // listed but not delivered: there is nothing to insert
    const void* source = GlobalLock(data);
    if (!source)
        return;
    // Another program's data need not end in a terminator: copy it into a
    // zero-filled block one unit longer.
    SIZE_T bytes = GlobalSize(data);
    void* text = AllocZeroed(bytes + 2 * sizeof(wchar_t));
    if (text) {
        memcpy(text, source, bytes);
        ReplaceSelectionText(text, format == CF_UNICODETEXT ? 1200 : CP_ACP);
        FreeBlock(text);
    }
    GlobalUnlock(data);
}

void PasteClipboard()
{
    if (!OpenClipboard(App.MainWindow))
        return;
    UINT format = ChooseTextFormat();
    if (format)
        InsertClipboardData(format);
    CloseClipboard();
}

void CutSelection()
{
    SendMessageW(App.EditControl, WM_CUT, 0, 0);
}

void DeleteSelection()
{
    ReplaceEditSelection(L"");
}

// Cuts whole lines with their paragraph marks: with nothing selected the
// caret's line, with a selection every line it touches (a selection ending
// just after a paragraph mark does not take in the next line). The cut ends
// where the next line starts, so a wrapped line loses no character of the
// line below; the last line, which has no mark, loses its text.
void DeleteLine()
{
    LONG start, lastLine;
    TouchedLines(GetEditSelection(), &start, &lastLine);
    LONG end = EditLineIndex(lastLine + 1);
    // The last line has no mark: its text ends the document, and nothing
    // past that end may be selected.
    LONG textEnd = GetTextLength(GTL_DEFAULT);
    if (end < 0 || end > textEnd)
        end = textEnd;
    // An empty last line goes with the mark that opens it; an empty
    // document leaves the clipboard alone.
    if (end <= start) {
        if (start == 0)
            return;
        start--;
    }
    SetEditSelection(start, end);
    CutSelection();
}
