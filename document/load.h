// Loading a document: OpenDocument and the stream-in behind it.
#ifndef SCRIVLET_LOAD_H
#define SCRIVLET_LOAD_H

#include <windows.h>
#include <richedit.h>

#define LOAD_OPEN_MODE   SF_TEXT
#define LOAD_INSERT_MODE (SF_TEXT | SFF_SELECTION)

// An encoding the user chose for a file, read instead of the one its bytes
// suggest.
struct EncodingRequest {
    int Encoding;   // TextEncoding
    UINT CodePage;  // of ANSI text
    int MarkWins;   // a byte-order mark in the file outweighs it (a choice remembered from before)
};

// Opens the file in the encoding remembered for it (settings/recent_encodings),
// else in the one its bytes tell.
int OpenDocument(const wchar_t* path);
// Opens the file in the given encoding (NULL: as OpenDocument does).
int OpenDocumentIn(const wchar_t* path, const EncodingRequest* asked);
int LoadFile(const wchar_t* path, int streamFormat, const EncodingRequest* asked = NULL);
// The document state of the file just loaded in Open mode (App.FilePath).
void FinishOpenDocument();


#endif
