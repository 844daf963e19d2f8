// Saving: the new text goes to a temporary file beside the document and only
// replaces it once it is completely on disk, so a failed write (disk full,
// device error) never leaves the old file half overwritten.
#include "document/save.h"

#include "document/device_refusal.h"
#include "ground/app_state.h"
#include "ground/file_stat.h"
#include "ground/edit_control.h"
#include "ground/status_text.h"
#include "ground/user_prompts.h"
#include "recovery/recovery.h"
#include "settings/recent_encodings.h"
#include "settings/recent_lists.h"
#include "text/code_page_names.h"
#include "text/cr_to_lf.h"
#include "text/encode_text.h"
#include "text/extended_path.h"
#include "text/memory.h"
#include "text/stream_decoder.h"
#include "views/format_status.h"
#include "views/list_menus.h"
#include "views/menu_state.h"
#include "views/title_bar.h"
#include "resource.h"

#include <commctrl.h>
#include <richedit.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <string>

SaveWriteFunction SaveWriter = WriteFile;
SaveReplaceFunction SaveReplacer = ReplaceFileW;
SaveMoveFunction SaveMover = MoveFileExW;

enum { SAVE_DONE, SAVE_OPEN_FAILED, SAVE_WRITE_FAILED, SAVE_KEPT_ASIDE };

// What is known of the file about to be written.
struct SaveTarget {
    int Exists;
    int Linked; // more than one name leads to it: only writing into it keeps them all
    int Held;   // another program holds it open without delete sharing: no replace
};

// Attributes a replaced file keeps; read-only never gets this far.
#define KEPT_ATTRIBUTES (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)

// Largest piece handed to one write; a whole text fits in one on 32-bit.
#define WRITE_PIECE 0x40000000u

static const wchar_t* SkipLongPathPrefix(const wchar_t* path)
{
    if (wcsncmp(path, L"\\\\?\\UNC\\", 8) == 0)
        return path + 8; // compared with a UNC name past its two backslashes
    if (wcsncmp(path, L"\\\\?\\", 4) == 0)
        return path + 4;
    return path;
}

// True when the open file has other names than path: hard links, or path
// leads to it through a symbolic link. Replacing it would split them.
static int IsLinkedFile(HANDLE file, const wchar_t* path)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file, &info) && info.nNumberOfLinks > 1)
        return 1;
    std::wstring extended = ExtendedLengthPath(path);
    DWORD attributes = GetFileAttributesW(extended.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return 1;
    std::wstring real(PATH_CAPACITY + 8, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, &real[0], (DWORD)real.size(), FILE_NAME_NORMALIZED);
    if (length == 0 || length >= real.size())
        return 0;
    std::wstring named(PATH_CAPACITY + 8, L'\0');
    length = GetFullPathNameW(path, (DWORD)named.size(), &named[0], NULL);
    if (length == 0 || length >= named.size())
        return 0;
    std::wstring longNamed(PATH_CAPACITY + 8, L'\0');
    length = GetLongPathNameW(ExtendedLengthPath(named.c_str()).c_str(), &longNamed[0], (DWORD)longNamed.size());
    const wchar_t* compared = length > 0 && length < longNamed.size() ? SkipLongPathPrefix(longNamed.c_str())
                                                                     : named.c_str();
    if (wcsncmp(real.c_str(), L"\\\\?\\UNC\\", 8) == 0 && wcsncmp(compared, L"\\\\", 2) == 0)
        compared += 2;
    return lstrcmpiW(SkipLongPathPrefix(real.c_str()), compared) != 0;
}

// Fails for a read-only file, missing rights, a file another program holds
// for writing, or a bad path; a missing file in an existing folder is fine.
static int CanWriteTarget(const wchar_t* name, SaveTarget* target)
{
    target->Exists = 0;
    target->Linked = 0;
    target->Held = 0;
    // Asked first and outright: the file is about to be replaced, not
    // opened, and a replace would not stop at the read-only mark.
    std::wstring extended = ExtendedLengthPath(name);
    const wchar_t* path = extended.c_str();
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        target->Exists = 1;
        target->Linked = IsLinkedFile(file, name);
        CloseHandle(file);
        // A replace would be refused, and may leave files of its own behind.
        HANDLE deletable = CreateFileW(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
        if (deletable == INVALID_HANDLE_VALUE)
            target->Held = 1;
        else
            CloseHandle(deletable);
        return 1;
    }
    return GetLastError() == ERROR_FILE_NOT_FOUND;
}

