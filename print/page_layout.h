// The program's own page layout, used when the edit control cannot lay out
// pages for a printer: tabs expanded, lines wrapped at the printable width.
#ifndef SCRIVLET_PAGE_LAYOUT_H
#define SCRIVLET_PAGE_LAYOUT_H

#include <windows.h>

// Copies text (length characters; paragraphs end in CR, LF or CR LF) with
// every tab replaced by blanks up to the next stop of tabSize columns and
// every break made a single CR. Returns a block to free with FreeBlock, its
// length in *outLength; NULL when no memory is left.
wchar_t* ExpandTabs(const wchar_t* text, int length, int tabSize, int* outLength);

// One printed line starting at start: fit is how many characters from start
// fit in the width. Sets *lineEnd (exclusive, what is drawn) and returns where
// the next line starts. A line breaks at its paragraph's CR, else after the
// last blank that fits, else after fit characters (at least one, and never
// between the two halves of a surrogate pair). Reads no further than the fit.
int WrapLine(const wchar_t* text, int length, int start, int fit, int* lineEnd);

// How many of count characters fit in the printed width.
typedef int (*MeasureFunction)(void* context, const wchar_t* text, int count);

// How many characters from start fit on one printed line, for WrapLine.
// Only the rest of the paragraph is measured, and of that a window that
// grows only while all of it fits, so a whole printout measures every
// character a few times at most, however long its paragraphs.
int FitOnLine(const wchar_t* text, int length, int start, MeasureFunction measure, void* context);

// Lays out one page from a position and returns where the next one starts.
typedef LONG (*PageFunction)(void* context, LONG start);

// Where page number page (from 1) starts, laying out the pages before it from
// start; the text ends at end. -1 when the text ends before that page, with
// the number of pages it has in *pages. The first page always exists, empty
// or not; a page that takes no text ends the text.
LONG FindPageStart(int page, LONG start, LONG end, PageFunction layoutPage, void* context, int* pages);

#endif
