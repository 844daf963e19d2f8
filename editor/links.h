// Links in the text: opening one, its menu and its commands.
#ifndef SCRIVLET_LINKS_H
#define SCRIVLET_LINKS_H

#include <windows.h>
#include <richedit.h>

void OpenLink(LONG start, LONG end);
// EN_LINK from the edit control; returns the result for the control.
LRESULT OnLinkNotify(ENLINK* link);
// Commands 1950 to 1953.
void OnLinkCommand(int id);

#endif
