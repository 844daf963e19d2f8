#include "views/format_status.h"

#include "ground/app_state.h"
#include "ground/helpers.h"
#include "resource.h"

#include <commctrl.h>
#include <stdio.h>

// Usual width of part 1 and the room a status-bar part leaves around its text.
#define FORMAT_PART_WIDTH 35
#define PART_PADDING 12

void FormatStatusText(int lineFormat, int encoding, int noMark, char* text, size_t size)
{
    const char* format = lineFormat == UNIX ? "UNIX" : lineFormat == MAC ? "MAC" : "WIN";
    const char* name = "";
    if (encoding == ENCODING_UTF16LE)
        name = " Unicode";
    else if (encoding == ENCODING_UTF16BE)
        name = " Unicode BE";
    else if (encoding == ENCODING_UTF8)
        name = noMark ? " UTF-8" : " UTF-8 BOM";
    _snprintf(text, size, "%s%s", format, name);
    text[size - 1] = 0;
}

void ComputeStatusEdges(int clientWidth, int edges[5])
{
    edges[0] = clientWidth - 365;
    edges[1] = clientWidth - 330;
    edges[2] = clientWidth - 300;
    edges[3] = clientWidth - 260;
    edges[4] = clientWidth;
}

int FormatPartExtraWidth()
{
    // An ANSI document keeps the usual layout.
    if (App.IsUnicode == ENCODING_ANSI || !App.StatusBar)
        return 0;
    char text[32];
    FormatStatusText(App.LineFormat, App.IsUnicode, App.NoByteOrderMark, text, sizeof(text));
    HDC dc = GetDC(App.StatusBar);
    if (!dc)
        return 0;
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageA(App.StatusBar, WM_GETFONT, 0, 0));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ReleaseDC(App.StatusBar, dc);
    int extra = size.cx + PART_PADDING - FORMAT_PART_WIDTH;
    return extra > 0 ? extra : 0;
}

void ShowFormatStatus()
{
    char text[32];
    FormatStatusText(App.LineFormat, App.IsUnicode, App.NoByteOrderMark, text, sizeof(text));
    if (App.StatusBar && App.MainWindow) {
        RECT client;
        GetClientRect(App.MainWindow, &client);
        int edges[STATUS_PARTS];
        ComputeStatusEdges(client.right - client.left, edges);
        edges[STATUS_MESSAGE] -= FormatPartExtraWidth();
        SendMessageA(App.StatusBar, SB_SETPARTS, STATUS_PARTS, (LPARAM)edges);
    }
    SetStatusText(STATUS_FORMAT, text);
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
