#include "editor/replace_text.h"

#include "text/memory.h"

#include <commdlg.h>
#include <string.h>

// The control's whole-word search takes letters and digits as word characters.
static int IsWordCharacter(wchar_t c)
{
    return IsCharAlphaNumericW(c) ? 1 : 0;
}

// Upper-cased copy for comparing without case; the mapping is one unit for one.
static wchar_t* FoldedCopy(const wchar_t* text, LONG length)
{
    wchar_t* copy = (wchar_t*)AllocZeroed(((size_t)length + 1) * sizeof(wchar_t));
    if (!copy)
        return NULL;
    memcpy(copy, text, (size_t)length * sizeof(wchar_t));
    if (length > 0)
        CharUpperBuffW(copy, (DWORD)length);
    return copy;
}

// Where the scan stands: the next position to try and the character that
// precedes it in the text as already replaced (0 at the start of the text).
struct ScanState {
    LONG From;
    wchar_t Before;
};

static wchar_t CharacterBefore(const ScanState* scan, const wchar_t* text, LONG position)
{
    return position == scan->From ? scan->Before : text[position - 1];
}

static LONG NextMatch(const wchar_t* haystack, const wchar_t* text, LONG length, const wchar_t* needle,
                      LONG needleLength, int wholeWord, const ScanState* scan)
{
    size_t bytes = (size_t)needleLength * sizeof(wchar_t);
    for (LONG i = scan->From; i + needleLength <= length; i++) {
        if (haystack[i] != needle[0] || memcmp(haystack + i, needle, bytes) != 0)
            continue;
        if (wholeWord && (IsWordCharacter(CharacterBefore(scan, text, i)) ||
                          (i + needleLength < length && IsWordCharacter(text[i + needleLength]))))
            continue;
        return i;
    }
    return -1;
}

// Runs the scan once; with out set, also writes the replaced span into it.
static int ScanMatches(const wchar_t* haystack, const wchar_t* text, LONG length, const wchar_t* needle,
                       LONG needleLength, const wchar_t* replacement, DWORD flags, ReplacedSpan* span,
                       wchar_t* out)
{
    LONG replacementLength = (LONG)lstrlenW(replacement);
    ScanState scan = {0, 0};
    LONG written = 0;
    int count = 0;
    LONG match;
    while ((match = NextMatch(haystack, text, length, needle, needleLength, (flags & FR_WHOLEWORD) != 0,
                              &scan)) >= 0) {
        // No text the control can hold is this long.
        LONG kept = count > 0 ? match - scan.From : 0;
        if (written > 0x7FFFFFFF - kept - replacementLength)
            return -1;
        if (count == 0)
            span->Start = match;
        else if (out)
            memcpy(out + written, text + scan.From, (size_t)(match - scan.From) * sizeof(wchar_t));
        if (count > 0)
            written += match - scan.From;
        if (out)
            memcpy(out + written, replacement, (size_t)replacementLength * sizeof(wchar_t));
        written += replacementLength;
        if (replacementLength > 0)
            scan.Before = replacement[replacementLength - 1];
        else if (match != scan.From)
            scan.Before = text[match - 1];
        scan.From = match + needleLength;
        count++;
    }
    span->End = scan.From;
    span->TextLength = written;
    return count;
}

int ReplaceAllInText(const wchar_t* text, LONG length, const wchar_t* find, const wchar_t* replacement,
                     DWORD flags, ReplacedSpan* span)
{
    memset(span, 0, sizeof(*span));
    LONG findLength = (LONG)lstrlenW(find);
    if (findLength == 0 || length < findLength)
        return 0;
    int matchCase = (flags & FR_MATCHCASE) != 0;
    wchar_t* haystack = matchCase ? (wchar_t*)text : FoldedCopy(text, length);
    wchar_t* needle = matchCase ? (wchar_t*)find : FoldedCopy(find, findLength);
    int count = -1;
    if (haystack && needle) {
        count = ScanMatches(haystack, text, length, needle, findLength, replacement, flags, span, NULL);
        if (count > 0) {
            span->Text = (wchar_t*)AllocZeroed(((size_t)span->TextLength + 1) * sizeof(wchar_t));
            if (span->Text)
                ScanMatches(haystack, text, length, needle, findLength, replacement, flags, span, span->Text);
            else
                count = -1;
        }
    }
    if (!matchCase) {
        FreeBlock(haystack);
        FreeBlock(needle);
    }
    return count;
}