// The control's text as UTF-16 (line breaks by the document's format) into
// block at offset prefix; returns the number of units copied.
static size_t FetchUnicodeText(unsigned char* block, size_t prefix, size_t units)
{
    GETTEXTEX* request = &App.TextRequest;
    request->cb = (DWORD)((units + 1) * 2);
    request->flags = App.LineFormat == DOS ? GT_USECRLF : GT_DEFAULT;
    request->codepage = 1200;
    request->lpDefaultChar = NULL;
    request->lpUsedDefChar = NULL;
    LRESULT copied = SendMessageW(App.EditControl, EM_GETTEXTEX, (WPARAM)request, (LPARAM)(block + prefix));
    return copied > 0 && (size_t)copied <= units ? (size_t)copied : 0;
}

// The control's text in the document's encoding and line endings, its mark
// first unless the file came without one. Returns the block (NULL when it
// cannot be had), the number of bytes to write, and in *changes what the
// encoding could not hold.
static unsigned char* FetchDocumentBytes(size_t* bytes, int* changes)
{
    *changes = 0;
    int characters = GetTextLength(GTL_USECRLF);
    size_t units = characters > 0 ? (size_t)characters : 0;
    if (units >= MAXDWORD / 4)
        return NULL;
    unsigned char* wide = (unsigned char*)AllocZeroed((units + 1) * 2);
    if (!wide)
        return NULL;
    units = FetchUnicodeText(wide, 0, units);
    if (App.LineFormat == UNIX)
        ReplaceCRWithLF(wide, units * 2, 1);
    unsigned char* block = EncodeText((const wchar_t*)wide, units, App.Encoding, !App.NoByteOrderMark,
                                      App.CodePage, bytes, changes);
    FreeBlock(wide);
    return block;
}

static int WriteAll(HANDLE file, const unsigned char* data, size_t bytes)
{
    while (bytes > 0) {
        DWORD piece = bytes > WRITE_PIECE ? WRITE_PIECE : (DWORD)bytes;
        DWORD written = 0;
        if (!SaveWriter(file, data, piece, &written, NULL))
            return 0;
        if (written != piece) {
            SetLastError(ERROR_DISK_FULL);
            return 0;
        }
        data += piece;
        bytes -= piece;
    }
    return 1;
}

static void CloseFileHandle()
{
    if (App.FileHandle != INVALID_HANDLE_VALUE)
        CloseHandle(App.FileHandle);
    App.FileHandle = INVALID_HANDLE_VALUE;
}

