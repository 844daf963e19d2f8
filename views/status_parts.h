// The widths of the status bar's parts, from the texts they show measured in
// the status bar's own font, so that nothing is cut at any DPI.
#ifndef SCRIVLET_STATUS_PARTS_H
#define SCRIVLET_STATUS_PARTS_H

#include "ground/app_state.h"

// Right edges of the parts for a client width. Each fixed part is as
// wide as its 96-DPI width scaled to dpi, or as its text needs (needed[part],
// 0 for no need), whichever is wider; part 0 takes what is left.
void FitStatusEdges(int clientWidth, int dpi, const int needed[STATUS_PARTS], int edges[STATUS_PARTS]);
// Pixels each part needs for the widest text it shows, in the status bar's font.
void MeasureStatusTexts(int dpi, int needed[STATUS_PARTS]);
// Measures and sets the parts of the status bar for a client width.
void FitStatusParts(int clientWidth);
// Gives the status bar the system's status font made for this DPI.
void ApplyStatusFontForDpi(int dpi);

#endif
