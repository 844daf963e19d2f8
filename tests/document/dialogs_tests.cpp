#include "text/encoding_choices.h"
#include "document/file_dialogs.h"
#include "document/load.h"
#include "document/save.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "ground/user_prompts.h"
#include "support/editor_fixture.h"
#include "text/file_filter.h"
#include "text/memory.h"
#include "resource.h"

#include <dlgs.h>
#include <string.h>
#include <string>

// A stand-in for the Save As dialog that runs the program's own template and
// hook the way the system dialog does: WM_INITDIALOG, a resize, then the
// user's encoding choice and OK (CDN_FILEOK).
struct HookRun {
    int ChoiceIndex;      // encoding to pick, -1 keeps the preselection
    const char* FileName; // answer, NULL for Cancel
    DWORD FilterIndex;
    // What the hook showed and did
    int ItemCount;
    wchar_t Items[ENCODING_CHOICE_COUNT][32];
    int Preselected;
    RECT TypeBox;         // screen rectangle of the stand-in cmb1
    RECT BoxBefore;
    RECT BoxAfter;
    wchar_t Label[32];
};
static HookRun hookRun;

static BOOL RunSaveAsThroughHook(OPENFILENAMEW* request)
{
    HWND parent = CreateWindowExW(0, L"STATIC", L"Save As", WS_POPUP, 100, 100, 600, 400, NULL, NULL,
                                  GetModuleHandleW(NULL), NULL);
    HWND typeBox = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 37, 250,
                                   321, 200, parent, (HMENU)(INT_PTR)cmb1, GetModuleHandleW(NULL), NULL);
    HWND child = CreateDialogParamW(request->hInstance, request->lpTemplateName, parent,
                                    reinterpret_cast<DLGPROC>(request->lpfnHook), (LPARAM)request);
    if (!child) {
        DestroyWindow(parent);
        return FALSE;
    }
    SetWindowPos(child, NULL, 0, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND box = GetDlgItem(child, IDC_SAVEAS_ENCODING);
    hookRun.ItemCount = (int)SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < ENCODING_CHOICE_COUNT && i < hookRun.ItemCount; i++)
        SendMessageW(box, CB_GETLBTEXT, (WPARAM)i, (LPARAM)hookRun.Items[i]);
    hookRun.Preselected = (int)SendMessageW(box, CB_GETCURSEL, 0, 0);
    GetDlgItemTextW(child, IDC_SAVEAS_LABEL, hookRun.Label, 32);
    GetWindowRect(typeBox, &hookRun.TypeBox);
    GetWindowRect(box, &hookRun.BoxBefore);
    SendMessageW(child, WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 40));
    GetWindowRect(box, &hookRun.BoxAfter);

    BOOL ok = hookRun.FileName != NULL;
    if (ok) {
        if (hookRun.ChoiceIndex >= 0)
            SendMessageW(box, CB_SETCURSEL, (WPARAM)hookRun.ChoiceIndex, 0);
        OFNOTIFYW notify;
        memset(&notify, 0, sizeof(notify));
        notify.hdr.hwndFrom = parent;
        notify.hdr.code = CDN_FILEOK;
        notify.lpOFN = request;
        SendMessageW(child, WM_NOTIFY, 0, (LPARAM)&notify);
        lstrcpynW(request->lpstrFile, Wide(hookRun.FileName).c_str(), (int)request->nMaxFile);
        request->nFilterIndex = hookRun.FilterIndex;
    }
    DestroyWindow(parent);
    return ok;
}

class DialogsTest : public EditorFixture {
protected:
    std::string folder_;

    void SetUp() override
    {
        EditorFixture::SetUp();
        folder_ = MakeScratchFolder("dialogs");
        memset(&hookRun, 0, sizeof(hookRun));
        hookRun.ChoiceIndex = -1;
        hookRun.FilterIndex = 1;
    }

    void TearDown() override
    {
        InstallRecordingPrompts();
        EditorFixture::TearDown();
    }

    void UseHookDialog() { Prompts.SaveFile = RunSaveAsThroughHook; }
};

