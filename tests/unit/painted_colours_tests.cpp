#include "ground/painted_colours.h"

#include <gtest/gtest.h>

// System looks with colours no rule of the program would make up: a light
// one, and a high-contrast one of its own colours.
static SystemLook Look(int appsDark, int highContrast)
{
    if (highContrast)
        return {appsDark, 1, RGB(0, 0, 0), RGB(255, 255, 0), RGB(0, 255, 255), RGB(1, 1, 1), RGB(2, 2, 2),
                RGB(250, 250, 250), RGB(109, 109, 109), RGB(128, 128, 255), RGB(244, 247, 252)};
    return {appsDark, 0, RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 120, 215), RGB(255, 255, 254), RGB(240, 240, 240),
            RGB(1, 2, 3), RGB(109, 109, 109), RGB(0, 102, 204), RGB(244, 247, 252)};
}

enum Expect { USER, DARK, SYSTEM, LIGHT_DEFAULT };

struct ColourRow {
    const char* What;
    int Appearance;
    int AppsDark;
    int HighContrast;
    bool UserChose;       // the user's colours are their own, not the defaults
    Expect Editor;
    bool DarkParts;       // gutter, status bar and title bar dark
};

static const ColourRow Rows[] = {
    {"light, defaults", APPEARANCE_FOLLOW_WINDOWS, 0, 0, false, LIGHT_DEFAULT, false},
    {"light, chosen", APPEARANCE_FOLLOW_WINDOWS, 0, 0, true, USER, false},
    {"windows dark, defaults", APPEARANCE_FOLLOW_WINDOWS, 1, 0, false, DARK, true},
    {"windows dark, chosen colours win", APPEARANCE_FOLLOW_WINDOWS, 1, 0, true, USER, true},
    {"light chosen over windows dark", APPEARANCE_LIGHT, 1, 0, false, LIGHT_DEFAULT, false},
    {"dark chosen over windows light", APPEARANCE_DARK, 0, 0, false, DARK, true},
    {"dark chosen, own colours", APPEARANCE_DARK, 0, 0, true, USER, true},
    {"high contrast over light", APPEARANCE_FOLLOW_WINDOWS, 0, 1, true, SYSTEM, false},
    {"high contrast over windows dark", APPEARANCE_FOLLOW_WINDOWS, 1, 1, false, SYSTEM, false},
    {"high contrast over chosen dark", APPEARANCE_DARK, 0, 1, true, SYSTEM, false},
    {"high contrast over chosen light", APPEARANCE_LIGHT, 1, 1, false, SYSTEM, false},
};

TEST(DecideColours, EachLookAndChoice)
{
    for (const ColourRow& row : Rows) {
        SystemLook look = Look(row.AppsDark, row.HighContrast);
        COLORREF userText = row.UserChose ? RGB(200, 0, 0) : RGB(0, 0, 0);
        COLORREF userBack = row.UserChose ? RGB(255, 255, 204) : LightWindowColour(look);
        PaintedColours c = DecideColours(userText, userBack, row.Appearance, look);
        SCOPED_TRACE(row.What);
        switch (row.Editor) {
        case USER:
            EXPECT_EQ(c.Text, userText);
            EXPECT_EQ(c.Back, userBack);
            break;
        case LIGHT_DEFAULT:
            EXPECT_EQ(c.Text, RGB(0, 0, 0));
            EXPECT_EQ(c.Back, look.Window);
            break;
        case DARK:
            EXPECT_EQ(c.Text, (COLORREF)DARK_TEXT);
            EXPECT_EQ(c.Back, (COLORREF)DARK_BACK);
            break;
        case SYSTEM:
            // Every painted colour is one of the system's.
            EXPECT_EQ(c.Text, look.WindowText);
            EXPECT_EQ(c.Back, look.Window);
            EXPECT_EQ(c.GutterBack, look.ButtonFace);
            EXPECT_EQ(c.GutterNumber, look.ButtonText);
            EXPECT_EQ(c.GutterHighlight, look.HotLight);
            EXPECT_EQ(c.GutterSeparator, look.WindowText);
            EXPECT_EQ(c.Link, look.HotLight);
            EXPECT_EQ(c.LinkBack, look.ButtonFace);
            EXPECT_EQ(c.StatusBack, look.ButtonFace);
            EXPECT_EQ(c.StatusText, look.ButtonText);
            break;
        }
        EXPECT_EQ(c.SelectionBack, look.Highlight);
        EXPECT_EQ(c.SelectionText, look.HighlightText);
        EXPECT_EQ(c.DarkTitleBar != 0, row.DarkParts);
        EXPECT_EQ(c.OwnStatusColours != 0, row.DarkParts);
        if (row.DarkParts) {
            EXPECT_EQ(c.GutterBack, (COLORREF)DARK_GUTTER_BACK);
            EXPECT_EQ(c.GutterNumber, (COLORREF)DARK_GUTTER_NUMBER);
            EXPECT_EQ(c.StatusBack, (COLORREF)DARK_STATUS_BACK);
        } else if (row.Editor != SYSTEM) {
            EXPECT_EQ(c.GutterBack, look.InactiveBorder);
            EXPECT_EQ(c.GutterNumber, RGB(0, 0, 0));
            EXPECT_EQ(c.GutterHighlight, RGB(0, 0, 255));
            EXPECT_EQ(c.Link, RGB(0, 0, 255));
        }
        if (row.Editor != SYSTEM) {
            EXPECT_EQ(c.GutterSeparator, c.Back);
        }
    }
}
