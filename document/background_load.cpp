#include "document/background_load.h"

#include "document/file_reader.h"
#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "ground/saved_text.h"
#include "ground/status_text.h"
#include "text/stream_decoder.h"
#include "views/caret_status.h"
#include "views/menu_state.h"
#include "views/title_bar.h"
#include "resource.h"

#include <stdio.h>

DWORD BackgroundLoadThreshold = 2 * 1024 * 1024;
LONG FirstPieceBytes = 64 * 1024;
LONG MaxPieceBytes = 1024 * 1024;

// One tick streams pieces until input waits, or for about this long, then
// lets the loop paint and answer; input waits at most one piece.
#define TICK_MILLISECONDS 250
// Each piece aims at this long, so a tick never runs far past its time.
#define PIECE_MILLISECONDS 35
#define MIN_PIECE_BYTES (8 * 1024)
// Pieces this many times slower than the fastest, so many in a row: the
// pieces cost more than they carry.
#define SLOWDOWN_FACTOR 4
#define SLOW_PIECES_IN_A_ROW 3
#define START_PIECE_BYTES (64 * 1024)

static struct {
    int InTick;               // a tick is streaming: timer messages wait
    int StreamFormat;         // of the first piece; the others add SFF_SELECTION
    int FoundBreak;
    LoadEndFunction Finish;   // what the loading side does with the whole text
    LONG PieceBytes;          // size of the next piece, fitted to the time it takes
    LONG Budget;              // text bytes the current stream-in may still take
    int ShortFirstRead;       // the stream-in's first read must not look like a UTF-8 mark
    int Ended;                // the reader delivered nothing: the file is all in
    int Rest;                 // the rest of the file streams in one go
    int StopAsked;            // Escape was pressed during it
    DWORD ShownAt;            // tick count of the last progress shown during it
    double BestPace;          // bytes per millisecond of the fastest piece
    int SlowPieces;           // pieces in a row far slower than that
    int SelectAtEnd;          // a selection waits for the text it lies in
    CHARRANGE Wanted;         // that selection
    CHARRANGE Clamped;        // what the text so far allowed of it
} Load;

static void ShowProgress();

// While the rest streams in one go no message may be handled (the control is
// inside the stream): the status bar is painted directly and Escape read
// from the keyboard. Returns 0 to stop.
static int KeepStreamingRest()
{
    if (GetAsyncKeyState(VK_ESCAPE) < 0 && GetForegroundWindow() == App.MainWindow) {
        Load.StopAsked = 1;
        return 0;
    }
    if (GetTickCount() - Load.ShownAt >= 100) {
        Load.ShownAt = GetTickCount();
        ShowProgress();
        UpdateWindow(App.StatusBar);
    }
    return 1;
}

// Ends a stream-in after its budget, so one piece takes a bounded time; the
// reader keeps its place, carried bytes and pending CR for the next piece.
static DWORD CALLBACK ReadPiece(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered)
{
    *delivered = 0;
    if (Load.Budget <= 0)
        return 1;
    // Never much past the budget; a few bytes always leave room for a
    // character the reader carries, decoded into UTF-16 too.
    LONG room = wanted;
    const LONG leastRoom = 2 * (DECODER_MAX_CARRY + 1);
    if (room > Load.Budget)
        room = Load.Budget > leastRoom ? Load.Budget : leastRoom;
    // The control takes a stream-in whose first read begins EF BB BF as
    // UTF-8; two bytes cannot, and two always hold a whole ANSI character.
    if (Load.ShortFirstRead && room > 2)
        room = 2;
    Load.ShortFirstRead = 0;
    if (room > wanted)
        room = wanted;
    if (Load.Rest && !KeepStreamingRest())
        return 1;
    DWORD result = ReadFileChunk(cookie, buffer, room, delivered);
    if (result)
        Load.Ended = 1;
    Load.Budget -= *delivered;
    return result;
}

static void StreamPiece(int streamFormat, LONG bytes, int shortFirstRead)
{
    Load.Budget = bytes;
    Load.ShortFirstRead = shortFirstRead;
    EDITSTREAM stream;
    stream.dwCookie = 0;
    stream.dwError = 0;
    stream.pfnCallback = ReadPiece;
    SendMessageW(App.EditControl, EM_STREAMIN, (WPARAM)streamFormat, (LPARAM)&stream);
}

