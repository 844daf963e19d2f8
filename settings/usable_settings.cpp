#include "settings/usable_settings.h"

#include "ground/app_state.h"

#include <string.h>

FontCreateFunction EditorFontCreator = CreateFontIndirectW;

int IsUsableFontSize(LONG twips)
{
    return twips >= MIN_FONT_TWIPS && twips <= MAX_FONT_TWIPS;
}

int IsPlainColor(COLORREF color)
{
    return (color & 0xFF000000u) == 0;
}

void UsableColors(COLORREF* text, COLORREF* back, COLORREF defaultBack)
{
    if (!IsPlainColor(*text))
        *text = 0;
    if (!IsPlainColor(*back))
        *back = defaultBack;
    if (*text != *back)
        return;
    // The chosen background stays; the text takes the default black, or
    // white on a black background.
    *text = *back == 0 ? 0xFFFFFF : 0;
}

void ResetEditorFont(CHARFORMATW* format)
{
    format->yHeight = DEFAULT_FONT_TWIPS;
    format->dwEffects = 0;
    format->bCharSet = 0;
    lstrcpynW(format->szFaceName, DEFAULT_FONT_FACE, LF_FACESIZE);
}

void BuildEditorLogFont(const CHARFORMATW* format, int pixelsPerInch, LOGFONTW* font)
{
    memset(font, 0, sizeof(*font));
    font->lfHeight = -MulDiv(format->yHeight / 20, pixelsPerInch, 72);
    font->lfWidth = 0;
    font->lfEscapement = 0;
    font->lfOrientation = 0;
    font->lfWeight = (format->dwEffects & 1) ? 700 : 400;
    font->lfItalic = (BYTE)((format->dwEffects >> 1) & 1);
    font->lfUnderline = (BYTE)((format->dwEffects >> 2) & 1);
    font->lfStrikeOut = (BYTE)((format->dwEffects >> 3) & 1);
    font->lfCharSet = format->bCharSet;
    font->lfOutPrecision = 0;
    font->lfClipPrecision = 0;
    font->lfQuality = DRAFT_QUALITY;
    font->lfPitchAndFamily = format->bPitchAndFamily;
    lstrcpynW(font->lfFaceName, format->szFaceName, LF_FACESIZE);
}

static int CanCreateFont(const CHARFORMATW* format)
{
    HDC context = GetDC(NULL);
    int pixelsPerInch = GetDeviceCaps(context, LOGPIXELSY);
    ReleaseDC(NULL, context);
    LOGFONTW font;
    BuildEditorLogFont(format, pixelsPerInch, &font);
    HFONT made = EditorFontCreator(&font);
    if (!made)
        return 0;
    DeleteObject(made);
    return 1;
}

static int CALLBACK NoteFace(const LOGFONTW* font, const TEXTMETRICW* metrics, DWORD type, LPARAM found)
{
    (void)font;
    (void)metrics;
    (void)type;
    *(int*)found = 1;
    return 0;
}

int IsFontInstalled(const wchar_t* face)
{
    LOGFONTW wanted;
    memset(&wanted, 0, sizeof(wanted));
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    int found = 0;
    HDC context = GetDC(NULL);
    EnumFontFamiliesExW(context, &wanted, NoteFace, (LPARAM)&found, 0);
    ReleaseDC(NULL, context);
    return found;
}

void FallBackFromUnusableSettings()
{
    CHARFORMATW* format = &Config.EditorCharFormat;
    COLORREF text = format->crTextColor;
    COLORREF back = Config.BackColor;
    UsableColors(&text, &back, LightWindowColour(App.Look));
    format->crTextColor = text;
    Config.FontColor = text;
    Config.BackColor = back;
    if (!IsUsableFontSize(format->yHeight))
        format->yHeight = DEFAULT_FONT_TWIPS;
    if (!CanCreateFont(format))
        ResetEditorFont(format);
    // A face this system lacks ("Fixedsys" under Wine) is otherwise replaced
    // by a proportional one: columns no longer line up, and laying out a
    // large text takes twice as long. The name stays as the user chose it.
    if (!IsFontInstalled(format->szFaceName))
        format->bPitchAndFamily = FIXED_PITCH | FF_MODERN;
}
