// Keeps a saved window placement reachable: a rectangle saved on a monitor
// that is gone would otherwise open the window off every screen, every time.
#ifndef SCRIVLET_SCREEN_PLACEMENT_H
#define SCRIVLET_SCREEN_PLACEMENT_H

#include <windows.h>

// How much of a window must lie on one work area for it to stay where it is
// (less when the window itself is smaller).
#define PLACEMENT_VISIBLE_PIXELS 50

// The rectangle itself when enough of it lies on one of the work areas;
// otherwise moved onto the nearest one, its size kept where it fits and cut
// to the work area where it does not (or is beyond 32767). An empty or
// inverted size becomes the default 300 by 300. With no work area at all the
// rectangle is returned.
RECT PlaceOnWorkAreas(RECT saved, const RECT* workAreas, int count);

// Moves Config's left/top/right/bottom onto the monitors of this machine.
void FitSavedPlacementOnScreen();

#endif
