// Status-bar part 1: the document's line-ending format and, unless it is
// ANSI, its encoding.
#ifndef SCRIVLET_FORMAT_STATUS_H
#define SCRIVLET_FORMAT_STATUS_H

#include <stddef.h>

// "WIN", "UNIX" or "MAC", followed for other encodings than ANSI by
// "Unicode", "Unicode BE", "UTF-8" or "UTF-8 BOM".
void FormatStatusText(int lineFormat, int encoding, int noMark, wchar_t* text, size_t size);
// Shows the current document's format in part 1, widening the part as its text needs.
void ShowFormatStatus();
// The document's line format, shown on the status bar and in the Format menu.
void SetLineFormat(int format);

#endif
