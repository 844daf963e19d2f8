#include "print/print.h"

#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "ground/helpers.h"
#include "print/page_layout.h"
#include "views/menu_state.h"

#include <commdlg.h>
#include <limits.h>
#include <richedit.h>
#include <stdio.h>
#include <string.h>

#define TWIPS_PER_INCH 1440

int ComputePrintLayout(int physicalWidth, int physicalHeight, int pixelsPerInchX,
                       int pixelsPerInchY, RECT* page, RECT* text)
{
    if (pixelsPerInchX <= 0 || pixelsPerInchY <= 0 || physicalWidth <= 0 || physicalHeight <= 0)
        return 0;
    long long wide = (long long)physicalWidth * TWIPS_PER_INCH / pixelsPerInchX;
    long long high = (long long)physicalHeight * TWIPS_PER_INCH / pixelsPerInchY;
    // A sheet too large for the rectangles would wrap to a negative size.
    if (wide > INT_MAX || high > INT_MAX)
        return 0;
    int width = (int)wide;
    int height = (int)high;
    // 0.75 inch at the sides above 2.5 inches of width, 1 inch at top and
    // bottom above 3 inches of height: small labels get the whole sheet.
    int side = width > 3600 ? 1080 : 0;
    int topBottom = height > 4320 ? 1440 : 0;
    SetRect(page, 0, 0, width, height);
    SetRect(text, side, topBottom, width - side, height - topBottom);
    return 1;
}

static void ReleasePrintDialog(PRINTDLGA* request)
{
    if (request->hDC)
        DeleteDC(request->hDC);
    if (request->hDevMode)
        GlobalFree(request->hDevMode);
    if (request->hDevNames)
        GlobalFree(request->hDevNames);
    request->hDC = NULL;
    request->hDevMode = NULL;
    request->hDevNames = NULL;
}

// The dialog gave no printer. Without any printer it has already said so
// itself; other failures would otherwise pass without a word.
static void ReportPrintDialogFailure()
{
    DWORD error = CommDlgExtendedError();
    if (error != 0 && error != PDERR_NODEFAULTPRN && error != PDERR_NODEVICES)
        ShowError("The printer could not be prepared for printing.");
}

static void ShowPrintStatus(const char* text)
{
    SetStatusText(STATUS_MESSAGE, text);
    // The run does not go back to the message loop between pages.
    UpdateWindow(App.StatusBar);
}

static void ReleaseFormatting()
{
    SendMessageA(App.EditControl, EM_FORMATRANGE, TRUE, 0);
}

static void AbortPrinting(PRINTDLGA* request)
{
    AbortDoc(request->hDC);
    ReleaseFormatting();
    ShowError("An error occurred while printing");
    ReleasePrintDialog(request);
    SetStatusText(STATUS_MESSAGE, "");
}

// The program's own layout of one run: the text to print, its font and
// the text area in device units.
struct OwnLayout {
    wchar_t* Text;
    int Length;
    HFONT Font;
    int LineHeight;
    RECT Area;
};

static int TwipsToPixels(int twips, int pixelsPerInch)
{
    return (int)((long long)twips * pixelsPerInch / TWIPS_PER_INCH);
}

// Whole text of the control in UTF-16, paragraphs ending in CR.
static wchar_t* ReadTextWide(int* length)
{
    int characters = GetTextLength(GTL_DEFAULT);
    wchar_t* text = (wchar_t*)AllocZeroed(((size_t)characters + 1) * sizeof(wchar_t));
    *length = 0;
    if (!text)
        return NULL;
    GETTEXTEX request;
    memset(&request, 0, sizeof(request));
    request.cb = (DWORD)(((size_t)characters + 1) * sizeof(wchar_t));
    request.flags = GT_DEFAULT;
    request.codepage = 1200;
    *length = (int)SendMessageA(App.EditControl, EM_GETTEXTEX, (WPARAM)&request, (LPARAM)text);
    return text;
}

