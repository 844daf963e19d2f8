// Times editors from outside, the way a user waits for them: the process is
// started, and a time is taken when its window answers, has painted and
// holds the whole text. Used by scripts/bench.sh.
//
//   bench_driver generate <file> ansi <bytes> <tokens>   80-character CR LF lines; <tokens> lines carry "qzx";
//                                                        the last line carries "ENDMARK"
//   bench_driver generate <file> utf16 <bytes>           UTF-16 with mark, CR LF lines, some Chinese
//   bench_driver generate <file> short <lines>           short CR LF lines
//   bench_driver generate <file> long <bytes>            one line of words, no break
//       prints "length=<n>": the text length the control reports once loaded
//   bench_driver launch <length> <command line...>
//       prints "ready_ms=<n> first_ms=<n> peak_ws_kb=<n> peak_private_kb=<n> length=<n>":
//       start to the whole text shown and the window idle, start to the
//       first painted screen with text, and the process's peak memory
//   bench_driver session <length> <runs> <matches> <command line...>
//       opens the file once, then times Save, Find Next of "ENDMARK" from the
//       top, and rounds of Replace All of "qzx" by "qzy" and its Undo, each to
//       the window idle; last it saves what the undo gave back, for the
//       caller to compare with the file:
//       prints "save_ms=<a,b,..> find_ms=<...> replace_ms=<...> undo_ms=<...>
//       peak_private_kb=<n>" (the whole session's peak),
//       "na" where the program did not do the work (the feature is missing)
//   bench_driver keys <length> <count> <command line...>
//       opens the file once, brings the window to the front, puts the caret
//       at the start (Ctrl+Home) and types <count> characters as real keys,
//       each timed from the key to the control holding it and the whole
//       window painted; takes them back out with Undo and does the same at
//       the end (Ctrl+End); last it closes the program, which must end
//       without a question since the text is the file's again:
//       prints "start_ms=<a,b,..> end_ms=<...>"
// Exit code 0 on success, 1 when the program failed, 3 when it was not ready
// in time (BENCH_TIMEOUT_S), 4 when it was stopped for growing past 4 GB.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <psapi.h>
#include <richedit.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

#define COMMAND_TIMEOUT_MS 300000
// A program that grows past this is stopped: the machine is shared.
#define MEMORY_CAP ((SIZE_T)4096 << 20)
#define IDM_SAVE_COMMAND 503
#define IDM_REPLACE_COMMAND 613
#define IDM_UNDO_COMMAND 601

static LARGE_INTEGER Frequency;
// Longest wait for a program to get ready (BENCH_TIMEOUT_S, default 10 minutes).
static double ReadyTimeout = 600000;
// Exit code of a launch that did not get ready.
static int Outcome = 1;

static double Now()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return (double)counter.QuadPart * 1000.0 / (double)Frequency.QuadPart;
}

// ---------------------------------------------------------------- inputs

static const char* const Words[] = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf",
                                    "hotel", "india", "juliet", "kilo", "lima", "mike", "november"};

// One line of exactly `width` characters built from the words, varied by n.
static std::string WordLine(unsigned long n, size_t width)
{
    std::string line;
    unsigned long k = n * 7919u;
    while (line.size() < width) {
        line += Words[k % 14];
        line += ' ';
        k = k / 3 + n + line.size();
    }
    line.resize(width);
    return line;
}

static int WriteAll(FILE* out, const std::string& bytes)
{
    return fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
}

