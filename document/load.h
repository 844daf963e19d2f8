// Loading a document: OpenDocument and the stream-in behind it.
#ifndef SCRIVLET_LOAD_H
#define SCRIVLET_LOAD_H

#include <windows.h>
#include <richedit.h>

#define LOAD_OPEN_MODE   SF_TEXT
#define LOAD_INSERT_MODE (SF_TEXT | SFF_SELECTION)

int OpenDocument(const char* path);
int LoadFile(const char* path, int streamFormat);
// Readies ReadFileChunk for a file read from its current position.
void StartFileReader(int encoding, int lineFormat);
// Before each stream-in of a later piece of the same file: the control reads
// a stream as UTF-8 only when it begins with the mark.
void StartFilePiece();
DWORD CALLBACK ReadFileChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered);
void SetLineFormat(int format);
// After the whole open file went in: its breaks and what a save would change.
void EndFileStream(const char* path, int streamFormat, int foundBreak);
// The document state of a file just loaded in Open mode.
void FinishOpenDocument(const char* path);

// The call that reads the file while it streams in (ReadFile); tests swap
// it to make a read fail halfway.
typedef BOOL (WINAPI *LoadReadFunction)(HANDLE file, LPVOID buffer, DWORD bytes, LPDWORD read,
                                        LPOVERLAPPED overlapped);
extern LoadReadFunction LoadReader;

#endif
