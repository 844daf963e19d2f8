#include "document/unsaved_changes.h"

#include "document/background_load.h"
#include "document/file_dialogs.h"
#include "document/save.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "recovery/recovery.h"
#include "views/caret_status.h"
#include "views/edit_window.h"
#include "views/format_status.h"
#include "views/menu_state.h"
#include "resource.h"

int QuerySaveChanges()
{
    if (!IsEditModified())
        return IDNO;
    // A modified but empty untitled document holds nothing worth a question.
    if (!App.HasFile && GetTextLength(GTL_DEFAULT) <= 0)
        return IDNO;
    int answer = AskUser(App.MainWindow, IDS_SAVE_CHANGES, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDNO) {
        DiscardRecoveryCopy();
        return IDNO;
    }
    if (answer != IDYES)
        return IDCANCEL;
    // Text edited while a file streams in is saved as what it is: incomplete,
    // which the save asks about first.
    StopBackgroundLoad();
    int saved = App.HasFile ? SaveDocument() : ShowSaveAsDialog();
    return saved ? IDYES : IDCANCEL;
}