static int Generate(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    const char* path = argv[2];
    std::string kind = argv[3];
    unsigned long amount = strtoul(argv[4], NULL, 10);
    unsigned long tokens = argc > 5 ? strtoul(argv[5], NULL, 10) : 0;
    FILE* out = fopen(path, "wb");
    if (!out)
        return 1;
    unsigned long long length = 0;
    if (kind == "ansi") {
        // 80 characters and CR LF per line; the last line is the marker.
        std::string text;
        unsigned long lines = amount / 82;
        for (unsigned long n = 0; n + 1 < lines; n++) {
            std::string line = WordLine(n, 80);
            if (n < tokens)
                line.replace(40, 3, "qzx");
            text += line + "\r\n";
            if (text.size() > (1u << 20)) {
                WriteAll(out, text);
                length += text.size();
                text.clear();
            }
        }
        text += WordLine(lines, 73) + "ENDMARK\r\n";
        WriteAll(out, text);
        length += text.size();
    } else if (kind == "utf16") {
        std::wstring text = L"\xFEFF";
        unsigned long n = 0;
        while ((text.size() + 82) * 2 <= amount) {
            std::string ascii = WordLine(n++, 74);
            std::wstring line(ascii.begin(), ascii.end());
            text += line + L" \x4E2D\x6587\x6A94\x6848\r\n"; // a few Chinese characters per line
        }
        fwrite(text.data(), sizeof(wchar_t), text.size(), out);
        length = text.size() - 1;
    } else if (kind == "short") {
        std::string text;
        char line[32];
        for (unsigned long n = 0; n < amount; n++) {
            _snprintf(line, sizeof(line), "line %lu\r\n", n);
            line[sizeof(line) - 1] = 0;
            text += line;
        }
        WriteAll(out, text);
        length = text.size();
    } else if (kind == "long") {
        std::string text = WordLine(1, amount);
        WriteAll(out, text);
        length = text.size();
    } else {
        fclose(out);
        return 2;
    }
    fclose(out);
    // A line break counts as two characters, as an EDIT control counts it and
    // a RichEdit 2.0 control with GTL_USECRLF, so the length is the character count.
    printf("length=%llu\n", length);
    return 0;
}

// ---------------------------------------------------------------- targets

// The records handed to the program live in its own memory: registered and
// RichEdit messages carry raw pointers across.
struct RemoteBlock {
    FINDREPLACEW Request;
    wchar_t FindWhat[256];
    wchar_t ReplaceWith[256];
    CHARRANGE Selection;
    GETTEXTLENGTHEX LengthRequest;
    char Status[512];
};

struct Target {
    PROCESS_INFORMATION Process;
    HWND Main;
    HWND Edit;
    RemoteBlock* Remote; // address in the program, once its window is there
};

static int WriteRemote(const Target* target, size_t offset, const void* data, size_t size)
{
    return WriteProcessMemory(target->Process.hProcess, (char*)target->Remote + offset, data, size, NULL);
}

static int ReadRemote(const Target* target, size_t offset, void* data, size_t size)
{
    return ReadProcessMemory(target->Process.hProcess, (char*)target->Remote + offset, data, size, NULL);
}

static HWND FindEditChild(HWND main)
{
    static const char* const classes[] = {"RichEdit20A", "RichEdit20W", "Edit"};
    for (const char* name : classes) {
        HWND edit = FindWindowExA(main, NULL, name, NULL);
        if (edit)
            return edit;
    }
    return NULL;
}

static BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam)
{
    Target* target = (Target*)lParam;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != target->Process.dwProcessId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER))
        return TRUE;
    HWND edit = FindEditChild(window);
    if (!edit)
        return TRUE;
    target->Main = window;
    target->Edit = edit;
    return FALSE;
}

static int Painted(const Target& target)
{
    return !GetUpdateRect(target.Edit, NULL, FALSE) && !GetUpdateRect(target.Main, NULL, FALSE);
}

// Waits until the window answers and has nothing left to paint.
static int WaitIdle(const Target& target, DWORD timeout)
{
    double deadline = Now() + timeout;
    while (Now() < deadline) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(target.Main, WM_NULL, 0, 0, SMTO_NORMAL, timeout, &result))
            return 0;
        if (Painted(target))
            return 1;
        Sleep(1);
    }
    return 0;
}

static LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeout = COMMAND_TIMEOUT_MS)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, timeout, &result))
        return -1;
    return (LRESULT)result;
}

