// The code page to read a file's bytes in when they carry no mark and are
// neither UTF-16 nor UTF-8: the character-set detector's verdict, weighed
// against the system code page.
#ifndef SCRIVLET_CHARSET_DETECT_H
#define SCRIVLET_CHARSET_DETECT_H

#include <windows.h>
#include <stddef.h>

// Whether the bytes are the whole text or only its start, which may end in
// the first bytes of a character.
enum TextExtent { WHOLE_TEXT, START_OF_TEXT };

// The code page to read the bytes in (the first 64 KB of a file say
// enough). A multi-byte verdict (Big5, GB18030, Shift-JIS, EUC-KR, EUC-JP)
// picks its code page; a single-byte verdict picks its code page only where
// the system code page cannot decode the bytes; ASCII, no verdict, or a
// character set this system has no code page for keeps the system code page.
UINT DetectCodePage(const unsigned char* bytes, size_t count, TextExtent extent, UINT systemCodePage);

#endif
