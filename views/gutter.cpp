// The line-number gutter: a strip at the left of the edit control's own
// client area, kept clear of text by the control's left margin and painted
// after the control has painted, through a repaint request posted to itself.
#include "views/gutter.h"

#include "ground/app_state.h"
#include "ground/dpi.h"
#include "text/zoom_steps.h"
#include "views/colour_scheme.h"
#include "views/typed_characters.h"
#include "views/zoom.h"

#include <richedit.h>
#include <stdio.h>
#include <string.h>

// How the control is given the left margin; found out once it has a size.
enum { MARGIN_UNKNOWN = 0, MARGIN_BY_MESSAGE = 1, MARGIN_BY_RECT = 2 };

static LONG LineTop(LONG line)
{
    LONG index = (LONG)SendMessageW(App.EditControl, EM_LINEINDEX, (WPARAM)line, 0);
    if (index < 0)
        return LONG_MIN; // no such line
    POINTL point = {0, 0};
    SendMessageW(App.EditControl, EM_POSFROMCHAR, (WPARAM)&point, (LPARAM)index);
    return point.y;
}

static LONG TextLeftEdge()
{
    POINTL point = {0, 0};
    SendMessageW(App.EditControl, EM_POSFROMCHAR, (WPARAM)&point, 0);
    return point.x;
}

static void SendMarginMessage(int margin)
{
    SendMessageW(App.EditControl, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(margin, 0));
}

// Some RichEdit builds (Wine's) ignore EM_SETMARGINS: the text stays put. Two
// different margins and the text's left edge under each tell which this is.
static int ProbeMarginMessage()
{
    SendMarginMessage(0);
    LONG without = TextLeftEdge();
    SendMarginMessage(16);
    LONG with = TextLeftEdge();
    return with != without ? MARGIN_BY_MESSAGE : MARGIN_BY_RECT;
}

static void ApplyLeftMargin(int margin)
{
    RECT client;
    GetClientRect(App.EditControl, &client);
    int hasArea = client.right > client.left && client.bottom > client.top;
    if (App.GutterMarginMode == MARGIN_UNKNOWN) {
        if (!hasArea) {
            // Too early to tell; the first resize settles it.
            SendMarginMessage(margin);
            return;
        }
        App.GutterMarginMode = ProbeMarginMessage();
    }
    if (App.GutterMarginMode == MARGIN_BY_MESSAGE) {
        SendMarginMessage(margin);
        return;
    }
    // The formatting rectangle does the margin's work; the margin itself is
    // zero so that a control that does honour it never gets both.
    SendMarginMessage(0);
    client.left += margin;
    // Every EM_SETRECT lays out the whole text again, seconds for a large
    // one; after most resizes the control has already moved the rectangle.
    RECT current;
    SendMessageW(App.EditControl, EM_GETRECT, 0, (LPARAM)&current);
    if (!EqualRect(&current, &client))
        SendMessageW(App.EditControl, EM_SETRECT, 0, (LPARAM)&client);
}

// The formatting rectangle is fixed in size: it follows every resize.
static void RefitFormatRect()
{
    if (App.GutterMarginMode != MARGIN_BY_MESSAGE && App.LeftMargin > 0)
        ApplyLeftMargin(App.LeftMargin);
}

// The editor font at the text's zoom, so that the numbers stand as large as
// the lines they name and on the same baseline.
static HFONT CreateGutterFont()
{
    LOGFONTW font = Config.EditorLogFont;
    if (App.ZoomPercent != ZOOM_DEFAULT) {
        font.lfHeight = ZoomedFontHeight((long)Config.EditorCharFormat.yHeight, WindowDpi(App.EditControl),
                                         App.ZoomPercent);
        font.lfWidth = 0;
    }
    return CreateFontIndirectW(&font);
}