// Length of the control's text in UTF-16 units, `flags` as EM_GETTEXTLENGTHEX
// takes them (GTL_USECRLF counts a line break as two, as the generated files
// do). Wine's RichEdit answers WM_GETTEXTLENGTH only after a walk over the
// whole text (0.2 to 0.3 s at 10 MB), which polling would add to every time
// taken; an EDIT control has only that message, and answers it at once.
static LRESULT TextLength(const Target* target, DWORD flags, DWORD timeout = COMMAND_TIMEOUT_MS)
{
    char className[32] = "";
    GetClassNameA(target->Edit, className, sizeof(className));
    if (strncmp(className, "RichEdit", 8) != 0 || !target->Remote)
        return Ask(target->Edit, WM_GETTEXTLENGTH, 0, 0, timeout);
    GETTEXTLENGTHEX request = {flags | GTL_NUMCHARS | GTL_PRECISE, 1200};
    if (!WriteRemote(target, offsetof(RemoteBlock, LengthRequest), &request, sizeof(request)))
        return -1;
    return Ask(target->Edit, EM_GETTEXTLENGTHEX, (WPARAM)&target->Remote->LengthRequest, 0, timeout);
}

static int StartTarget(Target* target, const char* commandLine)
{
    memset(target, 0, sizeof(*target));
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    std::string line = commandLine;
    return CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &target->Process);
}

static SIZE_T PrivateBytes(const Target* target)
{
    PROCESS_MEMORY_COUNTERS memory;
    memset(&memory, 0, sizeof(memory));
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(target->Process.hProcess, &memory, sizeof(memory));
    return memory.PagefileUsage;
}

// Start to ready: whole text in the control, painted, the process idle.
// firstScreen gets the start to the first painted screen holding text.
static int WaitReady(Target* target, double start, unsigned long long length, double* ready, double* firstScreen)
{
    *ready = *firstScreen = -1;
    Outcome = 3;
    while (Now() - start < ReadyTimeout) {
        if (WaitForSingleObject(target->Process.hProcess, 0) == WAIT_OBJECT_0) {
            Outcome = 1;
            return 0;
        }
        if (!target->Main) {
            EnumWindows(MatchWindow, (LPARAM)target);
            if (!target->Main) {
                Sleep(2);
                continue;
            }
            target->Remote = (RemoteBlock*)VirtualAllocEx(target->Process.hProcess, NULL, sizeof(RemoteBlock),
                                                          MEM_COMMIT, PAGE_READWRITE);
        }
        // A busy program answers only when it is back in its message loop;
        // the cheap WM_NULL waits for that, so a check of the length never queues up.
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(target->Main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer)) {
            if (PrivateBytes(target) > MEMORY_CAP) {
                fprintf(stderr, "memory over %u MB\n", (unsigned)(MEMORY_CAP >> 20));
                Outcome = 4;
                return 0;
            }
            continue;
        }
        LRESULT have = TextLength(target, GTL_USECRLF, (DWORD)ReadyTimeout);
        int painted = Painted(*target);
        double t = Now() - start;
        if (have > 0 && painted && *firstScreen < 0)
            *firstScreen = t;
        // A console program gives no idle signal (WAIT_FAILED); its answer
        // and its painting then stand for idle.
        if (have >= (LRESULT)length && painted && WaitForInputIdle(target->Process.hProcess, 0) != WAIT_TIMEOUT) {
            *ready = t;
            if (*firstScreen < 0)
                *firstScreen = t;
            return 1;
        }
        Sleep(2);
    }
    return 0;
}

// Returns 1 when the program ended by itself on the close.
static int StopTarget(Target* target, int ready)
{
    // One that never got ready may not answer at all.
    if (!ready)
        TerminateProcess(target->Process.hProcess, 1);
    if (target->Edit && ready)
        Ask(target->Edit, EM_SETMODIFY, 0, 0, 5000);
    if (target->Main)
        PostMessageA(target->Main, WM_CLOSE, 0, 0);
    int ended = WaitForSingleObject(target->Process.hProcess, 15000) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(target->Process.hProcess, 1);
    CloseHandle(target->Process.hThread);
    CloseHandle(target->Process.hProcess);
    return ended;
}

static std::string JoinCommand(int argc, char** argv, int first)
{
    std::string line;
    for (int i = first; i < argc; i++) {
        if (!line.empty())
            line += ' ';
        line += argv[i];
    }
    return line;
}

