#include "document/file_commands.h"

#include "document/background_load.h"
#include "document/file_dialogs.h"
#include "document/load.h"
#include "document/unsaved_changes.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/shell_open.h"
#include "ground/user_prompts.h"
#include "text/memory.h"
#include "text/stream_decoder.h"
#include "views/format_status.h"
#include "views/menu_state.h"

#include <richedit.h>
#include <shellapi.h>
#include <string.h>

void ChangeLineFormat(int format)
{
    if (format == App.LineFormat)
        return;
    // The text stays; the next save writes the new line endings. Chosen
    // here, mixed endings becoming uniform needs no question at the save.
    SetLineFormat(format);
    App.AcceptedChanges |= CHANGE_LINE_ENDINGS;
    SetEditModified(1);
    RefreshAfterEdit();
}

void ReloadDocument()
{
    if (!App.HasFile)
        return;
    CHARRANGE selection;
    SendMessageA(App.EditControl, EM_EXGETSEL, 0, (LPARAM)&selection);
    // The load asks about unsaved changes first, so no edit is lost unasked.
    char path[APP_PATH_SIZE];
    lstrcpynA(path, App.FilePath, APP_PATH_SIZE);
    OpenDocument(path);
    SelectWhenLoaded(selection);
}

void ShowFileProperties()
{
    if (!App.HasFile)
        return;
    SHELLEXECUTEINFOA request;
    memset(&request, 0, sizeof(request));
    request.cbSize = sizeof(request);
    request.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.hwnd = App.MainWindow;
    request.lpVerb = "properties";
    request.lpFile = App.FilePath;
    ShellExecuteExA(&request);
    if (request.hProcess)
        CloseHandle(request.hProcess);
}

void ExecuteDocument()
{
    // An untitled document may still hold the name of a deleted file.
    if (!App.HasFile)
        return;
    if (QuerySaveChanges() == IDCANCEL)
        return;
    OpenWithShell(App.MainWindow, App.FilePath);
}

void InsertFileAtSelection()
{
    OPENFILENAMEA request;
    BuildOpenFileName(&request);
    request.lpstrTitle = "Insert File";
    // The chosen file's text goes in as ANSI; the document keeps its own
    // name, encoding and line format.
    if (request.lpstrFile && Prompts.OpenFile(&request))
        LoadFile(request.lpstrFile, LOAD_INSERT_MODE);
    FreeBlock(request.lpstrFile);
}

#define OPEN_FLAGS (OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)

void ShowOpenDialog()
{
    OPENFILENAMEA* request = &App.FileDialog;
    request->Flags = OPEN_FLAGS;
    if (!Config.RecentFiles)
        request->Flags |= OFN_DONTADDTORECENT;
    if (!Prompts.OpenFile(request))
        return;
    App.FilterIndex = (int)request->nFilterIndex;
    // A copy: the load rewrites the dialog's file buffer with the full path.
    char path[DIALOG_FILE_CHARS];
    lstrcpynA(path, request->lpstrFile, DIALOG_FILE_CHARS);
    OpenDocument(path);
}
