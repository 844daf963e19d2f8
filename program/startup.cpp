#include "program/startup.h"

#include "document/file_dialogs.h"
#include "document/load.h"
#include "document/new_document.h"
#include "ground/app_state.h"
#include "ground/dpi.h"
#include "ground/user_prompts.h"
#include "program/main_wndproc.h"
#include "recovery/recovery_offer.h"
#include "settings/settings.h"
#include "text/memory.h"
#include "views/main_window.h"
#include "resource.h"

#include <string.h>
#include <wchar.h>

BOOL RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSW windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    App.AppIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APPICON));
    windowClass.style = 0;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = App.AppIcon;
    windowClass.hCursor = LoadCursorW(NULL, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    // Running copies find each other by this name.
    windowClass.lpszClassName = L"scrivletClass";
    return RegisterClassW(&windowClass) != 0;
}

HMODULE LoadRichEditLibrary()
{
    HMODULE library = LoadLibraryExW(L"RICHED20.DLL", NULL, 0);
    if (!library)
        ShowError(L"Error loading rich edit library! Make sure you have riched20.dll");
    return library;
}

static int IsTrimmed(wchar_t c)
{
    return c == L' ' || c == L'"';
}

size_t TrimCommandLine(const wchar_t* tail, wchar_t* out, size_t outSize)
{
    if (!out || outSize == 0)
        return 0;
    out[0] = 0;
    if (!tail)
        return 0;
    while (*tail && IsTrimmed(*tail))
        tail++;
    size_t length = wcslen(tail);
    while (length > 0 && IsTrimmed(tail[length - 1]))
        length--;
    // A name that does not fit would open some other, truncated name.
    if (length >= outSize)
        return 0;
    memcpy(out, tail, length * sizeof(wchar_t));
    out[length] = 0;
    return length;
}

const wchar_t* CommandLineTail(const wchar_t* commandLine)
{
    if (!commandLine)
        return L"";
    const wchar_t* p = commandLine;
    if (*p == L'"') {
        // A quoted program name ends at its closing quote, whatever follows.
        p++;
        while (*p && *p != L'"')
            p++;
        if (*p == L'"')
            p++;
    } else {
        // Every character up to a blank belongs to the name.
        while (*p && *p != L' ' && *p != L'\t')
            p++;
    }
    while (*p == L' ' || *p == L'\t')
        p++;
    return p;
}

int ProcessCommandLine(const wchar_t* tail)
{
    BuildOpenFileName(&App.FileDialog);
    if (!tail || !*tail)
        return 1;
    size_t size = wcslen(tail) + 1;
    wchar_t* name = (wchar_t*)AllocZeroed(size * sizeof(wchar_t));
    if (!name)
        return 1;
    if (TrimCommandLine(tail, name, size) > 0)
        OpenDocument(name);
    FreeBlock(name);
    return 1;
}

void HandleLoopMessage(MSG* message)
{
    // The find dialog takes its own keys first, so Tab, Enter and Escape work
    // there and the editor's accelerators stay quiet while it has the focus.
    if (App.FindDialog && IsDialogMessageW(App.FindDialog, message))
        return;
    if (TranslateAcceleratorW(App.MainWindow, App.Accelerators, message))
        return;
    TranslateMessage(message);
    DispatchMessageW(message);
}

static int RunMessageLoop()
{
    MSG message;
    memset(&message, 0, sizeof(message));
    while (GetMessageW(&message, NULL, 0, 0))
        HandleLoopMessage(&message);
    return (int)message.wParam;
}

void LoadSettings()
{
    // The colour defaults depend on the look (a high-contrast window colour
    // is none of the user's), so it is read first.
    App.Look = SystemLookReader();
    // The first placement's default size is in pixels at the window's DPI.
    ReadSettings(WindowDpi(App.MainWindow));
    ShowReadSettings();
    NewDocument();
    LayoutMainWindow();
}

int RunEditor(HINSTANCE instance, const wchar_t* commandTail)
{
    ResetAppState();
    App.Instance = instance;
    if (!RegisterMainClass(instance))
        return 0;
    HMODULE richEdit = LoadRichEditLibrary();
    if (!richEdit)
        return 1;
    if (!CreateMainWindow(instance)) {
        FreeLibrary(richEdit);
        return 1;
    }
    App.FilePath = (wchar_t*)AllocZeroed(PATH_CAPACITY * sizeof(wchar_t));
    LoadSettings();
    // A copy started to take over a recovered document opens no file.
    ProcessCommandLine(IsRecoveryCommand(commandTail) ? L"" : commandTail);
    StartRecovery(commandTail);
    App.Accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    if (!App.Accelerators) {
        ShowError(L"Can not initialize!");
        return 1;
    }
    int exitCode = RunMessageLoop();
    FreeBlock(App.FilePath);
    App.FilePath = NULL;
    FreeLibrary(richEdit);
    return exitCode;
}
