// The main window's own numbers in one place: its children's ids, the
// private messages, the timers, and the positions of the main menu's
// submenus and of the status bar's parts. Command ids are the resources'.
#ifndef SCRIVLET_WINDOW_IDS_H
#define SCRIVLET_WINDOW_IDS_H

#include <windows.h>

// Control ids of the main window's children
#define ID_EDITCONTROL 0
#define ID_TOOLBAR 1
#define ID_STATUSBAR 100

// The tray icon's id, the program icon's resource id
#define TRAY_ICON_ID 104

// Private messages
#define WM_GUTTER_REFRESH (WM_USER + 100)   // to the edit control: repaint the gutter
#define WM_RECOVERY_WRITTEN (WM_APP + 22)   // from the recovery thread; wParam 1 when the copy went to disk

// Timers of the main window
#define FILE_CHECK_TIMER 1000   // the file-change check after the focus comes back
#define LOAD_TIMER 1013         // the pieces of a background load
#define RECOVERY_TIMER 1022     // the pause after typing before a recovery copy

// Positions of the main menu's submenus
enum MainMenuPosition {
    MENU_FILE = 0,
    MENU_EDIT = 1,
    MENU_VIEW = 2,
    MENU_FAVORITES = 3,
    MENU_TOOLS = 4,
    MENU_HELP = 5
};

// Positions in the File menu: the encoding submenu below the line-format
// one, and the separator the recent files follow.
#define FILE_MENU_ENCODING 12
#define FILE_MENU_RECENT_SEPARATOR 15
#define FAVORITES_MENU_SEPARATOR 2
// Positions in the encoding submenu.
#define ENCODING_MENU_REOPEN 0
#define ENCODING_MENU_CONVERT 1

// Status-bar parts
enum StatusPart {
    STATUS_MESSAGE = 0,
    STATUS_FORMAT = 1,
    STATUS_INSERT = 2,
    STATUS_TABSIZE = 3,
    STATUS_CARET = 4,
    STATUS_ZOOM = 5,
    STATUS_PARTS = 6
};

#endif