TEST_F(DialogsTest, SharedRecordAfterStartUp)
{
    const OPENFILENAMEW& record = App.FileDialog;
    EXPECT_EQ(record.lStructSize, sizeof(OPENFILENAMEW));
    EXPECT_EQ(record.hwndOwner, App.MainWindow);
    EXPECT_EQ(record.lpstrFilter, FileFilterTable);
    EXPECT_EQ(record.nFilterIndex, 1u);
    ASSERT_TRUE(record.lpstrFile != NULL);
    EXPECT_STREQ(record.lpstrFile, L"");
    EXPECT_EQ(record.nMaxFile, (DWORD)DIALOG_FILE_CHARS);
    EXPECT_EQ(record.Flags, 0xC04u);
    EXPECT_STREQ(record.lpstrDefExt, L"txt");
    EXPECT_TRUE(record.lpfnHook == NULL);

    // A second record, as Insert File builds one, starts with the remembered
    // filter, the current path and a buffer of its own.
    App.FilterIndex = 4;
    lstrcpynW(App.FilePath, L"C:\\docs\\a.htm", PATH_CAPACITY);
    OPENFILENAMEW other;
    BuildOpenFileName(&other);
    EXPECT_EQ(other.nFilterIndex, 4u);
    EXPECT_STREQ(other.lpstrFile, L"C:\\docs\\a.htm");
    EXPECT_NE(other.lpstrFile, record.lpstrFile);
    FreeBlock(other.lpstrFile);
}

TEST_F(DialogsTest, OpenDialogFlagsFollowTheRecentFilesSetting)
{
    Config.RecentFiles = 1;
    App.FilterIndex = 1;
    QueueFileDialogAnswer("");
    SendMessageW(App.MainWindow, WM_COMMAND, IDM_OPEN, 0);
    Pump();
    EXPECT_EQ(FileDialogCalls(), 1);
    EXPECT_EQ(App.FileDialog.Flags, 0x1804u);

    Config.RecentFiles = 0;
    App.FileDialog.nFilterIndex = 7;
    QueueFileDialogAnswer("");
    SendMessageW(App.MainWindow, WM_COMMAND, IDM_OPEN, 0);
    Pump();
    EXPECT_EQ(App.FileDialog.Flags, 0x2001804u);
    // Cancel remembers nothing.
    EXPECT_EQ(App.FilterIndex, 1);
}

TEST_F(DialogsTest, CancelledSaveAsChangesNothing)
{
    SetEditText("text");
    App.Encoding = 1;
    lstrcpynW(App.FilePath, L"C:\\before.txt", PATH_CAPACITY);
    QueueFileDialogAnswer("");
    EXPECT_EQ(ShowSaveAsDialog(), 0);
    EXPECT_EQ(App.FileDialog.Flags, 0x880866u);
    EXPECT_EQ(App.FileDialog.hInstance, App.Instance);
    EXPECT_TRUE(App.FileDialog.lpTemplateName == MAKEINTRESOURCEW(IDD_SAVEAS_EXTRA));
    EXPECT_TRUE(App.FileDialog.lpfnHook == SaveAsHookProc);
    EXPECT_EQ(App.Encoding, 1);
    EXPECT_STREQ(App.FilePath, L"C:\\before.txt");
    EXPECT_EQ(App.HasFile, 0);
    EXPECT_TRUE(RecordedPrompts().empty());
}

