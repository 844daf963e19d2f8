#include "app/edit_control.h"

#include "app/app_state.h"

int GetTextLength(int flags)
{
    GETTEXTLENGTHEX request;
    request.flags = (DWORD)flags;
    request.codepage = CP_ACP;
    return (int)SendMessageA(App.EditControl, EM_GETTEXTLENGTHEX, (WPARAM)&request, 0);
}

CHARRANGE GetEditSelection()
{
    CHARRANGE range = {0, 0};
    SendMessageA(App.EditControl, EM_EXGETSEL, 0, (LPARAM)&range);
    return range;
}

void SetEditSelection(LONG start, LONG end)
{
    CHARRANGE range = {start, end};
    SendMessageA(App.EditControl, EM_EXSETSEL, 0, (LPARAM)&range);
}

void ReplaceEditSelection(const char* text)
{
    SendMessageA(App.EditControl, EM_REPLACESEL, TRUE, (LPARAM)text);
}

int IsEditModified()
{
    return SendMessageA(App.EditControl, EM_GETMODIFY, 0, 0) ? 1 : 0;
}

void SetEditModified(int modified)
{
    SendMessageA(App.EditControl, EM_SETMODIFY, (WPARAM)modified, 0);
}
