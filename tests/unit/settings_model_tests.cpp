// Pure functions of the settings model.
#include "ground/painted_colours.h"
#include "settings/settings.h"
#include "settings/usable_settings.h"

#include <gtest/gtest.h>
#include <string.h>

static RECT MakeRect(LONG left, LONG top, LONG right, LONG bottom)
{
    RECT rect = {left, top, right, bottom};
    return rect;
}

TEST(WorkAreaToScreen, AddsTheWorkAreaOrigin)
{
    // A taskbar along the top and the left of the primary monitor.
    RECT screen = WorkAreaToScreen(MakeRect(10, 20, 410, 320), MakeRect(60, 30, 1280, 1024));
    EXPECT_EQ(screen.left, 70);
    EXPECT_EQ(screen.top, 50);
    EXPECT_EQ(screen.right, 470);
    EXPECT_EQ(screen.bottom, 350);
}

TEST(WorkAreaToScreen, WorkAreaAtOriginLeavesTheRectangle)
{
    RECT screen = WorkAreaToScreen(MakeRect(100, 120, 600, 520), MakeRect(0, 0, 1280, 994));
    EXPECT_EQ(screen.left, 100);
    EXPECT_EQ(screen.top, 120);
    EXPECT_EQ(screen.right, 600);
    EXPECT_EQ(screen.bottom, 520);
}

TEST(WorkAreaToScreen, MonitorLeftOfThePrimaryGivesNegativeLeft)
{
    // The restored rectangle lies on a second monitor left of the primary one:
    // in work-area coordinates it already starts left of 0, and stays there.
    RECT screen = WorkAreaToScreen(MakeRect(-1500, 40, -900, 500), MakeRect(0, 0, 1920, 1040));
    EXPECT_EQ(screen.left, -1500);
    EXPECT_EQ(screen.right, -900);
    EXPECT_EQ(screen.top, 40);
    EXPECT_EQ(screen.bottom, 500);

    // A work area whose own left edge is negative moves the rectangle further left.
    screen = WorkAreaToScreen(MakeRect(100, 10, 700, 410), MakeRect(-1920, 0, 0, 1040));
    EXPECT_EQ(screen.left, -1820);
    EXPECT_EQ(screen.right, -1220);
    EXPECT_EQ(screen.top, 10);
    EXPECT_EQ(screen.bottom, 410);
}

TEST(ValidTabSize, OutsideTwoToNineBecomesEight)
{
    EXPECT_EQ(ValidTabSize(1), 8);
    EXPECT_EQ(ValidTabSize(12), 8);
    EXPECT_EQ(ValidTabSize(0), 8);
    EXPECT_EQ(ValidTabSize(-3), 8);
    EXPECT_EQ(ValidTabSize(10), 8);
    for (int size = 2; size <= 9; size++)
        EXPECT_EQ(ValidTabSize(size), size);
}

TEST(ValidAppearance, OutsideTheThreeChoicesFollowsWindows)
{
    EXPECT_EQ(ValidAppearance(-1), APPEARANCE_FOLLOW_WINDOWS);
    EXPECT_EQ(ValidAppearance(3), APPEARANCE_FOLLOW_WINDOWS);
    EXPECT_EQ(ValidAppearance(1000), APPEARANCE_FOLLOW_WINDOWS);
    for (int appearance : {APPEARANCE_FOLLOW_WINDOWS, APPEARANCE_LIGHT, APPEARANCE_DARK})
        EXPECT_EQ(ValidAppearance(appearance), appearance);
}

static CHARFORMATW MakeFormat(LONG twips, DWORD effects)
{
    CHARFORMATW format;
    memset(&format, 0, sizeof(format));
    format.cbSize = sizeof(format);
    format.yHeight = twips;
    format.dwEffects = effects;
    format.bCharSet = 136;
    format.bPitchAndFamily = FIXED_PITCH | FF_MODERN;
    wcscpy(format.szFaceName, L"Courier New");
    format.crTextColor = RGB(1, 2, 3);
    return format;
}

TEST(BuildEditorLogFont, HeightFromWholePointsAndTheDeviceResolution)
{
    LOGFONTW font;
    CHARFORMATW format = MakeFormat(220, 0);
    BuildEditorLogFont(&format, 96, &font);
    EXPECT_EQ(font.lfHeight, -15); // 11 points at 96 dpi: MulDiv(11, 96, 72) rounds 14.67 up
    // The remainder of the point size is dropped: 230 twips are 11 points, not 11.5.
    format = MakeFormat(230, 0);
    BuildEditorLogFont(&format, 96, &font);
    EXPECT_EQ(font.lfHeight, -15);
    format = MakeFormat(200, 0);
    BuildEditorLogFont(&format, 120, &font);
    EXPECT_EQ(font.lfHeight, -17); // MulDiv(10, 120, 72) = 16.67 -> 17
}

TEST(BuildEditorLogFont, PlainFontFields)
{
    LOGFONTW font;
    CHARFORMATW format = MakeFormat(220, 0);
    BuildEditorLogFont(&format, 96, &font);
    EXPECT_EQ(font.lfWidth, 0);
    EXPECT_EQ(font.lfEscapement, 0);
    EXPECT_EQ(font.lfOrientation, 0);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(font.lfUnderline, 0);
    EXPECT_EQ(font.lfStrikeOut, 0);
    EXPECT_EQ(font.lfCharSet, 136);
    EXPECT_EQ(font.lfOutPrecision, 0);
    EXPECT_EQ(font.lfClipPrecision, 0);
    EXPECT_EQ(font.lfQuality, DRAFT_QUALITY);
    EXPECT_EQ(font.lfPitchAndFamily, FIXED_PITCH | FF_MODERN);
    EXPECT_STREQ(font.lfFaceName, L"Courier New");
}

TEST(BuildEditorLogFont, EffectBitsBecomeWeightAndFlags)
{
    LOGFONTW font;
    CHARFORMATW format = MakeFormat(220, 1);
    BuildEditorLogFont(&format, 96, &font);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 0);

    format = MakeFormat(220, 2);
    BuildEditorLogFont(&format, 96, &font);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfItalic, 1);

    format = MakeFormat(220, 4 | 8);
    BuildEditorLogFont(&format, 96, &font);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(font.lfUnderline, 1);
    EXPECT_EQ(font.lfStrikeOut, 1);

    format = MakeFormat(220, 15);
    BuildEditorLogFont(&format, 96, &font);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(font.lfUnderline, 1);
    EXPECT_EQ(font.lfStrikeOut, 1);
}
