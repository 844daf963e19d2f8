#include "views/format_status.h"

#include "ground/app_state.h"
#include "ground/status_text.h"
#include "views/status_parts.h"
#include "resource.h"

#include <commctrl.h>
#include <stdio.h>

void FormatStatusText(int lineFormat, int encoding, int noMark, wchar_t* text, size_t size)
{
    const wchar_t* format = LineFormatName(lineFormat);
    const wchar_t* name = L"";
    if (encoding == ENCODING_UTF16LE)
        name = L" Unicode";
    else if (encoding == ENCODING_UTF16BE)
        name = L" Unicode BE";
    else if (encoding == ENCODING_UTF8)
        name = noMark ? L" UTF-8" : L" UTF-8 BOM";
    _snwprintf(text, size, L"%ls%ls", format, name);
    text[size - 1] = 0;
}

void ShowFormatStatus()
{
    wchar_t text[32];
    FormatStatusText(App.LineFormat, App.Encoding, App.NoByteOrderMark, text, 32);
    SetStatusText(STATUS_FORMAT, text);
    // The part widens for a longer text, such as an encoding's name.
    if (App.StatusBar && App.MainWindow) {
        RECT client;
        GetClientRect(App.MainWindow, &client);
        FitStatusParts(client.right - client.left);
    }
}

void SetLineFormat(int format)
{
    if (format < DOS || format > MAC)
        format = DOS;
    App.LineFormat = format;
    ShowFormatStatus();
    HMENU menu = GetMenu(App.MainWindow);
    CheckMenuItem(menu, IDM_FORMAT_DOS, MF_BYCOMMAND | (format == DOS ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, IDM_FORMAT_UNIX, MF_BYCOMMAND | (format == UNIX ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, IDM_FORMAT_MAC, MF_BYCOMMAND | (format == MAC ? MF_CHECKED : MF_UNCHECKED));
}
