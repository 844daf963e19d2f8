#include "text/stream_decoder.h"

#include "text/code_page_round_trip.h"
#include "text/line_format.h"
#include "text/text_encoding.h"
#include "text/text_format.h"

#include <string.h>

enum { UNIT_KEEP, UNIT_BREAK, UNIT_SKIP };

void StartStreamDecoder(StreamDecoder* decoder, int encoding, int lineFormat, UINT codePage)
{
    memset(decoder, 0, sizeof(*decoder));
    decoder->Encoding = encoding;
    decoder->LineFormat = lineFormat;
    decoder->CodePage = codePage;
    decoder->MarkPending = encoding == ENCODING_UTF8;
    CPINFO info;
    int plain = GetCPInfo(codePage, &info) && info.MaxCharSize <= 2;
    decoder->AnsiToUtf16 = encoding == ENCODING_ANSI && (codePage != GetACP() || !plain);
}

int DecoderGivesUtf16(const StreamDecoder* decoder)
{
    return DecodesToUtf16(decoder->Encoding) || decoder->AnsiToUtf16;
}

size_t AnsiCharacterLength(UINT codePage, const unsigned char* bytes, size_t available)
{
    unsigned char lead = bytes[0];
    if (lead < 0x80)
        return 1;
    switch (codePage) {
    case 54936:
        if (lead == 0x80 || lead == 0xFF)
            return 1;
        return available >= 2 && bytes[1] >= 0x30 && bytes[1] <= 0x39 ? 4 : 2;
    case 20932:
    case 51932:
        return lead == 0x8F ? 3 : lead == 0x8E || (lead >= 0xA1 && lead <= 0xFE) ? 2 : 1;
    case CP_UTF8:
        return lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? (lead <= 0xEF ? 3 : 1) : lead >= 0xC2 ? 2 : 1;
    }
    return IsDBCSLeadByteEx(codePage, lead) ? 2 : 1;
}

int DecodesToUtf16(int encoding)
{
    return encoding == ENCODING_UTF16LE || encoding == ENCODING_UTF16BE;
}

// ANSI text decoded into UTF-16 takes at most two bytes for each of its own.
size_t DecodedPieceLimit(const StreamDecoder* decoder, size_t count)
{
    size_t bytes = decoder->CarryCount + count;
    if (decoder->AnsiToUtf16)
        return 2 * bytes;
    return bytes + (decoder->MarkPending ? DECODER_UTF8_MARK : 0);
}

size_t DecoderInputRoom(const StreamDecoder* decoder, size_t room)
{
    if (decoder->AnsiToUtf16)
        room /= 2;
    size_t reserved = decoder->CarryCount + (decoder->MarkPending ? DECODER_UTF8_MARK : 0);
    return room > reserved ? room - reserved : 0;
}

int LineFormatOfBreaks(int breaks)
{
    switch (breaks) {
    case BREAK_CRLF: return DOS;
    case BREAK_LF: return UNIX;
    case BREAK_CR: return MAC;
    }
    return -1;
}

// Every break reaches the control as one CR, so neither a pair split between
// two pieces nor the control's own reading of CR LF can double a break.
static int ClassifyUnit(StreamDecoder* decoder, unsigned int unit)
{
    if (decoder->PendingCR) {
        decoder->PendingCR = 0;
        if (unit == '\n') {
            decoder->Breaks |= BREAK_CRLF;
            return UNIT_SKIP;
        }
        decoder->Breaks |= BREAK_CR;
    }
    if (unit == 0)
        decoder->Changes |= CHANGE_NUL;
    if (unit == '\r') {
        decoder->PendingCR = 1;
        return UNIT_BREAK;
    }
    if (unit == '\n') {
        decoder->Breaks |= BREAK_LF;
        return UNIT_BREAK;
    }
    return UNIT_KEEP;
}

static void FinishDecoding(StreamDecoder* decoder)
{
    if (decoder->PendingCR)
        decoder->Breaks |= BREAK_CR;
    decoder->PendingCR = 0;
    static const int own[] = {BREAK_CRLF, BREAK_LF, BREAK_CR};
    int format = decoder->LineFormat >= DOS && decoder->LineFormat <= MAC ? decoder->LineFormat : DOS;
    if (decoder->Breaks & ~own[format])
        decoder->Changes |= CHANGE_LINE_ENDINGS;
}

static size_t PutUnit(StreamDecoder* decoder, unsigned int unit, unsigned char* out);

// Whole characters of another code page than the system's, into UTF-16.
static size_t AnsiToUtf16(StreamDecoder* decoder, const unsigned char* work, size_t count, unsigned char* out)
{
    if (count == 0)
        return 0;
    // Never more units than bytes (a four-byte GB18030 character is two).
    wchar_t wide[DECODER_MAX_PIECE + DECODER_MAX_CARRY];
    int units = MultiByteToWideChar(decoder->CodePage, 0, (const char*)work, (int)count, wide,
                                    DECODER_MAX_PIECE + DECODER_MAX_CARRY);
    size_t written = 0;
    for (int i = 0; i < units; i++)
        written += PutUnit(decoder, wide[i], out + written);
    return written;
}

