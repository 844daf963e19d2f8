#include "views/status_paint.h"

#include "ground/app_state.h"
#include "views/colour_scheme.h"

#include <commctrl.h>

static void FillWith(HDC context, const RECT* rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(context, rect, brush);
    DeleteObject(brush);
}

static void PaintParts(HWND bar, const PaintedColours& colours)
{
    PAINTSTRUCT paint;
    HDC context = BeginPaint(bar, &paint);
    RECT client;
    GetClientRect(bar, &client);
    FillWith(context, &client, colours.StatusBack);
    HFONT font = (HFONT)SendMessageW(bar, WM_GETFONT, 0, 0);
    HGDIOBJ oldFont = SelectObject(context, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, colours.StatusText);
    int parts = (int)SendMessageW(bar, SB_GETPARTS, 0, 0);
    for (int part = 0; part < parts; part++) {
        RECT area;
        if (!SendMessageW(bar, SB_GETRECT, (WPARAM)part, (LPARAM)&area))
            continue;
        wchar_t text[256];
        text[0] = 0;
        int length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, (WPARAM)part, 0));
        if (length < 256)
            SendMessageW(bar, SB_GETTEXTW, (WPARAM)part, (LPARAM)text);
        RECT textArea = area;
        textArea.left += 3;
        DrawTextW(context, text, -1, &textArea, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        // A line between parts, in the text colour dimmed towards the back.
        RECT edge = area;
        edge.left = area.right - 1;
        FillWith(context, &edge, colours.GutterNumber);
    }
    SelectObject(context, oldFont);
    EndPaint(bar, &paint);
}

static LRESULT CALLBACK StatusPaintProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data)
{
    (void)id;
    (void)data;
    switch (message) {
    case WM_PAINT: {
        PaintedColours colours = CurrentColours();
        if (!colours.OwnStatusColours)
            break;
        PaintParts(bar, colours);
        return 0;
    }
    case WM_ERASEBKGND:
        if (CurrentColours().OwnStatusColours)
            return 1;
        break;
    }
    return DefSubclassProc(bar, message, wParam, lParam);
}

void InstallStatusPainting(HWND statusBar)
{
    SetWindowSubclass(statusBar, StatusPaintProc, 1, 0);
}
