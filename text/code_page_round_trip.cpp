#include "text/code_page_round_trip.h"

#include <string.h>

int RoundTripsInCodePage(UINT codePage, const unsigned char* bytes, size_t count)
{
    if (count == 0)
        return 1;
    if (count > 0x7FFFFFFF)
        return 0;
    // A character never takes fewer bytes than UTF-16 units; the text is
    // compared whole, so no default-character flag is asked for (UTF-8 and
    // GB18030 refuse one).
    HANDLE heap = GetProcessHeap();
    wchar_t* wide = (wchar_t*)HeapAlloc(heap, 0, count * sizeof(wchar_t));
    char* back = (char*)HeapAlloc(heap, 0, count);
    int same = 0;
    if (wide && back) {
        int units = MultiByteToWideChar(codePage, 0, (const char*)bytes, (int)count, wide, (int)count);
        // Text that encodes longer does not fit: 0.
        int length = units > 0 ? WideCharToMultiByte(codePage, 0, wide, units, back, (int)count, NULL, NULL) : 0;
        same = length == (int)count && memcmp(back, bytes, count) == 0;
    }
    if (wide)
        HeapFree(heap, 0, wide);
    if (back)
        HeapFree(heap, 0, back);
    return same;
}
