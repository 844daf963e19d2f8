// Pure text transforms of loading and saving: no windows, no files.
#ifndef SCRIVLET_TEXT_FORMAT_H
#define SCRIVLET_TEXT_FORMAT_H

#include <stddef.h>

struct DetectedFormat {
    int IsUnicode;      // 1: UTF-16 little-endian
    int HasByteOrderMark; // FF FE at the start (skip two bytes when streaming)
    int IsLogFile;      // begins with ".LOG"
    int LineFormat;     // DOS, UNIX or MAC; unchanged (the given fallback) for an empty probe
    int FoundBreak;     // a CR or LF was among the bytes looked at
    int HasUtf8Mark;    // ANSI bytes that begin EF BB BF
};

// Looks at the first bytes of a file (at most 1024 are given).
DetectedFormat DetectFormat(const unsigned char* bytes, size_t count, int currentLineFormat);

// Replaces every CR by LF in place: bytes for ANSI, 16-bit units for UTF-16.
void ReplaceCRWithLF(unsigned char* text, size_t bytes, int isUnicode);

#endif
