// Entry point of scrivlet.exe; everything else lives in the core library.
#include "program/startup.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    (void)hPrevInstance;
    (void)nCmdShow; // the saved window state decides how the window shows
    // The runtime's tail is in the ANSI code page, which spells only some
    // names, and drops the word after a quoted program name; take it from
    // the full wide line.
    (void)lpCmdLine;
    return RunEditor(hInstance, CommandLineTail(GetCommandLineW()));
}
