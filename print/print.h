// Printing the document through the edit control's own page layout.
#ifndef SCRIVLET_PRINT_H
#define SCRIVLET_PRINT_H

#include <windows.h>

// Sheet and text rectangles in twips for a device's physical size in pixels
// and its pixels per inch; margins only on sheets large enough for them.
// Returns 0 when the device gives no usable resolution or a sheet too large
// for a rectangle.
int ComputePrintLayout(int physicalWidth, int physicalHeight, int pixelsPerInchX,
                       int pixelsPerInchY, RECT* page, RECT* text);

// Narrows the text rectangle (twips from the sheet's corner) to the part of
// the sheet the printer can print: offset and size in device pixels.
void ClampToPrintableArea(RECT* text, int offsetX, int offsetY, int printableWidth, int printableHeight,
                          int pixelsPerInchX, int pixelsPerInchY);

// Asks for a printer and prints the whole text, the selection or a page
// range; documentName names the job (empty for an untitled document).
void PrintDocument(const wchar_t* documentName);

#endif
