// The one process-wide record of the running editor and the one record of
// its settings. Everything runs on the GUI thread, so neither needs a lock.
#ifndef SCRIVLET_APP_STATE_H
#define SCRIVLET_APP_STATE_H

#include <windows.h>
#include <commdlg.h>
#include <richedit.h>
#include <sys/stat.h>

#define APP_PATH_SIZE 261           // 260 characters and the terminator
#define FIND_BUFFER_BYTES 256

// Line-ending formats
enum { DOS = 0, UNIX = 1, MAC = 2 };

// How a document's characters are stored on disk, held in AppState's
// IsUnicode. The values are the indices of the Save As encoding box.
enum TextEncoding { ENCODING_ANSI = 0, ENCODING_UTF16LE = 1, ENCODING_UTF16BE = 2, ENCODING_UTF8 = 3 };

// Status-bar parts
enum {
    STATUS_MESSAGE = 0,
    STATUS_FORMAT = 1,
    STATUS_INSERT = 2,
    STATUS_TABSIZE = 3,
    STATUS_CARET = 4,
    STATUS_PARTS = 5
};

// Control ids of the main window's children
#define ID_EDITCONTROL 0
#define ID_TOOLBAR 1
#define ID_STATUSBAR 100

// The gutter's private repaint request, posted to the edit control.
#define WM_GUTTER_REFRESH (WM_USER + 100)

// The file-change check timer of the main window.
#define FILE_CHECK_TIMER 1000

// Normal notification mask of the edit control.
#define EDIT_EVENT_MASK (ENM_CHANGE | ENM_SCROLL | ENM_KEYEVENTS | ENM_SELCHANGE | ENM_LINK)

typedef DWORD (WINAPI *LongPathFunction)(LPCSTR source, LPSTR destination, DWORD size);

struct StringList {
    char** Items;
    int Count;
    int Capacity;
    int FirstCommandId;
};

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

    // Registered messages
    UINT WheelMessage;
    UINT TaskbarCreatedMessage;
    UINT FavAddMessage;
    UINT FavDelMessage;

    int InTray;

    // Document
    char* FilePath;                 // APP_PATH_SIZE bytes, allocated at start-up
    int HasFile;
    int IsUnicode;                  // TextEncoding: ANSI, UTF-16 LE or BE, UTF-8
    int LineFormat;
    int IsLogFile;
    DWORD FileSize;
    HANDLE FileHandle;
    struct _stat FileStat;
    int ShownModified;
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