TEST_F(DialogsTest, HookOffersEveryEncodingAndPreselectsTheCurrentOne)
{
    UseHookDialog();
    App.Encoding = 0;
    EXPECT_EQ(ShowSaveAsDialog(), 0);
    // The encoding menus' entries, in their order.
    static const char* const labels[] = {"系統 ANSI", "Big5", "GB18030", "GBK", "Shift-JIS", "EUC-KR",
                                         "西歐 (1252)", "UTF-8", "UTF-8 (含 BOM)", "UTF-16 LE", "UTF-16 BE"};
    ASSERT_EQ(hookRun.ItemCount, 11);
    for (int i = 0; i < 11; i++)
        EXPECT_EQ(std::wstring(hookRun.Items[i]), Utf8ToWide(labels[i])) << i;
    EXPECT_EQ(hookRun.Preselected, 0);
    struct { int Encoding, NoMark, Preselected; } cases[] = {
        {ENCODING_UTF16BE, 0, 10}, {ENCODING_UTF8, 0, 8}, {ENCODING_UTF8, 1, 7}, {ENCODING_UTF16LE, 1, 9}};
    for (const auto& c : cases) {
        App.Encoding = c.Encoding;
        App.NoByteOrderMark = c.NoMark;
        EXPECT_EQ(ShowSaveAsDialog(), 0);
        EXPECT_EQ(hookRun.Preselected, c.Preselected) << c.Encoding << " " << c.NoMark;
    }
    App.NoByteOrderMark = 0;
    // A code page the list lacks preselects nothing, and Cancel keeps it.
    App.Encoding = ENCODING_ANSI;
    App.CodePage = 1250;
    EXPECT_EQ(ShowSaveAsDialog(), 0);
    EXPECT_EQ(hookRun.Preselected, -1);
    EXPECT_EQ(App.CodePage, 1250u);
    // The label survives the ANSI dialog functions whatever the code page.
    EXPECT_EQ(std::wstring(hookRun.Label), Utf8ToWide("編碼(&E):"));

    App.Encoding = 1;
    EXPECT_EQ(ShowSaveAsDialog(), 0);
    EXPECT_EQ(hookRun.Preselected, 9);
    // Cancel leaves the encoding alone.
    EXPECT_EQ(App.Encoding, 1);

    // The box lines up with the file-type box and keeps its own top and height.
    EXPECT_EQ(hookRun.BoxAfter.left, hookRun.TypeBox.left);
    EXPECT_EQ(hookRun.BoxAfter.right, hookRun.TypeBox.right);
    EXPECT_EQ(hookRun.BoxAfter.top, hookRun.BoxBefore.top);
    EXPECT_EQ(hookRun.BoxAfter.bottom, hookRun.BoxBefore.bottom);
}

TEST_F(DialogsTest, SaveAsSwitchesTheEncoding)
{
    UseHookDialog();
    SetEditText("a\rb");
    std::string unicodePath = folder_ + "unicode.txt";
    App.Encoding = 0;
    hookRun.ChoiceIndex = 9;
    hookRun.FileName = unicodePath.c_str();
    hookRun.FilterIndex = 3;
    EXPECT_EQ(ShowSaveAsDialog(), 1);
    EXPECT_EQ(App.Encoding, 1);
    EXPECT_EQ(ReadBytes(unicodePath), std::string("\xFF\xFE" "a\0\r\0\n\0b\0", 10));
    EXPECT_EQ(App.FilterIndex, 3);
    EXPECT_EQ(Utf8(App.FilePath), unicodePath);
    EXPECT_EQ(App.HasFile, 1);
    EXPECT_EQ(WindowTitle(), "unicode.txt - scrivlet");

    // The Unicode document shows "Unicode" preselected; choosing ANSI saves ANSI.
    std::string ansiPath = folder_ + "ansi.txt";
    hookRun.ChoiceIndex = 0;
    hookRun.FileName = ansiPath.c_str();
    EXPECT_EQ(ShowSaveAsDialog(), 1);
    EXPECT_EQ(hookRun.Preselected, 9);
    EXPECT_EQ(App.Encoding, 0);
    EXPECT_EQ(ReadBytes(ansiPath), "a\r\nb");
    EXPECT_EQ(WindowTitle(), "ansi.txt - scrivlet");
    // Not modified, still written.
    EXPECT_EQ(ReadBytes(unicodePath).size(), 10u);
}

