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
// Exit code 0 on success, 1 when the window or control is not there.
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static HWND FindEditor() { return FindWindowA("scrivletClass", NULL); }

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

static int PrintStatusPart(HWND main, int part)
{
    HWND status = FindWindowExA(main, NULL, "msctls_statusbar32", NULL);
    if (!status)
        return 1;
    // SB_GETTEXTW is not marshalled, so the buffer must live in the editor's process.
    DWORD processId = 0;
    GetWindowThreadProcessId(status, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return 1;
    const SIZE_T bytes = 4096;
    void* remote = VirtualAllocEx(process, NULL, bytes, MEM_COMMIT, PAGE_READWRITE);
    wchar_t text[2048];
    memset(text, 0, sizeof(text));
    if (remote) {
        SendMessageW(status, SB_GETTEXTW, (WPARAM)part, (LPARAM)remote);
        ReadProcessMemory(process, remote, text, sizeof(text) - sizeof(wchar_t), NULL);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    PrintWide(text);
    return remote ? 0 : 1;
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

static int AnswerMessageBox(HWND main, int seconds)
{
    OwnedBox search = {main, NULL};
    for (int i = 0; i < seconds * 10 && !search.Box; i++) {
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
    PostMessageA(search.Box, WM_COMMAND, IDOK, 0);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
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
    HWND main = FindEditor();
    if (!main)
        return 1;
    if (strcmp(command, "title") == 0)
        return PrintWindowText(main);
    if (strcmp(command, "text") == 0) {
        HWND edit = FindWindowExA(main, NULL, "RichEdit20A", NULL);
        return edit ? PrintWindowText(edit) : 1;
    }
    if (strcmp(command, "status") == 0 && argc > 2)
        return PrintStatusPart(main, atoi(argv[2]));
    if (strcmp(command, "answer") == 0)
        return AnswerMessageBox(main, argc > 2 ? atoi(argv[2]) : 10);
    if (strcmp(command, "close") == 0) {
        PostMessageA(main, WM_CLOSE, 0, 0);
        return 0;
    }
    return 2;
}
