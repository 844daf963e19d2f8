// Which colours the program paints, decided in one place from the user's
// colours, the chosen appearance and what the system says. High contrast
// wins over everything, the user's own colours over the dark look.
#ifndef SCRIVLET_PAINTED_COLOURS_H
#define SCRIVLET_PAINTED_COLOURS_H

#include "ground/system_look.h"

// The Appearance setting: the Options sheet's 外觀 list, in its order.
enum Appearance { APPEARANCE_FOLLOW_WINDOWS = 0, APPEARANCE_LIGHT = 1, APPEARANCE_DARK = 2 };

struct PaintedColours {
    COLORREF Text;
    COLORREF Back;
    COLORREF SelectionText;
    COLORREF SelectionBack;
    COLORREF GutterBack;
    COLORREF GutterNumber;
    COLORREF GutterHighlight;   // the caret's or the selection's line numbers
    COLORREF GutterSeparator;
    COLORREF StatusBack;
    COLORREF StatusText;
    COLORREF Link;              // the About box's links
    COLORREF LinkBack;
    int OwnStatusColours;       // the status bar is painted in StatusBack/StatusText, not by the system
    int DarkTitleBar;
};

// The dark look's own colours, where the user chose none.
#define DARK_BACK RGB(30, 30, 30)
#define DARK_TEXT RGB(220, 220, 220)
#define DARK_GUTTER_BACK RGB(45, 45, 45)
#define DARK_GUTTER_NUMBER RGB(140, 140, 140)
#define DARK_GUTTER_HIGHLIGHT RGB(110, 170, 255)
#define DARK_STATUS_BACK RGB(45, 45, 45)
#define DARK_STATUS_TEXT RGB(220, 220, 220)

// The dark look is on: chosen, or followed from Windows.
int IsDarkLook(int appearance, const SystemLook& look);
// The user chose colours of their own: either differs from the light defaults
// (the light window colour, black text).
int UserChoseColours(COLORREF text, COLORREF back, const SystemLook& look);
PaintedColours DecideColours(COLORREF userText, COLORREF userBack, int appearance, const SystemLook& look);

#endif