// Creates an empty uniquely named file ("scrXXXX.tmp", as the system's own
// temporary names) in the document's folder, a folder of any length; 0 when
// the folder takes no new file.
static int CreateTempBeside(const wchar_t* path, wchar_t* temp)
{
    const wchar_t* slash = wcsrchr(path, L'\\');
    const wchar_t* other = wcsrchr(path, L'/');
    if (other > slash)
        slash = other;
    size_t folder = slash ? (size_t)(slash - path) + 1 : 0;
    if (folder + 16 >= PATH_CAPACITY)
        return 0;
    unsigned int start = GetTickCount() & 0xFFFF;
    for (unsigned int tried = 0; tried < 0x10000; tried++) {
        lstrcpynW(temp, path, (int)folder + 1);
        _snwprintf(temp + folder, 16, L"scr%04X.tmp", (start + tried) & 0xFFFF);
        HANDLE file = CreateFileW(ExtendedLengthPath(temp).c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return 1;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return 0;
    }
    return 0;
}

// The old way, kept for folders that take no temporary file.
static int WriteInPlace(const wchar_t* path, const unsigned char* data, size_t bytes)
{
    App.FileHandle = CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (App.FileHandle == INVALID_HANDLE_VALUE)
        return SAVE_OPEN_FAILED;
    int written = WriteAll(App.FileHandle, data, bytes) && SetEndOfFile(App.FileHandle);
    DWORD error = GetLastError();
    CloseFileHandle();
    SetLastError(error);
    return written ? SAVE_DONE : SAVE_WRITE_FAILED;
}

static int MoveIntoPlace(const wchar_t* tempName, const wchar_t* name, int existed)
{
    std::wstring temp = ExtendedLengthPath(tempName);
    std::wstring path = ExtendedLengthPath(name);
    if (existed) {
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesW(temp.c_str(), (attributes & KEPT_ATTRIBUTES) | FILE_ATTRIBUTE_ARCHIVE);
        if (SaveReplacer(path.c_str(), temp.c_str(), NULL, REPLACEFILE_IGNORE_MERGE_ERRORS, NULL, NULL))
            return 1;
    }
    return SaveMover(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// The complete new text is in temp; puts it in the document's place.
static int PutTempInPlace(const wchar_t* path, int existed, const wchar_t* temp,
                          const unsigned char* data, size_t bytes)
{
    if (MoveIntoPlace(temp, path, existed))
        return SAVE_DONE;
    DWORD error = GetLastError();
    if (!existed || GetFileAttributesW(ExtendedLengthPath(path).c_str()) != INVALID_FILE_ATTRIBUTES) {
        DeleteFileW(ExtendedLengthPath(temp).c_str());
        // The old file is untouched: the replace was refused (the file is
        // held open without delete sharing, or the folder refuses
        // renames), yet the file itself may still be written.
        if (existed)
            return WriteInPlace(path, data, bytes);
        SetLastError(error);
        return SAVE_WRITE_FAILED;
    }
    // The old file is gone and the temporary file holds the only copy of
    // the text: keep it, wherever it ends up.
    if (SaveMover(ExtendedLengthPath(temp).c_str(), ExtendedLengthPath(path).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return SAVE_DONE;
    return SAVE_KEPT_ASIDE;
}

static int WriteThroughTemp(const wchar_t* path, int existed, const wchar_t* temp,
                            const unsigned char* data, size_t bytes)
{
    App.FileHandle = CreateFileW(ExtendedLengthPath(temp).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (App.FileHandle == INVALID_HANDLE_VALUE) {
        // The folder takes no new file (some systems report a temporary
        // name they never created): write into the file itself.
        DeleteFileW(ExtendedLengthPath(temp).c_str());
        return WriteInPlace(path, data, bytes);
    }
    int written = WriteAll(App.FileHandle, data, bytes) && FlushFileBuffers(App.FileHandle);
    DWORD error = GetLastError();
    if (!CloseHandle(App.FileHandle) && written) {
        written = 0;
        error = GetLastError();
    }
    App.FileHandle = INVALID_HANDLE_VALUE;
    if (!written) {
        DeleteFileW(ExtendedLengthPath(temp).c_str());
        SetLastError(error);
        return SAVE_WRITE_FAILED;
    }
    return PutTempInPlace(path, existed, temp, data, bytes);
}

// temp receives the name of a file that holds the text when SAVE_KEPT_ASIDE
// is returned.
static int WriteDocumentFile(const wchar_t* path, const SaveTarget* target, const unsigned char* data,
                             size_t bytes, wchar_t* temp)
{
    if (target->Linked || target->Held || !CreateTempBeside(path, temp))
        return WriteInPlace(path, data, bytes);
    return WriteThroughTemp(path, target->Exists, temp, data, bytes);
}

// Asks once per kind of change whether a save may change what the user
// did not edit; returns 0 when the user keeps the old file.
static int AcceptChanges(int changes)
{
    int asked = changes & ~App.AcceptedChanges;
    if (!asked)
        return 1;
    wchar_t text[1024];
    _snwprintf(text, 1024, L"Saving may change this file beyond your edits:%ls%ls%ls%ls%ls%ls%ls\n\nSave anyway?",
               asked & CHANGE_INCOMPLETE ? L"\n- the part of the file that was not loaded will be lost" : L"",
               asked & CHANGE_NUL ? L"\n- it holds NUL characters, which the editor may not keep" : L"",
               asked & CHANGE_LINE_ENDINGS ? L"\n- mixed or lone line endings will all become " : L"",
               asked & CHANGE_LINE_ENDINGS ? LineFormatName(App.LineFormat) : L"",
               asked & CHANGE_ODD_BYTE ? L"\n- the odd byte at the end will be dropped" : L"",
               asked & CHANGE_UNMAPPED ? L"\n- bytes that are not text in the file's encoding will be changed" : L"",
               asked & CHANGE_DEFAULT_CHAR ? L"\n- characters that the file's encoding cannot hold will be replaced" : L"");
    text[1023] = 0;
    if (AskUserText(App.MainWindow, text, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
        return 0;
    App.AcceptedChanges |= asked;
    return 1;
}

// An ANSI document holding characters the code page lacks: asks whether
// to save it as UTF-8 instead, which keeps them. Returns 0 on Cancel; on Yes
// the document becomes UTF-8 and *data its new bytes.
static int OfferUtf8Instead(unsigned char** data, size_t* bytes, int* changes)
{
    if (App.Encoding != ENCODING_ANSI || !(*changes & CHANGE_DEFAULT_CHAR) ||
        (App.AcceptedChanges & CHANGE_DEFAULT_CHAR))
        return 1;
    // The system code page is "ANSI", as ever; another is named.
    wchar_t name[48] = L"ANSI";
    if (App.CodePage != GetACP())
        CodePageName(App.CodePage, name, 48);
    wchar_t text[512];
    _snwprintf(text, 512,
               L"Some characters of this document cannot be saved as %ls and would be "
               L"written as \"?\".\n\nSave it as UTF-8 instead?\n\n"
               L"Yes: save as UTF-8, keeping every character.\n"
               L"No: save as %ls with \"?\" in their place.",
               name, name);
    text[511] = 0;
    int answer = AskUserText(App.MainWindow, text, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDNO)
        App.AcceptedChanges |= CHANGE_DEFAULT_CHAR;
    if (answer != IDYES)
        return answer == IDNO;
    // SaveDocument puts the encoding back should the save not happen.
    App.Encoding = ENCODING_UTF8;
    App.NoByteOrderMark = 1;
    FreeBlock(*data);
    *data = FetchDocumentBytes(bytes, changes);
    if (*data)
        return 1;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    ShowSystemError(L"Error during save.");
    return 0;
}

static void ReportKeptAside(const wchar_t* path, const wchar_t* temp)
{
    std::wstring text = L"\"" + std::wstring(path) + L"\" could not be replaced. Your text is saved in \"" +
                        temp + L"\".";
    ShowError(text.c_str());
}

static int SaveFailed(const wchar_t* message)
{
    ShowSystemError(message);
    SetStatusText(STATUS_MESSAGE, L"");
    return 0;
}

static void FinishSave()
{
    SetEditModified(0);
    App.HasFile = 1;
    // The file now exists: the title takes the file system's spelling.
    UpdateTitle();
    RefreshAfterEdit();
    SendMessageW(App.ToolBar, TB_ENABLEBUTTON, IDM_SAVE, MAKELPARAM(FALSE, 0));
    SetStatusText(STATUS_MESSAGE, L"");
    StatFile(App.FilePath, &App.FileStat);
    NoteRecentFile(App.FilePath);
    ShowListMenu(&App.RecentList);
    UpdateRememberedEncoding(App.FilePath, App.Encoding, App.CodePage);
    DiscardRecoveryCopy();
}

static int WriteDocument()
{
    const wchar_t* path = App.FilePath ? App.FilePath : L"";
    if (RefuseDeviceName(path))
        return 0;
    SaveTarget target;
    if (!CanWriteTarget(path, &target)) {
        ShowSystemError(L"Can't open file for writing!");
        return 0;
    }
    SetStatusText(STATUS_MESSAGE, L"Saving File...");
    size_t bytes = 0;
    int changes = 0;
    unsigned char* data = FetchDocumentBytes(&bytes, &changes);
    if (!data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return SaveFailed(L"Error during save.");
    }
    if (!OfferUtf8Instead(&data, &bytes, &changes) || !AcceptChanges(App.TextChanges | changes)) {
        FreeBlock(data);
        SetStatusText(STATUS_MESSAGE, L"");
        return 0;
    }
    PathBuffer temp;
    temp[0] = 0;
    int result = WriteDocumentFile(path, &target, data, bytes, temp);
    DWORD error = GetLastError();
    FreeBlock(data);
    SetLastError(error);
    if (result == SAVE_OPEN_FAILED)
        return SaveFailed(L"Can't open file for writing!");
    if (result == SAVE_WRITE_FAILED)
        return SaveFailed(L"Error during save.");
    if (result == SAVE_KEPT_ASIDE) {
        SetStatusText(STATUS_MESSAGE, L"");
        ReportKeptAside(path, temp);
        return 0;
    }
    FinishSave();
    return 1;
}

int SaveDocument()
{
    // A save that does not happen leaves the document in its encoding.
    int encoding = App.Encoding;
    UINT codePage = App.CodePage;
    int noMark = App.NoByteOrderMark;
    int saved = WriteDocument();
    if (!saved) {
        App.Encoding = encoding;
        App.CodePage = codePage;
        App.NoByteOrderMark = noMark;
    }
    ShowFormatStatus();
    return saved;
}
