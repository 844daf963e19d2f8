// Entry point of scrivlet.exe; everything else lives in the core library.
#include "program/startup.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    (void)hPrevInstance;
    (void)nCmdShow; // the saved window state decides how the window shows
    // The runtime's tail drops letters of 0x80 and above from the name and
    // the word after a quoted program name; take it from the full line.
    (void)lpCmdLine;
    return RunEditor(hInstance, CommandLineTail(GetCommandLineA()));
}
