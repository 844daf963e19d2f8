// The title bar, the unsaved-changes question and New.
#include "document/title.h"

#include "ground/app_state.h"
#include "ground/command_gate.h"
#include "ground/edit_control.h"
#include "views/edit_window.h"
#include "ground/helpers.h"
#include "views/menu_state.h"
#include "document/background_load.h"
#include "document/file_dialogs.h"
#include "document/load.h"
#include "document/save.h"
#include "views/caret_status.h"
#include "resource.h"

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

int QuerySaveChanges()
{
    if (!IsEditModified())
        return IDNO;
    // A modified but empty untitled document holds nothing worth a question.
    if (!App.HasFile && GetTextLength(GTL_DEFAULT) <= 0)
        return IDNO;
    int answer = AskUser(App.MainWindow, IDS_SAVE_CHANGES, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDNO)
        return IDNO;
    if (answer != IDYES)
        return IDCANCEL;
    // Text edited while a file streams in is saved as what it is: incomplete,
    // which the save asks about first.
    StopBackgroundLoad();
    int saved = App.HasFile ? SaveDocument() : ShowSaveAsDialog();
    return saved ? IDYES : IDCANCEL;
}

void NewDocument()
{
    if (QuerySaveChanges() == IDCANCEL)
        return;
    EndIncompleteDocument();
    App.HasFile = 0;
    if (!SwapInFreshEditControl())
        SendMessageA(App.EditControl, WM_SETTEXT, 0, (LPARAM)"");
    App.ShownModified = 1;
    App.IsUnicode = 0;
    App.TextChanges = 0;
    App.AcceptedChanges = 0;
    App.NoByteOrderMark = 0;
    App.GutterWidth = 0;
    SetEditModified(0);
    SetScrollPos(App.EditControl, SB_HORZ, 0, FALSE);
    RefreshAfterEdit();
    UpdateCaretStatus();
    SetLineFormat(DOS);
}
