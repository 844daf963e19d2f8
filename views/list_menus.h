// The recent-files and favorites menus.
#ifndef SCRIVLET_LIST_MENUS_H
#define SCRIVLET_LIST_MENUS_H

#include "ground/app_state.h"

// Makes the list's menu show the list as it is now: an entry per item under
// a separator of its own, no separator when the list is empty.
void ShowListMenu(StringList* list);

#endif
