#include "print/print.h"

#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "ground/status_text.h"
#include "ground/user_prompts.h"
#include "print/page_layout.h"
#include "print/print_progress.h"
#include "text/extended_path.h"
#include "text/memory.h"
#include "views/menu_state.h"

#include <commdlg.h>
#include <limits.h>
#include <richedit.h>
#include <stdio.h>
#include <string.h>

#include <string>

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

void ClampToPrintableArea(RECT* text, int offsetX, int offsetY, int printableWidth, int printableHeight,
                          int pixelsPerInchX, int pixelsPerInchY)
{
    if (pixelsPerInchX <= 0 || pixelsPerInchY <= 0 || printableWidth <= 0 || printableHeight <= 0)
        return;
    // Rounded inwards: a part of a pixel outside is outside.
    long long left = ((long long)offsetX * TWIPS_PER_INCH + pixelsPerInchX - 1) / pixelsPerInchX;
    long long top = ((long long)offsetY * TWIPS_PER_INCH + pixelsPerInchY - 1) / pixelsPerInchY;
    long long right = ((long long)offsetX + printableWidth) * TWIPS_PER_INCH / pixelsPerInchX;
    long long bottom = ((long long)offsetY + printableHeight) * TWIPS_PER_INCH / pixelsPerInchY;
    if (text->left < left)
        text->left = (LONG)left;
    if (text->top < top)
        text->top = (LONG)top;
    if (text->right > right)
        text->right = (LONG)right;
    if (text->bottom > bottom)
        text->bottom = (LONG)bottom;
    if (text->right < text->left)
        text->right = text->left;
    if (text->bottom < text->top)
        text->bottom = text->top;
}

static void ReleasePrintDialog(PRINTDLGW* request)
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
        ShowError(L"The printer could not be prepared for printing.");
}

static void ShowPrintStatus(const wchar_t* text)
{
    SetStatusText(STATUS_MESSAGE, text);
    // The run does not go back to the message loop between pages.
    UpdateWindow(App.StatusBar);
}

