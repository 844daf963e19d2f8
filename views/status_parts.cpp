#include "views/status_parts.h"

#include "ground/dpi.h"

#include <commctrl.h>
#include <string.h>

// Widths at 96 DPI of parts 1 to 5 (line-ending format, INS/OVR, tab size,
// caret, zoom); they hold their texts in the usual status font.
static const int BaseWidths[STATUS_PARTS] = {0, 35, 30, 40, 260, 55};
// Room a part takes beside its text at 96 DPI: the text's inset, the part's
// two edges and a little air.
#define PART_PADDING 8

void FitStatusEdges(int clientWidth, int dpi, const int needed[STATUS_PARTS], int edges[STATUS_PARTS])
{
    int right = clientWidth;
    for (int part = STATUS_PARTS - 1; part > 0; part--) {
        edges[part] = right;
        int width = ScaleForDpi(BaseWidths[part], dpi);
        if (needed[part] > width)
            width = needed[part];
        right -= width;
    }
    edges[0] = right;
}

static int TextWidth(HDC context, const wchar_t* text)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32W(context, text, lstrlenW(text), &size);
    return (int)size.cx;
}

static int WidestText(HDC context, const wchar_t* const* texts, int count)
{
    int widest = 0;
    for (int i = 0; i < count; i++) {
        int width = TextWidth(context, texts[i]);
        if (width > widest)
            widest = width;
    }
    return widest;
}

// What a part shows now: a format with its encoding, a selection's figures.
static int CurrentTextWidth(HDC context, int part)
{
    wchar_t text[128];
    text[0] = 0;
    int length = LOWORD(SendMessageW(App.StatusBar, SB_GETTEXTLENGTHW, (WPARAM)part, 0));
    if (length <= 0 || length >= (int)(sizeof(text) / sizeof(text[0])))
        return 0;
    SendMessageW(App.StatusBar, SB_GETTEXTW, (WPARAM)part, (LPARAM)text);
    return TextWidth(context, text);
}

void MeasureStatusTexts(int dpi, int needed[STATUS_PARTS])
{
    static const wchar_t* const formats[] = {LineFormatName(DOS), LineFormatName(UNIX), LineFormatName(MAC)};
    static const wchar_t* const modes[] = {L"INS", L"OVR"};
    static const wchar_t* const tabs[] = {L"Tab: 8"};
    static const wchar_t* const zooms[] = {L"500%"};
    // Figures of a long document: the part must not change width with every move.
    static const wchar_t* const carets[] = {L"\x5217 : 1000 \x884C: 100000",
                                            L"Selection Start: 10000 End: 10000 Len: 10000"};
    for (int part = 0; part < STATUS_PARTS; part++)
        needed[part] = 0;
    HDC context = GetDC(App.StatusBar);
    if (!context)
        return;
    HFONT font = (HFONT)SendMessageW(App.StatusBar, WM_GETFONT, 0, 0);
    HGDIOBJ oldFont = SelectObject(context, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    needed[STATUS_FORMAT] = WidestText(context, formats, 3);
    needed[STATUS_INSERT] = WidestText(context, modes, 2);
    needed[STATUS_TABSIZE] = WidestText(context, tabs, 1);
    needed[STATUS_CARET] = WidestText(context, carets, 2);
    needed[STATUS_ZOOM] = WidestText(context, zooms, 1);
    for (int part = STATUS_FORMAT; part < STATUS_PARTS; part++) {
        int current = CurrentTextWidth(context, part);
        if (current > needed[part])
            needed[part] = current;
        needed[part] += ScaleForDpi(PART_PADDING, dpi);
    }
    // The size grip takes the corner of the last part.
    needed[STATUS_PARTS - 1] += SystemMetricForDpi(SM_CXVSCROLL, dpi);
    SelectObject(context, oldFont);
    ReleaseDC(App.StatusBar, context);
}

void FitStatusParts(int clientWidth)
{
    int dpi = WindowDpi(App.MainWindow);
    int needed[STATUS_PARTS];
    MeasureStatusTexts(dpi, needed);
    int edges[STATUS_PARTS];
    FitStatusEdges(clientWidth, dpi, needed, edges);
    SendMessageW(App.StatusBar, SB_SETPARTS, STATUS_PARTS, (LPARAM)edges);
}

typedef BOOL (WINAPI *ParametersForDpiFunction)(UINT action, UINT parameter, PVOID value, UINT update, UINT dpi);

static HFONT CreateStatusFont(int dpi)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    ParametersForDpiFunction parametersForDpi =
        user32 ? (ParametersForDpiFunction)(void*)GetProcAddress(user32, "SystemParametersInfoForDpi") : NULL;
    NONCLIENTMETRICSW metrics;
    memset(&metrics, 0, sizeof(metrics));
    metrics.cbSize = sizeof(metrics);
    if (parametersForDpi && parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, (UINT)dpi))
        return CreateFontIndirectW(&metrics.lfStatusFont);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return NULL;
    // Older systems give the font for the system DPI only.
    metrics.lfStatusFont.lfHeight = MulDiv(metrics.lfStatusFont.lfHeight, dpi, SystemDpi());
    return CreateFontIndirectW(&metrics.lfStatusFont);
}

void ApplyStatusFontForDpi(int dpi)
{
    HFONT font = CreateStatusFont(dpi);
    if (!font)
        return;
    SendMessageW(App.StatusBar, WM_SETFONT, (WPARAM)font, FALSE);
    if (App.StatusFont)
        DeleteObject(App.StatusFont);
    App.StatusFont = font;
}
