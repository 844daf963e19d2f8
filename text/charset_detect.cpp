#include "text/charset_detect.h"

#include <string.h>
#include <uchardet.h>

enum CharsetKind { SINGLE_BYTE_CHARSET, MULTI_BYTE_CHARSET };

// The detector's names and the code pages that read them, the first that
// decodes the bytes winning (else the first the system has).
struct CharsetCodePages {
    const char* Name;
    CharsetKind Kind;
    UINT CodePages[2];
};

// GB18030's own code page (54936) is missing under Wine 8; GBK reads the
// same text for every character it holds and is what Windows writes, so it
// comes first. UHC is EUC-KR with its extension (949), which reads EUC-KR
// text the same; EUC-KR's own code page (51949) is missing under Wine 8 too.
// Latin-1 files are read as Windows-1252, its superset. EUC-TW, ISO-2022,
// HZ, ISO-8859-10 and -16 and VISCII have no code page here.
static const CharsetCodePages Charsets[] = {
    {"BIG5", MULTI_BYTE_CHARSET, {950}},
    {"GB18030", MULTI_BYTE_CHARSET, {936, 54936}},
    {"SHIFT_JIS", MULTI_BYTE_CHARSET, {932}},
    {"UHC", MULTI_BYTE_CHARSET, {949}},
    {"EUC-KR", MULTI_BYTE_CHARSET, {949}},
    {"EUC-JP", MULTI_BYTE_CHARSET, {20932}},
    {"WINDOWS-1250", SINGLE_BYTE_CHARSET, {1250}},
    {"WINDOWS-1251", SINGLE_BYTE_CHARSET, {1251}},
    {"WINDOWS-1252", SINGLE_BYTE_CHARSET, {1252}},
    {"WINDOWS-1253", SINGLE_BYTE_CHARSET, {1253}},
    {"WINDOWS-1255", SINGLE_BYTE_CHARSET, {1255}},
    {"WINDOWS-1256", SINGLE_BYTE_CHARSET, {1256}},
    {"WINDOWS-1257", SINGLE_BYTE_CHARSET, {1257}},
    {"WINDOWS-1258", SINGLE_BYTE_CHARSET, {1258}},
    {"ISO-8859-1", SINGLE_BYTE_CHARSET, {1252}},
    {"ISO-8859-2", SINGLE_BYTE_CHARSET, {28592}},
    {"ISO-8859-3", SINGLE_BYTE_CHARSET, {28593}},
    {"ISO-8859-4", SINGLE_BYTE_CHARSET, {28594}},
    {"ISO-8859-5", SINGLE_BYTE_CHARSET, {28595}},
    {"ISO-8859-6", SINGLE_BYTE_CHARSET, {28596}},
    {"ISO-8859-7", SINGLE_BYTE_CHARSET, {28597}},
    {"ISO-8859-8", SINGLE_BYTE_CHARSET, {28598}},
    {"ISO-8859-8-I", SINGLE_BYTE_CHARSET, {28598}},
    {"ISO-8859-9", SINGLE_BYTE_CHARSET, {28599}},
    {"ISO-8859-11", SINGLE_BYTE_CHARSET, {874}},
    {"ISO-8859-13", SINGLE_BYTE_CHARSET, {28603}},
    {"ISO-8859-15", SINGLE_BYTE_CHARSET, {28605}},
    {"TIS-620", SINGLE_BYTE_CHARSET, {874}},
    {"IBM852", SINGLE_BYTE_CHARSET, {852}},
    {"IBM855", SINGLE_BYTE_CHARSET, {855}},
    {"IBM866", SINGLE_BYTE_CHARSET, {866}},
    {"KOI8-R", SINGLE_BYTE_CHARSET, {20866}},
    {"MAC-CENTRALEUROPE", SINGLE_BYTE_CHARSET, {10029}},
    {"MAC-CYRILLIC", SINGLE_BYTE_CHARSET, {10007}},
};

static const CharsetCodePages* CharsetNamed(const char* name)
{
    for (const CharsetCodePages& charset : Charsets)
        if (_stricmp(name, charset.Name) == 0)
            return &charset;
    return NULL;
}

// The row of the detector's verdict, NULL for none or one not in the table.
static const CharsetCodePages* DetectedCharset(const unsigned char* bytes, size_t count)
{
    uchardet_t detector = uchardet_new();
    if (!detector)
        return NULL;
    const CharsetCodePages* found = NULL;
    if (uchardet_handle_data(detector, (const char*)bytes, count) == 0) {
        uchardet_data_end(detector);
        found = CharsetNamed(uchardet_get_charset(detector));
    }
    uchardet_delete(detector);
    return found;
}

// Every byte is part of a valid character; the start of a text may end in
// a character whose last bytes follow.
static int DecodesInCodePage(UINT codePage, const unsigned char* bytes, size_t count, TextExtent extent)
{
    CPINFO info;
    size_t open = extent == START_OF_TEXT && GetCPInfo(codePage, &info) ? info.MaxCharSize - 1 : 0;
    for (size_t cut = 0; cut <= open && cut <= count; cut++)
        if (count == cut ||
            MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, (const char*)bytes, (int)(count - cut), NULL, 0) > 0)
            return 1;
    return 0;
}

// The detector weighs GB18030 by GB2312's characters alone, both of whose
// bytes are A1 or above, so Big5 text, whose two-byte characters often end
// in 40-7E, can pass for it; in GBK text such characters are rare. Text that
// Big5 decodes and of whose two-byte characters a fifth or more lie outside
// GB2312 is Big5 (GBK's traditional characters mostly end in bytes Big5
// has no character for).
static int IsBig5PassingForGbk(const unsigned char* bytes, size_t count, TextExtent extent)
{
    size_t pairs = 0, outside = 0;
    for (size_t i = 0; i + 1 < count; i++)
        if (bytes[i] >= 0x81) {
            pairs++;
            outside += bytes[i] < 0xA1 || bytes[i + 1] < 0xA1;
            i++;
        }
    return pairs > 0 && outside * 5 >= pairs && DecodesInCodePage(950, bytes, count, extent);
}

UINT DetectCodePage(const unsigned char* bytes, size_t count, TextExtent extent, UINT systemCodePage)
{
    const CharsetCodePages* charset = DetectedCharset(bytes, count);
    if (charset && strcmp(charset->Name, "GB18030") == 0 && IsBig5PassingForGbk(bytes, count, extent))
        charset = CharsetNamed("BIG5");
    if (!charset)
        return systemCodePage;
    if (charset->Kind == SINGLE_BYTE_CHARSET && DecodesInCodePage(systemCodePage, bytes, count, extent))
        return systemCodePage;
    UINT available = 0;
    for (UINT codePage : charset->CodePages) {
        if (codePage == 0 || !IsValidCodePage(codePage))
            continue;
        if (DecodesInCodePage(codePage, bytes, count, extent))
            return codePage;
        if (available == 0)
            available = codePage;
    }
    return available ? available : systemCodePage;
}
