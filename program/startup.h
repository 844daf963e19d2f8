// Entry sequence and the one message loop.
#ifndef SCRIVLET_STARTUP_H
#define SCRIVLET_STARTUP_H

#include <windows.h>
#include <stddef.h>

BOOL RegisterMainClass(HINSTANCE instance);
// Loads "RICHED20.DLL"; reports the failure itself and returns NULL then.
HMODULE LoadRichEditLibrary();
// Turns the command-line tail into at most one file name and opens it.
int ProcessCommandLine(const wchar_t* tail);
// The part of the full command line after the program's name and the
// blanks that follow it.
const wchar_t* CommandLineTail(const wchar_t* commandLine);
// Strips leading blanks/quotes and trailing blanks/quotes. Returns the length
// written to out (0: nothing to open); a name that does not fit gives 0.
size_t TrimCommandLine(const wchar_t* tail, wchar_t* out, size_t outSize);
// One turn of the loop for a message already taken from the queue: the find
// dialog first, then the accelerators against the main window, then dispatch.
void HandleLoopMessage(MSG* message);
// The settings at start-up: read, put on the windows, and an empty document.
void LoadSettings();
// The whole run: start-up, loop, release. Returns the process exit code.
int RunEditor(HINSTANCE instance, const wchar_t* commandTail);

#endif
