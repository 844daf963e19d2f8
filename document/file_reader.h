// Reading the open file into the edit control's stream-in, piece by piece.
#ifndef SCRIVLET_FILE_READER_H
#define SCRIVLET_FILE_READER_H

#include <windows.h>

// Files of this size surely fill more than a screen.
#define LARGE_TEXT_BYTES (64 * 1024)

// Readies ReadFileChunk for a file read from its current position; ANSI
// text is read in codePage.
void StartFileReader(int encoding, int lineFormat, UINT codePage);
// The reader hands the control UTF-16 (the stream-in takes SF_UNICODE).
int FileReaderGivesUtf16();
// The vertical scroll bar goes up at the first read: a text this large
// will need it.
void ShowScrollBarAtFirstRead();
// Before each stream-in of a later piece of the same file: the control reads
// a stream as UTF-8 only when it begins with the mark.
void StartFilePiece();
DWORD CALLBACK ReadFileChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered);
// After the whole open file went in: its breaks and what a save would change.
void EndFileStream(const wchar_t* path, int streamFormat, int foundBreak);

// The call that reads the file while it streams in (ReadFile); tests swap
// it to make a read fail halfway.
typedef BOOL (WINAPI *LoadReadFunction)(HANDLE file, LPVOID buffer, DWORD bytes, LPDWORD read,
                                        LPOVERLAPPED overlapped);
extern LoadReadFunction LoadReader;

#endif