// The text streamed so far is never a change of the user's; an edit made
// while it streams (edited) stays one, so closing still asks about it.
static void ForgetStreamingEdits(int edited)
{
    SendMessageW(App.EditControl, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageW(App.EditControl, EM_SETMODIFY, (WPARAM)edited, 0);
    ForgetSavePoint();
}

// Appends one piece at the end of the text; where the user reads, and what
// they selected, stays. With drawing on, every selection move and piece
// costs Wine's control time in proportion to the whole text.
static void AppendPiece()
{
    SendMessageW(App.EditControl, WM_SETREDRAW, FALSE, 0);
    int edited = IsEditModified();
    CHARRANGE kept = GetEditSelection();
    POINT scroll;
    SendMessageW(App.EditControl, EM_GETSCROLLPOS, 0, (LPARAM)&scroll);
    SetEditSelection(0x7FFFFFFF, 0x7FFFFFFF);
    StartFilePiece();
    StreamPiece(Load.StreamFormat | SFF_SELECTION, Load.PieceBytes,
                !(Load.StreamFormat & (SF_UNICODE | SF_USECODEPAGE)));
    SetEditSelection(kept.cpMin, kept.cpMax);
    SendMessageW(App.EditControl, EM_SETSCROLLPOS, 0, (LPARAM)&scroll);
    ForgetStreamingEdits(edited);
    SendMessageW(App.EditControl, WM_SETREDRAW, TRUE, 0);
    // The screen may show the end, where the piece went.
    InvalidateRect(App.EditControl, NULL, FALSE);
}

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(to.QuadPart - from.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

// Each piece costs Wine's control a time that grows with the text already in
// (with the length of the line it adds to, or the number of lines): when the
// pieces have become far slower than they were, they stop paying.
static int PiecesFallBehind(LONG bytes, double took)
{
    if (bytes < MIN_PIECE_BYTES)
        return 0; // too small to time
    double pace = (double)bytes / (took < 1.0 ? 1.0 : took);
    if (pace > Load.BestPace)
        Load.BestPace = pace;
    Load.SlowPieces = pace * SLOWDOWN_FACTOR < Load.BestPace ? Load.SlowPieces + 1 : 0;
    return Load.SlowPieces >= SLOW_PIECES_IN_A_ROW;
}

// Text that makes every piece slower (one huge line, a million short ones)
// would take minutes in pieces: the rest goes in one stream-in.
static void AppendRest()
{
    Load.Rest = 1;
    Load.ShownAt = GetTickCount();
    Load.PieceBytes = 0x7FFFFFFF;
    AppendPiece();
    Load.Rest = 0;
}

// Next piece sized from the last one's pace, half way towards the aim so a
// single slow moment does not swing it.
static void FitPieceSize(double took)
{
    if (took < 1.0)
        took = 1.0;
    double aimed = (double)Load.PieceBytes * PIECE_MILLISECONDS / took;
    double next = ((double)Load.PieceBytes + aimed) / 2.0;
    if (next < MIN_PIECE_BYTES)
        next = MIN_PIECE_BYTES;
    if (next > MaxPieceBytes)
        next = MaxPieceBytes;
    Load.PieceBytes = (LONG)next;
}

static void ShowProgress()
{
    DWORD done = SetFilePointer(App.FileHandle, 0, NULL, FILE_CURRENT);
    unsigned percent = 0;
    if (done != INVALID_SET_FILE_POINTER && App.FileSize > 0)
        percent = (unsigned)((unsigned long long)done * 100 / App.FileSize);
    if (percent > 99)
        percent = 99;
    wchar_t text[64];
    _snwprintf(text, 64, L"Loading File... %u%%  (Esc stops)", percent);
    text[63] = 0;
    SetStatusText(STATUS_MESSAGE, text);
}

static void CloseLoadedFile()
{
    KillTimer(App.MainWindow, LOAD_TIMER);
    LeaveDocumentState(STATE_LOADING);
    if (App.FileHandle != INVALID_HANDLE_VALUE)
        CloseHandle(App.FileHandle);
    App.FileHandle = INVALID_HANDLE_VALUE;
}

// The last piece is in: from here on as after a load in one go.
static void CompleteLoad()
{
    CloseLoadedFile();
    SetStatusText(STATUS_MESSAGE, L"");
    EndFileStream(App.FilePath, Load.StreamFormat, Load.FoundBreak);
    Load.Finish();
    // Unless the user chose another place while the text streamed in.
    CHARRANGE now = GetEditSelection();
    if (Load.SelectAtEnd && now.cpMin == Load.Clamped.cpMin && now.cpMax == Load.Clamped.cpMax)
        SetEditSelection(Load.Wanted.cpMin, Load.Wanted.cpMax);
    Load.SelectAtEnd = 0;
}

void SelectWhenLoaded(CHARRANGE selection)
{
    // The control limits positions beyond the end of the text so far.
    SetEditSelection(selection.cpMin, selection.cpMax);
    Load.SelectAtEnd = IsDocumentLoading();
    Load.Wanted = selection;
    Load.Clamped = GetEditSelection();
}

static int InputWaiting()
{
    return HIWORD(GetQueueStatus(QS_INPUT)) != 0;
}

static void CALLBACK LoadTick(HWND window, UINT message, UINT_PTR id, DWORD time)
{
    (void)window;
    (void)message;
    (void)id;
    (void)time;
    if (!IsDocumentLoading() || Load.InTick)
        return;
    Load.InTick = 1;
    // Selection moves and pieces going in are no news to the rest of the program.
    LRESULT events = SendMessageW(App.EditControl, EM_SETEVENTMASK, 0, 0);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    double spent = 0;
    while (!Load.Ended && spent + PIECE_MILLISECONDS <= TICK_MILLISECONDS) {
        LARGE_INTEGER before, after;
        QueryPerformanceCounter(&before);
        LONG bytes = Load.PieceBytes;
        AppendPiece();
        QueryPerformanceCounter(&after);
        double took = Milliseconds(before, after);
        if (PiecesFallBehind(bytes, took)) {
            AppendRest();
            break;
        }
        FitPieceSize(took);
        spent = Milliseconds(start, after);
        if (InputWaiting())
            break;
    }
    SendMessageW(App.EditControl, EM_SETEVENTMASK, 0, events);
    Load.InTick = 0;
    if (Load.StopAsked)
        StopBackgroundLoad();
    else if (Load.Ended)
        CompleteLoad();
    else
        ShowProgress();
}

int StartBackgroundLoad(int streamFormat, int foundBreak, LoadEndFunction finish)
{
    if (App.FileSize <= BackgroundLoadThreshold)
        return 0;
    Load.StreamFormat = streamFormat;
    Load.FoundBreak = foundBreak;
    Load.Finish = finish;
    Load.PieceBytes = START_PIECE_BYTES < MaxPieceBytes ? START_PIECE_BYTES : MaxPieceBytes;
    Load.Ended = 0;
    Load.Rest = 0;
    Load.StopAsked = 0;
    Load.BestPace = 0;
    Load.SlowPieces = 0;
    Load.SelectAtEnd = 0;
    EnterDocumentState(STATE_LOADING | STATE_INCOMPLETE);

    StreamPiece(streamFormat, FirstPieceBytes, 0);
    ForgetStreamingEdits(0);
    SendMessageW(App.EditControl, EM_SETREADONLY, TRUE, 0);
    UpdateTitle();
    App.GutterWidth = 0;
    RefreshAfterEdit();
    UpdateCaretStatus();
    ShowProgress();
    SetTimer(App.MainWindow, LOAD_TIMER, USER_TIMER_MINIMUM, LoadTick);
    return 1;
}

void StopBackgroundLoad()
{
    if (!IsDocumentLoading())
        return;
    CloseLoadedFile();
    ForgetStreamingEdits(IsEditModified());
    // A save of what is there would cut the file short: it asks first.
    App.TextChanges = CHANGE_INCOMPLETE;
    App.AcceptedChanges = 0;
    UpdateTitle();
    SetStatusText(STATUS_MESSAGE, L"Loading stopped: the text is incomplete and read-only.");
}

int TakeEscapeDuringLoad(MSGFILTER* filter)
{
    if (filter->msg != WM_KEYDOWN || filter->wParam != VK_ESCAPE || !IsDocumentLoading())
        return 0;
    StopBackgroundLoad();
    filter->msg = 0;
    filter->wParam = 0;
    filter->lParam = 0;
    return 1;
}

void EndIncompleteDocument()
{
    StopBackgroundLoad();
    if (!IsDocumentIncomplete())
        return;
    LeaveDocumentState(STATE_INCOMPLETE);
    SendMessageW(App.EditControl, EM_SETREADONLY, FALSE, 0);
    ReleaseCommandsHeldBy(STATE_INCOMPLETE);
    SetStatusText(STATUS_MESSAGE, L"");
}
