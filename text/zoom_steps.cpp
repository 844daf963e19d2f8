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

long ZoomedFontHeight(long twips, int dpi, int percent)
{
    long long scaled = (long long)twips * dpi * percent;
    long long pixels = (scaled + 72000) / 144000; // 1440 twips an inch, 100 percent
    if (pixels < 1)
        pixels = 1;
    return -(long)pixels;
}
