// Looks into a running scrivlet from another process, for the end-to-end
// scripts: they type with real key presses and read the result through this.
//   window_probe wait <seconds>        waits for a window of class scrivletClass, prints its title
//   window_probe title                 prints the main window's title
//   window_probe text                  prints the edit control's text (UTF-8)
//   window_probe status <part>         prints one status-bar part (UTF-8)
//   window_probe close                 asks the window to close
//   window_probe hang <seconds>        holds a hidden scrivletClass window that never
//                                      answers a message, for that long; prints "ready"
//   window_probe answer <seconds>      waits for a message box of the editor,
//                                      prints its text (UTF-8) and presses OK
//   window_probe visible               prints 1 when the main window is shown, else 0
//   window_probe tray exists|remove    whether the window's tray icon is there / removes it
//   window_probe tray-rect             prints the taskbar's left top right bottom
//   window_probe taskbar-created       broadcasts "TaskbarCreated", as a restarted shell does
//   window_probe popup [<window>]      prints the title of the editor's (or that copy's) open
//                                      dialog or message box
//   window_probe print-range           prints the print dialog's choice: all|pages|selection from to [file]
// "--desktop NAME" before the command looks on that Wine desktop instead.
//   window_probe editrect              prints the edit control's client area
//                                      on the screen: left top right bottom
//   window_probe list                  prints "<window> <title>" for every visible copy
//   window_probe command <window> <id> posts WM_COMMAND <id> to that copy
//   window_probe commands              reads lines "<window> <id> <pause ms>" from stdin
//                                      and posts each command, then pauses
//   window_probe favorites <window>    prints that copy's Favorites menu entries, one a line
//   window_probe count                 prints how many editor windows there are
//   window_probe closeall              asks every editor window to close at once
//   window_probe commandall <id>...    sends every editor window these menu commands
//   window_probe parts                 prints each status part: number, width, text width, text
//   window_probe toolbar               prints the button width and height and the toolbar's height
//   window_probe windowsize            prints the main window's width and height
//   window_probe resize <w> <h>        gives the main window that size
//   window_probe textleft              prints where the edit control's text starts (EM_GETRECT)
//   window_probe kill <window>...      ends these copies' processes at once, as a crash would
//   window_probe xwindow <window>      prints the X window Wine shows that window in
//   window_probe look-change           tells every window the colour set changed
//                                      (WM_SETTINGCHANGE "ImmersiveColorSet")
// Exit code 0 on success, 1 when the window or control is not there.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static HWND FindEditor() { return FindWindowA("scrivletClass", NULL); }

// The edit control, of the ANSI class or of the Unicode one.
static HWND FindEdit(HWND main)
{
    HWND edit = FindWindowExA(main, NULL, "RichEdit20W", NULL);
    return edit ? edit : FindWindowExA(main, NULL, "RichEdit20A", NULL);
}

static int KillCopy(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = processId ? OpenProcess(PROCESS_TERMINATE, FALSE, processId) : NULL;
    int ended = process && TerminateProcess(process, 9);
    if (process)
        CloseHandle(process);
    return ended ? 0 : 1;
}

static void PrintWide(const wchar_t* text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    char* utf8 = (char*)calloc((size_t)n + 1, 1);
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, n, NULL, NULL);
    fputs(utf8, stdout);
    fputc('\n', stdout);
    free(utf8);
}

static int PrintWindowText(HWND window)
{
    wchar_t text[65536];
    text[0] = 0;
    // WM_GETTEXT is carried across processes by the system.
    SendMessageW(window, WM_GETTEXT, 65536, (LPARAM)text);
    PrintWide(text);
    return 0;
}

