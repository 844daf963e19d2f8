// Looks into a running scrivlet from another process, for the end-to-end
// scripts: they type with real key presses and read the result through this.
//   window_probe wait <seconds>        waits for a window of class scrivletClass, prints its title
//   window_probe title                 prints the main window's title
//   window_probe text                  prints the edit control's text (UTF-8)
//   window_probe status <part>         prints one status-bar part (UTF-8)
//   window_probe close                 asks the window to close
//   window_probe count                 prints how many editor windows there are
//   window_probe closeall              asks every editor window to close at once
//   window_probe commandall <id>...    sends every editor window these menu commands
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

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const char* command = argv[1];
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
    if (strcmp(command, "close") == 0) {
        PostMessageA(main, WM_CLOSE, 0, 0);
        return 0;
    }
    return 2;
}
