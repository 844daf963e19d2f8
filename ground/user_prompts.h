// The one seam through which the program asks or tells the user: message
// boxes, the common dialogs and the shell's open.
#ifndef SCRIVLET_USER_PROMPTS_H
#define SCRIVLET_USER_PROMPTS_H

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

// Every message box, common dialog and shell open goes through these pointers,
// so tests can answer them and read the exact texts. The program uses the
// real calls.
struct UserPrompts {
    int (*Message)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
    BOOL (WINAPI *OpenFile)(OPENFILENAMEW* request);
    BOOL (WINAPI *SaveFile)(OPENFILENAMEW* request);
    BOOL (WINAPI *PrintDialog)(PRINTDLGW* request);
    BOOL (WINAPI *ChooseFontDialog)(CHOOSEFONTW* request);
    BOOL (WINAPI *ChooseColorDialog)(CHOOSECOLORW* request);
    HINSTANCE (WINAPI *ShellExecute)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                     LPCWSTR directory, INT show);
    BOOL (WINAPI *ShellExecuteEx)(SHELLEXECUTEINFOW* request);
    // A menu the user picks from where the mouse is (the status bar's lists).
    BOOL (WINAPI *PopupMenu)(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* unused);
};
extern UserPrompts Prompts;
void UseRealPrompts();

// Message box owned by the main window, caption "scrivlet", OK, stop icon.
void ShowError(const wchar_t* text);
// ShowError with a message built from a format holding one %ls for a path,
// whatever its length.
void ShowErrorAboutFile(const wchar_t* format, const wchar_t* path);
// Message box whose body is the system's text for the thread's last error and
// whose caption is the program's own message; OK, exclamation icon.
void ShowSystemError(const wchar_t* caption);
// String-table entry id shown with caption "scrivlet"; returns the button.
int AskUser(HWND owner, UINT stringId, UINT flags);
// The same for a text built by the program.
int AskUserText(HWND owner, const wchar_t* text, UINT flags);

#endif
