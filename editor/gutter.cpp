// The edit control's subclass, which will carry the line-number gutter.
#include "editor/gutter.h"

#include "app/app_state.h"

LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(App.OldEditProc, window, message, wParam, lParam);
}

// The line-number gutter is not drawn yet: the margin stays as the control
// sets it.
void UpdateGutterWidth() {}

// The line-number gutter is not drawn yet.
void PaintGutter(int full)
{
    (void)full;
}
