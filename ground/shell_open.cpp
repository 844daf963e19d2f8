#include "ground/shell_open.h"

#include "ground/app_state.h"
#include "ground/user_prompts.h"

#include <shellapi.h>

void OpenWithShell(HWND owner, const wchar_t* target)
{
    Prompts.ShellExecute(owner ? owner : App.MainWindow, L"open", target, NULL, NULL, SW_SHOWNORMAL);
}
