// Status-bar part 1: the document's line-ending format and its encoding.
#ifndef SCRIVLET_FORMAT_STATUS_H
#define SCRIVLET_FORMAT_STATUS_H

#include <windows.h>
#include <stddef.h>

// "WIN", "UNIX" or "MAC" and the encoding's name: "WIN Big5", "UNIX UTF-8 BOM".
void FormatStatusText(int lineFormat, int encoding, UINT codePage, int noMark, wchar_t* text, size_t size);
// Shows the current document's format in part 1, widening the part as its text needs.
void ShowFormatStatus();
// The document's line format, shown on the status bar and in the Format menu.
void SetLineFormat(int format);

#endif