// Sends a message whose lParam points at a buffer the control fills: such
// messages are not marshalled, so the buffer must live in the editor's
// process. Copies the buffer back into out; 0 when that could not be done.
static int RemoteRead(HWND control, UINT message, WPARAM wParam, void* out, SIZE_T bytes)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(control, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return 0;
    void* remote = VirtualAllocEx(process, NULL, bytes, MEM_COMMIT, PAGE_READWRITE);
    if (remote) {
        SendMessageW(control, message, wParam, (LPARAM)remote);
        ReadProcessMemory(process, remote, out, bytes, NULL);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return remote != NULL;
}

static int ReadStatusPart(HWND status, int part, wchar_t* text, SIZE_T chars)
{
    memset(text, 0, chars * sizeof(wchar_t));
    return RemoteRead(status, SB_GETTEXTW, (WPARAM)part, text, (chars - 1) * sizeof(wchar_t));
}

static int PrintStatusPart(HWND main, int part)
{
    HWND status = FindWindowExA(main, NULL, "msctls_statusbar32", NULL);
    if (!status)
        return 1;
    wchar_t text[2048];
    int read = ReadStatusPart(status, part, text, 2048);
    PrintWide(text);
    return read ? 0 : 1;
}

// Each status part: "<part> <width> <text width> <text>", the text measured
// in the system's status font, which the status bar uses.
static int PrintStatusParts(HWND main)
{
    HWND status = FindWindowExA(main, NULL, "msctls_statusbar32", NULL);
    int edges[6];
    if (!status || !RemoteRead(status, SB_GETPARTS, 6, edges, sizeof(edges)))
        return 1;
    NONCLIENTMETRICSW metrics;
    memset(&metrics, 0, sizeof(metrics));
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfStatusFont);
    HDC context = GetDC(NULL);
    HGDIOBJ old = SelectObject(context, font);
    for (int part = 0; part < 6; part++) {
        wchar_t text[256];
        ReadStatusPart(status, part, text, 256);
        SIZE size = {0, 0};
        GetTextExtentPoint32W(context, text, lstrlenW(text), &size);
        printf("%d %d %ld ", part, edges[part] - (part > 0 ? edges[part - 1] : 0), (long)size.cx);
        fflush(stdout);
        PrintWide(text);
    }
    SelectObject(context, old);
    ReleaseDC(NULL, context);
    DeleteObject(font);
    return 0;
}

// A running copy that has stopped answering: its window exists, but its
// thread never looks at its messages.
static int HoldHungWindow(int seconds)
{
    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "scrivletClass";
    if (!RegisterClassA(&windowClass))
        return 1;
    HWND window = CreateWindowExA(0, "scrivletClass", "hung peer", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                  100, NULL, NULL, windowClass.hInstance, NULL);
    if (!window)
        return 1;
    puts("ready");
    fflush(stdout);
    Sleep((DWORD)seconds * 1000);
    return 0;
}

struct OwnedBox {
    HWND Owner;
    HWND Box;
};

static BOOL CALLBACK FindOwnedBox(HWND window, LPARAM data)
{
    OwnedBox* search = (OwnedBox*)data;
    char className[16];
    GetClassNameA(window, className, sizeof(className));
    if (strcmp(className, "#32770") == 0 && GetWindow(window, GW_OWNER) == search->Owner &&
        IsWindowVisible(window)) {
        search->Box = window;
        return FALSE;
    }
    return TRUE;
}

static BOOL CALLBACK CountEditor(HWND window, LPARAM count)
{
    char name[32];
    if (GetClassNameA(window, name, sizeof(name)) && strcmp(name, "scrivletClass") == 0 && IsWindowVisible(window))
        ++*(int*)count;
    return TRUE;
}

