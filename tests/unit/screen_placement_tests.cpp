// A saved window rectangle is kept when it can be seen, and brought onto the
// nearest monitor's work area when it cannot.
#include "settings/screen_placement.h"

#include <gtest/gtest.h>
#include <limits.h>

static RECT Rect(LONG left, LONG top, LONG right, LONG bottom)
{
    RECT r = {left, top, right, bottom};
    return r;
}

static std::string Text(RECT r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// Primary 1280x1000 work area (taskbar below) and a second monitor to its left.
static const RECT TwoMonitors[] = {{0, 0, 1280, 1000}, {-1920, 0, 0, 1040}};

TEST(PlaceOnWorkAreas, VisiblePlacementsStayAsSaved)
{
    EXPECT_EQ(Text(PlaceOnWorkAreas(Rect(100, 100, 700, 500), TwoMonitors, 2)), "100,100,700,500");
    EXPECT_EQ(Text(PlaceOnWorkAreas(Rect(-1500, 20, -900, 600), TwoMonitors, 2)), "-1500,20,-900,600");
    // Straddling both monitors, or mostly off the edge but with a grip left.
    EXPECT_EQ(Text(PlaceOnWorkAreas(Rect(-300, 0, 300, 400), TwoMonitors, 2)), "-300,0,300,400");
    EXPECT_EQ(Text(PlaceOnWorkAreas(Rect(1200, 900, 1900, 1500), TwoMonitors, 2)), "1200,900,1900,1500");
}

TEST(PlaceOnWorkAreas, OffEveryMonitorMovesOntoTheNearestKeepingTheSize)
{
    // The monitor on the left is gone: the window comes to the primary's left edge.
    EXPECT_EQ(Text(PlaceOnWorkAreas(Rect(-1500, 20, -900, 600), TwoMonitors, 1)), "0,20,600,600");
    // Far below the primary, and a sliver too thin to grab at its right edge.
    EXPECT_EQ(Text(PlaceOnWorkAreas(Rect(100, 5000, 500, 5300), TwoMonitors, 2)), "100,700,500,1000");
    EXPECT_EQ(Text(PlaceOnWorkAreas(Rect(1260, 100, 1860, 500), TwoMonitors, 2)), "680,100,1280,500");
    // Nearest is the left monitor for a window beyond its far edge.
    EXPECT_EQ(Text(PlaceOnWorkAreas(Rect(-5000, 100, -4000, 500), TwoMonitors, 2)), "-1920,100,-920,500");
}

TEST(PlaceOnWorkAreas, SizesThatDoNotFitOrMakeNoSenseAreMended)
{
    // Bigger than the work area: cut to it.
    EXPECT_EQ(Text(PlaceOnWorkAreas(Rect(5000, 0, 9000, 3000), TwoMonitors, 1)), "0,0,1280,1000");
    // Inverted or empty: the default 300 by 300.
    EXPECT_EQ(Text(PlaceOnWorkAreas(Rect(400, 300, 100, 300), TwoMonitors, 1)), "400,300,700,600");
    // The extremes of an int neither overflow nor escape the screen.
    RECT placed = PlaceOnWorkAreas(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), TwoMonitors, 1);
    EXPECT_EQ(Text(placed), "0,0,1280,1000");
    placed = PlaceOnWorkAreas(Rect(INT_MAX, INT_MAX, INT_MIN, INT_MIN), TwoMonitors, 1);
    EXPECT_EQ(Text(placed), "980,700,1280,1000");
}

TEST(PlaceOnWorkAreas, NoWorkAreaLeavesTheRectangle)
{
    EXPECT_EQ(Text(PlaceOnWorkAreas(Rect(-5000, 0, -4000, 500), TwoMonitors, 0)), "-5000,0,-4000,500");
}
