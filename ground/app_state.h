// The one process-wide record of the running editor and the one record of
// its settings. Everything runs on the GUI thread, so neither needs a lock.
#ifndef SCRIVLET_APP_STATE_H
#define SCRIVLET_APP_STATE_H

#include "ground/window_ids.h"
#include "text/line_format.h"
#include "text/text_encoding.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>
#include <sys/stat.h>

#define APP_PATH_SIZE 261           // 260 characters and the terminator
#define FIND_BUFFER_BYTES 256

// Normal notification mask of the edit control.
#define EDIT_EVENT_MASK (ENM_CHANGE | ENM_SCROLL | ENM_KEYEVENTS | ENM_SELCHANGE | ENM_LINK)

typedef DWORD (WINAPI *LongPathFunction)(LPCSTR source, LPSTR destination, DWORD size);

struct StringList {
    char** Items;
    int Count;
    int Capacity;
    int FirstCommandId;
};

// Which way the program's own one-step undo of a large Replace All waits
// (editor/own_undo.cpp holds the step); the menus read it.
enum OwnStep { OWN_STEP_NONE = 0, OWN_STEP_UNDO = 1, OWN_STEP_REDO = 2 };

struct AppState {
    // Windows and instance
    HINSTANCE Instance;
    HICON AppIcon;
    HWND MainWindow;
    HWND StatusBar;
    HWND EditControl;
    HWND ToolBar;
    WNDPROC OldEditProc;
    HACCEL Accelerators;
    // Made for the window's DPI, and made again when it changes
    HIMAGELIST ToolbarImages;
    HFONT StatusFont;               // only once the DPI has changed; else the control's own
    HICON TrayIcon;

    // Registered messages
    UINT WheelMessage;
    UINT TaskbarCreatedMessage;
    UINT FavAddMessage;
    UINT FavDelMessage;

    int InTray;

    // Document
    char* FilePath;                 // APP_PATH_SIZE bytes, allocated at start-up
    int HasFile;
    int Encoding;                   // TextEncoding: how the text is stored on disk
    int LineFormat;
    int IsLogFile;
    DWORD FileSize;
    HANDLE FileHandle;
    struct _stat FileStat;
    GETTEXTEX TextRequest;          // shared by saving and the block indent
    int TextChanges;                // what a save would change untouched (CHANGE_ bits)
    int AcceptedChanges;            // of those, what the user agreed to
    int NoByteOrderMark;            // a UTF-16 or UTF-8 file that came without its mark keeps without it

    // File watch
    int FileCheckArmed;
    LongPathFunction GetLongPath;

    // Open and Save dialogs
    OPENFILENAMEA FileDialog;
    int FilterIndex;

    // Keyboard and caret
    int InsertMode;
    CHARRANGE CurrentSelection;
    unsigned int CaretLine;
    int CaretColumn;

    // Gutter
    int GutterWidth;
    int LeftMargin;
    int GutterMarginMode;           // how the control takes the margin (gutter.cpp)

    // Links
    CHARRANGE LinkRange;

    int OwnStepWaits;               // OwnStep

    // Find and replace
    char* FindWhat;
    char* ReplaceWith;
    int FindBufferSize;
    // The texts the dialogs and searches use, UTF-16 so that any script
    // survives; FindWhat and ReplaceWith carry them to the INI file.
    wchar_t* FindWhatWide;
    wchar_t* ReplaceWithWide;
    FINDREPLACEW FindRequest;
    FINDREPLACEW* LastFindRequest;
    DWORD LastFindFlags;            // the record's flags at its last notification
    HWND FindDialog;
    UINT FindReplaceMessage;

    // Recent files and favorites
    StringList RecentList;
    StringList FavoritesList;

    // Options sheet: values shown by the Editor page until OK or Cancel
    COLORREF PendingBackColor;
    COLORREF PendingFontColor;
    LOGFONTA PendingLogFont;
    int PendingPointSize;           // tenths of a point, kept between openings

    // Tooltip text handed to the toolbar; it is read after the handler returns.
    wchar_t TooltipText[APP_PATH_SIZE];
};

struct Settings {
    int WordWrap;
    int HighlightURLs;
    int SingleClickURLs;
    int AutoIndent;
    int TabSize;

    int SavePosition;
    int left;
    int top;
    int right;
    int bottom;
    int WindowState;
    int SelectionBar;
    int LineNumbers;
    int FullPath;
    int AlwaysOnTop;
    int TabsToSpaces;
    int DNDNewWindow;
    int MinimizeToTray;
    int EscapeExit;
    int FileChange;
    int SmartHome;
    int DateFirst;
    int Toolbar;
    int Statusbar;
    int RecentFiles;
    int Recovery;                   // keep recovery copies of unsaved text

    COLORREF FontColor;
    COLORREF BackColor;
    CHARFORMATA EditorCharFormat;
    LOGFONTA EditorLogFont;
};

extern AppState App;
extern Settings Config;

// What App.GetLongPath starts as: picks the system's call or the shell's
// walk on first use and puts it in App.GetLongPath.
DWORD WINAPI ResolveLongPath(LPCSTR source, LPSTR destination, DWORD size);

// Puts both records into their start-up state (the values a run begins with
// before the INI file is read).
void ResetAppState();

#endif
