// Where a load spends its time: the real editor built in this process, and
// the same file opened again and again with one thing changed each time,
// beside a bare RichEdit control of the same size in the same process.
//   load_profile <file> <experiment>     (load_profile list: the experiments)
// Each run is a fresh process, so no load pays for clearing an earlier one.
// Prints one line: milliseconds to the whole text loaded and the window
// painted, to the load alone, and the notifications seen during the load;
// the plain open (experiment 0) adds the steps after the stream and New.
#include "document/file_reader.h"
#include "document/load.h"
#include "document/new_document.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "program/startup.h"
#include "settings/settings.h"
#include "text/memory.h"
#include "views/caret_status.h"
#include "views/editor_look.h"
#include "views/format_status.h"
#include "views/gutter.h"
#include "views/main_window.h"
#include "views/menu_state.h"
#include "text/charset_detect.h"
#include "resource.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static LARGE_INTEGER Frequency;
static const wchar_t* Path;

static double Now()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return (double)counter.QuadPart * 1000.0 / (double)Frequency.QuadPart;
}

static void Pump()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT)
            HandleLoopMessage(&message);
    }
}

static void PaintNow(HWND window)
{
    RedrawWindow(window, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
}

static void ClearDocument()
{
    // Experiments that stream without the open's steps leave it modified.
    SetEditModified(0);
    NewDocument();
    Pump();
}

// Counts what the control and the main window receive during a load.
static int Notifications[4]; // EN_CHANGE, EN_SELCHANGE, other WM_NOTIFY/WM_COMMAND, messages to the control
static int Counting;
static HHOOK Hook;

static LRESULT CALLBACK CountMessages(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && Counting) {
        if (call->hwnd == App.EditControl)
            Notifications[3]++;
        else if (call->hwnd == App.MainWindow && call->message == WM_COMMAND && HIWORD(call->wParam) == EN_CHANGE)
            Notifications[0]++;
        else if (call->hwnd == App.MainWindow && call->message == WM_NOTIFY &&
                 ((NMHDR*)call->lParam)->code == EN_SELCHANGE)
            Notifications[1]++;
        else if (call->hwnd == App.MainWindow && (call->message == WM_NOTIFY || call->message == WM_COMMAND))
            Notifications[2]++;
    }
    return CallNextHookEx(Hook, code, wParam, lParam);
}

// ReadFileChunk with a stopwatch around it.
static double CallbackTime;
static int CallbackCalls;
static DWORD CALLBACK TimedChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered)
{
    double start = Now();
    DWORD result = ReadFileChunk(cookie, buffer, wanted, delivered);
    CallbackTime += Now() - start;
    CallbackCalls++;
    return result;
}

// The bare way: bytes straight from the file, the control turns CR LF into breaks.
static DWORD CALLBACK PlainChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered)
{
    DWORD got = 0;
    if (!ReadFile((HANDLE)cookie, buffer, (DWORD)wanted, &got, NULL))
        got = 0;
    *delivered = (LONG)got;
    return got == 0;
}

