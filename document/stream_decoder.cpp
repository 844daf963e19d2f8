#include "document/stream_decoder.h"

#include "app/app_state.h"

#include <string.h>

enum { UNIT_KEEP, UNIT_BREAK, UNIT_SKIP };

void StartStreamDecoder(StreamDecoder* decoder, int encoding, int lineFormat, UINT codePage)
{
    memset(decoder, 0, sizeof(*decoder));
    decoder->Encoding = encoding;
    decoder->LineFormat = lineFormat;
    decoder->CodePage = codePage;
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

// True when the bytes come back unchanged through the code page, as they
// do through the control and a save.
static int RoundTripsInCodePage(UINT codePage, const unsigned char* bytes, size_t count)
{
    if (count == 0)
        return 1;
    wchar_t wide[DECODER_MAX_PIECE + DECODER_MAX_CARRY];
    char back[DECODER_MAX_PIECE + DECODER_MAX_CARRY];
    int units = MultiByteToWideChar(codePage, 0, (const char*)bytes, (int)count, wide,
                                    DECODER_MAX_PIECE + DECODER_MAX_CARRY);
    if (units <= 0)
        return 0;
    BOOL usedDefault = FALSE;
    BOOL* usedFlag = codePage == CP_UTF8 ? NULL : &usedDefault;
    int length = WideCharToMultiByte(codePage, 0, wide, units, back, (int)sizeof(back), NULL, usedFlag);
    return !usedDefault && length == (int)count && memcmp(back, bytes, count) == 0;
}

static size_t DecodeAnsi(StreamDecoder* decoder, const unsigned char* work, size_t count, int atEnd,
                         unsigned char* out)
{
    // Whole characters only: a lead byte whose trail byte is still in the
    // file waits for the next piece.
    size_t end = 0;
    while (end < count) {
        size_t size = IsDBCSLeadByteEx(decoder->CodePage, work[end]) ? 2 : 1;
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

static int IsLeadSurrogate(unsigned int unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

static size_t DecodeUtf16(StreamDecoder* decoder, const unsigned char* work, size_t count, int atEnd,
                          unsigned char* out)
{
    size_t end = count & ~(size_t)1;
    // A surrogate pair is kept together across a piece boundary.
    if (!atEnd && end >= 2 && IsLeadSurrogate(work[end - 2] | (work[end - 1] << 8)))
        end -= 2;
    if (!atEnd) {
        decoder->CarryCount = count - end;
        memcpy(decoder->Carry, work + end, decoder->CarryCount);
    } else if (end < count) {
        // Half a character cannot be shown, nor written back.
        decoder->Changes |= CHANGE_ODD_BYTE;
    }

    size_t written = 0;
    for (size_t i = 0; i < end; i += 2) {
        int kind = ClassifyUnit(decoder, work[i] | (work[i + 1] << 8));
        if (kind == UNIT_BREAK) {
            out[written++] = '\r';
            out[written++] = 0;
        } else if (kind == UNIT_KEEP) {
            out[written++] = work[i];
            out[written++] = work[i + 1];
        }
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

    size_t written = decoder->Encoding == ENCODING_UTF16LE
                         ? DecodeUtf16(decoder, work, total, atEnd, out)
                         : DecodeAnsi(decoder, work, total, atEnd, out);
    if (atEnd)
        FinishDecoding(decoder);
    return written;
}
