// Entry point of scrivlet.exe; everything else lives in the core library.
#include "app/startup.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    (void)hPrevInstance;
    (void)nCmdShow; // the saved window state decides how the window shows
    return RunEditor(hInstance, lpCmdLine);
}
