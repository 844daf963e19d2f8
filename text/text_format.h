// Pure text transforms of loading and saving: no windows, no files.
#ifndef SCRIVLET_TEXT_FORMAT_H
#define SCRIVLET_TEXT_FORMAT_H

#include <stddef.h>

struct DetectedFormat {
    int Encoding;       // TextEncoding; UTF-8 without a mark needs the whole file (IsUtf8Text)
    int IsUnicode;      // 1: UTF-16 little-endian
    int HasByteOrderMark; // FF FE, FE FF or EF BB BF at the start
    int MarkBytes;      // its length: where streaming begins
    int IsLogFile;      // begins with ".LOG"
    int LineFormat;     // DOS, UNIX or MAC; unchanged (the given fallback) for an empty probe
    int FoundBreak;     // a CR or LF was among the bytes looked at
    int HasUtf8Mark;    // begins EF BB BF
};

// A UTF-8 validity check fed piece by piece: shortest forms only, no
// encoded surrogates, nothing above U+10FFFF.
struct Utf8Check {
    int Valid;
    int MultiByte;           // a sequence of two or more bytes was met
    int Needed;              // continuation bytes still due
    unsigned char Low, High; // range of the next continuation byte
};
void StartUtf8Check(Utf8Check* check);
void ContinueUtf8Check(Utf8Check* check, const unsigned char* bytes, size_t count);
// Valid, with no sequence left open.
int Utf8CheckPassed(const Utf8Check* check);
// Bytes that are valid UTF-8 and hold at least one multi-byte sequence.
int IsUtf8Text(const unsigned char* bytes, size_t count);
// UTF-8 into UTF-16 (out holds count units). Never relies on the system's
// handling of bad input: a byte that begins no valid sequence becomes
// U+FFFD and sets *invalid, and the bytes after it are read afresh.
size_t Utf8ToUtf16(const unsigned char* bytes, size_t count, wchar_t* out, int* invalid);
// count less an incomplete sequence at its end, which may finish later.
size_t CompleteUtf8Length(const unsigned char* bytes, size_t count);

// Looks at the first bytes of a file (at most 1024 are given).
DetectedFormat DetectFormat(const unsigned char* bytes, size_t count, int currentLineFormat);

#endif
