// The settings model: every INI key, read once at start-up and written by the
// options sheet and at exit. Each key is one row of the table below, which the
// read and both saves walk: a new option is one row.
#include "settings/settings.h"

#include "ground/app_state.h"
#include "ground/dpi.h"
#include "ground/painted_colours.h"
#include "settings/ini_file.h"
#include "settings/recent_lists.h"
#include "settings/usable_settings.h"
#include "text/memory.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const wchar_t ConfigSection[] = L"Config";
static const wchar_t ViewSection[] = L"View";

static_assert(sizeof(CHARFORMATW) == 92, "the character format record is 92 bytes");
static_assert(sizeof(LONG) == sizeof(int) && sizeof(DWORD) == sizeof(int),
              "a number field is a byte or the size of an int");

// How a key is kept in the file and in memory.
enum KeyKind {
    NUMBER,      // signed decimal, into an int, LONG, DWORD or BYTE field
    COLOUR,      // unsigned decimal text read with atol: what does not parse is 0
    TEXT,        // text, into a wchar_t array field
    SEARCH_TEXT  // text, into a buffer of App's (a wchar_t* field) made before the read
};

// When a key is read and written.
enum {
    AT_EXIT = 1,                  // written when the main window closes, if changed
    BY_OPTIONS = 2,               // written when the Options sheet is confirmed, if changed
    ON_EVERY_CONFIRMATION = 4,    // written by the Options sheet, changed or not
    FROM_PLACEMENT = 8,           // written only when SavePosition is on, from the window
    READ_WITH_SAVE_POSITION = 16, // read only when SavePosition is on
    SCALED_DEFAULT = 32,          // read with the default scaled for the DPI, written against it unscaled
    WINDOW_COLOUR_DEFAULT = 64    // the default is the light window colour when read
};

struct IniKey {
    const wchar_t* Section;
    const wchar_t* Key;
    KeyKind Kind;
    void* Field;
    size_t FieldSize;
    int Default;             // of a NUMBER
    int Rules;
    const wchar_t* TextDefault = NULL; // of the other kinds
    int (*Valid)(int) = NULL;       // what a NUMBER read stands for; NULL: as read
};

#define FIELD(field) &(field), sizeof(field)