// Lays out the characters of chars with the editor's font and colour on the
// printer, tabs expanded to the editor's tab size.
static int PrepareOwnLayout(HDC printer, const RECT* textTwips, CHARRANGE chars, OwnLayout* layout)
{
    memset(layout, 0, sizeof(*layout));
    int length = 0;
    wchar_t* whole = ReadTextWide(&length);
    if (!whole)
        return 0;
    int start = chars.cpMin < 0 ? 0 : (chars.cpMin > length ? length : chars.cpMin);
    int end = (chars.cpMax < 0 || chars.cpMax > length) ? length : chars.cpMax;
    if (end < start)
        end = start;
    layout->Text = ExpandTabs(whole + start, end - start, Config.TabSize, &layout->Length);
    FreeBlock(whole);
    if (!layout->Text)
        return 0;

    int dpiX = GetDeviceCaps(printer, LOGPIXELSX);
    int dpiY = GetDeviceCaps(printer, LOGPIXELSY);
    LOGFONTA font = Config.EditorLogFont;
    font.lfHeight = -MulDiv(Config.EditorCharFormat.yHeight, dpiY, 1440);
    font.lfWidth = 0;
    layout->Font = CreateFontIndirectA(&font);
    SelectObject(printer, layout->Font);
    TEXTMETRICA metrics;
    GetTextMetricsA(printer, &metrics);
    layout->LineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    if (layout->LineHeight < 1)
        layout->LineHeight = 1;
    // The physical sheet starts before the printable area.
    int offsetX = GetDeviceCaps(printer, PHYSICALOFFSETX);
    int offsetY = GetDeviceCaps(printer, PHYSICALOFFSETY);
    SetRect(&layout->Area, TwipsToPixels(textTwips->left, dpiX) - offsetX,
            TwipsToPixels(textTwips->top, dpiY) - offsetY, TwipsToPixels(textTwips->right, dpiX) - offsetX,
            TwipsToPixels(textTwips->bottom, dpiY) - offsetY);
    return 1;
}

static void ReleaseOwnLayout(OwnLayout* layout)
{
    FreeBlock(layout->Text);
    if (layout->Font)
        DeleteObject(layout->Font);
    memset(layout, 0, sizeof(*layout));
}

// Lays out (and draws, when draw is set) one page from start; returns where
// the next page starts.
static LONG OwnLayoutPage(HDC printer, const OwnLayout* layout, LONG start, int draw)
{
    if (draw) {
        SelectObject(printer, layout->Font);
        SetTextColor(printer, Config.FontColor);
        SetBkMode(printer, TRANSPARENT);
    }
    int width = layout->Area.right - layout->Area.left;
    int y = layout->Area.top;
    int position = (int)start;
    do {
        int fit = 0;
        SIZE extent;
        int rest = layout->Length - position;
        GetTextExtentExPointW(printer, layout->Text + position, rest, width, &fit, NULL, &extent);
        int lineEnd = position;
        int next = WrapLine(layout->Text, layout->Length, position, fit, &lineEnd);
        if (draw && lineEnd > position)
            TextOutW(printer, layout->Area.left, y, layout->Text + position, lineEnd - position);
        position = next;
        y += layout->LineHeight;
    } while (position < layout->Length && y + layout->LineHeight <= layout->Area.bottom);
    return position;
}

// Formats one page from range->chrg.cpMin with the control, drawing it when
// draw is set; returns where the next page starts.
static LONG ControlLayoutPage(FORMATRANGE* range, int draw)
{
    return (LONG)SendMessageA(App.EditControl, EM_FORMATRANGE, draw ? TRUE : FALSE, (LPARAM)range);
}

// Whether the control lays out pages for this printer: some versions of it
// take no text at all. An empty range cannot tell and needs no layout.
static int ControlCanLayOut(FORMATRANGE* range)
{
    if (range->chrg.cpMax >= 0 && range->chrg.cpMax <= range->chrg.cpMin)
        return 1;
    FORMATRANGE probe = *range;
    LONG next = ControlLayoutPage(&probe, 0);
    ReleaseFormatting();
    return next > range->chrg.cpMin;
}

static void ShowPageStatus(int page)
{
    char status[40];
    _snprintf(status, sizeof(status), "Printing Page %i...", page);
    status[sizeof(status) - 1] = 0;
    ShowPrintStatus(status);
}