static size_t DecodeAnsi(StreamDecoder* decoder, const unsigned char* work, size_t count, int atEnd,
                         unsigned char* out)
{
    // Whole characters only: a lead byte whose trail byte is still in the
    // file waits for the next piece.
    size_t end = 0;
    while (end < count) {
        size_t size = AnsiCharacterLength(decoder->CodePage, work + end, count - end);
        if (end + size > count)
            break;
        end += size;
    }
    if (end < count && !atEnd) {
        decoder->CarryCount = count - end;
        memcpy(decoder->Carry, work + end, decoder->CarryCount);
    } else {
        end = count;
    }
    if (!RoundTripsInCodePage(decoder->CodePage, work, end))
        decoder->Changes |= CHANGE_UNMAPPED;
    if (decoder->AnsiToUtf16)
        return AnsiToUtf16(decoder, work, end, out);

    size_t written = 0;
    size_t i = 0;
    while (i < end) {
        size_t size = IsDBCSLeadByteEx(decoder->CodePage, work[i]) && i + 1 < end ? 2 : 1;
        int kind = size == 1 ? ClassifyUnit(decoder, work[i]) : ClassifyUnit(decoder, 0x100);
        if (kind == UNIT_BREAK)
            out[written++] = '\r';
        else if (kind == UNIT_KEEP) {
            memcpy(out + written, work + i, size);
            written += size;
        }
        i += size;
    }
    return written;
}

static unsigned int UnitAt(const unsigned char* bytes, int bigEndian)
{
    return bigEndian ? (bytes[0] << 8) | bytes[1] : bytes[0] | (bytes[1] << 8);
}

// One unit to the control, little-endian, breaks as a single CR.
static size_t PutUnit(StreamDecoder* decoder, unsigned int unit, unsigned char* out)
{
    int kind = ClassifyUnit(decoder, unit);
    if (kind == UNIT_SKIP)
        return 0;
    if (kind == UNIT_BREAK)
        unit = '\r';
    out[0] = (unsigned char)(unit & 0xFF);
    out[1] = (unsigned char)(unit >> 8);
    return 2;
}

static size_t DecodeUtf16(StreamDecoder* decoder, const unsigned char* work, size_t count, int atEnd,
                          unsigned char* out)
{
    int bigEndian = decoder->Encoding == ENCODING_UTF16BE;
    size_t end = count & ~(size_t)1;
    // A surrogate pair is kept together across a piece boundary.
    if (!atEnd && end >= 2 && IS_HIGH_SURROGATE(UnitAt(work + end - 2, bigEndian)))
        end -= 2;
    if (!atEnd) {
        decoder->CarryCount = count - end;
        memcpy(decoder->Carry, work + end, decoder->CarryCount);
    } else if (end < count) {
        // Half a character cannot be shown, nor written back.
        decoder->Changes |= CHANGE_ODD_BYTE;
    }

    size_t written = 0;
    for (size_t i = 0; i < end; i += 2)
        written += PutUnit(decoder, UnitAt(work + i, bigEndian), out + written);
    return written;
}

// UTF-8 passes as it is, breaks made single CRs; the mark in front of the
// first piece makes the control read it as UTF-8 whatever the code page.
static size_t DecodeUtf8(StreamDecoder* decoder, const unsigned char* work, size_t count, int atEnd,
                         unsigned char* out)
{
    size_t end = atEnd ? count : CompleteUtf8Length(work, count);
    decoder->CarryCount = count - end;
    memcpy(decoder->Carry, work + end, decoder->CarryCount);
    wchar_t wide[DECODER_MAX_PIECE + DECODER_MAX_CARRY];
    int invalid = 0;
    Utf8ToUtf16(work, end, wide, &invalid);
    if (invalid)
        decoder->Changes |= CHANGE_UNMAPPED;
    // The mark goes only in front of text: a read of the mark alone, at the
    // end of a stream into the selection, leaves Wine's control hanging.
    size_t start = decoder->MarkPending ? DECODER_UTF8_MARK : 0;
    size_t written = start;
    for (size_t i = 0; i < end; i++) {
        // Bytes of multi-byte sequences are never CR, LF or NUL.
        int kind = ClassifyUnit(decoder, work[i] < 0x80 ? work[i] : 0x80);
        if (kind == UNIT_BREAK)
            out[written++] = '\r';
        else if (kind == UNIT_KEEP)
            out[written++] = work[i];
    }
    if (written == start)
        return 0;
    if (start) {
        memcpy(out, "\xEF\xBB\xBF", DECODER_UTF8_MARK);
        decoder->MarkPending = 0;
    }
    return written;
}

size_t DecodeStreamPiece(StreamDecoder* decoder, const unsigned char* in, size_t count, int atEnd,
                         unsigned char* out)
{
    if (count > DECODER_MAX_PIECE)
        count = DECODER_MAX_PIECE;
    unsigned char work[DECODER_MAX_PIECE + DECODER_MAX_CARRY];
    size_t total = decoder->CarryCount;
    memcpy(work, decoder->Carry, total);
    if (count > 0)
        memcpy(work + total, in, count);
    total += count;
    decoder->CarryCount = 0;

    size_t written;
    if (decoder->Encoding == ENCODING_UTF8)
        written = DecodeUtf8(decoder, work, total, atEnd, out);
    else if (DecodesToUtf16(decoder->Encoding))
        written = DecodeUtf16(decoder, work, total, atEnd, out);
    else
        written = DecodeAnsi(decoder, work, total, atEnd, out);
    if (atEnd)
        FinishDecoding(decoder);
    return written;
}