static void StreamWith(HWND edit, EDITSTREAMCALLBACK callback, int format)
{
    HANDLE file = CreateFileW(Path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    EDITSTREAM stream;
    stream.dwCookie = (DWORD_PTR)file;
    stream.dwError = 0;
    stream.pfnCallback = callback;
    App.FileHandle = file;
    SendMessageA(edit, EM_STREAMIN, (WPARAM)format, (LPARAM)&stream);
    App.FileHandle = INVALID_HANDLE_VALUE;
    CloseHandle(file);
}

static void PrintEditorFace()
{
    HDC dc = GetDC(App.EditControl);
    HFONT font = CreateFontIndirectW(&Config.EditorLogFont);
    HGDIOBJ old = SelectObject(dc, font);
    char face[LF_FACESIZE];
    GetTextFaceA(dc, sizeof(face), face);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    printf("  font asked \"%ls\", got \"%s\" (%s pitch)\n", Config.EditorLogFont.lfFaceName, face,
           (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) ? "variable" : "fixed");
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(App.EditControl, dc);
}

typedef void (*Variant)(int phase); // phase 0 before the load, 1 the load, 2 after it

static void OpenPlain(int phase)
{
    if (phase == 0)
        PrintEditorFace();
    if (phase == 1)
        OpenDocument(Path);
}

static void OpenEventsOff(int phase)
{
    if (phase == 0)
        SendMessageA(App.EditControl, EM_SETEVENTMASK, 0, 0);
    if (phase == 1)
        OpenDocument(Path);
    if (phase == 2)
        SendMessageA(App.EditControl, EM_SETEVENTMASK, 0, EDIT_EVENT_MASK);
}

static void OpenUrlsOff(int phase)
{
    if (phase == 0)
        SendMessageA(App.EditControl, EM_AUTOURLDETECT, FALSE, 0);
    if (phase == 1)
        OpenDocument(Path);
    if (phase == 2)
        SendMessageA(App.EditControl, EM_AUTOURLDETECT, Config.HighlightURLs ? TRUE : FALSE, 0);
}

static void OpenUndoOff(int phase)
{
    if (phase == 0)
        SendMessageA(App.EditControl, EM_SETUNDOLIMIT, 0, 0);
    if (phase == 1)
        OpenDocument(Path);
    if (phase == 2)
        SendMessageA(App.EditControl, EM_SETUNDOLIMIT, 100, 0);
}

static void OpenRedrawOff(int phase)
{
    if (phase == 0)
        SendMessageA(App.EditControl, WM_SETREDRAW, FALSE, 0);
    if (phase == 1)
        OpenDocument(Path);
    if (phase == 2) {
        SendMessageA(App.EditControl, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(App.EditControl, NULL, TRUE);
    }
}

static void OpenWithoutSubclass(int phase)
{
    if (phase == 0)
        SetWindowLongPtrA(App.EditControl, GWLP_WNDPROC, (LONG_PTR)App.OldEditProc);
    if (phase == 1)
        OpenDocument(Path);
    if (phase == 2)
        SetWindowLongPtrA(App.EditControl, GWLP_WNDPROC, (LONG_PTR)EditSubclassProc);
}

// A subclass that only forwards: whether the cost is the subclass's work or
// the control's being subclassed at all.
static WNDPROC Original;
static LRESULT CALLBACK ForwardA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(Original, window, message, wParam, lParam);
}

static void OpenForwardingSubclassA(int phase)
{
    if (phase == 0) {
        SetWindowLongPtrA(App.EditControl, GWLP_WNDPROC, (LONG_PTR)App.OldEditProc);
        Original = (WNDPROC)SetWindowLongPtrA(App.EditControl, GWLP_WNDPROC, (LONG_PTR)ForwardA);
    }
    if (phase == 1)
        OpenDocument(Path);
}

// Every message to the control that takes over 5 ms during the open, and
// every resize and scroll bar change, with its time.
static LRESULT CALLBACK TimeEachMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    double start = Now();
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    LRESULT result = CallWindowProcA(Original, window, message, wParam, lParam);
    double took = Now() - start;
    if (took > 5.0 || message == WM_SIZE || message == WM_WINDOWPOSCHANGED || message == EM_SHOWSCROLLBAR)
        printf("  message 0x%04x wParam=%lld lParam=%llx took %.1f ms, vscroll %d hscroll %d\n", message,
               (long long)wParam, (long long)lParam, took, (style & WS_VSCROLL) != 0, (style & WS_HSCROLL) != 0);
    return result;
}

static void OpenTimingEachMessage(int phase)
{
    if (phase == 0)
        Original = (WNDPROC)SetWindowLongPtrA(App.EditControl, GWLP_WNDPROC, (LONG_PTR)TimeEachMessage);
    if (phase == 1)
        OpenDocument(Path);
}

// The open with another editor font: how much of the load is the font's layout.
static void OpenWithFont(int phase, const char* face, BYTE pitch)
{
    if (phase == 0) {
        MultiByteToWideChar(CP_ACP, 0, face, -1, Config.EditorCharFormat.szFaceName, LF_FACESIZE);
        Config.EditorCharFormat.bPitchAndFamily = pitch;
        ApplyEditorCharFormat();
        DeriveEditorLogFont();
        PrintEditorFace();
    }
    if (phase == 1)
        OpenDocument(Path);
}
static void OpenFixedsysFixedPitch(int phase) { OpenWithFont(phase, "Fixedsys", FIXED_PITCH | FF_MODERN); }
static void OpenDejaVuMono(int phase) { OpenWithFont(phase, "DejaVu Sans Mono", 0); }
static void OpenCourierNew(int phase) { OpenWithFont(phase, "Courier New", FIXED_PITCH | FF_MODERN); }
static void OpenTahoma(int phase) { OpenWithFont(phase, "Tahoma", 0); }
static void OpenSystem(int phase) { OpenWithFont(phase, "System", 0); }

static void OpenWrapOff(int phase)
{
    if (phase == 0)
        SendMessageA(App.EditControl, EM_SETTARGETDEVICE, 0, 1);
    if (phase == 1)
        OpenDocument(Path);
    if (phase == 2)
        SendMessageA(App.EditControl, EM_SETTARGETDEVICE, 0, Config.WordWrap ? 0 : 1);
}

