// Opening a file or address with the program the shell picks for it.
#ifndef SCRIVLET_SHELL_OPEN_H
#define SCRIVLET_SHELL_OPEN_H

#include <windows.h>

// ShellExecute "open" on target, through the prompt seam; owner defaults to
// the main window.
void OpenWithShell(HWND owner, const wchar_t* target);

#endif
