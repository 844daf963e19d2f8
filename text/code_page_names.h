// What the user calls each code page and encoding: the names the status bar
// and the encoding menus show.
#ifndef SCRIVLET_CODE_PAGE_NAMES_H
#define SCRIVLET_CODE_PAGE_NAMES_H

#include <windows.h>
#include <stddef.h>

// The code page's name ("Big5", "GBK", "Western (1252)"); a code page with
// no name of its own is "ANSI <number>".
void CodePageName(UINT codePage, wchar_t* out, size_t size);
// A document's encoding as the status bar names it: the code page's name for
// ANSI text, else "UTF-8", "UTF-8 BOM", "UTF-16 LE" or "UTF-16 BE".
void EncodingName(int encoding, UINT codePage, int noMark, wchar_t* out, size_t size);

#endif
