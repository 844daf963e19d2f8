// The settings model: every INI key, read once at start-up and written by the
// options sheet and at exit.
#include "settings/settings.h"

#include "ground/app_state.h"
#include "ground/dpi.h"
#include "settings/ini_file.h"
#include "settings/recent_lists.h"
#include "settings/usable_settings.h"
#include "text/memory.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char ConfigSection[] = "Config";
static const char ViewSection[] = "View";

static_assert(sizeof(CHARFORMATA) == 60, "the character format record is 60 bytes");

// Reads go through these: with no usable INI path every key takes its default
// and no file at all is read.
static int ReadInt(const char* iniPath, const char* section, const char* key, int defaultValue)
{
    if (!iniPath)
        return defaultValue;
    return (int)GetPrivateProfileIntA(section, key, defaultValue, iniPath);
}

static void ReadText(const char* iniPath, const char* section, const char* key,
                     const char* defaultValue, char* out, DWORD outSize)
{
    if (!iniPath) {
        lstrcpynA(out, defaultValue, (int)outSize);
        return;
    }
    GetPrivateProfileStringA(section, key, defaultValue, out, outSize, iniPath);
}

// A colour stored as unsigned decimal text; what does not parse is 0 (black).
static COLORREF ReadColor(const char* iniPath, const char* key, const char* defaultText)
{
    char text[20];
    ReadText(iniPath, ConfigSection, key, defaultText, text, (DWORD)sizeof(text));
    return (COLORREF)atol(text);
}

int ValidTabSize(int tabSize)
{
    if ((unsigned int)(tabSize - 2) > 7)
        return 8;
    return tabSize;
}

RECT WorkAreaToScreen(RECT normal, RECT workArea)
{
    RECT screen;
    screen.left = normal.left + workArea.left;
    screen.right = normal.right + workArea.left;
    screen.top = normal.top + workArea.top;
    screen.bottom = normal.bottom + workArea.top;
    return screen;
}