// In the order the saves write them, since a section missing from the file is
// added where its first key is written; SavePosition before WindowState, whose
// read it decides. Not keys: the format's mask, text colour and pitch and the
// drawing font, all derived once the keys are read.
static const IniKey Keys[] = {
    {ViewSection, L"Statusbar", NUMBER, FIELD(Config.Statusbar), 1, AT_EXIT},
    {ViewSection, L"Toolbar", NUMBER, FIELD(Config.Toolbar), 1, AT_EXIT},
    {ConfigSection, L"WordWrap", NUMBER, FIELD(Config.WordWrap), 1, AT_EXIT | BY_OPTIONS},
    {ConfigSection, L"HighlightURLs", NUMBER, FIELD(Config.HighlightURLs), 1, BY_OPTIONS},
    {ConfigSection, L"SingleClickURLs", NUMBER, FIELD(Config.SingleClickURLs), 1, BY_OPTIONS},
    {ConfigSection, L"AutoIndent", NUMBER, FIELD(Config.AutoIndent), 1, BY_OPTIONS},
    {ConfigSection, L"TabSize", NUMBER, FIELD(Config.TabSize), 8, AT_EXIT | BY_OPTIONS, NULL, ValidTabSize},
    {ViewSection, L"SavePosition", NUMBER, FIELD(Config.SavePosition), 0, BY_OPTIONS},
    {ViewSection, L"RecentFiles", NUMBER, FIELD(Config.RecentFiles), 1, BY_OPTIONS},
    {ViewSection, L"FullPath", NUMBER, FIELD(Config.FullPath), 0, BY_OPTIONS},
    {ViewSection, L"AlwaysOnTop", NUMBER, FIELD(Config.AlwaysOnTop), 0, AT_EXIT | BY_OPTIONS},
    {ViewSection, L"LineNumbers", NUMBER, FIELD(Config.LineNumbers), 0, AT_EXIT},
    {ViewSection, L"SelectionBar", NUMBER, FIELD(Config.SelectionBar), 0, AT_EXIT},
    {ViewSection, L"TabsToSpaces", NUMBER, FIELD(Config.TabsToSpaces), 0, BY_OPTIONS},
    {ViewSection, L"DNDNewWindow", NUMBER, FIELD(Config.DNDNewWindow), 0, BY_OPTIONS},
    {ViewSection, L"MinimizeToTray", NUMBER, FIELD(Config.MinimizeToTray), 0, BY_OPTIONS},
    {ViewSection, L"EscapeExit", NUMBER, FIELD(Config.EscapeExit), 1, BY_OPTIONS},
    {ViewSection, L"FileChange", NUMBER, FIELD(Config.FileChange), 1, BY_OPTIONS},
    {ViewSection, L"SmartHome", NUMBER, FIELD(Config.SmartHome), 1, BY_OPTIONS},
    {ViewSection, L"DateFirst", NUMBER, FIELD(Config.DateFirst), 0, BY_OPTIONS},
    {ViewSection, L"Recovery", NUMBER, FIELD(Config.Recovery), 1, BY_OPTIONS},
    {ViewSection, L"Appearance", NUMBER, FIELD(Config.Appearance), APPEARANCE_FOLLOW_WINDOWS, BY_OPTIONS, NULL,
     ValidAppearance},
    {ConfigSection, L"Search", SEARCH_TEXT, FIELD(App.FindWhat), 0, AT_EXIT, L""},
    {ConfigSection, L"Replace", SEARCH_TEXT, FIELD(App.ReplaceWith), 0, AT_EXIT, L""},
    // The first placement is 300 by 300 at 96 DPI, as large to the eye at any DPI.
    {ViewSection, L"left", NUMBER, FIELD(Config.left), 0, AT_EXIT | FROM_PLACEMENT},
    {ViewSection, L"right", NUMBER, FIELD(Config.right), 300, AT_EXIT | FROM_PLACEMENT | SCALED_DEFAULT},
    {ViewSection, L"top", NUMBER, FIELD(Config.top), 0, AT_EXIT | FROM_PLACEMENT},
    {ViewSection, L"bottom", NUMBER, FIELD(Config.bottom), 300, AT_EXIT | FROM_PLACEMENT | SCALED_DEFAULT},
    {ViewSection, L"WindowState", NUMBER, FIELD(Config.WindowState), 1,
     AT_EXIT | FROM_PLACEMENT | READ_WITH_SAVE_POSITION},
    {ConfigSection, L"Font", TEXT, FIELD(Config.EditorCharFormat.szFaceName), 0, ON_EVERY_CONFIRMATION,
     L"Fixedsys"},
    {ConfigSection, L"dwEffects", NUMBER, FIELD(Config.EditorCharFormat.dwEffects), 0, ON_EVERY_CONFIRMATION},
    {ConfigSection, L"CharSet", NUMBER, FIELD(Config.EditorCharFormat.bCharSet), 0, ON_EVERY_CONFIRMATION},
    {ConfigSection, L"FontSize", NUMBER, FIELD(Config.EditorCharFormat.yHeight), 220, ON_EVERY_CONFIRMATION},
    {ConfigSection, L"BackColor", COLOUR, FIELD(Config.BackColor), 0,
     ON_EVERY_CONFIRMATION | WINDOW_COLOUR_DEFAULT},
    {ConfigSection, L"FontColor", COLOUR, FIELD(Config.FontColor), 0, ON_EVERY_CONFIRMATION, L"0"},
};

#undef FIELD

static void StoreNumber(const IniKey& key, int value)
{
    if (key.FieldSize == sizeof(BYTE))
        *(BYTE*)key.Field = (BYTE)value;
    else
        memcpy(key.Field, &value, sizeof(value));
}

static int NumberIn(const IniKey& key)
{
    if (key.FieldSize == sizeof(BYTE))
        return *(const BYTE*)key.Field;
    int value;
    memcpy(&value, key.Field, sizeof(value));
    return value;
}

static void ColourText(COLORREF colour, wchar_t* out, size_t size)
{
    _snwprintf(out, size, L"%u", (unsigned int)colour);
    out[size - 1] = 0;
}

// The default of a key kept as text; the window colour's is written into room.
static const wchar_t* TextDefault(const IniKey& key, wchar_t* room, size_t roomSize)
{
    if (!(key.Rules & WINDOW_COLOUR_DEFAULT))
        return key.TextDefault;
    ColourText(LightWindowColour(App.Look), room, roomSize);
    return room;
}

// Reads go through these: with no usable INI path every key takes its default
// and no file at all is read.
static int ReadInt(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, int defaultValue)
{
    if (!iniPath)
        return defaultValue;
    return (int)GetPrivateProfileIntW(section, key, defaultValue, iniPath);
}

static void ReadText(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key,
                     const wchar_t* defaultValue, wchar_t* out, DWORD outSize)
{
    if (!iniPath) {
        lstrcpynW(out, defaultValue, (int)outSize);
        return;
    }
    GetPrivateProfileStringW(section, key, defaultValue, out, outSize, iniPath);
}

