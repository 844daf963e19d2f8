#include "text/code_page_names.h"

#include "text/text_encoding.h"

#include <stdio.h>

struct CodePageNameRow {
    UINT CodePage;
    const wchar_t* Name;
};

// 936 is GBK, which Windows writes for simplified Chinese; GB18030 (54936)
// is its superset. 949 is UHC, EUC-KR with its extension, named for the
// files it reads. The system code page of a UTF-8 system reads ANSI text
// as UTF-8.
static const CodePageNameRow Names[] = {
    {950, L"Big5"},
    {54936, L"GB18030"},
    {936, L"GBK"},
    {932, L"Shift-JIS"},
    {949, L"EUC-KR"},
    {51949, L"EUC-KR"},
    {20932, L"EUC-JP"},
    {51932, L"EUC-JP"},
    {874, L"Thai (874)"},
    {1250, L"Central European (1250)"},
    {1251, L"Cyrillic (1251)"},
    {1252, L"Western (1252)"},
    {1253, L"Greek (1253)"},
    {1254, L"Turkish (1254)"},
    {1255, L"Hebrew (1255)"},
    {1256, L"Arabic (1256)"},
    {1257, L"Baltic (1257)"},
    {1258, L"Vietnamese (1258)"},
    {20866, L"KOI8-R"},
    {28591, L"ISO-8859-1"},
    {28592, L"ISO-8859-2"},
    {28595, L"ISO-8859-5"},
    {28605, L"ISO-8859-15"},
    {437, L"OEM (437)"},
    {65001, L"UTF-8 (ANSI)"},
};

void CodePageName(UINT codePage, wchar_t* out, size_t size)
{
    if (size == 0)
        return;
    for (const CodePageNameRow& row : Names)
        if (row.CodePage == codePage) {
            lstrcpynW(out, row.Name, (int)size);
            return;
        }
    _snwprintf(out, size, L"ANSI %u", codePage);
    out[size - 1] = 0;
}

void EncodingName(int encoding, UINT codePage, int noMark, wchar_t* out, size_t size)
{
    if (size == 0)
        return;
    const wchar_t* name = NULL;
    switch (encoding) {
    case ENCODING_UTF16LE: name = L"UTF-16 LE"; break;
    case ENCODING_UTF16BE: name = L"UTF-16 BE"; break;
    case ENCODING_UTF8: name = noMark ? L"UTF-8" : L"UTF-8 BOM"; break;
    }
    if (name)
        lstrcpynW(out, name, (int)size);
    else
        CodePageName(codePage, out, size);
}
