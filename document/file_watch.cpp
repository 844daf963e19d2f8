// The watch for outside changes to the document's file.
#include "document/file_watch.h"

#include "document/new_document.h"
#include "ground/app_state.h"
#include "ground/file_stat.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "views/menu_state.h"
#include "resource.h"

#define FILE_CHECK_DELAY_MS 500

void ArmFileCheck()
{
    // Setting the same timer again restarts it.
    if (App.HasFile && App.FileCheckArmed && Config.FileChange)
        SetTimer(App.MainWindow, FILE_CHECK_TIMER, FILE_CHECK_DELAY_MS, NULL);
}

// The file is gone: the text stays as an unsaved, untitled document.
static void KeepAsUntitled()
{
    App.HasFile = 0;
    SetEditModified(1);
    RefreshAfterEdit();
}

static void CheckFile()
{
    struct _stat now;
    // A folder put in the file's place is no file to reload: it counts as gone.
    if (StatFile(App.FilePath, &now) == 0 && !(now.st_mode & _S_IFDIR)) {
        if (now.st_mtime == App.FileStat.st_mtime)
            return;
        // The reload runs from the loop; it asks about unsaved changes first.
        if (AskUser(App.MainWindow, IDS_FILE_CHANGED, MB_YESNO | MB_ICONQUESTION) == IDYES)
            PostMessageW(App.MainWindow, WM_COMMAND, IDM_RELOAD, 0);
        return;
    }
    if (AskUser(App.MainWindow, IDS_FILE_DELETED, MB_YESNO | MB_ICONQUESTION) == IDYES)
        KeepAsUntitled();
    else
        NewDocument();
}

void OnFileCheckTimer(UINT_PTR timerId)
{
    if (timerId != FILE_CHECK_TIMER)
        return;
    if (!App.HasFile) {
        KillTimer(App.MainWindow, FILE_CHECK_TIMER);
        return;
    }
    // While a question is open its own loop brings more timer and focus
    // messages: they find the check disarmed, so it asks only once.
    if (!App.FilePath || !App.FilePath[0] || !App.FileCheckArmed)
        return;
    App.FileCheckArmed = 0;
    CheckFile();
    App.FileCheckArmed = 1;
    KillTimer(App.MainWindow, FILE_CHECK_TIMER);
}
