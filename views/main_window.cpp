#include "views/main_window.h"

#include "ground/app_state.h"
#include "ground/dpi.h"
#include "ground/status_text.h"
#include "ground/user_prompts.h"
#include "settings/screen_placement.h"
#include "settings/usable_settings.h"
#include "views/caret_status.h"
#include "views/colour_scheme.h"
#include "views/edit_window.h"
#include "views/editor_look.h"
#include "views/encoding_menus.h"
#include "views/gutter.h"
#include "views/list_menus.h"
#include "views/status_paint.h"
#include "views/status_parts.h"
#include "views/toolbar_images.h"
#include "views/zoom.h"
#include "resource.h"

#include <commctrl.h>
#include <richedit.h>

static TBBUTTON ToolbarButtons[18] = {
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {STD_FILENEW, IDM_NEW, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {STD_FILEOPEN, IDM_OPEN, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {STD_FILESAVE, IDM_SAVE, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {STD_PRINT, IDM_PRINT, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {STD_CUT, IDM_CUT, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {STD_COPY, IDM_COPY, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {STD_PASTE, IDM_PASTE, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {STD_UNDO, IDM_UNDO, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {STD_REDOW, IDM_REDO, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {STD_FIND, IDM_FIND, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {STD_REPLACE, IDM_REPLACE, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {STD_PROPERTIES, IDM_PROPERTIES, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
};

// Inserted before Properties; their images follow the standard ones in our strip.
static TBBUTTON ExtraButtons[3] = {
    {TOOLBAR_IMAGE_WORDWRAP, IDM_WORDWRAP, TBSTATE_ENABLED, TBSTYLE_CHECK, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {TOOLBAR_IMAGE_EXECUTE, IDM_EXECUTE, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
};

// Each button carries its tooltip as its text, which screen readers read as
// its name; no text row is shown, so the buttons stay images only.
static void NameToolbarButtons()
{
    SendMessageW(App.ToolBar, TB_SETMAXTEXTROWS, 0, 0);
    int count = (int)SendMessageW(App.ToolBar, TB_BUTTONCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        TBBUTTON button;
        if (!SendMessageW(App.ToolBar, TB_GETBUTTON, (WPARAM)i, (LPARAM)&button) || (button.fsStyle & TBSTYLE_SEP))
            continue;
        wchar_t name[TOOLTIP_CHARS];
        if (LoadStringW(App.Instance, (UINT)button.idCommand, name, TOOLTIP_CHARS) <= 0)
            continue;
        TBBUTTONINFOW info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_TEXT;
        info.pszText = name;
        SendMessageW(App.ToolBar, TB_SETBUTTONINFOW, (WPARAM)button.idCommand, (LPARAM)&info);
    }
}

static int CreateToolbar()
{
    // No bitmaps here: the images come from our own strips, drawn for the DPI.
    App.ToolBar = CreateToolbarEx(App.MainWindow, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT,
                                  ID_TOOLBAR, 0, NULL, 0, ToolbarButtons, 18, 16, 16, 16, 16,
                                  sizeof(TBBUTTON));
    if (!App.ToolBar) {
        ShowError(L"Toolbar Bar not created!");
        return 0;
    }
    for (int i = 0; i < 3; i++)
        SendMessageW(App.ToolBar, TB_INSERTBUTTONW, (WPARAM)(17 + i), (LPARAM)&ExtraButtons[i]);
    NameToolbarButtons();
    // Last: a button's new text sizes the buttons afresh, which would undo
    // the size made for the DPI.
    ApplyToolbarImages(WindowDpi(App.MainWindow));
    return 1;
}

static void RegisterSharedMessages()
{
    App.WheelMessage = RegisterWindowMessageW(L"MSWHEEL_ROLLMSG");
    App.TaskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
    App.FavAddMessage = RegisterWindowMessageW(L"SCRIVLET_FAV_ADD");
    App.FavDelMessage = RegisterWindowMessageW(L"SCRIVLET_FAV_DEL");
    App.FavAddWideMessage = RegisterWindowMessageW(L"SCRIVLET_FAV_ADD_W");
    App.FavDelWideMessage = RegisterWindowMessageW(L"SCRIVLET_FAV_DEL_W");
}

int CreateMainWindow(HINSTANCE instance)
{
    InitCommonControls();
    App.MainWindow = CreateWindowExW(0, L"scrivletClass", L"scrivlet", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL,
                                     NULL, instance, NULL);
    if (!App.MainWindow) {
        ShowSystemError(L"Error creating main window");
        return 0;
    }
    DragAcceptFiles(App.MainWindow, TRUE);
    App.Instance = instance;

    App.StatusBar = CreateWindowExW(0, STATUSCLASSNAMEW, NULL,
                                    WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, 0, 0, 0, 0,
                                    App.MainWindow, (HMENU)(INT_PTR)ID_STATUSBAR, instance, NULL);
    if (!App.StatusBar) {
        ShowError(L"Status Bar not created!");
        return 0;
    }
    InstallStatusPainting(App.StatusBar);
    // Made on a monitor whose DPI is not the system's: the control's own font is not for it.
    if (WindowDpi(App.MainWindow) != SystemDpi())
        ApplyStatusFontForDpi(WindowDpi(App.MainWindow));

    App.EditControl = CreateEditControl(instance);
    if (!App.EditControl) {
        ShowError(L"Error creating input window");
        return 0;
    }

    if (!CreateToolbar())
        return 0;

    RegisterSharedMessages();
    AddEncodingMenus();
    return 1;
}

static int WindowHeight(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

void LayoutMainWindow()
{
    RECT client;
    GetClientRect(App.MainWindow, &client);
    int width = client.right - client.left;
    int height = client.bottom - client.top;

    int toolbarHeight = 0;
    if (Config.Toolbar) {
        SendMessageW(App.ToolBar, TB_AUTOSIZE, 0, 0);
        toolbarHeight = WindowHeight(App.ToolBar);
    }

    int statusHeight = 0;
    if (Config.Statusbar) {
        FitStatusParts(width);
        SendMessageW(App.StatusBar, WM_SIZE, 0, 0);
        statusHeight = WindowHeight(App.StatusBar);
        SetStatusText(STATUS_INSERT, App.InsertMode == 1 ? L"INS" : L"OVR");
        ShowTabSize();
        ShowZoom();
    }

    MoveWindow(App.EditControl, 0, toolbarHeight, width, height - toolbarHeight - statusHeight, TRUE);
    UpdateCaretStatus();
}

void SetAlwaysOnTop(int on)
{
    Config.AlwaysOnTop = on;
    RECT rect;
    GetWindowRect(App.MainWindow, &rect);
    SetWindowPos(App.MainWindow, on ? HWND_TOPMOST : HWND_NOTOPMOST, rect.left, rect.top,
                 rect.right - rect.left, rect.bottom - rect.top, 0);
    CheckMenuItem(GetMenu(App.MainWindow), IDM_ALWAYSONTOP, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

// Moves and shows the main window as the saved placement says.
static void ShowMainWindowAsSaved()
{
    if (!Config.SavePosition) {
        ShowWindow(App.MainWindow, SW_SHOWNORMAL);
        return;
    }
    int state = Config.WindowState;
    if (state == SW_SHOWNORMAL || state == SW_SHOWMAXIMIZED) {
        FitSavedPlacementOnScreen();
        MoveWindow(App.MainWindow, Config.left, Config.top, Config.right - Config.left,
                   Config.bottom - Config.top, FALSE);
    }
    if (state >= SW_SHOWNORMAL && state <= SW_SHOWMAXIMIZED)
        ShowWindow(App.MainWindow, state);
    else
        // Never stored by the program itself: show the window where it was made.
        ShowWindow(App.MainWindow, SW_SHOWNORMAL);
}

void ShowReadSettings()
{
    ShowListMenu(&App.RecentList);
    ShowListMenu(&App.FavoritesList);
    SetAlwaysOnTop(Config.AlwaysOnTop);
    ShowMainWindowAsSaved();
    if (Config.Statusbar == 0)
        ShowWindow(App.StatusBar, SW_HIDE);
    if (Config.Toolbar == 0)
        ShowWindow(App.ToolBar, SW_HIDE);
    ApplyEditorLook();
    // A format the control refuses gets one more try with the default font.
    int applied = ApplyEditorCharFormat();
    if (!applied) {
        ResetEditorFont(&Config.EditorCharFormat);
        applied = ApplyEditorCharFormat();
    }
    if (!applied)
        ShowError(L"Error setting character format");
    else
        DeriveEditorLogFont();
    SetTabSize(Config.TabSize);
    UpdateGutterWidth();
    ShowTitleBarDark(CurrentColours().DarkTitleBar);
}
