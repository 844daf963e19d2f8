// The one process-wide record of the running editor and the one record of
// its settings. Everything runs on the GUI thread, so neither needs a lock.
#ifndef SCRIVLET_APP_STATE_H
#define SCRIVLET_APP_STATE_H

#include "ground/system_look.h"
#include "ground/window_ids.h"
#include "text/line_format.h"
#include "text/text_encoding.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>
#include <sys/stat.h>

#include <string>

// Characters of the longest path Windows takes, and its terminator.
#define PATH_CAPACITY 32768
#define FIND_BUFFER_CHARS 256
// A zero-filled buffer of PATH_CAPACITY characters on the heap (too large
// for the stack), passed where a path buffer is asked for.
struct PathBuffer {
    std::wstring Storage = std::wstring(PATH_CAPACITY, L'\0');
    operator wchar_t*() { return &Storage[0]; }
};
#define TOOLTIP_CHARS 256

// Normal notification mask of the edit control.
#define EDIT_EVENT_MASK (ENM_CHANGE | ENM_SCROLL | ENM_KEYEVENTS | ENM_SELCHANGE | ENM_LINK)

typedef DWORD (WINAPI *LongPathFunction)(LPCWSTR source, LPWSTR destination, DWORD size);

struct StringList {
    wchar_t** Items;
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
    // Favorites changes between copies (WM_COPYDATA tags): the path in the
    // code page, as earlier versions send it, and in UTF-16, as this one does.
    UINT FavAddMessage;
    UINT FavDelMessage;
    UINT FavAddWideMessage;
    UINT FavDelWideMessage;

    int InTray;

    // Document
    wchar_t* FilePath;              // PATH_CAPACITY characters, allocated at start-up
    int HasFile;
    int Encoding;                   // TextEncoding: how the text is stored on disk
    UINT CodePage;                  // of an ANSI document: the code page its bytes are in
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
    OPENFILENAMEW FileDialog;
    int FilterIndex;

    // Keyboard and caret
    int InsertMode;
    CHARRANGE CurrentSelection;
    unsigned int CaretLine;
    int CaretColumn;
    // Where a character other than a line break or tab was just typed at a
    // caret, or -1, and its UTF-16 unit: the caret's line stays the one the
    // caret status already knows, and the column follows from the character.
    LONG CharacterTypedAt;
    wchar_t CharacterTyped;

    // Gutter
    int GutterWidth;
    int LeftMargin;
    int GutterMarginMode;           // how the control takes the margin (gutter.cpp)

    // Zoom of the text in percent, for the window's life (never saved), and
    // the wheel's turn not yet taken as a step
    int ZoomPercent;
    int ZoomWheelDelta;

    // What Windows last said of dark apps, high contrast and its colours
    SystemLook Look;
    int TitleBarDark;               // the window manager was asked for a dark title bar

    // Links
    CHARRANGE LinkRange;

    int OwnStepWaits;               // OwnStep

    // Find and replace
    wchar_t* FindWhat;
    wchar_t* ReplaceWith;
    int FindBufferSize;
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
    LOGFONTW PendingLogFont;
    int PendingPointSize;           // tenths of a point, kept between openings

    // Tooltip text handed to the toolbar; it is read after the handler returns.
    wchar_t TooltipText[TOOLTIP_CHARS];
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
    int Appearance;                 // Appearance: follow Windows, light or dark

    COLORREF FontColor;
    COLORREF BackColor;
    CHARFORMATW EditorCharFormat;
    LOGFONTW EditorLogFont;
};

extern AppState App;
extern Settings Config;

// What App.GetLongPath starts as: picks the system's call or the shell's
// walk on first use and puts it in App.GetLongPath.
DWORD WINAPI ResolveLongPath(LPCWSTR source, LPWSTR destination, DWORD size);

// Puts both records into their start-up state (the values a run begins with
// before the INI file is read).
void ResetAppState();

#endif
