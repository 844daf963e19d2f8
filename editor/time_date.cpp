#include "editor/time_date.h"

#include "ground/app_state.h"

#include <richedit.h>
#include <stdio.h>

void FormatTimeDate(const SYSTEMTIME* now, int dateFirst, char* out, int outSize)
{
    // Each half is at most 50 characters; the caller's buffer holds 100 or more.
    char date[50];
    char time[50];
    if (GetDateFormatA(0, DATE_SHORTDATE, now, NULL, date, 50) == 0)
        date[0] = 0;
    if (GetTimeFormatA(0, TIME_NOSECONDS, now, NULL, time, 50) == 0)
        time[0] = 0;
    const char* first = dateFirst ? date : time;
    const char* second = dateFirst ? time : date;
    _snprintf(out, (size_t)outSize, "%s %s", first, second);
    out[outSize - 1] = 0;
}

void InsertTimeDate()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[104];
    FormatTimeDate(&now, Config.DateFirst, text, (int)sizeof(text));
    SendMessageA(App.EditControl, EM_REPLACESEL, TRUE, (LPARAM)text);
}
