// Whether a code page gives bytes back as they were: what a save of text
// read in that code page writes where the user changed nothing.
#ifndef SCRIVLET_CODE_PAGE_ROUND_TRIP_H
#define SCRIVLET_CODE_PAGE_ROUND_TRIP_H

#include <windows.h>
#include <stddef.h>

// True when decoding the bytes in the code page and encoding the text again
// gives them back byte for byte: no invalid sequence, no character the table
// maps from two byte sequences. False too when memory runs out.
int RoundTripsInCodePage(UINT codePage, const unsigned char* bytes, size_t count);

#endif
