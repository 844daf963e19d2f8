#include "text/zoom_steps.h"

static int Clamp(int percent)
{
    if (percent < ZOOM_MIN)
        return ZOOM_MIN;
    if (percent > ZOOM_MAX)
        return ZOOM_MAX;
    return percent;
}

int NextZoomStep(int percent)
{
    if (percent < ZOOM_MIN)
        return ZOOM_MIN;
    return Clamp((percent / ZOOM_STEP + 1) * ZOOM_STEP);
}

int PreviousZoomStep(int percent)
{
    if (percent > ZOOM_MAX)
        return ZOOM_MAX;
    return Clamp(((percent + ZOOM_STEP - 1) / ZOOM_STEP - 1) * ZOOM_STEP);
}

long ZoomedFontHeight(long height, int percent)
{
    long long scaled = (long long)height * percent;
    long long rounded = scaled >= 0 ? (scaled + 50) / 100 : -((-scaled + 50) / 100);
    if (rounded == 0 && height != 0)
        return height > 0 ? 1 : -1;
    return (long)rounded;
}
