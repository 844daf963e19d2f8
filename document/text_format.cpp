#include "document/text_format.h"

#include "app/app_state.h"

#include <string.h>

// Only the start of a file is examined; later bytes never change the verdict.
#define PROBE_LIMIT 1024
// UTF-16 without a mark is recognised by zero high bytes in its first ten characters.
#define UNICODE_PROBE_BYTES 20

DetectedFormat DetectFormat(const unsigned char* bytes, size_t count, int currentLineFormat)
{
    DetectedFormat result;
    result.IsUnicode = 0;
    result.HasByteOrderMark = 0;
    result.IsLogFile = 0;
    result.LineFormat = currentLineFormat;
    if (!bytes || count == 0)
        return result;
    if (count > PROBE_LIMIT)
        count = PROBE_LIMIT;

    if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        result.IsUnicode = 1;
        result.HasByteOrderMark = 1;
    }
    int zeros = 0;
    for (size_t i = 1; i < UNICODE_PROBE_BYTES && i < count; i += 2)
        if (bytes[i] == 0)
            zeros++;
    if (zeros == UNICODE_PROBE_BYTES / 2)
        result.IsUnicode = 1;

    // Raw bytes on purpose: a UTF-16 ".LOG" does not count.
    result.IsLogFile = count >= 4 && memcmp(bytes, ".LOG", 4) == 0;

    int hasCR = memchr(bytes, '\r', count) != NULL;
    int hasLF = memchr(bytes, '\n', count) != NULL;
    if (hasCR && !hasLF)
        result.LineFormat = MAC;
    else if (hasLF && !hasCR)
        result.LineFormat = UNIX;
    else
        result.LineFormat = DOS;
    return result;
}

size_t CopyDroppingCR(const unsigned char* in, size_t count, unsigned char* out)
{
    size_t written = 0;
    for (size_t i = 0; i < count; i++)
        if (in[i] != '\r')
            out[written++] = in[i];
    return written;
}
