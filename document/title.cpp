// The unsaved-changes question and New.
#include "document/title.h"

#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "views/edit_window.h"
#include "ground/helpers.h"
#include "views/menu_state.h"
#include "document/background_load.h"
#include "document/file_dialogs.h"
#include "views/format_status.h"
#include "document/recovery.h"
#include "document/save.h"
#include "views/caret_status.h"
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

void NewDocument()
{
    if (QuerySaveChanges() == IDCANCEL)
        return;
    EndIncompleteDocument();
    App.HasFile = 0;
    ForgetOwnUndoStep();
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
    DiscardRecoveryCopy();
}
