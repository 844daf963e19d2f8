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
    long Height;
    int Percent;
    long Zoomed;
};

static const ZoomHeightRow ZoomHeights[] = {
    {-16, 100, -16}, {-16, 150, -24}, {-16, 500, -80}, {-15, 110, -17}, // 16.5 rounds away from 0
    {15, 110, 17}, {-13, 10, -1}, {-4, 10, -1}, {-5, 10, -1}, {-6, 10, -1}, {0, 200, 0}, {-20, 10, -2},
};

TEST(ZoomedFontHeight, ScaledRoundedAndNeverZero)
{
    for (const ZoomHeightRow& row : ZoomHeights)
        EXPECT_EQ(ZoomedFontHeight(row.Height, row.Percent), row.Zoomed) << row.Height << " at " << row.Percent;
}
