// Pixel sizes for the DPI of the monitor a window is on. The program also
// runs on systems older than per-monitor DPI, where the system DPI serves.
#ifndef SCRIVLET_DPI_H
#define SCRIVLET_DPI_H

#include <windows.h>

#define BASE_DPI 96

// The window's DPI: GetDpiForWindow where the system has it, else the
// LOGPIXELSY of the window's device context.
int WindowDpi(HWND window);
// The DPI of the screen as a whole (what unscaled system metrics are for).
int SystemDpi();
// A size given in pixels at 96 DPI, at this DPI.
int ScaleForDpi(int pixelsAt96, int dpi);
// GetSystemMetrics for this DPI.
int SystemMetricForDpi(int index, int dpi);

#endif
