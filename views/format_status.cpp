#include "views/format_status.h"

#include "ground/app_state.h"
#include "ground/status_text.h"
#include "text/code_page_names.h"
#include "views/encoding_menus.h"
#include "views/status_parts.h"
#include "resource.h"

#include <commctrl.h>
#include <stdio.h>

void FormatStatusText(int lineFormat, int encoding, UINT codePage, int noMark, wchar_t* text, size_t size)
{
    wchar_t name[48];
    EncodingName(encoding, codePage, noMark, name, 48);
    _snwprintf(text, size, L"%ls %ls", LineFormatName(lineFormat), name);
    text[size - 1] = 0;
}

void ShowFormatStatus()
{
    wchar_t text[64];
    FormatStatusText(App.LineFormat, App.Encoding, App.CodePage, App.NoByteOrderMark, text, 64);
    SetStatusText(STATUS_FORMAT, text);
    CheckCurrentEncoding();
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
