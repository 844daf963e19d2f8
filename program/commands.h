// Command dispatch of the main window and the commands that live only here.
#ifndef SCRIVLET_COMMANDS_H
#define SCRIVLET_COMMANDS_H

#include <windows.h>
#include <commctrl.h>

void OnCommand(WPARAM wParam, LPARAM lParam);
void RunCommand(int id);

// Starts another copy of the program, with parameters (may be NULL).
void StartNewInstance(const wchar_t* parameters);
void ToggleWordWrap();
void ShowHelp();
// The old help viewer (WinHelpW); tests swap it.
typedef BOOL (WINAPI *HelpFunction)(HWND owner, LPCWSTR file, UINT command, ULONG_PTR data);
extern HelpFunction HelpViewer;

// The toolbar asks for a tooltip: the string-table entry of the button's id.
void ProvideTooltip(NMTTDISPINFOW* info);

#endif
