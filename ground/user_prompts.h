// The one seam through which the program asks or tells the user: message
// boxes, the common dialogs and the shell's open.
#ifndef SCRIVLET_USER_PROMPTS_H
#define SCRIVLET_USER_PROMPTS_H

#include <windows.h>
#include <commdlg.h>

// Every message box, common dialog and shell open goes through these pointers,
// so tests can answer them and read the exact texts. The program uses the
// real calls.
struct UserPrompts {
    int (*Message)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
    BOOL (WINAPI *OpenFile)(OPENFILENAMEA* request);
    BOOL (WINAPI *SaveFile)(OPENFILENAMEA* request);
    BOOL (WINAPI *PrintDialog)(PRINTDLGA* request);
    BOOL (WINAPI *ChooseFontDialog)(CHOOSEFONTA* request);
    BOOL (WINAPI *ChooseColorDialog)(CHOOSECOLORA* request);
    HINSTANCE (WINAPI *ShellExecute)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                     LPCSTR directory, INT show);
};
extern UserPrompts Prompts;
void UseRealPrompts();

// Message box owned by the main window, caption "scrivlet", OK, stop icon.
void ShowError(const char* text);
// ShowError with a message built from a format holding one %s for a path.
void ShowErrorAboutFile(const char* format, const char* path);
// Message box whose body is the system's text for the thread's last error and
// whose caption is the program's own message; OK, exclamation icon.
void ShowSystemError(const char* caption);
// String-table entry id shown with caption "scrivlet"; returns the button.
int AskUser(HWND owner, UINT stringId, UINT flags);
// The same for a text of the program's own (ANSI).
int AskUserText(HWND owner, const char* text, UINT flags);
// The same for a wide text built by the program, as from several entries.
int AskUserWide(HWND owner, const wchar_t* text, UINT flags);

// ANSI (system code page) text to UTF-16 into a fixed buffer, always terminated.
void AnsiToWide(const char* text, wchar_t* out, int outChars);

#endif
