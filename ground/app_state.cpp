#include "ground/app_state.h"

#include "document/file_commands.h"

#include <string.h>

AppState App;
Settings Config;

void ResetAppState()
{
    memset(&App, 0, sizeof(App));
    memset(&Config, 0, sizeof(Config));
    App.InsertMode = 1;
    App.FileCheckArmed = 1;
    App.FilterIndex = 1;
    App.FileHandle = INVALID_HANDLE_VALUE;
    App.GetLongPath = ResolveLongPath;
    // Until the settings are read, the window shows both bars and a tab of 8.
    Config.Toolbar = 1;
    Config.Statusbar = 1;
    Config.TabSize = 8;
}
