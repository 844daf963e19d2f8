#include "views/title_bar.h"

#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"

#include <stdio.h>

#define TITLE_BUFFER 280

// What the title shows now: kept so that a keystroke does not ask the file
// system for the name's spelling again.
static struct {
    int Named;
    char Path[APP_PATH_SIZE];
    int Modified;
} Shown;

// A file streaming in names the title until an edit makes the text no
// longer its copy.
static int DocumentIsNamed(int modified)
{
    return (App.HasFile || (IsDocumentLoading() && !modified)) && App.FilePath && App.FilePath[0];
}

static void DrawTitle(int modified)
{
    Shown.Named = DocumentIsNamed(modified);
    lstrcpynA(Shown.Path, Shown.Named ? App.FilePath : "", APP_PATH_SIZE);
    Shown.Modified = modified;
    WIN32_FIND_DATAA found;
    const char* name = "[Untitled]";
    if (Shown.Named) {
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
    _snprintf(title, sizeof(title), "%s%s - scrivlet", name, modified ? "*" : "");
    title[sizeof(title) - 1] = 0;
    SetWindowTextA(App.MainWindow, title);
}

void UpdateTitle()
{
    DrawTitle(IsEditModified());
}

void RefreshTitle(int modified)
{
    int named = DocumentIsNamed(modified);
    if (modified != Shown.Modified || named != Shown.Named || (named && lstrcmpA(Shown.Path, App.FilePath) != 0))
        DrawTitle(modified);
}