void ReadSettings(int dpi)
{
    CHARFORMATA* format = &Config.EditorCharFormat;
    memset(format, 0, sizeof(*format));
    format->cbSize = sizeof(CHARFORMATA);
    format->dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC;

    char located[INI_PATH_SIZE];
    const char* ini = LocateIniFile(located) ? located : NULL;

    if (App.FindBufferSize == 0) {
        App.FindBufferSize = FIND_BUFFER_BYTES - 1;
        App.FindWhat = (char*)AllocZeroed(FIND_BUFFER_BYTES);
        App.ReplaceWith = (char*)AllocZeroed(FIND_BUFFER_BYTES);
    }
    ReadText(ini, ConfigSection, "Search", "", App.FindWhat, (DWORD)App.FindBufferSize);
    ReadText(ini, ConfigSection, "Replace", "", App.ReplaceWith, (DWORD)App.FindBufferSize);

    format->crTextColor = ReadColor(ini, "FontColor", "0");
    Config.FontColor = format->crTextColor;

    char windowColor[20];
    _snprintf(windowColor, sizeof(windowColor), "%u", (unsigned int)GetSysColor(COLOR_WINDOW));
    windowColor[sizeof(windowColor) - 1] = 0;
    Config.BackColor = ReadColor(ini, "BackColor", windowColor);

    format->bCharSet = (BYTE)ReadInt(ini, ConfigSection, "CharSet", 0);
    format->dwEffects = (DWORD)ReadInt(ini, ConfigSection, "dwEffects", 0);
    format->yHeight = ReadInt(ini, ConfigSection, "FontSize", 220);

    Config.WordWrap = ReadInt(ini, ConfigSection, "WordWrap", 1);
    Config.HighlightURLs = ReadInt(ini, ConfigSection, "HighlightURLs", 1);
    Config.SingleClickURLs = ReadInt(ini, ConfigSection, "SingleClickURLs", 1);
    Config.AutoIndent = ReadInt(ini, ConfigSection, "AutoIndent", 1);

    Config.left = ReadInt(ini, ViewSection, "left", 0);
    Config.top = ReadInt(ini, ViewSection, "top", 0);
    // The first placement is 300 by 300 at 96 DPI, as large to the eye at any DPI.
    int firstExtent = ScaleForDpi(300, dpi);
    Config.right = ReadInt(ini, ViewSection, "right", firstExtent);
    Config.bottom = ReadInt(ini, ViewSection, "bottom", firstExtent);

    Config.SavePosition = ReadInt(ini, ViewSection, "SavePosition", 0);
    Config.SelectionBar = ReadInt(ini, ViewSection, "SelectionBar", 0);
    Config.LineNumbers = ReadInt(ini, ViewSection, "LineNumbers", 0);
    Config.FullPath = ReadInt(ini, ViewSection, "FullPath", 0);
    Config.AlwaysOnTop = ReadInt(ini, ViewSection, "AlwaysOnTop", 0);
    Config.TabsToSpaces = ReadInt(ini, ViewSection, "TabsToSpaces", 0);
    Config.DNDNewWindow = ReadInt(ini, ViewSection, "DNDNewWindow", 0);
    Config.MinimizeToTray = ReadInt(ini, ViewSection, "MinimizeToTray", 0);
    Config.EscapeExit = ReadInt(ini, ViewSection, "EscapeExit", 1);
    Config.FileChange = ReadInt(ini, ViewSection, "FileChange", 1);
    Config.SmartHome = ReadInt(ini, ViewSection, "SmartHome", 1);
    Config.DateFirst = ReadInt(ini, ViewSection, "DateFirst", 0);
    Config.Recovery = ReadInt(ini, ViewSection, "Recovery", 1);

    if (Config.SavePosition)
        Config.WindowState = ReadInt(ini, ViewSection, "WindowState", 1);

    Config.Toolbar = ReadInt(ini, ViewSection, "Toolbar", 1);
    Config.Statusbar = ReadInt(ini, ViewSection, "Statusbar", 1);
    Config.TabSize = ReadInt(ini, ConfigSection, "TabSize", 8);

    Config.TabSize = ValidTabSize(Config.TabSize);
    Config.RecentFiles = ReadInt(ini, ViewSection, "RecentFiles", 1);
    ReadText(ini, ConfigSection, "Font", "Fixedsys", format->szFaceName, LF_FACESIZE);

    LoadLists(ini);

    FallBackFromUnusableSettings();
}

static void WriteIntAlways(const char* ini, const char* key, int value)
{
    char number[20];
    _snprintf(number, sizeof(number), "%i", value);
    number[sizeof(number) - 1] = 0;
    WriteIniString(ini, ConfigSection, key, number);
}

static void WriteColorAlways(const char* ini, const char* key, COLORREF color)
{
    char number[20];
    _snprintf(number, sizeof(number), "%u", (unsigned int)color);
    number[sizeof(number) - 1] = 0;
    WriteIniString(ini, ConfigSection, key, number);
}