// lParam: a command id, or 0 to ask the window to close.
static BOOL CALLBACK PostToEditor(HWND window, LPARAM command)
{
    char name[32];
    if (GetClassNameA(window, name, sizeof(name)) && strcmp(name, "scrivletClass") == 0) {
        if (command)
            SendMessageA(window, WM_COMMAND, (WPARAM)command, 0);
        else
            PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

static BOOL CALLBACK PrintCopy(HWND window, LPARAM)
{
    char className[32];
    if (GetClassNameA(window, className, (int)sizeof(className)) &&
        strcmp(className, "scrivletClass") == 0 && IsWindowVisible(window)) {
        printf("%llu ", (unsigned long long)(ULONG_PTR)window);
        PrintWindowText(window);
    }
    return TRUE;
}

// main NULL: the editor's window, looked for anew each time, so a copy that
// has just started (or one just gone) does not end the wait at once.
static int AnswerMessageBox(HWND main, int seconds, int button)
{
    OwnedBox search = {main, NULL};
    for (int i = 0; i < seconds * 10 && !search.Box; i++) {
        if (!main)
            search.Owner = FindEditor();
        if (search.Owner)
            EnumWindows(FindOwnedBox, (LPARAM)&search);
        if (!search.Box)
            Sleep(100);
    }
    if (!search.Box)
        return 1;
    wchar_t text[2048];
    text[0] = 0;
    // The message box shows its text in the static control 0xFFFF.
    GetDlgItemTextW(search.Box, 0xFFFF, text, 2048);
    PrintWide(text);
    PostMessageA(search.Box, WM_COMMAND, (WPARAM)button, 0);
    return 0;
}

// The icon record that names the editor's icon (id 104) and nothing else.
static int TrayCommand(HWND main, const char* what)
{
    NOTIFYICONDATAA record;
    memset(&record, 0, sizeof(record));
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = main;
    record.uID = 104;
    // Changing nothing succeeds only for an icon the tray holds.
    DWORD message = strcmp(what, "remove") == 0 ? NIM_DELETE : NIM_MODIFY;
    return Shell_NotifyIconA(message, &record) ? 0 : 1;
}

static int PrintTrayRect()
{
    RECT rect;
    HWND tray = FindWindowA("Shell_TrayWnd", NULL);
    if (!tray || !GetWindowRect(tray, &rect))
        return 1;
    printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return 0;
}

// A shown dialog or message box of the editor's thread (class #32770).
static BOOL CALLBACK TakeDialog(HWND window, LPARAM found)
{
    char className[16];
    GetClassNameA(window, className, sizeof(className));
    if (strcmp(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    *(HWND*)found = window;
    return FALSE;
}

static HWND FindDialogOf(HWND main)
{
    HWND found = NULL;
    EnumThreadWindows(GetWindowThreadProcessId(main, NULL), TakeDialog, (LPARAM)&found);
    return found;
}

// The print dialog's range buttons and page boxes have these fixed ids.
static int PrintPrintRange(HWND dialog)
{
    const char* range = IsDlgButtonChecked(dialog, 0x422) ? "pages"
                        : IsDlgButtonChecked(dialog, 0x421) ? "selection"
                                                            : "all";
    printf("%s %u %u%s\n", range, GetDlgItemInt(dialog, 0x480, NULL, FALSE),
           GetDlgItemInt(dialog, 0x481, NULL, FALSE), IsDlgButtonChecked(dialog, 0x410) ? " file" : "");
    return 0;
}

static HWND WindowArgument(const char* text) { return (HWND)(ULONG_PTR)strtoull(text, NULL, 10); }

// A whole timed sequence from one process: starting a probe per command
// would space the commands by Wine's start-up time.
static int PostCommandLines()
{
    char line[128];
    while (fgets(line, (int)sizeof(line), stdin)) {
        unsigned long long window = 0;
        int id = 0, pause = 0;
        if (sscanf(line, "%llu %d %d", &window, &id, &pause) != 3)
            return 2;
        if (!PostMessageA((HWND)(ULONG_PTR)window, WM_COMMAND, (WPARAM)id, 0))
            return 1;
        Sleep((DWORD)pause);
    }
    return 0;
}

static int MenuReplied = 0;

static LRESULT CALLBACK MenuReplyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COPYDATA)
        return DefWindowProcA(window, message, wParam, lParam);
    const COPYDATASTRUCT* reply = (const COPYDATASTRUCT*)lParam;
    MenuReplied = (int)reply->dwData >= 0 ? 1 : -1;
    fwrite(reply->lpData, 1, reply->cbData, stdout);
    return TRUE;
}

// A menu cannot be read from another process: menu_hook.dll, beside this
// program, is hooked into the copy's thread and answers from inside it.
static int PrintFavoritesMenu(HWND target)
{
    char dllPath[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, dllPath, MAX_PATH);
    char* slash = strrchr(dllPath, '\\');
    if (length == 0 || length >= MAX_PATH || !slash)
        return 1;
    lstrcpynA(slash + 1, "menu_hook.dll", (int)(dllPath + MAX_PATH - slash - 1));
    HMODULE dll = LoadLibraryA(dllPath);
    HOOKPROC hookProc = dll ? (HOOKPROC)(void*)GetProcAddress(dll, "FavoritesMenuHook") : NULL;
    DWORD thread = GetWindowThreadProcessId(target, NULL);
    if (!hookProc || !thread)
        return 1;
    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    windowClass.lpfnWndProc = MenuReplyProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "ScrivletProbeReply";
    RegisterClassA(&windowClass);
    HWND reply = CreateWindowExA(0, "ScrivletProbeReply", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                                 windowClass.hInstance, NULL);
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, hookProc, dll, thread);
    if (!reply || !hook)
        return 1;
    PostMessageA(target, RegisterWindowMessageA("SCRIVLET_PROBE_MENU"), (WPARAM)reply, 0);
    DWORD start = GetTickCount();
    while (!MenuReplied && GetTickCount() - start < 10000) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    UnhookWindowsHookEx(hook);
    return MenuReplied == 1 ? 0 : 1;
}

int main(int argc, char** argv)
{
    // Sizes and fonts as the editor, which is DPI aware, sees them.
    SetProcessDPIAware();
    if (argc > 3 && strcmp(argv[1], "--desktop") == 0) {
        HDESK desktop = OpenDesktopA(argv[2], 0, FALSE, GENERIC_ALL);
        if (!desktop || !SetThreadDesktop(desktop))
            return 1;
        argc -= 2;
        argv += 2;
    }
    if (argc < 2)
        return 2;
    if (strcmp(argv[1], "taskbar-created") == 0) {
        PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        return 0;
    }
    if (strcmp(argv[1], "tray-rect") == 0)
        return PrintTrayRect();
    if (strcmp(argv[1], "look-change") == 0) {
        DWORD_PTR answer;
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, (LPARAM)L"ImmersiveColorSet", SMTO_ABORTIFHUNG,
                            2000, &answer);
        return 0;
    }
    const char* command = argv[1];
    if (strcmp(command, "hang") == 0)
        return HoldHungWindow(argc > 2 ? atoi(argv[2]) : 30);
    if (strcmp(command, "wait") == 0) {
        int seconds = argc > 2 ? atoi(argv[2]) : 30;
        for (int i = 0; i < seconds * 10; i++) {
            HWND window = FindEditor();
            if (window && IsWindowVisible(window))
                return PrintWindowText(window);
            Sleep(100);
        }
        return 1;
    }
    if (strcmp(command, "list") == 0)
        return !EnumWindows(PrintCopy, 0);
    if (strcmp(command, "count") == 0) {
        int count = 0;
        EnumWindows(CountEditor, (LPARAM)&count);
        printf("%d\n", count);
        return 0;
    }
    if (strcmp(command, "closeall") == 0)
        return !EnumWindows(PostToEditor, 0);
    if (strcmp(command, "commandall") == 0) {
        for (int i = 2; i < argc; i++)
            EnumWindows(PostToEditor, (LPARAM)atoi(argv[i]));
        return 0;
    }
    if (strcmp(command, "command") == 0 && argc > 3)
        return !PostMessageA(WindowArgument(argv[2]), WM_COMMAND, (WPARAM)atoi(argv[3]), 0);
    if (strcmp(command, "commands") == 0)
        return PostCommandLines();
    if (strcmp(command, "kill") == 0) {
        int failed = 0;
        for (int i = 2; i < argc; i++)
            failed |= KillCopy(WindowArgument(argv[i]));
        return failed;
    }
    if (strcmp(command, "xwindow") == 0 && argc > 2) {
        // Wine keeps it as a property of the window: copies with one title
        // are told apart by their handles.
        HANDLE x = GetPropA(WindowArgument(argv[2]), "__wine_x11_whole_window");
        printf("%llu\n", (unsigned long long)(ULONG_PTR)x);
        return x ? 0 : 1;
    }
    if (strcmp(command, "favorites") == 0 && argc > 2)
        return PrintFavoritesMenu(WindowArgument(argv[2]));
    if (strcmp(command, "answer") == 0)
        // A button other than OK, and the copy that asks when several run.
        return AnswerMessageBox(argc > 4 ? WindowArgument(argv[4]) : NULL, argc > 2 ? atoi(argv[2]) : 10,
                                argc > 3 ? atoi(argv[3]) : IDOK);
    HWND main = FindEditor();
    if (!main)
        return 1;
    if (strcmp(command, "title") == 0)
        return PrintWindowText(main);
    if (strcmp(command, "text") == 0) {
        // Of the given copy, when several run.
        HWND owner = argc > 2 ? WindowArgument(argv[2]) : main;
        HWND edit = FindEdit(owner);
        return edit ? PrintWindowText(edit) : 1;
    }
    if (strcmp(command, "status") == 0 && argc > 2)
        return PrintStatusPart(main, atoi(argv[2]));
    HWND popup = FindDialogOf(argc > 2 && strcmp(command, "popup") == 0 ? WindowArgument(argv[2]) : main);
    if (strcmp(command, "popup") == 0)
        return popup ? PrintWindowText(popup) : 1;
    if (strcmp(command, "print-range") == 0)
        return popup ? PrintPrintRange(popup) : 1;
    if (strcmp(command, "visible") == 0) {
        printf("%d\n", IsWindowVisible(main) ? 1 : 0);
        return 0;
    }
    if (strcmp(command, "tray") == 0 && argc > 2)
        return TrayCommand(main, argv[2]);
    if (strcmp(command, "editrect") == 0) {
        HWND edit = FindEdit(main);
        RECT client;
        if (!edit || !GetClientRect(edit, &client))
            return 1;
        MapWindowPoints(edit, NULL, (POINT*)&client, 2);
        printf("%ld %ld %ld %ld\n", (long)client.left, (long)client.top, (long)client.right, (long)client.bottom);
        return 0;
    }
    if (strcmp(command, "close") == 0) {
        PostMessageA(main, WM_CLOSE, 0, 0);
        return 0;
    }
    if (strcmp(command, "parts") == 0)
        return PrintStatusParts(main);
    if (strcmp(command, "toolbar") == 0) {
        HWND toolbar = FindWindowExA(main, NULL, TOOLBARCLASSNAMEA, NULL);
        RECT rect;
        if (!toolbar || !GetWindowRect(toolbar, &rect))
            return 1;
        LRESULT size = SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0);
        printf("%d %d %ld\n", LOWORD(size), HIWORD(size), (long)(rect.bottom - rect.top));
        return 0;
    }
    if (strcmp(command, "windowsize") == 0) {
        RECT rect;
        GetWindowRect(main, &rect);
        printf("%ld %ld\n", (long)(rect.right - rect.left), (long)(rect.bottom - rect.top));
        return 0;
    }
    if (strcmp(command, "resize") == 0 && argc > 3)
        return !SetWindowPos(main, NULL, 0, 0, atoi(argv[2]), atoi(argv[3]), SWP_NOMOVE | SWP_NOZORDER);
    if (strcmp(command, "textleft") == 0) {
        HWND edit = FindEdit(main);
        // A message below WM_USER: the system carries the rectangle across.
        RECT format;
        if (!edit)
            return 1;
        SendMessageA(edit, EM_GETRECT, 0, (LPARAM)&format);
        printf("%ld\n", (long)format.left);
        return 0;
    }
    return 2;
}
