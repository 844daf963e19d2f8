// Greying, checking and pressing of menu items and toolbar buttons.
#ifndef SCRIVLET_MENU_STATE_H
#define SCRIVLET_MENU_STATE_H

#include <windows.h>

void UpdateMenuState(int menuIndex, HMENU menu);
void RefreshAfterEdit();
// A state of the document ended: the items and buttons it held come back
// where nothing else holds them. Items with rules of their own get those
// back at the next refresh.
void ReleaseCommandsHeldBy(int state);

#endif
