// Status-bar part 1: the document's line-ending format and, unless it is
// ANSI, its encoding.
#ifndef SCRIVLET_FORMAT_STATUS_H
#define SCRIVLET_FORMAT_STATUS_H

#include <stddef.h>

// "WIN", "UNIX" or "MAC", followed for other encodings than ANSI by
// "Unicode", "Unicode BE", "UTF-8" or "UTF-8 BOM".
void FormatStatusText(int lineFormat, int encoding, int noMark, char* text, size_t size);
// Shows the current document's format in part 1, widening the part as its text needs.
void ShowFormatStatus();
// Right edges of the five status-bar parts for a client width.
void ComputeStatusEdges(int clientWidth, int edges[5]);
// The document's line format, shown on the status bar and in the Format menu.
void SetLineFormat(int format);
// Pixels part 1 needs beyond its usual width for the current document.
int FormatPartExtraWidth();

#endif
