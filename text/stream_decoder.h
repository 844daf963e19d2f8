// Turns a file's bytes, piece by piece, into the text the edit control
// takes, and notes everything a save would not write back as it was.
#ifndef SCRIVLET_STREAM_DECODER_H
#define SCRIVLET_STREAM_DECODER_H

#include "text/line_format.h"
#include "text/text_encoding.h"

#include <windows.h>
#include <stddef.h>

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
// Most bytes one piece can decode to: UTF-16 from UTF-8 doubles at most.
#define DECODER_MAX_OUTPUT (2 * (DECODER_MAX_PIECE + DECODER_MAX_CARRY))
// The UTF-8 mark that tells the control how to read the stream.
#define DECODER_UTF8_MARK 3

struct StreamDecoder {
    int Encoding;
    int LineFormat;            // DOS, UNIX or MAC: the breaks a save writes
    UINT CodePage;             // of ANSI text
    int PendingCR;             // the last unit was a CR: an LF next belongs to it
    unsigned char Carry[DECODER_MAX_CARRY];
    size_t CarryCount;
    int Breaks;                // BREAK_ kinds met so far
    int Changes;               // CHANGE_ reasons found so far
    int MarkPending;           // UTF-8: the first piece begins EF BB BF
    int AnsiToUtf16;           // ANSI text of another code page than the system's goes as UTF-16
};

// ANSI text in the system code page goes to the control as it is, byte for
// byte as ever; in any other code page it is decoded here into UTF-16, since
// the control reads every ANSI stream in the system code page.
void StartStreamDecoder(StreamDecoder* decoder, int encoding, int lineFormat, UINT codePage);

// Decodes the next count bytes of the file (at most DECODER_MAX_PIECE) into
// out, which needs DecodedPieceLimit(count) bytes: ANSI text stays in the
// code page, UTF-8 stays UTF-8 after a mark at the start of the first piece,
// UTF-16 of either byte order becomes little-endian; every line
// break is a single CR, whole characters only (an incomplete one waits for
// the next piece). atEnd tells that no bytes follow. Returns the number of
// bytes written to out.
size_t DecodeStreamPiece(StreamDecoder* decoder, const unsigned char* in, size_t count, int atEnd,
                         unsigned char* out);

// Most bytes the next piece of count file bytes can decode to.
size_t DecodedPieceLimit(const StreamDecoder* decoder, size_t count);
// Most file bytes the next piece may take so that it decodes into room bytes.
size_t DecoderInputRoom(const StreamDecoder* decoder, size_t room);
// True when text in this encoding reaches the control as UTF-16 (UTF-8
// goes as UTF-8 text, which the control reads faster).
int DecodesToUtf16(int encoding);
// True when the decoder's output is UTF-16 (the stream-in takes SF_UNICODE).
int DecoderGivesUtf16(const StreamDecoder* decoder);
// Bytes of the character that begins with these bytes in a code page (1 to
// 4): GB18030's four-byte forms, EUC-JP's three-byte ones and UTF-8 are told
// by their bytes, double-byte code pages by their lead bytes. Only the
// first two bytes are looked at, and only when available says they are there.
size_t AnsiCharacterLength(UINT codePage, const unsigned char* bytes, size_t available);

// The one kind of break in breaks as a line format, or -1 for none or mixed.
int LineFormatOfBreaks(int breaks);

#endif
