// Turns a file's bytes, piece by piece, into the text the edit control
// takes, and notes everything a save would not write back as it was.
#ifndef SCRIVLET_STREAM_DECODER_H
#define SCRIVLET_STREAM_DECODER_H

#include <windows.h>
#include <stddef.h>

// How a document's characters are stored on disk. The values of the first
// two are those of AppState's IsUnicode.
enum TextEncoding { ENCODING_ANSI = 0, ENCODING_UTF16LE = 1 };

// Reasons a save would change bytes the user never touched.
enum {
    CHANGE_NUL = 1,           // NUL characters
    CHANGE_LINE_ENDINGS = 2,  // breaks other than the format's own
    CHANGE_ODD_BYTE = 4,      // a UTF-16 file of odd length
    CHANGE_UNMAPPED = 8,      // bytes the code page does not give back
    CHANGE_INCOMPLETE = 16,   // the load stopped before the end of the file
    CHANGE_DEFAULT_CHAR = 32  // characters the encoding cannot hold
};

// Kinds of line break met in a file.
enum { BREAK_CRLF = 1, BREAK_LF = 2, BREAK_CR = 4 };

// Largest piece DecodeStreamPiece takes at once.
#define DECODER_MAX_PIECE 4096
// Bytes of an incomplete character it may carry to the next piece.
#define DECODER_MAX_CARRY 3

struct StreamDecoder {
    int Encoding;
    int LineFormat;            // DOS, UNIX or MAC: the breaks a save writes
    UINT CodePage;             // of ANSI text
    int PendingCR;             // the last unit was a CR: an LF next belongs to it
    unsigned char Carry[DECODER_MAX_CARRY];
    size_t CarryCount;
    int Breaks;                // BREAK_ kinds met so far
    int Changes;               // CHANGE_ reasons found so far
};

void StartStreamDecoder(StreamDecoder* decoder, int encoding, int lineFormat, UINT codePage);

// Decodes the next count bytes of the file (at most DECODER_MAX_PIECE) into
// out, which needs count + DECODER_MAX_CARRY bytes: text in the same
// encoding with every line break a single CR, whole characters only (an
// incomplete one waits for the next piece). atEnd tells that no bytes
// follow. Returns the number of bytes written to out.
size_t DecodeStreamPiece(StreamDecoder* decoder, const unsigned char* in, size_t count, int atEnd,
                         unsigned char* out);

// The one kind of break in breaks as a line format, or -1 for none or mixed.
int LineFormatOfBreaks(int breaks);

#endif