TEST_F(DialogsTest, SaveAsUtf8AndBigEndian)
{
    UseHookDialog();
    SetEditText("a\rb");
    const wchar_t chinese[] = {0x4E2D, 0};
    SetEditSelection(3, 3);
    SETTEXTEX paste = {ST_SELECTION, 1200};
    SendMessageW(App.EditControl, EM_SETTEXTEX, (WPARAM)&paste, (LPARAM)chinese);
    std::string utf8Path = folder_ + "utf8.txt";
    App.Encoding = 0;
    hookRun.ChoiceIndex = 7;
    hookRun.FileName = utf8Path.c_str();
    // No mark for a document newly made UTF-8, and no question: nothing is lost.
    EXPECT_EQ(ShowSaveAsDialog(), 1);
    EXPECT_EQ(ReadBytes(utf8Path), "a\r\nb\xE4\xB8\xAD");
    EXPECT_EQ(App.Encoding, 3);
    EXPECT_EQ(StatusText(1), L"WIN UTF-8");
    EXPECT_TRUE(RecordedPrompts().empty());

    std::string bigPath = folder_ + "big.txt";
    hookRun.ChoiceIndex = 10;
    hookRun.FileName = bigPath.c_str();
    EXPECT_EQ(ShowSaveAsDialog(), 1);
    EXPECT_EQ(hookRun.Preselected, 7);
    EXPECT_EQ(ReadBytes(bigPath), std::string("\xFE\xFF\0a\0\r\0\n\0b\x4E\x2D", 12));
    EXPECT_EQ(StatusText(1), L"WIN UTF-16 BE");

    // Back to UTF-8: still without a mark; opened with one, it keeps it.
    hookRun.ChoiceIndex = 7;
    hookRun.FileName = utf8Path.c_str();
    EXPECT_EQ(ShowSaveAsDialog(), 1);
    EXPECT_EQ(ReadBytes(utf8Path), "a\r\nb\xE4\xB8\xAD");
    WriteBytes(utf8Path, "\xEF\xBB\xBFx\xE4\xB8\xAD");
    ASSERT_EQ(OpenDocument(Wide(utf8Path).c_str()), 1);
    EXPECT_EQ(StatusText(1), L"WIN UTF-8 BOM");
    std::string copyPath = folder_ + "copy.txt";
    hookRun.ChoiceIndex = -1;
    hookRun.FileName = copyPath.c_str();
    EXPECT_EQ(ShowSaveAsDialog(), 1);
    EXPECT_EQ(hookRun.Preselected, 8);
    EXPECT_EQ(ReadBytes(copyPath), "\xEF\xBB\xBFx\xE4\xB8\xAD");
}

TEST_F(DialogsTest, FailedSaveAsKeepsTheDocumentsOwnName)
{
    std::string current = folder_ + "current.txt";
    WriteBytes(current, "current");
    lstrcpynW(App.FilePath, Wide(current).c_str(), PATH_CAPACITY);
    App.HasFile = 1;
    TypeText("edit");
    std::string locked = folder_ + "locked.txt";
    WriteBytes(locked, "locked");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);

    QueueFileDialogAnswer(locked);
    EXPECT_EQ(ShowSaveAsDialog(), 0);
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Caption, L"Can't open file for writing!");
    EXPECT_EQ(Utf8(App.FilePath), current);
    EXPECT_EQ(App.HasFile, 1);
    EXPECT_EQ(ReadBytes(locked), "locked");
    EXPECT_TRUE(IsEditModified());
    // The next dialog starts where the user left this one.
    EXPECT_EQ(Utf8(App.FileDialog.lpstrFile), locked);

    // Nor the encoding picked in it: the next Save writes the old file as it was.
    UseHookDialog();
    hookRun.ChoiceIndex = 9;
    hookRun.FileName = locked.c_str();
    ClearPromptLog();
    EXPECT_EQ(ShowSaveAsDialog(), 0);
    EXPECT_EQ(App.Encoding, 0);
    ASSERT_EQ(SaveDocument(), 1);
    EXPECT_EQ(ReadBytes(current), "edit");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DialogsTest, FilterFollowsTheLoadedFile)
{
    App.FileDialog.nFilterIndex = 5;
    lstrcpynW(App.FilePath, L"C:\\web\\page.php", PATH_CAPACITY);
    SelectFilterByExtension();
    EXPECT_EQ(App.FileDialog.nFilterIndex, 8u);
    EXPECT_STREQ(App.FileDialog.lpstrFile, L"C:\\web\\page.php");

    lstrcpynW(App.FilePath, L"C:\\my.dir\\readme", PATH_CAPACITY);
    SelectFilterByExtension();
    EXPECT_EQ(App.FileDialog.nFilterIndex, 0u);
    EXPECT_STREQ(App.FileDialog.lpstrFile, L"C:\\my.dir\\readme");
}
