// What Windows says about the look it wants: dark apps, high contrast, and
// the system colours. Everything reads it through SystemLookReader, the one
// seam, so that tests can put any state in its place.
#ifndef SCRIVLET_SYSTEM_LOOK_H
#define SCRIVLET_SYSTEM_LOOK_H

#include <windows.h>

struct SystemLook {
    int AppsDark;           // AppsUseLightTheme is 0
    int HighContrast;       // SPI_GETHIGHCONTRAST has HCF_HIGHCONTRASTON
    COLORREF Window;
    COLORREF WindowText;
    COLORREF Highlight;
    COLORREF HighlightText;
    COLORREF ButtonFace;
    COLORREF ButtonText;
    COLORREF GrayText;
    COLORREF HotLight;
    COLORREF InactiveBorder;
};

// Reads the registry, SystemParametersInfo and GetSysColor.
SystemLook ReadWindowsLook();
// The seam: ReadWindowsLook unless a test put another reader here.
extern SystemLook (*SystemLookReader)();

// The window colour a light look starts from: the system's, except under
// high contrast, whose window colour is no choice of the user's to keep.
COLORREF LightWindowColour(const SystemLook& look);

#endif
