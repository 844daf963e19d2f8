#include "views/colour_scheme.h"

#include "ground/app_state.h"

#include <richedit.h>

PaintedColours CurrentColours()
{
    return DecideColours(Config.FontColor, Config.BackColor, Config.Appearance, App.Look);
}

typedef HRESULT (WINAPI *SetAttributeFunction)(HWND window, DWORD attribute, LPCVOID value, DWORD size);

// 20 is DWMWA_USE_IMMERSIVE_DARK_MODE; Windows 10 before 20H1 took it as 19.
enum { DARK_MODE_ATTRIBUTE = 20, OLD_DARK_MODE_ATTRIBUTE = 19 };

int ApplyDarkTitleBar(HWND window, int dark)
{
    // Loaded here: systems before Vista have no window manager library.
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    if (!dwm)
        return 0;
    SetAttributeFunction setAttribute =
        (SetAttributeFunction)(void*)GetProcAddress(dwm, "DwmSetWindowAttribute");
    int taken = 0;
    BOOL value = dark ? TRUE : FALSE;
    if (setAttribute) {
        if (SUCCEEDED(setAttribute(window, DARK_MODE_ATTRIBUTE, &value, sizeof(value))))
            taken = DARK_MODE_ATTRIBUTE;
        else if (SUCCEEDED(setAttribute(window, OLD_DARK_MODE_ATTRIBUTE, &value, sizeof(value))))
            taken = OLD_DARK_MODE_ATTRIBUTE;
    }
    FreeLibrary(dwm);
    return taken;
}

void ShowTitleBarDark(int dark)
{
    // A window's title bar starts light: the window manager (and loading its
    // library, a start-up cost) is asked only to make it dark, or light again.
    if (!App.MainWindow || (dark != 0) == App.TitleBarDark)
        return;
    ApplyDarkTitleBar(App.MainWindow, dark);
    App.TitleBarDark = dark != 0;
}

void ApplyColourScheme()
{
    PaintedColours colours = CurrentColours();
    SendMessageW(App.EditControl, EM_SETBKGNDCOLOR, 0, (LPARAM)colours.Back);
    // The colour alone: the font is the settings' and stays.
    CHARFORMATW format;
    ZeroMemory(&format, sizeof(format));
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.crTextColor = colours.Text;
    SendMessageW(App.EditControl, EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&format);
    ShowTitleBarDark(colours.DarkTitleBar);
    if (App.StatusBar)
        InvalidateRect(App.StatusBar, NULL, TRUE);
    InvalidateRect(App.EditControl, NULL, TRUE);
}

void FollowSystemLook()
{
    App.Look = SystemLookReader();
    ApplyColourScheme();
}

int IsLookChange(UINT message, WPARAM wParam, const wchar_t* area)
{
    if (message == WM_SYSCOLORCHANGE)
        return 1;
    if (message != WM_SETTINGCHANGE)
        return 0;
    if (wParam == SPI_SETHIGHCONTRAST)
        return 1;
    return area && lstrcmpW(area, L"ImmersiveColorSet") == 0;
}
