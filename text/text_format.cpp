#include "text/text_format.h"

#include "text/line_format.h"
#include "text/text_encoding.h"

#include <string.h>

// Only the start of a file is examined; later bytes never change the verdict.
#define PROBE_LIMIT 1024
// UTF-16 without a mark is recognised by zero high bytes in its first ten characters.
#define UNICODE_PROBE_BYTES 20

DetectedFormat DetectFormat(const unsigned char* bytes, size_t count, int currentLineFormat)
{
    DetectedFormat result;
    memset(&result, 0, sizeof(result));
    result.Encoding = ENCODING_ANSI;
    result.LineFormat = currentLineFormat;
    if (!bytes || count == 0)
        return result;
    if (count > PROBE_LIMIT)
        count = PROBE_LIMIT;

    if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        result.Encoding = ENCODING_UTF16LE;
        result.MarkBytes = 2;
    }
    int zeros = 0;
    for (size_t i = 1; i < UNICODE_PROBE_BYTES && i < count; i += 2)
        if (bytes[i] == 0)
            zeros++;
    if (zeros == UNICODE_PROBE_BYTES / 2)
        result.Encoding = ENCODING_UTF16LE;
    // The older rules above win: only what they leave as ANSI is looked at again.
    if (result.Encoding == ENCODING_ANSI && count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        result.Encoding = ENCODING_UTF16BE;
        result.MarkBytes = 2;
    }
    if (result.Encoding == ENCODING_ANSI && count >= 3 && memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) {
        result.Encoding = ENCODING_UTF8;
        result.MarkBytes = 3;
    }
    result.IsUnicode = result.Encoding == ENCODING_UTF16LE;
    result.HasByteOrderMark = result.MarkBytes > 0;
    result.HasUtf8Mark = result.Encoding == ENCODING_UTF8;

    // Raw bytes on purpose: a UTF-16 ".LOG" does not count.
    result.IsLogFile = count >= 4 && memcmp(bytes, ".LOG", 4) == 0;

    int hasCR = 0;
    int hasLF = 0;
    if (result.Encoding == ENCODING_UTF16LE || result.Encoding == ENCODING_UTF16BE) {
        // Whole 16-bit units: the byte 0D inside U+4E0D is not a CR.
        size_t low = result.Encoding == ENCODING_UTF16BE ? 1 : 0;
        for (size_t i = result.MarkBytes; i + 1 < count; i += 2) {
            if (bytes[i + 1 - low] != 0)
                continue;
            hasCR |= bytes[i + low] == '\r';
            hasLF |= bytes[i + low] == '\n';
        }
    } else {
        hasCR = memchr(bytes, '\r', count) != NULL;
        hasLF = memchr(bytes, '\n', count) != NULL;
    }
    result.FoundBreak = hasCR || hasLF;
    if (hasCR && !hasLF)
        result.LineFormat = MAC;
    else if (hasLF && !hasCR)
        result.LineFormat = UNIX;
    else
        result.LineFormat = DOS;
    return result;
}

void StartUtf8Check(Utf8Check* check)
{
    memset(check, 0, sizeof(*check));
    check->Valid = 1;
}

// Sets the continuation bytes a lead byte asks for; 0 for a byte that
// cannot begin a character.
static int StartSequence(Utf8Check* check, unsigned char lead)
{
    check->Low = 0x80;
    check->High = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        check->Needed = 1;
    else if (lead >= 0xE0 && lead <= 0xEF)
        check->Needed = 2;
    else if (lead >= 0xF0 && lead <= 0xF4)
        check->Needed = 3;
    else
        return 0;
    // Overlong forms, surrogates and code points past U+10FFFF.
    if (lead == 0xE0)
        check->Low = 0xA0;
    else if (lead == 0xED)
        check->High = 0x9F;
    else if (lead == 0xF0)
        check->Low = 0x90;
    else if (lead == 0xF4)
        check->High = 0x8F;
    check->MultiByte = 1;
    return 1;
}

void ContinueUtf8Check(Utf8Check* check, const unsigned char* bytes, size_t count)
{
    size_t i = 0;
    while (check->Valid && i < count) {
        if (check->Needed == 0) {
            // Plain ASCII eight bytes at a time.
            unsigned long long word;
            while (i + sizeof(word) <= count) {
                memcpy(&word, bytes + i, sizeof(word));
                if (word & 0x8080808080808080ull)
                    break;
                i += sizeof(word);
            }
            if (i >= count)
                break;
            unsigned char byte = bytes[i++];
            if (byte >= 0x80 && !StartSequence(check, byte))
                check->Valid = 0;
            continue;
        }
        unsigned char byte = bytes[i++];
        if (byte < check->Low || byte > check->High) {
            check->Valid = 0;
            break;
        }
        check->Low = 0x80;
        check->High = 0xBF;
        check->Needed--;
    }
}

int Utf8CheckPassed(const Utf8Check* check)
{
    return check->Valid && check->Needed == 0;
}

int IsUtf8Text(const unsigned char* bytes, size_t count)
{
    Utf8Check check;
    StartUtf8Check(&check);
    ContinueUtf8Check(&check, bytes, count);
    return Utf8CheckPassed(&check) && check.MultiByte;
}

size_t Utf8ToUtf16(const unsigned char* bytes, size_t count, wchar_t* out, int* invalid)
{
    size_t units = 0;
    size_t i = 0;
    while (i < count) {
        unsigned char lead = bytes[i];
        if (lead < 0x80) {
            out[units++] = lead;
            i++;
            continue;
        }
        Utf8Check check;
        size_t length = StartSequence(&check, lead) ? 1 + (size_t)check.Needed : 0;
        for (size_t k = 1; k < length; k++) {
            if (i + k >= count || bytes[i + k] < check.Low || bytes[i + k] > check.High) {
                length = 0;
                break;
            }
            check.Low = 0x80;
            check.High = 0xBF;
        }
        if (length == 0) {
            // One replacement per byte: the bytes after it are read afresh.
            out[units++] = 0xFFFD;
            *invalid = 1;
            i++;
            continue;
        }
        unsigned long point = lead & (0xFF >> (length + 1));
        for (size_t k = 1; k < length; k++)
            point = (point << 6) | (bytes[i + k] & 0x3F);
        if (point >= 0x10000) {
            point -= 0x10000;
            out[units++] = (wchar_t)(0xD800 + (point >> 10));
            out[units++] = (wchar_t)(0xDC00 + (point & 0x3FF));
        } else {
            out[units++] = (wchar_t)point;
        }
        i += length;
    }
    return units;
}

size_t CompleteUtf8Length(const unsigned char* bytes, size_t count)
{
    // The last lead byte within reach decides whether its sequence is done.
    for (size_t back = 1; back <= 4 && back <= count; back++) {
        unsigned char byte = bytes[count - back];
        if ((byte & 0xC0) == 0x80)
            continue;
        size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? count - back : count;
    }
    return count;
}
