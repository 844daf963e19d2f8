#include "print/page_layout.h"

#include "text/memory.h"

wchar_t* ExpandTabs(const wchar_t* text, int length, int tabSize, int* outLength)
{
    if (tabSize < 1)
        tabSize = 1;
    int size = 0;
    int column = 0;
    for (int pass = 0; pass < 2; pass++) {
        wchar_t* out = pass ? (wchar_t*)AllocZeroed(((size_t)size + 1) * sizeof(wchar_t)) : NULL;
        if (pass && !out)
            return NULL;
        int n = 0;
        column = 0;
        for (int i = 0; i < length; i++) {
            wchar_t c = text[i];
            if (c == L'\n' && i > 0 && text[i - 1] == L'\r')
                continue;
            if (c == L'\r' || c == L'\n') {
                if (out)
                    out[n] = L'\r';
                n++;
                column = 0;
            } else if (c == L'\t') {
                int blanks = tabSize - column % tabSize;
                for (int b = 0; b < blanks; b++, n++)
                    if (out)
                        out[n] = L' ';
                column += blanks;
            } else {
                if (out)
                    out[n] = c;
                n++;
                // A surrogate pair is one character: one column.
                if (!(IS_LOW_SURROGATE(c) && i > 0 && IS_HIGH_SURROGATE(text[i - 1])))
                    column++;
            }
        }
        if (pass) {
            *outLength = n;
            return out;
        }
        size = n;
    }
    return NULL;
}

// Where the next line starts after a line that ends at paragraphEnd.
static int AfterParagraph(int paragraphEnd, int length)
{
    return paragraphEnd < length ? paragraphEnd + 1 : length;
}

int WrapLine(const wchar_t* text, int length, int start, int fit, int* lineEnd)
{
    if (fit < 1)
        fit = 1;
    // Only as far as the fit: scanning to the paragraph's end for every line
    // would read a long paragraph over and over.
    int cut = start + fit < length ? start + fit : length;
    for (int i = start; i <= cut && i < length; i++) {
        if (text[i] == L'\r') {
            *lineEnd = i;
            return i + 1;
        }
    }
    if (cut >= length) {
        *lineEnd = length;
        return length;
    }
    for (int i = cut; i > start; i--) {
        if (text[i] == L' ') {
            // The blanks at the break are dropped, as a word processor does.
            *lineEnd = i;
            while (i < length && text[i] == L' ')
                i++;
            return i < length && text[i] == L'\r' ? AfterParagraph(i, length) : i;
        }
    }
    // A pair cut in two would print as two broken halves.
    if (IS_LOW_SURROGATE(text[cut]) && IS_HIGH_SURROGATE(text[cut - 1]))
        cut = cut - 1 > start ? cut - 1 : cut + 1;
    *lineEnd = cut;
    return cut;
}

// The first window measured; it grows four times over while all of it fits.
#define FIRST_MEASURE 256

int FitOnLine(const wchar_t* text, int length, int start, MeasureFunction measure, void* context)
{
    int window = FIRST_MEASURE;
    for (;;) {
        int count = length - start < window ? length - start : window;
        int paragraphEnds = 0;
        for (int i = 0; i < count; i++) {
            if (text[start + i] == L'\r') {
                count = i;
                paragraphEnds = 1;
                break;
            }
        }
        int fit = count > 0 ? measure(context, text + start, count) : 0;
        if (fit < count || paragraphEnds || start + count >= length)
            return fit;
        window *= 4;
    }
}

LONG FindPageStart(int page, LONG start, LONG end, PageFunction layoutPage, void* context, int* pages)
{
    LONG position = start;
    for (int number = 1; number < page; number++) {
        LONG next = layoutPage(context, position);
        if (next <= position || next >= end) {
            *pages = number;
            return -1;
        }
        position = next;
    }
    return position;
}
