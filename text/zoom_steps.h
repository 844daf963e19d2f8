// The editor's zoom figures: 10% to 500% in steps of 10%, as the stock
// notepad zooms, and the font heights drawn at a zoom.
#ifndef SCRIVLET_ZOOM_STEPS_H
#define SCRIVLET_ZOOM_STEPS_H

#define ZOOM_DEFAULT 100
#define ZOOM_MIN 10
#define ZOOM_MAX 500
#define ZOOM_STEP 10

// The next step above percent (500 stays 500); a figure between steps goes
// to the step above it.
int NextZoomStep(int percent);
// The step below percent (10 stays 10); a figure between steps goes to the
// step below it.
int PreviousZoomStep(int percent);
// The LOGFONT height (negative: the character height) of a font of twips
// (1/1440 inch) at dpi, zoomed to percent, as the control zooms its text:
// from the font's own size, not from a height already rounded, to the
// nearest pixel and one pixel at least.
long ZoomedFontHeight(long twips, int dpi, int percent);

#endif