static void ReadKey(const wchar_t* ini, const IniKey& key, int dpi)
{
    switch (key.Kind) {
    case NUMBER: {
        int fallback = (key.Rules & SCALED_DEFAULT) ? ScaleForDpi(key.Default, dpi) : key.Default;
        int value = ReadInt(ini, key.Section, key.Key, fallback);
        StoreNumber(key, key.Valid ? key.Valid(value) : value);
        break;
    }
    case COLOUR: {
        wchar_t room[20];
        wchar_t text[20];
        ReadText(ini, key.Section, key.Key, TextDefault(key, room, 20), text, 20);
        StoreNumber(key, (int)(COLORREF)_wtol(text));
        break;
    }
    case TEXT:
        ReadText(ini, key.Section, key.Key, key.TextDefault, (wchar_t*)key.Field, (DWORD)(key.FieldSize / sizeof(wchar_t)));
        break;
    case SEARCH_TEXT:
        ReadText(ini, key.Section, key.Key, key.TextDefault, *(wchar_t**)key.Field, (DWORD)App.FindBufferSize);
        break;
    }
}

// unconditionally: written whatever the file holds; otherwise only when it
// differs from what the file holds (or, for a missing key, from the default).
static void WriteKey(const wchar_t* ini, const IniKey& key, bool unconditionally)
{
    wchar_t text[20];
    const wchar_t* value = text;
    switch (key.Kind) {
    case NUMBER:
        if (!unconditionally) {
            WriteIniIntIfChanged(ini, key.Section, key.Key, NumberIn(key), key.Default);
            return;
        }
        _snwprintf(text, 20, L"%i", NumberIn(key));
        text[19] = 0;
        break;
    case COLOUR:
        ColourText((COLORREF)NumberIn(key), text, 20);
        break;
    case TEXT:
        value = (const wchar_t*)key.Field;
        break;
    case SEARCH_TEXT:
        value = *(wchar_t* const*)key.Field;
        if (!value)
            return;
        break;
    }
    if (unconditionally) {
        WriteIniString(ini, key.Section, key.Key, value);
        return;
    }
    wchar_t room[20];
    WriteIniStringIfChanged(ini, key.Section, key.Key, TextDefault(key, room, 20), value);
}

int ValidAppearance(int appearance)
{
    if (appearance < APPEARANCE_FOLLOW_WINDOWS || appearance > APPEARANCE_DARK)
        return APPEARANCE_FOLLOW_WINDOWS;
    return appearance;
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
    CHARFORMATW* format = &Config.EditorCharFormat;
    memset(format, 0, sizeof(*format));
    format->cbSize = sizeof(CHARFORMATW);
    format->dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC;

    PathBuffer located;
    const wchar_t* ini = LocateIniFile(located) ? (const wchar_t*)located : NULL;

    if (App.FindBufferSize == 0) {
        App.FindBufferSize = FIND_BUFFER_CHARS - 1;
        App.FindWhat = (wchar_t*)AllocZeroed(FIND_BUFFER_CHARS * sizeof(wchar_t));
        App.ReplaceWith = (wchar_t*)AllocZeroed(FIND_BUFFER_CHARS * sizeof(wchar_t));
    }
    for (const IniKey& key : Keys)
        if (Config.SavePosition || !(key.Rules & READ_WITH_SAVE_POSITION))
            ReadKey(ini, key, dpi);
    // The control's format carries the text colour too.
    format->crTextColor = Config.FontColor;

    LoadLists(ini);

    FallBackFromUnusableSettings();
}

void SaveOptionSettings(const wchar_t* ini)
{
    for (const IniKey& key : Keys)
        if (key.Rules & (BY_OPTIONS | ON_EVERY_CONFIRMATION))
            WriteKey(ini, key, (key.Rules & ON_EVERY_CONFIRMATION) != 0);
}

// The main window's restored rectangle in screen coordinates and its show
// state, into the fields the placement keys are written from.
static bool TakeWindowPlacement(const WINDOWPLACEMENT* placement)
{
    RECT workArea;
    if (!placement || !SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0))
        return false;
    RECT screen = WorkAreaToScreen(placement->rcNormalPosition, workArea);
    Config.left = screen.left;
    Config.top = screen.top;
    Config.right = screen.right;
    Config.bottom = screen.bottom;
    Config.WindowState = (int)placement->showCmd;
    return true;
}

void SaveExitSettings(const WINDOWPLACEMENT* placement)
{
    PathBuffer ini;
    if (!LocateIniFile(ini))
        return;

    bool placed = Config.SavePosition && TakeWindowPlacement(placement);
    for (const IniKey& key : Keys)
        if ((key.Rules & AT_EXIT) && (placed || !(key.Rules & FROM_PLACEMENT)))
            WriteKey(ini, key, false);

    SaveRecentFiles(ini);
}