static int Launch(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    unsigned long long length = strtoull(argv[2], NULL, 10);
    std::string command = JoinCommand(argc, argv, 3);
    Target target;
    double start = Now();
    if (!StartTarget(&target, command.c_str()))
        return 1;
    double ready, firstScreen;
    int ok = WaitReady(&target, start, length, &ready, &firstScreen);
    PROCESS_MEMORY_COUNTERS memory;
    memset(&memory, 0, sizeof(memory));
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(target.Process.hProcess, &memory, sizeof(memory));
    LRESULT have = target.Edit && ok ? TextLength(&target, GTL_USECRLF, 5000) : -1;
    StopTarget(&target, ok);
    if (!ok) {
        fprintf(stderr, "not ready: %s (length %ld of %llu)\n", command.c_str(), (long)have, length);
        return Outcome;
    }
    printf("ready_ms=%.1f first_ms=%.1f peak_ws_kb=%lu peak_private_kb=%lu length=%ld\n", ready, firstScreen,
           (unsigned long)(memory.PeakWorkingSetSize / 1024), (unsigned long)(memory.PeakPagefileUsage / 1024),
           (long)have);
    return 0;
}

// ---------------------------------------------------------------- session

struct Session {
    Target Program;
    UINT FindMessage;
};

static BOOL CALLBACK TakeOwnedDialog(HWND window, LPARAM data)
{
    HWND* found = (HWND*)data;
    char className[16];
    if (GetWindow(window, GW_OWNER) == found[0] && GetClassNameA(window, className, sizeof(className)) &&
        strcmp(className, "#32770") == 0) {
        found[1] = window;
        return FALSE;
    }
    return TRUE;
}

// The program's modeless find/replace dialog.
static HWND FindOwnedDialog(HWND main)
{
    HWND found[2] = {main, NULL};
    EnumWindows(TakeOwnedDialog, (LPARAM)found);
    return found[1];
}

static void PutRequest(Session* session, DWORD flags, const char* find, const char* replace)
{
    RemoteBlock local;
    memset(&local, 0, sizeof(local));
    local.Request.lStructSize = sizeof(FINDREPLACEW);
    local.Request.hwndOwner = session->Program.Main;
    local.Request.Flags = flags;
    local.Request.lpstrFindWhat = session->Program.Remote->FindWhat;
    local.Request.lpstrReplaceWith = session->Program.Remote->ReplaceWith;
    local.Request.wFindWhatLen = 255;
    local.Request.wReplaceWithLen = 255;
    MultiByteToWideChar(CP_ACP, 0, find, -1, local.FindWhat, 256);
    MultiByteToWideChar(CP_ACP, 0, replace, -1, local.ReplaceWith, 256);
    WriteRemote(&session->Program, 0, &local, offsetof(RemoteBlock, Selection));
    // The program reads the texts from the open dialog's boxes, as a user
    // would have typed them there (edt1 and edt2).
    HWND dialog = FindOwnedDialog(session->Program.Main);
    if (dialog) {
        SetDlgItemTextA(dialog, 0x480, find);
        SetDlgItemTextA(dialog, 0x481, replace);
    }
}

// Sends the find/replace notification the common dialog would send; the time
// runs until the program is idle again. Returns -1 when it did not answer.
static double SendFindRequest(Session* session)
{
    Target& target = session->Program;
    double start = Now();
    if (Ask(target.Main, session->FindMessage, 0, (LPARAM)&session->Program.Remote->Request) == -1)
        return -1;
    // Replace All may have put a new edit control in place.
    target.Edit = FindEditChild(target.Main);
    if (!WaitIdle(target, COMMAND_TIMEOUT_MS))
        return -1;
    return Now() - start;
}

static double TimeSave(Session* session)
{
    const Target& target = session->Program;
    Ask(target.Edit, EM_SETMODIFY, 1, 0);
    WaitIdle(target, COMMAND_TIMEOUT_MS);
    double start = Now();
    if (Ask(target.Main, WM_COMMAND, IDM_SAVE_COMMAND, 0) == -1 || !WaitIdle(target, COMMAND_TIMEOUT_MS))
        return -2;
    double elapsed = Now() - start;
    // A save that happened clears the modified flag.
    return Ask(target.Edit, EM_GETMODIFY, 0, 0) == 0 ? elapsed : -1;
}

