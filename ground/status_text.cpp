#include "ground/status_text.h"

#include "ground/app_state.h"

#include <commctrl.h>

void SetStatusText(int part, const char* text)
{
    SendMessageA(App.StatusBar, SB_SETTEXTA, (WPARAM)part, (LPARAM)text);
}

void SetStatusTextW(int part, const wchar_t* text)
{
    SendMessageW(App.StatusBar, SB_SETTEXTW, (WPARAM)part, (LPARAM)text);
}
