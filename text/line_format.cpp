#include "text/line_format.h"

static const char* const Names[] = {"WIN", "UNIX", "MAC"};
static const wchar_t* const WideNames[] = {L"WIN", L"UNIX", L"MAC"};

static int Known(int format)
{
    return format >= DOS && format <= MAC ? format : DOS;
}

const char* LineFormatName(int format) { return Names[Known(format)]; }
const wchar_t* LineFormatNameW(int format) { return WideNames[Known(format)]; }
