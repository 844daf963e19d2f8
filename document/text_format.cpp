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
    result.FoundBreak = 0;
    result.HasUtf8Mark = 0;
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

    int hasCR = 0;
    int hasLF = 0;
    if (result.IsUnicode) {
        // Whole 16-bit units: the byte 0D inside U+4E0D is not a CR.
        for (size_t i = result.HasByteOrderMark ? 2 : 0; i + 1 < count; i += 2) {
            if (bytes[i + 1] != 0)
                continue;
            hasCR |= bytes[i] == '\r';
            hasLF |= bytes[i] == '\n';
        }
    } else {
        hasCR = memchr(bytes, '\r', count) != NULL;
        hasLF = memchr(bytes, '\n', count) != NULL;
    }
    result.FoundBreak = hasCR || hasLF;
    // The control would take a leading EF BB BF as UTF-8; the file is read
    // as text in the ANSI code page like any other.
    result.HasUtf8Mark = !result.IsUnicode && count >= 3 && memcmp(bytes, "\xEF\xBB\xBF", 3) == 0;
    if (hasCR && !hasLF)
        result.LineFormat = MAC;
    else if (hasLF && !hasCR)
        result.LineFormat = UNIX;
    else
        result.LineFormat = DOS;
    return result;
}
