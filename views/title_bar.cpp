#include "views/title_bar.h"

#include "ground/app_state.h"
#include "ground/command_gate.h"

#include <stdio.h>

#define TITLE_BUFFER 280

// The document name the title was last built from.
static struct {
    int HasFile;
    char Path[APP_PATH_SIZE];
} Shown;

int TitleNameIsStale()
{
    // An incomplete document's title is the load's own business.
    if (IsInDocumentState(STATE_INCOMPLETE))
        return 0;
    int hasFile = App.HasFile && App.FilePath;
    return hasFile != Shown.HasFile || (hasFile && lstrcmpA(Shown.Path, App.FilePath) != 0);
}

void UpdateTitle()
{
    Shown.HasFile = App.HasFile && App.FilePath;
    lstrcpynA(Shown.Path, Shown.HasFile ? App.FilePath : "", APP_PATH_SIZE);
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
