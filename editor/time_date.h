// Time/Date: the local time and date typed at the caret, in the user's
// short formats, by the command and at every load of a ".LOG" file.
#ifndef SCRIVLET_TIME_DATE_H
#define SCRIVLET_TIME_DATE_H

#include <windows.h>

// Formats the time/date insertion: date first when dateFirst is set.
void FormatTimeDate(const SYSTEMTIME* now, int dateFirst, wchar_t* out, int outSize);
// Replaces the selection with the time and date now, as one undo step.
void InsertTimeDate();

#endif
