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

BOOL RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    App.AppIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPICON));
    windowClass.style = 0;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = App.AppIcon;
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    // Running copies find each other by this name.
    windowClass.lpszClassName = "scrivletClass";
    return RegisterClassA(&windowClass) != 0;
}

HMODULE LoadRichEditLibrary()
{
    HMODULE library = LoadLibraryExA("RICHED20.DLL", NULL, 0);
    if (!library)
        ShowError("Error loading rich edit library! Make sure you have riched20.dll");
    return library;
}

static int IsTrimmed(char c)
{
    return c == ' ' || c == '"';
}

size_t TrimCommandLine(const char* tail, char* out, size_t outSize)
{
    if (!out || outSize == 0)
        return 0;
    out[0] = 0;
    if (!tail)
        return 0;
    while (*tail && IsTrimmed(*tail))
        tail++;
    size_t length = strlen(tail);
    while (length > 0 && IsTrimmed(tail[length - 1]))
        length--;
    // A name that does not fit would open some other, truncated name.
    if (length >= outSize)
        return 0;
    memcpy(out, tail, length);
    out[length] = 0;
    return length;
}

const char* CommandLineTail(const char* commandLine)
{
    if (!commandLine)
        return "";
    const char* p = commandLine;
    if (*p == '"') {
        // A quoted program name ends at its closing quote, whatever follows.
        p++;
        while (*p && *p != '"')
            p++;
        if (*p == '"')
            p++;
    } else {
        // Every byte up to a blank belongs to the name, those of 0x80 and
        // above included: they are letters of the ANSI code page.
        while (*p && *p != ' ' && *p != '\t')
            p++;
    }
    while (*p == ' ' || *p == '\t')
        p++;
    return p;
}

int ProcessCommandLine(const char* tail)
{
    BuildOpenFileName(&App.FileDialog);
    if (!tail || !*tail)
        return 1;
    size_t size = strlen(tail) + 1;
    char* name = (char*)AllocZeroed(size);
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
    if (App.FindDialog && IsDialogMessageA(App.FindDialog, message))
        return;
    if (TranslateAcceleratorA(App.MainWindow, App.Accelerators, message))
        return;
    TranslateMessage(message);
    DispatchMessageA(message);
}

static int RunMessageLoop()
{
    MSG message;
    memset(&message, 0, sizeof(message));
    while (GetMessageA(&message, NULL, 0, 0))
        HandleLoopMessage(&message);
    return (int)message.wParam;
}

void LoadSettings()
{
    // The first placement's default size is in pixels at the window's DPI.
    ReadSettings(WindowDpi(App.MainWindow));
    ShowReadSettings();
    NewDocument();
    LayoutMainWindow();
}

int RunEditor(HINSTANCE instance, const char* commandTail)
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
    App.FilePath = (char*)AllocZeroed(APP_PATH_SIZE);
    LoadSettings();
    // A copy started to take over a recovered document opens no file.
    ProcessCommandLine(IsRecoveryCommand(commandTail) ? "" : commandTail);
    StartRecovery(commandTail);
    App.Accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    if (!App.Accelerators) {
        ShowError("Can not initialize!");
        return 1;
    }
    int exitCode = RunMessageLoop();
    FreeBlock(App.FilePath);
    App.FilePath = NULL;
    FreeLibrary(richEdit);
    return exitCode;
}
