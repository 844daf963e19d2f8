#include "views/typed_characters.h"

#include "ground/app_state.h"

int CodePointUnits(unsigned int codePoint, wchar_t* units)
{
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    if (codePoint < 0x10000) {
        units[0] = (wchar_t)codePoint;
        return 1;
    }
    codePoint -= 0x10000;
    units[0] = (wchar_t)(0xD800 + (codePoint >> 10));
    units[1] = (wchar_t)(0xDC00 + (codePoint & 0x3FF));
    return 2;
}

LRESULT PassUnicodeCharacter(HWND window, WPARAM codePoint, LPARAM keyData)
{
    if (codePoint == UNICODE_NOCHAR)
        return TRUE;
    wchar_t units[2];
    int count = CodePointUnits((unsigned int)codePoint, units);
    for (int i = 0; i < count; i++)
        CallWindowProcW(App.OldEditProc, window, WM_CHAR, (WPARAM)units[i], keyData);
    return FALSE;
}
