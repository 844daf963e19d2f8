#include "settings/screen_placement.h"

#include "ground/app_state.h"

#define DEFAULT_EXTENT 300
#define MAX_EXTENT 32767
#define WORK_AREA_LIMIT 16

// Sizes and overlaps in 64 bits: the INI may hold any int.
typedef long long Coordinate;

static Coordinate Overlap(Coordinate low1, Coordinate high1, Coordinate low2, Coordinate high2)
{
    Coordinate low = low1 > low2 ? low1 : low2;
    Coordinate high = high1 < high2 ? high1 : high2;
    return high > low ? high - low : 0;
}

static Coordinate Gap(Coordinate low1, Coordinate high1, Coordinate low2, Coordinate high2)
{
    if (high1 < low2)
        return low2 - high1;
    if (high2 < low1)
        return low1 - high2;
    return 0;
}

static Coordinate Clamp(Coordinate value, Coordinate low, Coordinate high)
{
    if (value > high)
        value = high;
    return value < low ? low : value;
}

static int IsVisibleOn(const RECT* window, Coordinate width, Coordinate height, const RECT* area)
{
    Coordinate needX = width < PLACEMENT_VISIBLE_PIXELS ? width : PLACEMENT_VISIBLE_PIXELS;
    Coordinate needY = height < PLACEMENT_VISIBLE_PIXELS ? height : PLACEMENT_VISIBLE_PIXELS;
    return Overlap(window->left, (Coordinate)window->left + width, area->left, area->right) >= needX &&
           Overlap(window->top, (Coordinate)window->top + height, area->top, area->bottom) >= needY;
}

RECT PlaceOnWorkAreas(RECT saved, const RECT* workAreas, int count)
{
    if (count <= 0)
        return saved;
    Coordinate width = (Coordinate)saved.right - saved.left;
    Coordinate height = (Coordinate)saved.bottom - saved.top;
    // Beyond what a window can measure the size is cut to the work area below.
    int sizeUsable = width > 0 && height > 0 && width <= MAX_EXTENT && height <= MAX_EXTENT;
    if (width <= 0)
        width = DEFAULT_EXTENT;
    if (height <= 0)
        height = DEFAULT_EXTENT;

    int nearest = 0;
    Coordinate nearestDistance = -1;
    for (int i = 0; i < count; i++) {
        const RECT* area = &workAreas[i];
        if (sizeUsable && IsVisibleOn(&saved, width, height, area))
            return saved;
        Coordinate dx = Gap(saved.left, (Coordinate)saved.left + width, area->left, area->right);
        Coordinate dy = Gap(saved.top, (Coordinate)saved.top + height, area->top, area->bottom);
        // The sum of the gaps: their squares overflow near the ends of an int.
        Coordinate distance = dx + dy;
        if (nearestDistance < 0 || distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }

    const RECT* area = &workAreas[nearest];
    Coordinate areaWidth = (Coordinate)area->right - area->left;
    Coordinate areaHeight = (Coordinate)area->bottom - area->top;
    if (width > areaWidth)
        width = areaWidth;
    if (height > areaHeight)
        height = areaHeight;
    RECT placed;
    placed.left = (LONG)Clamp(saved.left, area->left, area->right - width);
    placed.top = (LONG)Clamp(saved.top, area->top, area->bottom - height);
    placed.right = (LONG)(placed.left + width);
    placed.bottom = (LONG)(placed.top + height);
    return placed;
}

struct WorkAreaList {
    RECT Areas[WORK_AREA_LIMIT];
    int Count;
};

static BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC context, LPRECT bounds, LPARAM data)
{
    (void)context;
    (void)bounds;
    WorkAreaList* list = (WorkAreaList*)data;
    MONITORINFO info;
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info) && list->Count < WORK_AREA_LIMIT)
        list->Areas[list->Count++] = info.rcWork;
    return TRUE;
}

void FitSavedPlacementOnScreen()
{
    WorkAreaList list;
    list.Count = 0;
    EnumDisplayMonitors(NULL, NULL, CollectWorkArea, (LPARAM)&list);
    if (list.Count == 0 && SystemParametersInfoW(SPI_GETWORKAREA, 0, &list.Areas[0], 0))
        list.Count = 1;
    RECT saved = {Config.left, Config.top, Config.right, Config.bottom};
    RECT placed = PlaceOnWorkAreas(saved, list.Areas, list.Count);
    Config.left = placed.left;
    Config.top = placed.top;
    Config.right = placed.right;
    Config.bottom = placed.bottom;
}
