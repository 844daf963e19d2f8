#include "views/title_bar.h"

#include "ground/app_state.h"

#include <stdio.h>

#define TITLE_BUFFER 280

void UpdateTitle()
{
    WIN32_FIND_DATAA found;
    const char* name = "[Untitled]";
    if (App.HasFile && App.FilePath) {
        name = App.FilePath;
        if (!Config.FullPath) {
            // The file system's own spelling of the name, without folder;
            // a missing file keeps the full path.
            HANDLE search = FindFirstFileA(App.FilePath, &found);
            if (search != INVALID_HANDLE_VALUE) {
                FindClose(search);
                name = found.cFileName;
            }
        }
    }
    char title[TITLE_BUFFER];
    _snprintf(title, sizeof(title), "%s%s - scrivlet", name, App.ShownModified ? "*" : "");
    title[sizeof(title) - 1] = 0;
    SetWindowTextA(App.MainWindow, title);
}
