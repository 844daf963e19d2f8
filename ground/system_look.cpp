#include "ground/system_look.h"

SystemLook (*SystemLookReader)() = ReadWindowsLook;

static int AppsUseDarkTheme()
{
    DWORD light = 1;
    DWORD size = sizeof(light);
    LONG result = RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                               L"AppsUseLightTheme", RRF_RT_REG_DWORD, NULL, &light, &size);
    return result == ERROR_SUCCESS && light == 0;
}

static int HighContrastOn()
{
    HIGHCONTRASTW contrast;
    ZeroMemory(&contrast, sizeof(contrast));
    contrast.cbSize = sizeof(contrast);
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0))
        return 0;
    return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

SystemLook ReadWindowsLook()
{
    SystemLook look;
    look.AppsDark = AppsUseDarkTheme();
    look.HighContrast = HighContrastOn();
    look.Window = GetSysColor(COLOR_WINDOW);
    look.WindowText = GetSysColor(COLOR_WINDOWTEXT);
    look.Highlight = GetSysColor(COLOR_HIGHLIGHT);
    look.HighlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    look.ButtonFace = GetSysColor(COLOR_BTNFACE);
    look.ButtonText = GetSysColor(COLOR_BTNTEXT);
    look.GrayText = GetSysColor(COLOR_GRAYTEXT);
    look.HotLight = GetSysColor(COLOR_HOTLIGHT);
    look.InactiveBorder = GetSysColor(COLOR_INACTIVEBORDER);
    return look;
}

COLORREF LightWindowColour(const SystemLook& look)
{
    return look.HighContrast ? RGB(255, 255, 255) : look.Window;
}
