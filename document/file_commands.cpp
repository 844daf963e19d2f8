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
#include "resource.h"

#include <richedit.h>
#include <shellapi.h>
#include <string.h>

#include <string>

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
    SendMessageW(App.EditControl, EM_EXGETSEL, 0, (LPARAM)&selection);
    // The load asks about unsaved changes first, so no edit is lost unasked.
    std::wstring path = App.FilePath;
    OpenDocument(path.c_str());
    SelectWhenLoaded(selection);
}

// The shell opens no name of MAX_PATH characters or more: told so, the
// document stays as it is.
static int RefuseNameTooLongForShell()
{
    if (lstrlenW(App.FilePath) < MAX_PATH)
        return 0;
    AskUser(App.MainWindow, IDS_NAME_TOO_LONG_FOR_SHELL, MB_OK | MB_ICONEXCLAMATION);
    return 1;
}

void ShowFileProperties()
{
    if (!App.HasFile || RefuseNameTooLongForShell())
        return;
    SHELLEXECUTEINFOW request;
    memset(&request, 0, sizeof(request));
    request.cbSize = sizeof(request);
    request.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.hwnd = App.MainWindow;
    request.lpVerb = L"properties";
    request.lpFile = App.FilePath;
    Prompts.ShellExecuteEx(&request);
    if (request.hProcess)
        CloseHandle(request.hProcess);
}

void ExecuteDocument()
{
    // An untitled document may still hold the name of a deleted file.
    if (!App.HasFile)
        return;
    if (RefuseNameTooLongForShell() || QuerySaveChanges() == IDCANCEL)
        return;
    OpenWithShell(App.MainWindow, App.FilePath);
}

void InsertFileAtSelection()
{
    OPENFILENAMEW request;
    BuildOpenFileName(&request);
    request.lpstrTitle = L"Insert File";
    // The chosen file's text goes in read in its own encoding; the document
    // keeps its own name, encoding and line format.
    if (request.lpstrFile && Prompts.OpenFile(&request))
        LoadFile(request.lpstrFile, LOAD_INSERT_MODE);
    else
        ReportDialogNameTooLong();
    FreeBlock(request.lpstrFile);
}

#define OPEN_FLAGS (OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)

void ShowOpenDialog()
{
    OPENFILENAMEW* request = &App.FileDialog;
    request->Flags = OPEN_FLAGS;
    if (!Config.RecentFiles)
        request->Flags |= OFN_DONTADDTORECENT;
    if (!Prompts.OpenFile(request)) {
        ReportDialogNameTooLong();
        return;
    }
    App.FilterIndex = (int)request->nFilterIndex;
    // A copy: the load rewrites the dialog's file buffer with the full path.
    std::wstring path = request->lpstrFile;
    OpenDocument(path.c_str());
}
