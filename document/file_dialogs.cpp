// The Open and Save As dialogs over the one shared OPENFILENAMEW record, so
// folder, name and filter carry over from one dialog to the next.
#include "document/file_dialogs.h"

#include "document/save.h"
#include "ground/app_state.h"
#include "ground/document_encoding.h"
#include "ground/user_prompts.h"
#include "text/encoding_choices.h"
#include "text/file_filter.h"
#include "text/memory.h"
#include "resource.h"

#include <cderr.h>
#include <dlgs.h>
#include <string.h>

#include <string>

#define SAVEAS_FLAGS (OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | \
                      OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING)

// Older systems reject the record unless it has their smaller size.
static DWORD DialogRecordSize()
{
    OSVERSIONINFOW version;
    memset(&version, 0, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
        version.dwMajorVersion > 4)
        return sizeof(OPENFILENAMEW);
    return OPENFILENAME_SIZE_VERSION_400W;
}

void BuildOpenFileName(OPENFILENAMEW* request)
{
    memset(request, 0, sizeof(*request));
    request->lStructSize = DialogRecordSize();
    request->hwndOwner = App.MainWindow;
    request->lpstrFilter = FileFilterTable;
    request->nFilterIndex = (DWORD)App.FilterIndex;
    request->lpstrFile = (wchar_t*)AllocZeroed(DIALOG_FILE_CHARS * sizeof(wchar_t));
    if (request->lpstrFile && App.FilePath)
        lstrcpynW(request->lpstrFile, App.FilePath, DIALOG_FILE_CHARS);
    request->nMaxFile = request->lpstrFile ? DIALOG_FILE_CHARS : 0;
    request->Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXTENSIONDIFFERENT;
    request->lpstrDefExt = L"txt";
}

int ShowSaveAsDialog()
{
    // The encoding choice picked in the dialog, which its hook writes
    // through the record; it takes effect only with a save that succeeds.
    int current = CurrentEncodingChoice(App.Encoding, App.CodePage, App.NoByteOrderMark, GetACP());
    int chosenEncoding = current;
    OPENFILENAMEW* request = &App.FileDialog;
    request->Flags = SAVEAS_FLAGS;
    request->hInstance = App.Instance;
    request->lpTemplateName = MAKEINTRESOURCEW(IDD_SAVEAS_EXTRA);
    request->lpfnHook = SaveAsHookProc;
    request->lCustData = (LPARAM)&chosenEncoding;
    int shown = Prompts.SaveFile(request);
    request->lCustData = 0;
    if (!shown) {
        ReportDialogNameTooLong();
        return 0;
    }
    App.FilterIndex = (int)request->nFilterIndex;
    // A save that fails must not leave the document named after a file
    // that was never written.
    std::wstring previous = App.FilePath;
    lstrcpynW(App.FilePath, request->lpstrFile, PATH_CAPACITY);
    // Nor in the encoding chosen for it, or the next Save would rewrite the
    // old file in that encoding.
    int previousEncoding = App.Encoding;
    UINT previousCodePage = App.CodePage;
    int previousNoMark = App.NoByteOrderMark;
    int previousAccepted = App.AcceptedChanges;
    // The document's own entry keeps it as it is (a UTF-16 file without
    // its mark stays so); another takes that entry's encoding and mark.
    if (chosenEncoding >= 0 && chosenEncoding != current)
        TakeEncodingChoice(chosenEncoding);
    int saved = SaveDocument();
    if (!saved) {
        lstrcpynW(App.FilePath, previous.c_str(), PATH_CAPACITY);
        App.Encoding = previousEncoding;
        App.CodePage = previousCodePage;
        App.NoByteOrderMark = previousNoMark;
        App.AcceptedChanges = previousAccepted;
    }
    return saved;
}

void ReportDialogNameTooLong()
{
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
        ShowError(L"The file name is too long.");
}

static UINT_PTR OnSaveAsInit(HWND dialog)
{
    // The hook's window is the template child; the dialog box is its parent.
    SetForegroundWindow(GetParent(dialog));
    HWND box = GetDlgItem(dialog, IDC_SAVEAS_ENCODING);
    // The encoding menus' entries, in their order: the index is the choice.
    for (const EncodingChoice& choice : EncodingChoices)
        SendMessageW(box, CB_ADDSTRING, 0, (LPARAM)choice.Label);
    // A code page not in the list shows none, and stays unless one is picked.
    int current = CurrentEncodingChoice(App.Encoding, App.CodePage, App.NoByteOrderMark, GetACP());
    SendMessageW(box, CB_SETCURSEL, (WPARAM)current, 0);
    return 1;
}

static UINT_PTR OnSaveAsNotify(HWND dialog, const NMHDR* header)
{
    if (header && header->code == CDN_FILEOK) {
        const OPENFILENAMEW* request = ((const OFNOTIFYW*)header)->lpOFN;
        int* chosenEncoding = request ? (int*)request->lCustData : NULL;
        LRESULT chosen = SendDlgItemMessageW(dialog, IDC_SAVEAS_ENCODING, CB_GETCURSEL, 0, 0);
        if (chosenEncoding && chosen >= 0 && chosen < ENCODING_CHOICE_COUNT)
            *chosenEncoding = (int)chosen;
    }
    return 0;
}

// Lines the encoding box up with the dialog's own file-type box.
static UINT_PTR OnSaveAsSize(HWND dialog)
{
    HWND box = GetDlgItem(dialog, IDC_SAVEAS_ENCODING);
    HWND typeBox = GetDlgItem(GetParent(dialog), cmb1);
    if (!box || !typeBox)
        return 0;
    RECT typeRect;
    RECT boxRect;
    GetWindowRect(typeBox, &typeRect);
    GetWindowRect(box, &boxRect);
    RECT target = {typeRect.left, boxRect.top, typeRect.right, boxRect.bottom};
    MapWindowPoints(NULL, dialog, (POINT*)&target, 2);
    MoveWindow(box, target.left, target.top, target.right - target.left, target.bottom - target.top, TRUE);
    return 0;
}

UINT_PTR CALLBACK SaveAsHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    switch (message) {
    case WM_INITDIALOG: return OnSaveAsInit(dialog);
    case WM_NOTIFY: return OnSaveAsNotify(dialog, (const NMHDR*)lParam);
    case WM_SIZE: return OnSaveAsSize(dialog);
    }
    return 0;
}

void SelectFilterByExtension()
{
    OPENFILENAMEW* request = &App.FileDialog;
    request->nFilterIndex = 0;
    if (request->lpstrFile && App.FilePath)
        lstrcpynW(request->lpstrFile, App.FilePath, (int)request->nMaxFile);
    request->nFilterIndex = (DWORD)FilterIndexForPath(App.FilePath);
}
