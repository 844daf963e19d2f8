#include "print/page_layout.h"

#include "ground/helpers.h"

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

int WrapLine(const wchar_t* text, int length, int start, int fit, int* lineEnd)
{
    int paragraphEnd = start;
    while (paragraphEnd < length && text[paragraphEnd] != L'\r')
        paragraphEnd++;
    if (fit < 1)
        fit = 1;
    if (start + fit >= paragraphEnd) {
        *lineEnd = paragraphEnd;
        return paragraphEnd < length ? paragraphEnd + 1 : length;
    }
    int cut = start + fit;
    for (int i = cut; i > start; i--) {
        if (text[i] == L' ') {
            // The blanks at the break are dropped, as a word processor does.
            *lineEnd = i;
            while (i < paragraphEnd && text[i] == L' ')
                i++;
            return i < paragraphEnd ? i : (paragraphEnd < length ? paragraphEnd + 1 : length);
        }
    }
    *lineEnd = cut;
    return cut;
}
