// Greying, checking and pressing of menu items and toolbar buttons.
#ifndef SCRIVLET_MENU_STATE_H
#define SCRIVLET_MENU_STATE_H

#include <windows.h>

void UpdateMenuState(int menuIndex, HMENU menu);
void RefreshAfterEdit();

#endif