static double TimeFindNext(Session* session)
{
    const Target& target = session->Program;
    Ask(target.Edit, EM_SETSEL, 0, 0);
    WaitIdle(target, COMMAND_TIMEOUT_MS);
    PutRequest(session, FR_DOWN | FR_FINDNEXT, "ENDMARK", "");
    double elapsed = SendFindRequest(session);
    if (elapsed < 0)
        return -1; // still busy: asking more would only wait again
    CHARRANGE found = {0, 0};
    Ask(target.Edit, EM_EXGETSEL, 0, (LPARAM)&session->Program.Remote->Selection);
    ReadRemote(&session->Program, offsetof(RemoteBlock, Selection), &found, sizeof(found));
    // The marker sits on the last line only.
    return found.cpMin > 0 && found.cpMax - found.cpMin == 7 ? elapsed : -1;
}

static double TimeReplaceAll(Session* session, unsigned long matches)
{
    const Target& target = session->Program;
    PutRequest(session, FR_DOWN | FR_REPLACEALL, "qzx", "qzy");
    double elapsed = SendFindRequest(session);
    if (elapsed < 0)
        return -1;
    // The program reports the count in the first status-bar part.
    HWND status = FindWindowExA(target.Main, NULL, STATUSCLASSNAMEA, NULL);
    char text[512] = "";
    if (status && Ask(status, SB_GETTEXTA, 0, (LPARAM)session->Program.Remote->Status) != -1)
        ReadRemote(&session->Program, offsetof(RemoteBlock, Status), text, sizeof(text) - 1);
    text[sizeof(text) - 1] = 0;
    char expected[64];
    _snprintf(expected, sizeof(expected), "Items replaced: %lu", matches);
    expected[sizeof(expected) - 1] = 0;
    return strcmp(text, expected) == 0 ? elapsed : -1;
}

// Undo from the menu; the edit control may be a new window afterwards.
static double TimeUndo(Session* session)
{
    Target& target = session->Program;
    double start = Now();
    if (Ask(target.Main, WM_COMMAND, IDM_UNDO_COMMAND, 0) == -1)
        return -1;
    target.Edit = FindEditChild(target.Main);
    if (!target.Edit || !WaitIdle(target, COMMAND_TIMEOUT_MS))
        return -1;
    return Now() - start;
}

static void PrintTimes(const char* name, const double* times, int count)
{
    printf("%s=", name);
    for (int i = 0; i < count; i++) {
        if (times[i] < 0) // not done, or not done in time
            printf("%sna", i ? "," : "");
        else
            printf("%s%.1f", i ? "," : "", times[i]);
    }
}

// Starts the program on its file and waits until it is ready.
static int StartOnFile(Target* target, unsigned long long length, const std::string& command)
{
    double start = Now();
    if (!StartTarget(target, command.c_str()))
        return 0;
    double ready, firstScreen;
    if (!WaitReady(target, start, length, &ready, &firstScreen)) {
        StopTarget(target, 0);
        fprintf(stderr, "not ready: %s\n", command.c_str());
        return 0;
    }
    return 1;
}

static int RunSession(int argc, char** argv)
{
    if (argc < 6)
        return 2;
    unsigned long long length = strtoull(argv[2], NULL, 10);
    int runs = atoi(argv[3]);
    if (runs < 1 || runs > 20)
        runs = 3;
    unsigned long matches = strtoul(argv[4], NULL, 10);
    Session session;
    if (!StartOnFile(&session.Program, length, JoinCommand(argc, argv, 5)))
        return 1;
    session.FindMessage = RegisterWindowMessageA(FINDMSGSTRINGA);

    double save[20], find[20], replace[20], undo[20];
    for (int i = 0; i < runs; i++)
        save[i] = TimeSave(&session);
    // A program still busy after the time allowed is stopped: later answers would only wait again.
    int stuck = 0;
    for (int i = 0; i < runs; i++)
        stuck |= save[i] == -2;
    // The program listens for the dialog's notifications once a dialog is open.
    if (!stuck) {
        Ask(session.Program.Main, WM_COMMAND, IDM_REPLACE_COMMAND, 0);
        WaitIdle(session.Program, COMMAND_TIMEOUT_MS);
    }
    for (int i = 0; i < runs; i++)
        find[i] = session.Program.Remote && !stuck ? TimeFindNext(&session) : -1;
    int done = 0;
    for (; done < runs; done++) {
        replace[done] = session.Program.Remote && !stuck ? TimeReplaceAll(&session, matches) : -1;
        undo[done] = replace[done] >= 0 ? TimeUndo(&session) : -1;
        if (replace[done] < 0 || undo[done] < 0)
            break; // missing or stuck: no point in more rounds
    }
    if (done == runs)
        TimeSave(&session);
    PROCESS_MEMORY_COUNTERS memory;
    memset(&memory, 0, sizeof(memory));
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(session.Program.Process.hProcess, &memory, sizeof(memory));
    StopTarget(&session.Program, !stuck && replace[0] >= 0);

    PrintTimes("save_ms", save, runs);
    PrintTimes(" find_ms", find, runs);
    PrintTimes(" replace_ms", replace, done < runs ? done + 1 : runs);
    PrintTimes(" undo_ms", undo, done < runs ? done + 1 : runs);
    printf(" peak_private_kb=%lu", (unsigned long)(memory.PeakPagefileUsage / 1024));
    printf("\n");
    return 0;
}

