// The File menu's encoding submenu: "Reopen as" and "Convert to", each
// listing the encoding choices with the document's own checked.
#ifndef SCRIVLET_ENCODING_MENUS_H
#define SCRIVLET_ENCODING_MENUS_H

#include <windows.h>

// Builds the submenu below the line-format one, from the choices' table.
void AddEncodingMenus();
// Checks the document's encoding in both lists.
void CheckCurrentEncoding();
// The "Reopen as" list, also shown by a double-click on the status bar's encoding.
HMENU ReopenEncodingMenu();
// The choice (text/encoding_choices.h) a command of either list stands
// for; -1 for other commands.
int ReopenChoiceOfCommand(int id);
int ConvertChoiceOfCommand(int id);

#endif
