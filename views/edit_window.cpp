#include "views/edit_window.h"

#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "views/caret_status.h"
#include "views/editor_look.h"
#include "views/gutter.h"
#include "views/zoom.h"

#include <richedit.h>

HWND CreateEditControl(HINSTANCE instance)
{
    HWND edit = CreateWindowExW(0, L"RichEdit20W", NULL,
                                WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                    ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                0, 0, 0, 0, App.MainWindow, (HMENU)(INT_PTR)ID_EDITCONTROL, instance, NULL);
    if (!edit)
        return NULL;
    SendMessageW(edit, EM_SETTARGETDEVICE, 0, 0);
    SendMessageW(edit, EM_SETEVENTMASK, 0, EDIT_EVENT_MASK);
    SendMessageW(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    App.OldEditProc = (WNDPROC)SetWindowLongPtrW(edit, GWLP_WNDPROC, (LONG_PTR)EditSubclassProc);
    return edit;
}

int SwapInFreshEditControl()
{
    if (!App.EditControl || GetTextLength(GTL_DEFAULT) <= FRESH_CONTROL_CHARACTERS)
        return 0;
    return PutFreshEditControl();
}

int PutFreshEditControl()
{
    HWND old = App.EditControl;
    HWND fresh = CreateEditControl(App.Instance);
    if (!fresh)
        return 0; // the old control is still there to be emptied
    int hadFocus = GetFocus() == old;
    // The fresh control takes the old one's place as it stands.
    RECT place;
    GetWindowRect(old, &place);
    MapWindowPoints(NULL, App.MainWindow, (POINT*)&place, 2);
    // Nothing may reach the old control from here on.
    App.EditControl = fresh;
    SetWindowPos(fresh, old, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOACTIVATE);
    SetWindowLongPtrW(old, GWLP_WNDPROC, (LONG_PTR)App.OldEditProc);
    DestroyWindow(old);

    ApplyEditorLook();
    ApplyEditorCharFormat();
    ApplyZoomToControl();
    SetTabSize(Config.TabSize);
    // The old control's margin went with it; forget it so it is set again.
    App.LeftMargin = 0;
    UpdateGutterWidth();
    if (hadFocus)
        SetFocus(fresh);
    return 1;
}