// Width in the editor font of as many sevens as firstVisibleLine + 50 has
// digits, three at least.
static int MeasureGutterDigits(LONG firstVisibleLine)
{
    wchar_t digits[16];
    int count = _snwprintf(digits, 16, L"%3ld", (long)(firstVisibleLine + 50));
    if (count < 0 || count >= 16)
        count = 15;
    for (int i = 0; i < count; i++)
        digits[i] = L'7';
    HDC context = GetDC(App.EditControl);
    HFONT font = CreateGutterFont();
    HGDIOBJ oldFont = SelectObject(context, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32W(context, digits, count, &size);
    SelectObject(context, oldFont);
    DeleteObject(font);
    ReleaseDC(App.EditControl, context);
    return (int)size.cx;
}

// The gutter's spacings are given at 96 DPI.
static int GutterPixels(int pixelsAt96)
{
    return ScaleForDpi(pixelsAt96, WindowDpi(App.EditControl));
}

void UpdateGutterWidth()
{
    int margin = 1;
    if (Config.LineNumbers) {
        LONG first = (LONG)SendMessageW(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0);
        int width = MeasureGutterDigits(first) + GutterPixels(10);
        if (width > App.GutterWidth)
            App.GutterWidth = width;
        margin = App.GutterWidth + 1;
    }
    if (Config.SelectionBar)
        margin += GutterPixels(10);
    if (margin != App.LeftMargin) {
        App.LeftMargin = margin;
        ApplyLeftMargin(margin);
        // Not every control repaints the strip for a new margin; a whole
        // repaint also brings the strip's own repaint request.
        InvalidateRect(App.EditControl, NULL, TRUE);
    }
}

// The 1-based lines drawn in blue: those the selection touches, or the caret's.
static void HighlightedLines(LONG* first, LONG* last)
{
    CHARRANGE selection = App.CurrentSelection;
    if (selection.cpMin == selection.cpMax) {
        *first = *last = (LONG)App.CaretLine;
        return;
    }
    *first = (LONG)SendMessageW(App.EditControl, EM_EXLINEFROMCHAR, 0, selection.cpMin) + 1;
    *last = (LONG)SendMessageW(App.EditControl, EM_EXLINEFROMCHAR, 0, selection.cpMax) + 1;
}

static void FillWith(HDC context, const RECT* rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(context, rect, brush);
    DeleteObject(brush);
}

static void FillStrip(HDC context, RECT strip, const PaintedColours& colours)
{
    FillWith(context, &strip, colours.GutterBack);
    RECT separator = strip;
    separator.left = App.GutterWidth - 2;
    separator.right = App.GutterWidth - 1;
    FillWith(context, &separator, colours.GutterSeparator);
}

// Numbers from the first visible line down to the bottom of the client area,
// each at the height of its line's first character.
static void DrawNumbers(HDC context, RECT client, const PaintedColours& colours)
{
    RECT text = client;
    text.left = 0;
    text.right = App.GutterWidth - GutterPixels(4);
    LONG first = (LONG)SendMessageW(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0);
    LONG number = first + 1;
    text.top = client.top + LineTop(first);
    SetBkColor(context, colours.GutterBack);
    LONG highFirst, highLast;
    HighlightedLines(&highFirst, &highLast);
    COLORREF current = CLR_INVALID;
    for (;;) {
        COLORREF color = (number >= highFirst && number <= highLast) ? colours.GutterHighlight : colours.GutterNumber;
        if (color != current) {
            SetTextColor(context, color);
            current = color;
        }
        wchar_t digits[16];
        _snwprintf(digits, 16, L"%ld", (long)number);
        digits[15] = 0;
        if (DrawTextW(context, digits, -1, &text, DT_RIGHT) == 0)
            break;
        LONG y = LineTop(number);
        number++;
        if (y == LONG_MIN || client.top + y <= text.top)
            break;
        text.top = client.top + y;
        if (text.top >= client.bottom)
            break;
    }
}

void PaintGutter(int full)
{
    RECT client;
    GetClientRect(App.EditControl, &client);
    RECT strip = client;
    strip.left = 0;
    strip.right = App.GutterWidth;
    ValidateRect(App.EditControl, &strip);
    HDC context = GetDC(App.EditControl);
    HRGN region = CreateRectRgnIndirect(&strip);
    SelectClipRgn(context, region);
    HFONT font = CreateGutterFont();
    PaintedColours colours = CurrentColours();
    if (full)
        FillStrip(context, strip, colours);
    HGDIOBJ oldFont = SelectObject(context, font);
    DrawNumbers(context, client, colours);
    SelectObject(context, oldFont);
    DeleteObject(font);
    SelectClipRgn(context, NULL);
    DeleteObject(region);
    ReleaseDC(App.EditControl, context);
}

static void RequestGutterRepaint(HWND window)
{
    PostMessageW(window, WM_GUTTER_REFRESH, 0, 0);
}

LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_VSCROLL:
        if (Config.LineNumbers)
            RequestGutterRepaint(window);
        break;
    case WM_PAINT: {
        RECT update;
        if (Config.LineNumbers && GetUpdateRect(window, &update, FALSE) && update.left <= App.GutterWidth)
            RequestGutterRepaint(window);
        break;
    }
    case WM_SIZE: {
        LRESULT result = CallWindowProcW(App.OldEditProc, window, message, wParam, lParam);
        RefitFormatRect();
        return result;
    }
    case WM_UNICHAR:
        return PassUnicodeCharacter(window, wParam, lParam);
    case WM_MOUSEWHEEL:
        // Ctrl+wheel is the program's zoom: the control would zoom by itself
        // and leave the figure unknown.
        if (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) {
            OnZoomWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        }
        break;
    case WM_GUTTER_REFRESH:
        UpdateGutterWidth();
        // A request still queued when the numbers were switched off must not
        // paint a strip over the text.
        if (Config.LineNumbers)
            PaintGutter(1);
        return 0;
    }
    return CallWindowProcW(App.OldEditProc, window, message, wParam, lParam);
}
