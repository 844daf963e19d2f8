#include "app/app_state.h"
#include "app/helpers.h"

#include <shellapi.h>

ShellExecuteFunction ShellExecutor = ShellExecuteA;

void OpenWithShell(HWND owner, const char* target)
{
    ShellExecutor(owner ? owner : App.MainWindow, "open", target, NULL, NULL, SW_SHOWNORMAL);
}
