#include "text/encoding_choices.h"

#include "text/text_encoding.h"

const EncodingChoice EncodingChoices[ENCODING_CHOICE_COUNT] = {
    {L"\x7CFB\x7D71 ANSI", ENCODING_ANSI, 0, 0},  // 系統 ANSI
    {L"Big5", ENCODING_ANSI, 950, 0},
    {L"GB18030", ENCODING_ANSI, 54936, 0},
    {L"GBK", ENCODING_ANSI, 936, 0},
    {L"Shift-JIS", ENCODING_ANSI, 932, 0},
    {L"EUC-KR", ENCODING_ANSI, 949, 0},
    {L"\x897F\x6B50 (1252)", ENCODING_ANSI, 1252, 0},  // 西歐
    {L"UTF-8", ENCODING_UTF8, 0, 0},
    {L"UTF-8 (\x542B BOM)", ENCODING_UTF8, 0, 1},  // 含 BOM
    {L"UTF-16 LE", ENCODING_UTF16LE, 0, 1},
    {L"UTF-16 BE", ENCODING_UTF16BE, 0, 1},
};

UINT ChoiceCodePage(int choice, UINT systemCodePage)
{
    if (choice < 0 || choice >= ENCODING_CHOICE_COUNT || EncodingChoices[choice].CodePage == 0)
        return systemCodePage;
    UINT codePage = EncodingChoices[choice].CodePage;
    // Wine has no GB18030 table; GBK reads and writes the same text for
    // every character it holds.
    if (codePage == 54936 && !IsValidCodePage(codePage))
        return 936;
    return codePage;
}

int CurrentEncodingChoice(int encoding, UINT codePage, int noMark, UINT systemCodePage)
{
    for (int i = 0; i < ENCODING_CHOICE_COUNT; i++) {
        const EncodingChoice& choice = EncodingChoices[i];
        if (choice.Encoding != encoding)
            continue;
        // An entry stands for its own code page, not the one it falls back to.
        UINT listed = choice.CodePage ? choice.CodePage : systemCodePage;
        if (encoding == ENCODING_ANSI ? listed == codePage
                                      : encoding != ENCODING_UTF8 || choice.WithMark == !noMark)
            return i;
    }
    return -1;
}