void SaveOptionSettings(const char* ini)
{
    WriteIniIntIfChanged(ini, ConfigSection, "WordWrap", Config.WordWrap, 1);
    WriteIniIntIfChanged(ini, ConfigSection, "HighlightURLs", Config.HighlightURLs, 1);
    WriteIniIntIfChanged(ini, ConfigSection, "SingleClickURLs", Config.SingleClickURLs, 1);
    WriteIniIntIfChanged(ini, ConfigSection, "AutoIndent", Config.AutoIndent, 1);
    WriteIniIntIfChanged(ini, ConfigSection, "TabSize", Config.TabSize, 8);
    WriteIniIntIfChanged(ini, ViewSection, "SavePosition", Config.SavePosition, 0);
    WriteIniIntIfChanged(ini, ViewSection, "RecentFiles", Config.RecentFiles, 1);
    WriteIniIntIfChanged(ini, ViewSection, "FullPath", Config.FullPath, 0);
    WriteIniIntIfChanged(ini, ViewSection, "AlwaysOnTop", Config.AlwaysOnTop, 0);
    WriteIniIntIfChanged(ini, ViewSection, "TabsToSpaces", Config.TabsToSpaces, 0);
    WriteIniIntIfChanged(ini, ViewSection, "DNDNewWindow", Config.DNDNewWindow, 0);
    WriteIniIntIfChanged(ini, ViewSection, "MinimizeToTray", Config.MinimizeToTray, 0);
    WriteIniIntIfChanged(ini, ViewSection, "EscapeExit", Config.EscapeExit, 1);
    WriteIniIntIfChanged(ini, ViewSection, "FileChange", Config.FileChange, 1);
    WriteIniIntIfChanged(ini, ViewSection, "SmartHome", Config.SmartHome, 1);
    WriteIniIntIfChanged(ini, ViewSection, "DateFirst", Config.DateFirst, 0);
    WriteIniIntIfChanged(ini, ViewSection, "Recovery", Config.Recovery, 1);

    // The font and colour keys are written on every confirmation.
    const CHARFORMATA* format = &Config.EditorCharFormat;
    WriteIniString(ini, ConfigSection, "Font", format->szFaceName);
    WriteIntAlways(ini, "dwEffects", (int)format->dwEffects);
    WriteIntAlways(ini, "CharSet", (int)format->bCharSet);
    WriteIntAlways(ini, "FontSize", (int)format->yHeight);
    WriteColorAlways(ini, "BackColor", Config.BackColor);
    WriteColorAlways(ini, "FontColor", Config.FontColor);
}

// The main window's restored rectangle in screen coordinates and its show state.
static void SaveWindowPlacement(const char* ini, const WINDOWPLACEMENT* placement)
{
    RECT workArea;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0))
        return;
    RECT screen = WorkAreaToScreen(placement->rcNormalPosition, workArea);
    WriteIniIntIfChanged(ini, ViewSection, "left", screen.left, 0);
    WriteIniIntIfChanged(ini, ViewSection, "right", screen.right, 300);
    WriteIniIntIfChanged(ini, ViewSection, "top", screen.top, 0);
    WriteIniIntIfChanged(ini, ViewSection, "bottom", screen.bottom, 300);
    WriteIniIntIfChanged(ini, ViewSection, "WindowState", (int)placement->showCmd, 1);
}

void SaveExitSettings(const WINDOWPLACEMENT* placement)
{
    char ini[INI_PATH_SIZE];
    if (!LocateIniFile(ini))
        return;

    WriteIniIntIfChanged(ini, ViewSection, "Statusbar", Config.Statusbar, 1);
    WriteIniIntIfChanged(ini, ViewSection, "Toolbar", Config.Toolbar, 1);
    WriteIniIntIfChanged(ini, ConfigSection, "WordWrap", Config.WordWrap, 1);
    WriteIniIntIfChanged(ini, ViewSection, "AlwaysOnTop", Config.AlwaysOnTop, 0);
    WriteIniIntIfChanged(ini, ViewSection, "LineNumbers", Config.LineNumbers, 0);
    WriteIniIntIfChanged(ini, ConfigSection, "TabSize", Config.TabSize, 8);
    WriteIniIntIfChanged(ini, ViewSection, "SelectionBar", Config.SelectionBar, 0);
    if (App.FindWhat)
        WriteIniStringIfChanged(ini, ConfigSection, "Search", "", App.FindWhat);
    if (App.ReplaceWith)
        WriteIniStringIfChanged(ini, ConfigSection, "Replace", "", App.ReplaceWith);

    if (Config.SavePosition && placement)
        SaveWindowPlacement(ini, placement);

    SaveRecentFiles(ini);
}
