#include "text/line_format.h"

static const wchar_t* const Names[] = {L"WIN", L"UNIX", L"MAC"};

const wchar_t* LineFormatName(int format)
{
    return Names[format >= DOS && format <= MAC ? format : DOS];
}
