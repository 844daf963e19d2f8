// The status bar in the dark look: the system draws it light, so while the
// look wants colours of its own the bar paints its parts itself. The parts
// keep their texts (SB_SETTEXT), which screen readers and tests read.
#ifndef SCRIVLET_STATUS_PAINT_H
#define SCRIVLET_STATUS_PAINT_H

#include <windows.h>

void InstallStatusPainting(HWND statusBar);

#endif