static void OpenAllOff(int phase)
{
    OpenEventsOff(phase == 1 ? 3 : phase);
    OpenUrlsOff(phase == 1 ? 3 : phase);
    OpenUndoOff(phase == 1 ? 3 : phase);
    OpenRedrawOff(phase == 1 ? 3 : phase);
    if (phase == 1)
        OpenDocument(Path);
}

static void LoadFileOnly(int phase)
{
    if (phase == 1)
        LoadFile(Path, LOAD_OPEN_MODE);
}

// What the open spends on the code page of the file's start: its first
// 64 KB read and handed to the detector, as the load does for ANSI text.
static void DetectionOnly(int phase)
{
    if (phase != 1)
        return;
    static unsigned char start[64 * 1024];
    HANDLE file = CreateFileW(Path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    DWORD got = 0;
    if (file == INVALID_HANDLE_VALUE || !ReadFile(file, start, sizeof(start), &got, NULL))
        got = 0;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    printf("  detected code page %u in %lu bytes\n", DetectCodePage(start, got, START_OF_TEXT, GetACP()), got);
}

static void TimedCallbackStream(int phase)
{
    if (phase == 1)
        StreamWith(App.EditControl, TimedChunk, SF_TEXT);
}

static void PlainStreamEditorControl(int phase)
{
    if (phase == 1)
        StreamWith(App.EditControl, PlainChunk, SF_TEXT);
}

// A bare control in a window of its own, sized like the editor's control.
static HWND BareFrame, BareEdit;
static void MakeBare(int withEditorFont)
{
    if (BareFrame)
        DestroyWindow(BareFrame);
    RECT rect;
    GetWindowRect(App.EditControl, &rect);
    BareFrame = CreateWindowExA(0, "STATIC", "bare", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, NULL, NULL, App.Instance, NULL);
    BareEdit = CreateWindowExA(0, "RichEdit20A", NULL,
                               WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                   ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                               0, 0, rect.right - rect.left, rect.bottom - rect.top, BareFrame, NULL, App.Instance, NULL);
    SendMessageA(BareEdit, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    SendMessageA(BareEdit, EM_SETTARGETDEVICE, 0, Config.WordWrap ? 0 : 1);
    if (withEditorFont)
        SendMessageA(BareEdit, EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&Config.EditorCharFormat);
    Pump();
}

static void BareStream(int phase)
{
    if (phase == 0)
        MakeBare(0);
    if (phase == 1)
        StreamWith(BareEdit, PlainChunk, SF_TEXT);
}

static void BareStreamEditorFont(int phase)
{
    if (phase == 0)
        MakeBare(1);
    if (phase == 1)
        StreamWith(BareEdit, PlainChunk, SF_TEXT);
}

// Clearing a loaded document, timed on its own: the load runs in phase 0.
static void ClearBySetText(int phase)
{
    if (phase == 0)
        OpenDocument(Path);
    if (phase == 1)
        SendMessageA(App.EditControl, WM_SETTEXT, 0, (LPARAM)"");
}

static void ClearBySelectionFromEnd(int phase)
{
    if (phase == 0)
        OpenDocument(Path);
    if (phase == 1) {
        // Line by line from the end: nothing after the cut has to move.
        int lines = (int)SendMessageA(App.EditControl, EM_GETLINECOUNT, 0, 0);
        SendMessageA(App.EditControl, EM_SETUNDOLIMIT, 0, 0);
        for (int line = lines - 1; line >= 0; line -= 64) {
            int from = (int)SendMessageA(App.EditControl, EM_LINEINDEX, (WPARAM)(line >= 63 ? line - 63 : 0), 0);
            SendMessageA(App.EditControl, EM_SETSEL, (WPARAM)from, -1);
            SendMessageA(App.EditControl, EM_REPLACESEL, FALSE, (LPARAM)"");
        }
        SendMessageA(App.EditControl, EM_SETUNDOLIMIT, 100, 0);
    }
}

static void OpenOverLoaded(int phase)
{
    if (phase == 0)
        OpenDocument(Path);
    if (phase == 1)
        OpenDocument(Path);
}

static void ClearByDestroying(int phase)
{
    if (phase == 0)
        OpenDocument(Path);
    if (phase == 1)
        DestroyWindow(App.EditControl);
}

// Time of the load and the paint that follows; load alone in *loadOnly.
static double Measure(Variant variant, double* loadOnly)
{
    variant(0);
    Pump();
    memset(Notifications, 0, sizeof(Notifications));
    Counting = 1;
    double start = Now();
    variant(1);
    double loaded = Now();
    variant(2);
    PaintNow(App.MainWindow);
    if (BareFrame)
        PaintNow(BareFrame);
    double end = Now();
    Counting = 0;
    *loadOnly = loaded - start;
    return end - start;
}

// No one is there to answer: every question is declined.
static int DeclineEverything(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    (void)owner;
    (void)text;
    (void)caption;
    return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDNO;
}

// The steps after the stream, one by one, on a loaded document, then New.
static void TimeStepsAfterStream()
{
    double t0 = Now();
    SetLineFormat(App.LineFormat);
    SetEditModified(0);
    double t1 = Now();
    SendMessageA(App.EditControl, EM_EMPTYUNDOBUFFER, 0, 0);
    double t2 = Now();
    RefreshAfterEdit();
    double t3 = Now();
    UpdateCaretStatus();
    double t4 = Now();
    PaintNow(App.MainWindow);
    double t5 = Now();
    ClearDocument();
    PaintNow(App.MainWindow);
    double t6 = Now();
    printf("after the stream: format+modified %.1f, empty undo %.1f, RefreshAfterEdit %.1f, UpdateCaretStatus %.1f, "
           "paint %.1f ms; then New %.1f ms\n",
           t1 - t0, t2 - t1, t3 - t2, t4 - t3, t5 - t4, t6 - t5);
}

int main(int argc, char** argv)
{
    struct Experiment {
        const char* Name;
        Variant Run;
    };
    static const Experiment experiments[] = {
        {"open as the editor does (OpenDocument)", OpenPlain},
        {"LoadFile alone (no steps after the stream)", LoadFileOnly},
        {"stream through ReadFileChunk (timed)", TimedCallbackStream},
        {"stream of plain bytes into the editor's control", PlainStreamEditorControl},
        {"open, notifications masked during the load", OpenEventsOff},
        {"open, link detection off", OpenUrlsOff},
        {"open, undo limit 0", OpenUndoOff},
        {"open, redraw off during the load", OpenRedrawOff},
        {"open, edit subclass removed", OpenWithoutSubclass},
        {"open, word wrap off", OpenWrapOff},
        {"open, a forwarding subclass (ANSI)", OpenForwardingSubclassA},
        {"open, the slow messages to the control", OpenTimingEachMessage},
        {"open, Fixedsys asked as fixed pitch", OpenFixedsysFixedPitch},
        {"open, DejaVu Sans Mono", OpenDejaVuMono},
        {"open, Courier New fixed pitch", OpenCourierNew},
        {"open, Tahoma", OpenTahoma},
        {"open, System", OpenSystem},
        {"open, masked + links off + undo 0 + redraw off", OpenAllOff},
        {"bare control, same size, default font", BareStream},
        {"bare control, same size, the editor's font", BareStreamEditorFont},
        {"clear a loaded document: WM_SETTEXT \"\" (as New)", ClearBySetText},
        {"clear a loaded document: cut from the end", ClearBySelectionFromEnd},
        {"clear a loaded document: destroy the control", ClearByDestroying},
        {"open the file again over the loaded one", OpenOverLoaded},
        {"the code-page detection alone (first 64 KB)", DetectionOnly},
    };
    const int count = (int)(sizeof(experiments) / sizeof(experiments[0]));
    if (argc == 2 && strcmp(argv[1], "list") == 0) {
        printf("%d\n", count);
        return 0;
    }
    if (argc < 3)
        return 2;
    QueryPerformanceFrequency(&Frequency);
    // The argument comes in the code page.
    static wchar_t path[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, argv[1], -1, path, MAX_PATH))
        return 2;
    Path = path;
    int chosen = atoi(argv[2]);
    if (chosen < 0 || chosen >= count)
        return 2;

    HINSTANCE instance = GetModuleHandleA(NULL);
    Prompts.Message = DeclineEverything;
    ResetAppState();
    App.Instance = instance;
    if (!RegisterMainClass(instance) || !LoadRichEditLibrary() || !CreateMainWindow(instance))
        return 1;
    App.FilePath = (wchar_t*)AllocZeroed(PATH_CAPACITY * sizeof(wchar_t));
    LoadSettings();
    App.Accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    Pump();
    Hook = SetWindowsHookExA(WH_CALLWNDPROC, CountMessages, NULL, GetCurrentThreadId());

    const Experiment& experiment = experiments[chosen];
    double loadOnly = 0;
    double total = Measure(experiment.Run, &loadOnly);
    printf("%-52s total_ms=%.1f load_ms=%.1f notifications=%d,%d,%d,%d", experiment.Name, total, loadOnly,
           Notifications[0], Notifications[1], Notifications[2], Notifications[3]);
    if (CallbackCalls)
        printf(" callback_ms=%.1f calls=%d", CallbackTime, CallbackCalls);
    printf("\n");
    fflush(stdout);
    if (chosen == 0)
        TimeStepsAfterStream();
    fflush(stdout);
    UnhookWindowsHookEx(Hook);
    // Quits at once: tearing a loaded control down can take long (see the clear experiments).
    ExitProcess(0);
}
