#include "editor/time_date.h"

#include "ground/app_state.h"

#include <richedit.h>
#include <stdio.h>

void FormatTimeDate(const SYSTEMTIME* now, int dateFirst, wchar_t* out, int outSize)
{
    // Each half is at most 50 characters; the caller's buffer holds 100 or more.
    wchar_t date[50];
    wchar_t time[50];
    if (GetDateFormatW(0, DATE_SHORTDATE, now, NULL, date, 50) == 0)
        date[0] = 0;
    if (GetTimeFormatW(0, TIME_NOSECONDS, now, NULL, time, 50) == 0)
        time[0] = 0;
    const wchar_t* first = dateFirst ? date : time;
    const wchar_t* second = dateFirst ? time : date;
    _snwprintf(out, (size_t)outSize, L"%ls %ls", first, second);
    out[outSize - 1] = 0;
}

void InsertTimeDate()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[104];
    FormatTimeDate(&now, Config.DateFirst, text, 104);
    SendMessageW(App.EditControl, EM_REPLACESEL, TRUE, (LPARAM)text);
}