// Prints page after page, with the control's layout or, when layout is not
// NULL, the program's own; returns 0 when the printer refused a page.
static int PrintPages(const PRINTDLGA* request, FORMATRANGE* range, LONG end, const OwnLayout* layout)
{
    const RECT saved = range->rc;
    int pageNumbers = (request->Flags & PD_PAGENUMS) != 0;
    LONG position = layout ? 0 : range->chrg.cpMin;
    if (layout)
        end = layout->Length;
    for (int page = 1;; page++) {
        LONG start = position;
        // Pages before the range are laid out only, to find where it begins.
        int draw = !pageNumbers || page >= (int)request->nFromPage;
        if (draw) {
            if (StartPage(request->hDC) <= 0)
                return 0;
            ShowPageStatus(page);
        }
        range->chrg.cpMin = position;
        position = layout ? OwnLayoutPage(request->hDC, layout, position, draw) : ControlLayoutPage(range, draw);
        if (draw && EndPage(request->hDC) <= 0)
            return 0;
        range->rc = saved;
        if (pageNumbers && page + 1 > (int)request->nToPage)
            return 1;
        // A page that takes no text (a character too tall for the sheet)
        // would be laid out again and again: stop there.
        if (position <= start || position >= end)
            return 1;
    }
}

static void PrintThroughDialog(const char* documentName)
{
    CHARRANGE selection;
    SendMessageA(App.EditControl, EM_EXGETSEL, 0, (LPARAM)&selection);

    PRINTDLGA request;
    memset(&request, 0, sizeof(request));
    request.lStructSize = sizeof(request);
    request.hwndOwner = App.MainWindow;
    request.nFromPage = 1;
    request.nToPage = 1;
    request.nMinPage = 1;
    request.nMaxPage = 999;
    request.nCopies = 1;
    request.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE;
    if (selection.cpMin == selection.cpMax)
        request.Flags |= PD_NOSELECTION;
    if (!Prompts.PrintDialog(&request)) {
        ReportPrintDialogFailure();
        ReleasePrintDialog(&request);
        return;
    }
    HDC printer = request.hDC;
    RECT page;
    RECT text;
    if (!printer ||
        !ComputePrintLayout(GetDeviceCaps(printer, PHYSICALWIDTH), GetDeviceCaps(printer, PHYSICALHEIGHT),
                            GetDeviceCaps(printer, LOGPIXELSX), GetDeviceCaps(printer, LOGPIXELSY),
                            &page, &text)) {
        ShowError("The printer could not be prepared for printing.");
        ReleasePrintDialog(&request);
        return;
    }

    DOCINFOA job;
    memset(&job, 0, sizeof(job));
    job.cbSize = sizeof(job);
    job.lpszDocName = documentName ? documentName : "";
    job.lpszOutput = (request.Flags & PD_PRINTTOFILE) ? "FILE:" : NULL;
    if (StartDocA(printer, &job) <= 0) {
        ShowSystemError("Can't start Print Job!");
        ReleasePrintDialog(&request);
        return;
    }
    ShowPrintStatus("Printing...");

    FORMATRANGE range;
    memset(&range, 0, sizeof(range));
    range.hdc = printer;
    range.hdcTarget = printer;
    range.rcPage = page;
    range.rc = text;
    LONG end = GetTextLength(GTL_DEFAULT);
    range.chrg.cpMin = 0;
    range.chrg.cpMax = end;
    if (request.Flags & PD_SELECTION) {
        range.chrg = selection;
        if (selection.cpMax >= selection.cpMin)
            end = selection.cpMax;
    }

    OwnLayout layout;
    int own = !ControlCanLayOut(&range);
    if (own && !PrepareOwnLayout(printer, &text, range.chrg, &layout)) {
        ShowError("Not enough memory to print.");
        AbortDoc(printer);
        ReleasePrintDialog(&request);
        SetStatusText(STATUS_MESSAGE, "");
        return;
    }
    int printed = PrintPages(&request, &range, end, own ? &layout : NULL);
    if (own)
        ReleaseOwnLayout(&layout);
    if (!printed) {
        AbortPrinting(&request);
        return;
    }
    ReleaseFormatting();
    if (EndDoc(printer) <= 0) {
        AbortPrinting(&request);
        return;
    }
    SetStatusText(STATUS_MESSAGE, "");
    ReleasePrintDialog(&request);
}

void PrintDocument(const char* documentName)
{
    // The text must stay as it was when the dialog read the selection until
    // the last page is out.
    EnterDocumentState(STATE_PRINTING);
    PrintThroughDialog(documentName);
    LeaveDocumentState(STATE_PRINTING);
    ReleaseCommandsHeldBy(STATE_PRINTING);
    RefreshAfterEdit();
}
