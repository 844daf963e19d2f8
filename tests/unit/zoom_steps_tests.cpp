#include "text/zoom_steps.h"

#include <gtest/gtest.h>

struct ZoomStepRow {
    int From;
    int Next;
    int Previous;
};

// Steps of ten from 10 to 500; between steps, to the neighbouring step; the
// ends hold; out of range, back to the nearest end.
static const ZoomStepRow ZoomSteps[] = {
    {100, 110, 90}, {10, 20, 10}, {20, 30, 10}, {490, 500, 480}, {500, 500, 490},
    {105, 110, 100}, {11, 20, 10}, {499, 500, 490}, {5, 10, 10}, {0, 10, 10},
    {-40, 10, 10}, {600, 500, 500}, {501, 500, 500},
};

TEST(ZoomSteps, NextAndPreviousOfEachFigure)
{
    for (const ZoomStepRow& row : ZoomSteps) {
        EXPECT_EQ(NextZoomStep(row.From), row.Next) << row.From;
        EXPECT_EQ(PreviousZoomStep(row.From), row.Previous) << row.From;
    }
}

TEST(ZoomSteps, FortyNineStepsUpFromTheBottomReachTheTop)
{
    int percent = ZOOM_MIN;
    for (int i = 0; i < 49; i++)
        percent = NextZoomStep(percent);
    EXPECT_EQ(percent, ZOOM_MAX);
    for (int i = 0; i < 49; i++)
        percent = PreviousZoomStep(percent);
    EXPECT_EQ(percent, ZOOM_MIN);
}

struct ZoomHeightRow {
    long Twips;
    int Dpi;
    int Percent;
    long Height;
};

static const ZoomHeightRow ZoomHeights[] = {
    // 11 points at 96 DPI are 14.67 pixels: 15, as the unzoomed font; at
    // 170% 24.93 pixels, 25 (from the 15 already rounded it would be 26).
    {220, 96, 100, 15}, {220, 96, 170, 25}, {220, 96, 150, 22}, {220, 96, 500, 73},
    {200, 96, 100, 13}, {200, 144, 200, 40}, {240, 120, 110, 22},
    // Never less than one pixel.
    {20, 96, 10, 1}, {1, 96, 10, 1},
};

TEST(ZoomedFontHeight, FromTheFontsOwnSizeToTheNearestPixel)
{
    for (const ZoomHeightRow& row : ZoomHeights)
        EXPECT_EQ(ZoomedFontHeight(row.Twips, row.Dpi, row.Percent), -row.Height)
            << row.Twips << " twips at " << row.Dpi << " DPI, " << row.Percent << "%";
}
