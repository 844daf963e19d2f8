#include "views/zoom.h"

#include "ground/app_state.h"
#include "ground/status_text.h"
#include "text/zoom_steps.h"

#include <richedit.h>
#include <stdio.h>

void ShowZoom()
{
    wchar_t text[16];
    _snwprintf(text, 16, L"%d%%", App.ZoomPercent);
    text[15] = 0;
    SetStatusText(STATUS_ZOOM, text);
}

void ApplyZoomToControl()
{
    // 0/0 is the control's own 100%, with no ratio left to round.
    if (App.ZoomPercent == ZOOM_DEFAULT)
        SendMessageW(App.EditControl, EM_SETZOOM, 0, 0);
    else
        SendMessageW(App.EditControl, EM_SETZOOM, (WPARAM)App.ZoomPercent, 100);
}

void SetZoom(int percent)
{
    if (percent < ZOOM_MIN)
        percent = ZOOM_MIN;
    if (percent > ZOOM_MAX)
        percent = ZOOM_MAX;
    App.ZoomPercent = percent;
    ApplyZoomToControl();
    ShowZoom();
    // The strip fits the numbers at this size, smaller as well as larger;
    // the gutter's repaint request measures it again.
    App.GutterWidth = 0;
    PostMessageW(App.EditControl, WM_GUTTER_REFRESH, 0, 0);
    InvalidateRect(App.EditControl, NULL, TRUE);
}

void ZoomIn() { SetZoom(NextZoomStep(App.ZoomPercent)); }
void ZoomOut() { SetZoom(PreviousZoomStep(App.ZoomPercent)); }
void ResetZoom() { SetZoom(ZOOM_DEFAULT); }

void OnZoomWheel(int delta)
{
    App.ZoomWheelDelta += delta;
    while (App.ZoomWheelDelta >= WHEEL_DELTA) {
        App.ZoomWheelDelta -= WHEEL_DELTA;
        ZoomIn();
    }
    while (App.ZoomWheelDelta <= -WHEEL_DELTA) {
        App.ZoomWheelDelta += WHEEL_DELTA;
        ZoomOut();
    }
}
