// Settings that would leave an editor nobody can use (text too small or too
// big to see, text in the background's colour, a font that cannot be made)
// fall back to their defaults at load; every other value stays as written.
#ifndef SCRIVLET_USABLE_SETTINGS_H
#define SCRIVLET_USABLE_SETTINGS_H

#include <windows.h>
#include <richedit.h>

// The drawing form of a character format for a device with pixelsPerInch
// vertical pixels per logical inch.
void BuildEditorLogFont(const CHARFORMATW* format, int pixelsPerInch, LOGFONTW* font);

// The font sizes the Options sheet can set: 1 to 20 points, in twips.
#define MIN_FONT_TWIPS 20
#define MAX_FONT_TWIPS 400
#define DEFAULT_FONT_TWIPS 220
#define DEFAULT_FONT_FACE L"Fixedsys"

int IsUsableFontSize(LONG twips);
// A colour the colour chooser can give: no bits above red, green and blue.
int IsPlainColor(COLORREF color);

// Text and background colours to use: each that is no plain colour becomes
// its default, and text the colour of the background becomes black (white
// on black), keeping the background.
void UsableColors(COLORREF* text, COLORREF* back, COLORREF defaultBack);

// Font size, face, effects and character set back to the defaults.
void ResetEditorFont(CHARFORMATW* format);

// Makes the font for a character format (tests replace it to fail on purpose).
typedef HFONT(WINAPI* FontCreateFunction)(const LOGFONTW* font);
extern FontCreateFunction EditorFontCreator;

// The system has a font of this face name.
int IsFontInstalled(const wchar_t* face);

// Applied by the settings load before the format reaches the control: puts
// unusable colours, size and font of Config back to their defaults, and asks
// a fixed-pitch substitute for a face the system lacks.
void FallBackFromUnusableSettings();

#endif