// ---------------------------------------------------------------- keystrokes

#define KEY_TIMEOUT_MS 30000

static void PutKey(INPUT* input, WORD key, DWORD up)
{
    memset(input, 0, sizeof(*input));
    input->type = INPUT_KEYBOARD;
    input->ki.wVk = key;
    input->ki.wScan = (WORD)MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
    input->ki.dwFlags = up;
    if (key == VK_HOME || key == VK_END)
        input->ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
}

// A real key press and release, held with Ctrl when `control` is set; it
// goes to the window with the keyboard focus, as typing does.
static void PressKey(WORD key, int control)
{
    INPUT inputs[4];
    int count = 0;
    if (control)
        PutKey(&inputs[count++], VK_CONTROL, 0);
    PutKey(&inputs[count++], key, 0);
    PutKey(&inputs[count++], key, KEYEVENTF_KEYUP);
    if (control)
        PutKey(&inputs[count++], VK_CONTROL, KEYEVENTF_KEYUP);
    SendInput((UINT)count, inputs, sizeof(INPUT));
}

static BOOL CALLBACK FindUnpainted(HWND child, LPARAM lParam)
{
    if (!IsWindowVisible(child) || !GetUpdateRect(child, NULL, FALSE))
        return TRUE;
    *(int*)lParam = 0;
    return FALSE;
}

// Nothing left to paint in the window or any of its parts (status bar,
// gutter, the control).
static int WholeWindowPainted(const Target& target)
{
    int painted = !GetUpdateRect(target.Main, NULL, FALSE);
    if (painted)
        EnumChildWindows(target.Main, FindUnpainted, (LPARAM)&painted);
    return painted;
}

// The caret as a character position (a line break counts one), -1 while
// something is selected or the program does not answer.
static LONG CaretPosition(const Target* target)
{
    CHARRANGE range = {-1, -1};
    if (Ask(target->Edit, EM_EXGETSEL, 0, (LPARAM)&target->Remote->Selection) == -1 ||
        !ReadRemote(target, offsetof(RemoteBlock, Selection), &range, sizeof(range)))
        return -1;
    return range.cpMin == range.cpMax ? range.cpMin : -1;
}

// The window in front with the keyboard in its control, as after a click on it.
static int TakeKeyboard(const Target* target)
{
    DWORD thread = GetWindowThreadProcessId(target->Edit, NULL);
    double deadline = Now() + 10000;
    while (Now() < deadline) {
        SetForegroundWindow(target->Main);
        WaitIdle(*target, KEY_TIMEOUT_MS);
        GUITHREADINFO info;
        memset(&info, 0, sizeof(info));
        info.cbSize = sizeof(info);
        if (GetForegroundWindow() == target->Main && GetGUIThreadInfo(thread, &info) && info.hwndFocus == target->Edit)
            return 1;
        Sleep(20);
    }
    fprintf(stderr, "the control did not get the keyboard\n");
    return 0;
}

