// Small helpers every part of the program uses: the one seam through which
// the program asks or tells the user, status text, memory and the shell.
#ifndef SCRIVLET_HELPERS_H
#define SCRIVLET_HELPERS_H

#include <windows.h>
#include <commdlg.h>
#include <stddef.h>

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

void SetStatusText(int part, const char* text);
void SetStatusTextW(int part, const wchar_t* text);

// Zero-filled block from the page allocator; a new block holds an empty string.
void* AllocZeroed(size_t size);
void FreeBlock(void* block);

// ShellExecuteA "open" on target; owner defaults to the main window.
void OpenWithShell(HWND owner, const char* target);

// ANSI (system code page) text to UTF-16 into a fixed buffer, always terminated.
void AnsiToWide(const char* text, wchar_t* out, int outChars);

#endif
