#include "ground/app_state.h"

#include "ground/long_path.h"
#include "text/zoom_steps.h"

#include <string.h>

AppState App;
Settings Config;

void ResetAppState()
{
    memset(&App, 0, sizeof(App));
    memset(&Config, 0, sizeof(Config));
    App.InsertMode = 1;
    App.CharacterTypedAt = -1;
    App.FileCheckArmed = 1;
    App.FilterIndex = 1;
    App.FileHandle = INVALID_HANDLE_VALUE;
    App.GetLongPath = ResolveLongPath;
    App.ZoomPercent = ZOOM_DEFAULT;
    App.CodePage = GetACP();
    // Until the settings are read, the window shows both bars and a tab of 8.
    Config.Toolbar = 1;
    Config.Statusbar = 1;
    Config.TabSize = 8;
}

DWORD WINAPI ResolveLongPath(LPCWSTR source, LPWSTR destination, DWORD size)
{
    // Decided once: older systems lack the function or only stub it.
    HMODULE kernel = GetModuleHandleW(L"KERNEL32");
    FARPROC found = kernel ? GetProcAddress(kernel, "GetLongPathNameW") : NULL;
    if (found) {
        LongPathFunction system = (LongPathFunction)(void (*)(void))found;
        DWORD result = system(source, destination, size);
        if (result != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
            App.GetLongPath = system;
            return result;
        }
    }
    App.GetLongPath = GetLongPathFallback;
    return GetLongPathFallback(source, destination, size);
}
