// Time to print a document: the real editor built in this process opens the
// file and prints it to a file through the named printer, the print dialog
// answered at once. Used by scripts/bench.sh --print.
//   print_bench <file> <printer> [layout]
// Prints "print_ms=<n> cpu_ms=<n> own_layout=<0|1>": the time of the whole
// print command, the processor time the process spent in it (what a busy
// machine does not stretch), and whether the program laid the pages out itself. With
// "layout", a page range past the end: the pages are laid out, not printed.
#include "document/background_load.h"
#include "document/load.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "print/print.h"
#include "program/startup.h"
#include "settings/settings.h"
#include "text/memory.h"
#include "views/main_window.h"
#include "resource.h"

#include <richedit.h>
#include <stdio.h>
#include <string.h>

static const char* PrinterName;
static int LayoutOnly;

static int DeclineEverything(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    (void)owner;
    (void)caption;
    (void)type;
    fprintf(stderr, "prompt: %ls\n", text);
    return IDCANCEL;
}

static BOOL WINAPI AnswerPrintDialog(PRINTDLGW* request)
{
    request->hDC = CreateDCA(NULL, PrinterName, NULL, NULL);
    request->Flags |= PD_PRINTTOFILE;
    request->Flags &= ~(PD_PAGENUMS | PD_SELECTION);
    if (LayoutOnly) {
        request->Flags |= PD_PAGENUMS;
        request->nFromPage = 65535;
        request->nToPage = 65535;
    }
    return request->hDC != NULL;
}

// Whether the control lays out a page for this printer by itself.
static int ControlLaysOut()
{
    HDC printer = CreateDCA(NULL, PrinterName, NULL, NULL);
    if (!printer)
        return 0;
    FORMATRANGE range;
    memset(&range, 0, sizeof(range));
    range.hdc = printer;
    range.hdcTarget = printer;
    SetRect(&range.rcPage, 0, 0, 11906, 16838);
    SetRect(&range.rc, 1080, 1440, 11906 - 1080, 16838 - 1440);
    range.chrg.cpMax = -1;
    LONG next = (LONG)SendMessageA(App.EditControl, EM_FORMATRANGE, FALSE, (LPARAM)&range);
    SendMessageA(App.EditControl, EM_FORMATRANGE, TRUE, 0);
    DeleteDC(printer);
    return next > 0;
}

static double ProcessorMilliseconds()
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user))
        return 0;
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return (double)(k.QuadPart + u.QuadPart) / 10000.0;
}

static double Now(const LARGE_INTEGER& frequency)
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return (double)counter.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    PrinterName = argv[2];
    LayoutOnly = argc > 3 && strcmp(argv[3], "layout") == 0;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    HINSTANCE instance = GetModuleHandleA(NULL);
    ResetAppState();
    UseRealPrompts();
    Prompts.Message = DeclineEverything;
    Prompts.PrintDialog = AnswerPrintDialog;
    App.Instance = instance;
    if (!RegisterMainClass(instance) || !LoadRichEditLibrary() || !CreateMainWindow(instance))
        return 1;
    App.FilePath = (wchar_t*)AllocZeroed(PATH_CAPACITY * sizeof(wchar_t));
    LoadSettings();
    BackgroundLoadThreshold = 0xFFFFFFFF; // the whole text at once
    // The argument comes in the code page.
    wchar_t path[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, argv[1], -1, path, MAX_PATH) || !OpenDocument(path))
        return 1;
    int own = !ControlLaysOut();
    double start = Now(frequency);
    double processor = ProcessorMilliseconds();
    PrintDocument(App.FilePath);
    double elapsed = Now(frequency) - start;
    processor = ProcessorMilliseconds() - processor;
    printf("print_ms=%.1f cpu_ms=%.1f own_layout=%d\n", elapsed, processor, own);
    fflush(stdout);
    // Quits at once: tearing a loaded control down can take long.
    ExitProcess(0);
}
