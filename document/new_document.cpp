#include "document/new_document.h"

#include "document/background_load.h"
#include "document/save.h"
#include "document/unsaved_changes.h"
#include "editor/own_undo.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "recovery/recovery.h"
#include "views/caret_status.h"
#include "views/edit_window.h"
#include "views/format_status.h"
#include "views/menu_state.h"
#include "views/title_bar.h"
#include "resource.h"

void NewDocument()
{
    if (QuerySaveChanges() == IDCANCEL)
        return;
    EndIncompleteDocument();
    App.HasFile = 0;
    ForgetOwnUndoStep();
    if (!SwapInFreshEditControl())
        SendMessageW(App.EditControl, WM_SETTEXT, 0, (LPARAM)L"");
    App.Encoding = ENCODING_ANSI;
    App.CodePage = GetACP();
    App.TextChanges = 0;
    App.AcceptedChanges = 0;
    App.NoByteOrderMark = 0;
    App.GutterWidth = 0;
    SetEditModified(0);
    SetScrollPos(App.EditControl, SB_HORZ, 0, FALSE);
    UpdateTitle();
    RefreshAfterEdit();
    UpdateCaretStatus();
    SetLineFormat(DOS);
    DiscardRecoveryCopy();
}
