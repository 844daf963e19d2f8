#include "ground/painted_colours.h"

int IsDarkLook(int appearance, const SystemLook& look)
{
    return appearance == APPEARANCE_DARK || (appearance == APPEARANCE_FOLLOW_WINDOWS && look.AppsDark);
}

int UserChoseColours(COLORREF text, COLORREF back, const SystemLook& look)
{
    return text != RGB(0, 0, 0) || back != LightWindowColour(look);
}

static PaintedColours HighContrastColours(const SystemLook& look)
{
    PaintedColours colours;
    colours.Text = look.WindowText;
    colours.Back = look.Window;
    colours.SelectionText = look.HighlightText;
    colours.SelectionBack = look.Highlight;
    colours.GutterBack = look.ButtonFace;
    colours.GutterNumber = look.ButtonText;
    colours.GutterHighlight = look.HotLight;
    colours.GutterSeparator = look.WindowText;
    colours.StatusBack = look.ButtonFace;
    colours.StatusText = look.ButtonText;
    colours.Link = look.HotLight;
    colours.LinkBack = look.ButtonFace;
    colours.OwnStatusColours = 0;
    colours.DarkTitleBar = 0;
    return colours;
}

PaintedColours DecideColours(COLORREF userText, COLORREF userBack, int appearance, const SystemLook& look)
{
    if (look.HighContrast)
        return HighContrastColours(look);
    PaintedColours colours;
    colours.Text = userText;
    colours.Back = userBack;
    colours.SelectionText = look.HighlightText;
    colours.SelectionBack = look.Highlight;
    colours.GutterBack = look.InactiveBorder;
    colours.GutterNumber = RGB(0, 0, 0);
    colours.GutterHighlight = RGB(0, 0, 255);
    colours.StatusBack = look.ButtonFace;
    colours.StatusText = look.ButtonText;
    colours.Link = RGB(0, 0, 255);
    colours.LinkBack = look.ButtonFace;
    colours.OwnStatusColours = 0;
    colours.DarkTitleBar = 0;
    if (IsDarkLook(appearance, look)) {
        if (!UserChoseColours(userText, userBack, look)) {
            colours.Text = DARK_TEXT;
            colours.Back = DARK_BACK;
        }
        colours.GutterBack = DARK_GUTTER_BACK;
        colours.GutterNumber = DARK_GUTTER_NUMBER;
        colours.GutterHighlight = DARK_GUTTER_HIGHLIGHT;
        colours.StatusBack = DARK_STATUS_BACK;
        colours.StatusText = DARK_STATUS_TEXT;
        colours.OwnStatusColours = 1;
        colours.DarkTitleBar = 1;
    }
    colours.GutterSeparator = colours.Back;
    return colours;
}
