// The Open and Save As dialogs over the one shared OPENFILENAMEA record, so
// folder, name and filter carry over from one dialog to the next.
#include "document/file_dialogs.h"

#include "document/save.h"
#include "ground/app_state.h"
#include "ground/user_prompts.h"
#include "text/file_filter.h"
#include "text/memory.h"
#include "resource.h"

#include <dlgs.h>
#include <string.h>

#define SAVEAS_FLAGS (OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | \
                      OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING)

// Older systems reject the record unless it has their smaller size.
static DWORD DialogRecordSize()
{
    OSVERSIONINFOA version;
    memset(&version, 0, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
        version.dwMajorVersion > 4)
        return sizeof(OPENFILENAMEA);
    return OPENFILENAME_SIZE_VERSION_400A;
}

void BuildOpenFileName(OPENFILENAMEA* request)
{
    memset(request, 0, sizeof(*request));
    request->lStructSize = DialogRecordSize();
    request->hwndOwner = App.MainWindow;
    request->lpstrFilter = FileFilterTable;
    request->nFilterIndex = (DWORD)App.FilterIndex;
    request->lpstrFile = (char*)AllocZeroed(DIALOG_FILE_CHARS);
    if (request->lpstrFile && App.FilePath)
        lstrcpynA(request->lpstrFile, App.FilePath, DIALOG_FILE_CHARS);
    request->nMaxFile = request->lpstrFile ? DIALOG_FILE_CHARS : 0;
    request->Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXTENSIONDIFFERENT;
    request->lpstrDefExt = "txt";
}

int ShowSaveAsDialog()
{
    // The encoding picked in the dialog, which its hook writes through the
    // record; it takes effect only with a save that succeeds.
    int chosenEncoding = App.Encoding;
    OPENFILENAMEA* request = &App.FileDialog;
    request->Flags = SAVEAS_FLAGS;
    request->hInstance = App.Instance;
    request->lpTemplateName = MAKEINTRESOURCEA(IDD_SAVEAS_EXTRA);
    request->lpfnHook = SaveAsHookProc;
    request->lCustData = (LPARAM)&chosenEncoding;
    int shown = Prompts.SaveFile(request);
    request->lCustData = 0;
    if (!shown)
        return 0;
    App.FilterIndex = (int)request->nFilterIndex;
    // A save that fails must not leave the document named after a file
    // that was never written.
    char previous[APP_PATH_SIZE];
    lstrcpynA(previous, App.FilePath, APP_PATH_SIZE);
    lstrcpynA(App.FilePath, request->lpstrFile, APP_PATH_SIZE);
    // Nor in the encoding chosen for it, or the next Save would rewrite the
    // old file in that encoding.
    int previousEncoding = App.Encoding;
    int previousNoMark = App.NoByteOrderMark;
    // A file newly made Unicode gets the mark; one newly made UTF-8 does not.
    if (chosenEncoding != App.Encoding)
        App.NoByteOrderMark = chosenEncoding == ENCODING_UTF8;
    App.Encoding = chosenEncoding;
    int saved = SaveDocument();
    if (!saved) {
        lstrcpynA(App.FilePath, previous, APP_PATH_SIZE);
        App.Encoding = previousEncoding;
        App.NoByteOrderMark = previousNoMark;
    }
    return saved;
}

static UINT_PTR OnSaveAsInit(HWND dialog)
{
    // The hook's window is the template child; the dialog box is its parent.
    SetForegroundWindow(GetParent(dialog));
    // The system builds this template through the ANSI dialog functions,
    // which would turn the Chinese label into question marks on a Western
    // code page; set it again in its wide form.
    SetDlgItemTextW(dialog, IDC_SAVEAS_LABEL, L"編碼(&E):");
    HWND box = GetDlgItem(dialog, IDC_SAVEAS_ENCODING);
    // In the order of TextEncoding: the index is the encoding.
    static const char* const names[] = {"ANSI", "Unicode", "Unicode big endian", "UTF-8"};
    for (const char* name : names)
        SendMessageA(box, CB_ADDSTRING, 0, (LPARAM)name);
    int current = App.Encoding >= ENCODING_ANSI && App.Encoding <= ENCODING_UTF8 ? App.Encoding : 0;
    SendMessageA(box, CB_SETCURSEL, (WPARAM)current, 0);
    return 1;
}

static UINT_PTR OnSaveAsNotify(HWND dialog, const NMHDR* header)
{
    if (header && header->code == CDN_FILEOK) {
        const OPENFILENAMEA* request = ((const OFNOTIFYA*)header)->lpOFN;
        int* chosenEncoding = request ? (int*)request->lCustData : NULL;
        LRESULT chosen = SendDlgItemMessageA(dialog, IDC_SAVEAS_ENCODING, CB_GETCURSEL, 0, 0);
        if (chosenEncoding)
            *chosenEncoding = chosen >= ENCODING_ANSI && chosen <= ENCODING_UTF8 ? (int)chosen : ENCODING_ANSI;
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
    OPENFILENAMEA* request = &App.FileDialog;
    request->nFilterIndex = 0;
    if (request->lpstrFile && App.FilePath)
        lstrcpynA(request->lpstrFile, App.FilePath, (int)request->nMaxFile);
    request->nFilterIndex = (DWORD)FilterIndexForPath(App.FilePath);
}
