// Loading a document: OpenDocument and the stream-in behind it.
#ifndef SCRIVLET_LOAD_H
#define SCRIVLET_LOAD_H

#include <windows.h>
#include <richedit.h>

#define LOAD_OPEN_MODE   SF_TEXT
#define LOAD_INSERT_MODE (SF_TEXT | SFF_SELECTION)

int OpenDocument(const wchar_t* path);
int LoadFile(const wchar_t* path, int streamFormat);
// The document state of the file just loaded in Open mode (App.FilePath).
void FinishOpenDocument();


#endif
