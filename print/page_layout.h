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
// last blank that fits, else after fit characters (at least one).
int WrapLine(const wchar_t* text, int length, int start, int fit, int* lineEnd);

#endif