static void ReleaseFormatting()
{
    SendMessageW(App.EditControl, EM_FORMATRANGE, TRUE, 0);
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

// Lays out the characters of chars with the editor's font and colour on the
// printer, tabs expanded to the editor's tab size.
static int PrepareOwnLayout(HDC printer, const RECT* textTwips, CHARRANGE chars, OwnLayout* layout)
{
    memset(layout, 0, sizeof(*layout));
    LONG length = 0;
    wchar_t* whole = ReadWholeTextWide(&length);
    if (!whole)
        return 0;
    int start = chars.cpMin < 0 ? 0 : (int)(chars.cpMin > length ? length : chars.cpMin);
    int end = (chars.cpMax < 0 || chars.cpMax > length) ? (int)length : (int)chars.cpMax;
    if (end < start)
        end = start;
    layout->Text = ExpandTabs(whole + start, end - start, Config.TabSize, &layout->Length);
    FreeBlock(whole);
    if (!layout->Text)
        return 0;

    int dpiX = GetDeviceCaps(printer, LOGPIXELSX);
    int dpiY = GetDeviceCaps(printer, LOGPIXELSY);
    LOGFONTW font = Config.EditorLogFont;
    font.lfHeight = -MulDiv(Config.EditorCharFormat.yHeight, dpiY, 1440);
    font.lfWidth = 0;
    layout->Font = CreateFontIndirectW(&font);
    SelectObject(printer, layout->Font);
    TEXTMETRICW metrics;
    GetTextMetricsW(printer, &metrics);
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

struct LineMeasure {
    HDC Printer;
    int Width;
};

static int MeasureOnPrinter(void* context, const wchar_t* text, int count)
{
    const LineMeasure* line = (const LineMeasure*)context;
    int fit = 0;
    SIZE extent;
    if (!GetTextExtentExPointW(line->Printer, text, count, line->Width, &fit, NULL, &extent))
        return 0;
    return fit;
}

// Lays out (and draws, when draw is set) one page from start; returns where
// the next page starts.
static LONG OwnLayoutPage(HDC printer, const OwnLayout* layout, LONG start, int draw)
{
    SelectObject(printer, layout->Font);
    if (draw) {
        SetTextColor(printer, Config.FontColor);
        SetBkMode(printer, TRANSPARENT);
    }
    LineMeasure measure = {printer, layout->Area.right - layout->Area.left};
    int y = layout->Area.top;
    int position = (int)start;
    do {
        int fit = FitOnLine(layout->Text, layout->Length, position, MeasureOnPrinter, &measure);
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
    return (LONG)SendMessageW(App.EditControl, EM_FORMATRANGE, draw ? TRUE : FALSE, (LPARAM)range);
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
    wchar_t status[40];
    _snwprintf(status, 40, L"Printing Page %i...", page);
    status[39] = 0;
    ShowPrintStatus(status);
    ShowPrintProgressPage(page);
}

// One run's layout, by the control or, when Own is not NULL, the program.
struct PageWalk {
    HDC Printer;
    FORMATRANGE* Range;
    const OwnLayout* Own;
};

static LONG LayOutPage(const PageWalk* walk, LONG start, int draw)
{
    if (walk->Own)
        return OwnLayoutPage(walk->Printer, walk->Own, start, draw);
    // The control changes the rectangle while it formats.
    const RECT saved = walk->Range->rc;
    walk->Range->chrg.cpMin = start;
    LONG next = ControlLayoutPage(walk->Range, draw);
    walk->Range->rc = saved;
    return next;
}

static LONG LayOutPageOnly(void* context, LONG start)
{
    return LayOutPage((const PageWalk*)context, start, 0);
}

enum { PRINT_DONE, PRINT_FAILED, PRINT_CANCELLED };

// Prints page after page from page number page at position to end; the user
// may stop between pages.
static int PrintPages(const PRINTDLGW* request, const PageWalk* walk, int page, LONG position, LONG end)
{
    int pageNumbers = (request->Flags & PD_PAGENUMS) != 0;
    for (;; page++) {
        if (PrintCancelled())
            return PRINT_CANCELLED;
        if (StartPage(request->hDC) <= 0)
            return PrintCancelled() ? PRINT_CANCELLED : PRINT_FAILED;
        ShowPageStatus(page);
        LONG start = position;
        position = LayOutPage(walk, position, 1);
        if (EndPage(request->hDC) <= 0)
            return PrintCancelled() ? PRINT_CANCELLED : PRINT_FAILED;
        if (pageNumbers && page + 1 > (int)request->nToPage)
            return PRINT_DONE;
        // A page that takes no text (a character too tall for the sheet)
        // would be laid out again and again: stop there.
        if (position <= start || position >= end)
            return PRINT_DONE;
    }
}

// The sheet's layout for the printer, the text kept inside what it can print.
static int SheetLayout(HDC printer, RECT* page, RECT* text)
{
    if (!printer ||
        !ComputePrintLayout(GetDeviceCaps(printer, PHYSICALWIDTH), GetDeviceCaps(printer, PHYSICALHEIGHT),
                            GetDeviceCaps(printer, LOGPIXELSX), GetDeviceCaps(printer, LOGPIXELSY), page, text))
        return 0;
    ClampToPrintableArea(text, GetDeviceCaps(printer, PHYSICALOFFSETX), GetDeviceCaps(printer, PHYSICALOFFSETY),
                         GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES),
                         GetDeviceCaps(printer, LOGPIXELSX), GetDeviceCaps(printer, LOGPIXELSY));
    return 1;
}

static void ReportRangePastEnd(int pages, const PRINTDLGW* request)
{
    wchar_t text[160];
    _snwprintf(text, 160, L"The document has only %i page%ls: there is nothing to print from page %u.",
               pages, pages == 1 ? L"" : L"s", (unsigned int)request->nFromPage);
    text[159] = 0;
    AskUserText(App.MainWindow, text, MB_OK | MB_ICONINFORMATION);
}

static void EndPrintRun(PRINTDLGW* request, OwnLayout* layout, int own)
{
    if (own)
        ReleaseOwnLayout(layout);
    ReleaseFormatting();
    ReleasePrintDialog(request);
    SetStatusText(STATUS_MESSAGE, L"");
}

static void PrintThroughDialog(const wchar_t* documentName)
{
    CHARRANGE selection;
    SendMessageW(App.EditControl, EM_EXGETSEL, 0, (LPARAM)&selection);

    PRINTDLGW request;
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
    if (!SheetLayout(printer, &page, &text)) {
        ShowError(L"The printer could not be prepared for printing.");
        ReleasePrintDialog(&request);
        return;
    }

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
        ShowError(L"Not enough memory to print.");
        ReleasePrintDialog(&request);
        return;
    }
    PageWalk walk = {printer, &range, own ? &layout : NULL};
    LONG start = own ? 0 : range.chrg.cpMin;
    if (own)
        end = layout.Length;
    // The pages before the range are laid out only, to find where it
    // begins; a range past the end starts no job.
    int firstPage = (request.Flags & PD_PAGENUMS) ? (int)request.nFromPage : 1;
    int pages = 0;
    start = FindPageStart(firstPage, start, end, LayOutPageOnly, &walk, &pages);
    if (start < 0) {
        ReportRangePastEnd(pages, &request);
        EndPrintRun(&request, &layout, own);
        return;
    }

    DOCINFOW job;
    memset(&job, 0, sizeof(job));
    job.cbSize = sizeof(job);
    std::wstring name = PathAsShown(documentName ? documentName : L"");
    job.lpszDocName = name.c_str();
    job.lpszOutput = (request.Flags & PD_PRINTTOFILE) ? L"FILE:" : NULL;
    StartPrintProgress(printer);
    if (StartDocW(printer, &job) <= 0) {
        DWORD error = GetLastError();
        EndPrintProgress();
        SetLastError(error);
        ShowSystemError(L"Can't start Print Job!");
        EndPrintRun(&request, &layout, own);
        return;
    }
    ShowPrintStatus(L"Printing...");
    int outcome = PrintPages(&request, &walk, firstPage, start, end);
    if (outcome == PRINT_DONE && EndDoc(printer) <= 0)
        outcome = PRINT_FAILED;
    if (outcome != PRINT_DONE)
        AbortDoc(printer);
    EndPrintProgress();
    if (outcome == PRINT_FAILED)
        ShowError(L"An error occurred while printing");
    EndPrintRun(&request, &layout, own);
}

void PrintDocument(const wchar_t* documentName)
{
    // The text must stay as it was when the dialog read the selection until
    // the last page is out.
    EnterDocumentState(STATE_PRINTING);
    PrintThroughDialog(documentName);
    LeaveDocumentState(STATE_PRINTING);
    ReleaseCommandsHeldBy(STATE_PRINTING);
    RefreshAfterEdit();
}
