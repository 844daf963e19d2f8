#include "program/dpi_change.h"

#include "ground/app_state.h"
#include "program/tray.h"
#include "settings/usable_settings.h"
#include "views/editor_look.h"
#include "views/gutter.h"
#include "views/main_window.h"
#include "views/status_parts.h"
#include "views/toolbar_images.h"

#include <commctrl.h>

static void ApplyEditorFontForDpi(int dpi)
{
    // The points stay (and so does the INI); only the pixels drawn from them change.
    BuildEditorLogFont(&Config.EditorCharFormat, dpi, &Config.EditorLogFont);
    ApplyEditorCharFormat();
    // The gutter only ever widens: measure it afresh in the new font.
    App.GutterWidth = 0;
    UpdateGutterWidth();
}

void OnDpiChanged(HWND window, int dpi, const RECT* suggested)
{
    ApplyStatusFontForDpi(dpi);
    ApplyToolbarImages(dpi);
    ApplyEditorFontForDpi(dpi);
    RefreshTrayIcon(window);
    SetWindowPos(window, NULL, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The size may be the same, and then no WM_SIZE lays the window out.
    LayoutMainWindow();
}

void ReleaseDpiResources()
{
    if (App.ToolbarImages) {
        SendMessageW(App.ToolBar, TB_SETIMAGELIST, 0, 0);
        ImageList_Destroy(App.ToolbarImages);
        App.ToolbarImages = NULL;
    }
    if (App.StatusFont) {
        SendMessageW(App.StatusBar, WM_SETFONT, 0, FALSE);
        DeleteObject(App.StatusFont);
        App.StatusFont = NULL;
    }
    if (App.TrayIcon) {
        DestroyIcon(App.TrayIcon);
        App.TrayIcon = NULL;
    }
}
