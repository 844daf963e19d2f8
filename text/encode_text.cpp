#include "text/encode_text.h"

#include "text/memory.h"
#include "text/stream_decoder.h"

#include <string.h>

static size_t MarkLength(int encoding)
{
    return encoding == ENCODING_UTF8 ? 3 : encoding == ENCODING_ANSI ? 0 : 2;
}

static void PutMark(int encoding, unsigned char* block)
{
    static const unsigned char little[] = {0xFF, 0xFE};
    static const unsigned char big[] = {0xFE, 0xFF};
    static const unsigned char utf8[] = {0xEF, 0xBB, 0xBF};
    const unsigned char* mark = encoding == ENCODING_UTF8 ? utf8 : encoding == ENCODING_UTF16BE ? big : little;
    memcpy(block, mark, MarkLength(encoding));
}

// Characters of a code page, or of UTF-8, by WideCharToMultiByte. Nothing
// is replaced unnoticed: no best-fit look-alikes in a code page, and an
// unpaired surrogate, which UTF-8 cannot hold, is reported.
static int ConvertedLength(const wchar_t* text, int units, UINT codePage, char* out, int room, int* lossy)
{
    BOOL usedDefault = FALSE;
    int length;
    if (codePage == CP_UTF8) {
        length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, units, out, room, NULL, NULL);
        if (length == 0 && GetLastError() == ERROR_NO_UNICODE_TRANSLATION) {
            *lossy = 1;
            length = WideCharToMultiByte(CP_UTF8, 0, text, units, out, room, NULL, NULL);
        }
        return length;
    }
    length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text, units, out, room, NULL, &usedDefault);
    if (length == 0 && GetLastError() == ERROR_INVALID_FLAGS)
        length = WideCharToMultiByte(codePage, 0, text, units, out, room, NULL, &usedDefault);
    *lossy |= usedDefault != 0;
    return length;
}

unsigned char* EncodeText(const wchar_t* text, size_t units, int encoding, int withMark, UINT codePage,
                          size_t* bytes, int* changes)
{
    *changes = 0;
    *bytes = 0;
    size_t prefix = withMark ? MarkLength(encoding) : 0;
    size_t length = units * 2;
    int lossy = 0;
    UINT target = encoding == ENCODING_UTF8 ? CP_UTF8 : codePage;
    if (encoding == ENCODING_ANSI || encoding == ENCODING_UTF8) {
        int needed = units ? ConvertedLength(text, (int)units, target, NULL, 0, &lossy) : 0;
        if (units && needed <= 0)
            return NULL;
        length = (size_t)needed;
    }
    unsigned char* block = (unsigned char*)AllocZeroed(prefix + length + 2);
    if (!block)
        return NULL;
    if (prefix)
        PutMark(encoding, block);
    if (encoding == ENCODING_ANSI || encoding == ENCODING_UTF8) {
        lossy = 0;
        if (units)
            ConvertedLength(text, (int)units, target, (char*)block + prefix, (int)length, &lossy);
    } else {
        memcpy(block + prefix, text, length);
        if (encoding == ENCODING_UTF16BE)
            for (size_t i = prefix; i < prefix + length; i += 2) {
                unsigned char low = block[i];
                block[i] = block[i + 1];
                block[i + 1] = low;
            }
    }
    *changes = lossy ? CHANGE_DEFAULT_CHAR : 0;
    *bytes = prefix + length;
    return block;
}
