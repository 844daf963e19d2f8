// Identifiers shared by the resource script and the program.
#ifndef SCRIVLET_RESOURCE_H
#define SCRIVLET_RESOURCE_H

// Resources
#define IDR_MAINMENU        10000
#define IDR_LINKMENU        10001
#define IDR_ACCELERATORS    10002
#define IDI_APPICON         104
// The toolbar's images at 16, 20, 24 and 32 pixels, picked for the DPI
#define IDB_TOOLBAR16       102
#define IDB_TOOLBAR20       105
#define IDB_TOOLBAR24       106
#define IDB_TOOLBAR32       107
#define IDD_GOTOLINE        200
#define IDD_ABOUT           220
#define IDD_OPTIONS_GENERAL 241
#define IDD_OPTIONS_EDITOR  242
#define IDD_SAVEAS_EXTRA    300
#define IDD_PRINTING        230

// Commands: menus, accelerators, toolbar and link menu share these
#define IDM_NEWWINDOW       500
#define IDM_NEW             501
#define IDM_OPEN            502
#define IDM_SAVE            503
#define IDM_SAVEAS          504
#define IDM_RELOAD          505
#define IDM_PROPERTIES      506
#define IDM_EXECUTE         507
#define IDM_FORMAT_DOS      508
#define IDM_FORMAT_UNIX     509
#define IDM_FORMAT_MAC      510
#define IDM_PRINT           511
#define IDM_RECENT_FIRST    513
#define IDM_RECENT_LAST     521
#define IDM_EXIT            522
// File > Encoding: one entry per row of the encoding choices (text/encoding_choices.h)
#define IDM_REOPEN_FIRST    530
#define IDM_REOPEN_LAST     540
#define IDM_CONVERT_FIRST   550
#define IDM_CONVERT_LAST    560
#define IDM_UNDO            601
#define IDM_REDO            602
#define IDM_CUT             603
#define IDM_COPY            604
#define IDM_PASTE           605
#define IDM_DELETE          606
#define IDM_SELECTALL       607
#define IDM_INDENT          608
#define IDM_UNINDENT        609
#define IDM_FIND            610
#define IDM_FINDNEXT        611
#define IDM_FINDPREV        612
#define IDM_REPLACE         613
#define IDM_GOTOLINE        614
#define IDM_DELETELINE      616
#define IDM_TIMEDATE        625
#define IDM_INSERTFILE      626
#define IDM_TOOLBAR         700
#define IDM_STATUSBAR       701
#define IDM_ALWAYSONTOP     702
#define IDM_WORDWRAP        703
#define IDM_LINENUMBERS     704
#define IDM_MARGIN          705
#define IDM_ZOOM_IN         706
#define IDM_ZOOM_OUT        707
#define IDM_ZOOM_RESET      708
#define IDM_FAV_ADD         800
#define IDM_FAV_REMOVE      801
#define IDM_FAV_FIRST       802
#define IDM_FAV_LAST        999
// Favorites 199 and 200 would reach 1000 and 1001 (Options, tray): they take these.
#define IDM_FAV_OVERFLOW_FIRST 1200
#define IDM_FAV_OVERFLOW_LAST  1201
#define IDM_OPTIONS         1000
#define IDM_TOTRAY          1001
#define IDM_ABOUT           1101
#define IDM_HELP            1102
#define IDM_URL_OPEN        1950
#define IDM_URL_SELECT      1951
#define IDM_URL_COPY        1952
#define IDM_URL_CUT         1953

// String table entries besides the tooltips (which use the command ids)
#define IDS_LINE_TOO_BIG    3001
#define IDS_LINE_INVALID    3002
#define IDS_NOT_FOUND       3003
#define IDS_SAVE_CHANGES    3004
#define IDS_FILE_CHANGED    3005
#define IDS_FILE_DELETED    3006
#define IDS_RELOAD_URLS     3007
#define IDS_PRINTING_PAGE   3008
#define IDS_RECOVERY_OFFER    3009
#define IDS_RECOVERY_ASK      3010
#define IDS_RECOVERY_SKIPPED  3011
#define IDS_RECOVERY_UNTITLED 3012
#define IDS_RECOVERY_NOTE     3013
#define IDS_NAME_TOO_LONG_FOR_SHELL 3014

// Labels and frames that the program never addresses
#ifndef IDC_STATIC
#define IDC_STATIC          (-1)
#endif

// Go To Line dialog
#define IDC_GOTO_LABEL      101
#define IDC_GOTO_LINE       201

// About dialog
#define IDC_ABOUT_HOMEPAGE  221
#define IDC_ABOUT_FORUM     222
#define IDC_ABOUT_MAIL      223
#define IDC_ABOUT_VERSION   224
#define IDC_ABOUT_ICON      226

// Printing dialog
#define IDC_PRINTING_PAGE   231

// Options pages
#define IDC_OPT_HIGHLIGHTURLS   243
#define IDC_OPT_SINGLECLICK     244
#define IDC_OPT_AUTOINDENT      246
#define IDC_OPT_TABSTOSPACES    247
#define IDC_OPT_SAVEPOSITION    248
#define IDC_OPT_TABSIZE         249
#define IDC_OPT_RECENTFILES     250
#define IDC_OPT_FULLPATH        251
#define IDC_OPT_DNDNEWWINDOW    252
#define IDC_OPT_MINTOTRAY       255
#define IDC_OPT_FONT            256
#define IDC_OPT_BACKCOLOR       257
#define IDC_OPT_FONTCOLOR       258
#define IDC_OPT_ESCAPEEXIT      259
#define IDC_OPT_FILECHANGE      261
#define IDC_OPT_SMARTHOME       262
#define IDC_OPT_DATEFIRST       263
#define IDC_OPT_RECOVERY        264
#define IDC_OPT_APPEARANCE      265

// Save As extension
#define IDC_SAVEAS_ENCODING     301
#define IDC_SAVEAS_LABEL        302

#endif
