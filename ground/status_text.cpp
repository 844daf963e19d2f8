#include "ground/status_text.h"

#include "ground/app_state.h"

#include <commctrl.h>

void SetStatusText(int part, const wchar_t* text)
{
    SendMessageW(App.StatusBar, SB_SETTEXTW, (WPARAM)part, (LPARAM)text);
}