// Ctrl+Home or Ctrl+End, then waits for the caret at `wanted` and the window idle.
static int PlaceCaret(const Target* target, WORD key, LONG wanted)
{
    PressKey(key, 1);
    double deadline = Now() + KEY_TIMEOUT_MS;
    while (Now() < deadline) {
        if (CaretPosition(target) == wanted && WaitIdle(*target, KEY_TIMEOUT_MS) && WholeWindowPainted(*target))
            return 1;
        Sleep(5);
    }
    fprintf(stderr, "the caret did not go to %ld\n", (long)wanted);
    return 0;
}

// One typed character, from the key to the control holding it and the whole
// window painted; -1 when that did not happen in time. The window is idle
// before the key, so nothing earlier is counted.
static double TimeKeystroke(const Target* target, LRESULT* length)
{
    if (!WaitIdle(*target, KEY_TIMEOUT_MS))
        return -1;
    double start = Now();
    PressKey('X', 0);
    int typed = 0;
    while (Now() - start < KEY_TIMEOUT_MS) {
        // The program answers a sent message only between the ones it
        // handles, so each answer comes when it is back in its loop.
        if (!typed)
            typed = TextLength(target, GTL_DEFAULT, KEY_TIMEOUT_MS) == *length + 1;
        if (typed && Ask(target->Main, WM_NULL, 0, 0, KEY_TIMEOUT_MS) != -1 && WholeWindowPainted(*target)) {
            *length += 1;
            return Now() - start;
        }
        Sleep(1);
    }
    return -1;
}

// Types `count` characters with the caret put by Ctrl and `key` at `caret`,
// times each, and takes them back out, so the text is the file's again.
static int TimeKeystrokes(const Target* target, WORD key, LONG caret, int count, double* times)
{
    LRESULT original = TextLength(target, GTL_DEFAULT);
    if (!PlaceCaret(target, key, caret))
        return 0;
    LRESULT length = original;
    int typed = 0;
    for (; typed < count; typed++) {
        times[typed] = TimeKeystroke(target, &length);
        if (times[typed] < 0)
            break;
    }
    // The control may take the typing back in one step or in several.
    LRESULT now = TextLength(target, GTL_DEFAULT);
    for (int i = 0; i <= typed && now != original && now != -1; i++) {
        Ask(target->Edit, EM_UNDO, 0, 0);
        now = TextLength(target, GTL_DEFAULT);
    }
    WaitIdle(*target, KEY_TIMEOUT_MS);
    if (now != original)
        fprintf(stderr, "the typing was not taken back: length %ld instead of %ld\n", (long)now, (long)original);
    if (typed < count)
        fprintf(stderr, "a key did not show within %d ms\n", KEY_TIMEOUT_MS);
    return typed == count && now == original;
}

static int RunKeystrokes(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    unsigned long long length = strtoull(argv[2], NULL, 10);
    int count = atoi(argv[3]);
    if (count < 1 || count > 200)
        count = 20;
    Target target;
    if (!StartOnFile(&target, length, JoinCommand(argc, argv, 4)))
        return 1;
    double atStart[200], atEnd[200];
    int ok = target.Remote && TakeKeyboard(&target) && TimeKeystrokes(&target, VK_HOME, 0, count, atStart) &&
             TimeKeystrokes(&target, VK_END, (LONG)TextLength(&target, GTL_DEFAULT), count, atEnd);
    // The text is the file's again: the program must close without a question.
    int closed = StopTarget(&target, ok);
    if (!ok)
        return 1;
    if (!closed) {
        fprintf(stderr, "the program did not close by itself after the typing was taken back\n");
        return 1;
    }
    PrintTimes("start_ms", atStart, count);
    PrintTimes(" end_ms", atEnd, count);
    printf("\n");
    return 0;
}

int main(int argc, char** argv)
{
    QueryPerformanceFrequency(&Frequency);
    if (getenv("BENCH_TIMEOUT_S"))
        ReadyTimeout = atof(getenv("BENCH_TIMEOUT_S")) * 1000.0;
    if (argc < 2)
        return 2;
    std::string command = argv[1];
    if (command == "generate")
        return Generate(argc, argv);
    if (command == "launch")
        return Launch(argc, argv);
    if (command == "session")
        return RunSession(argc, argv);
    if (command == "keys")
        return RunKeystrokes(argc, argv);
    return 2;
}
