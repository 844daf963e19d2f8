// The text's zoom: the program sets it (EM_SETZOOM) and so knows the figure,
// which the status bar shows and the gutter draws its numbers at.
#ifndef SCRIVLET_ZOOM_H
#define SCRIVLET_ZOOM_H

#include <windows.h>

// Zooms the text to percent (held to 10..500), shows the figure and fits the gutter.
void SetZoom(int percent);
void ZoomIn();
void ZoomOut();
void ResetZoom();
// Gives the edit control the zoom the program holds (a fresh control starts at 100%).
void ApplyZoomToControl();
// Writes the figure into its status part.
void ShowZoom();
// A Ctrl+wheel turn over the text: one step a notch (WHEEL_DELTA), the
// rest kept for the next turn.
void OnZoomWheel(int delta);

#endif
