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
    char Items[4][32];
    int Preselected;
    RECT TypeBox;         // screen rectangle of the stand-in cmb1
    RECT BoxBefore;
    RECT BoxAfter;
    wchar_t Label[32];
};
static HookRun hookRun;

static BOOL RunSaveAsThroughHook(OPENFILENAMEA* request)
{
    HWND parent = CreateWindowExA(0, "STATIC", "Save As", WS_POPUP, 100, 100, 600, 400, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    HWND typeBox = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 37, 250,
                                   321, 200, parent, (HMENU)(INT_PTR)cmb1, GetModuleHandleA(NULL), NULL);
    HWND child = CreateDialogParamA(request->hInstance, request->lpTemplateName, parent,
                                    reinterpret_cast<DLGPROC>(request->lpfnHook), (LPARAM)request);
    if (!child) {
        DestroyWindow(parent);
        return FALSE;
    }
    SetWindowPos(child, NULL, 0, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND box = GetDlgItem(child, IDC_SAVEAS_ENCODING);
    hookRun.ItemCount = (int)SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < 4 && i < hookRun.ItemCount; i++)
        SendMessageA(box, CB_GETLBTEXT, (WPARAM)i, (LPARAM)hookRun.Items[i]);
    hookRun.Preselected = (int)SendMessageA(box, CB_GETCURSEL, 0, 0);
    GetDlgItemTextW(child, IDC_SAVEAS_LABEL, hookRun.Label, 32);
    GetWindowRect(typeBox, &hookRun.TypeBox);
    GetWindowRect(box, &hookRun.BoxBefore);
    SendMessageA(child, WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 40));
    GetWindowRect(box, &hookRun.BoxAfter);

    BOOL ok = hookRun.FileName != NULL;
    if (ok) {
        if (hookRun.ChoiceIndex >= 0)
            SendMessageA(box, CB_SETCURSEL, (WPARAM)hookRun.ChoiceIndex, 0);
        OFNOTIFYA notify;
        memset(&notify, 0, sizeof(notify));
        notify.hdr.hwndFrom = parent;
        notify.hdr.code = CDN_FILEOK;
        notify.lpOFN = request;
        SendMessageA(child, WM_NOTIFY, 0, (LPARAM)&notify);
        lstrcpynA(request->lpstrFile, hookRun.FileName, (int)request->nMaxFile);
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
    const OPENFILENAMEA& record = App.FileDialog;
    EXPECT_EQ(record.lStructSize, sizeof(OPENFILENAMEA));
    EXPECT_EQ(record.hwndOwner, App.MainWindow);
    EXPECT_EQ(record.lpstrFilter, FileFilterTable);
    EXPECT_EQ(record.nFilterIndex, 1u);
    ASSERT_TRUE(record.lpstrFile != NULL);
    EXPECT_STREQ(record.lpstrFile, "");
    EXPECT_EQ(record.nMaxFile, 260u);
    EXPECT_EQ(record.Flags, 0xC04u);
    EXPECT_STREQ(record.lpstrDefExt, "txt");
    EXPECT_TRUE(record.lpfnHook == NULL);

    // A second record, as Insert File builds one, starts with the remembered
    // filter, the current path and a buffer of its own.
    App.FilterIndex = 4;
    lstrcpynA(App.FilePath, "C:\\docs\\a.htm", APP_PATH_SIZE);
    OPENFILENAMEA other;
    BuildOpenFileName(&other);
    EXPECT_EQ(other.nFilterIndex, 4u);
    EXPECT_STREQ(other.lpstrFile, "C:\\docs\\a.htm");
    EXPECT_NE(other.lpstrFile, record.lpstrFile);
    FreeBlock(other.lpstrFile);
}

TEST_F(DialogsTest, OpenDialogFlagsFollowTheRecentFilesSetting)
{
    Config.RecentFiles = 1;
    App.FilterIndex = 1;
    QueueFileDialogAnswer("");
    SendMessageA(App.MainWindow, WM_COMMAND, IDM_OPEN, 0);
    Pump();
    EXPECT_EQ(FileDialogCalls(), 1);
    EXPECT_EQ(App.FileDialog.Flags, 0x1804u);

    Config.RecentFiles = 0;
    App.FileDialog.nFilterIndex = 7;
    QueueFileDialogAnswer("");
    SendMessageA(App.MainWindow, WM_COMMAND, IDM_OPEN, 0);
    Pump();
    EXPECT_EQ(App.FileDialog.Flags, 0x2001804u);
    // Cancel remembers nothing.
    EXPECT_EQ(App.FilterIndex, 1);
}

TEST_F(DialogsTest, CancelledSaveAsChangesNothing)
{
    SetEditText("text");
    App.Encoding = 1;
    lstrcpynA(App.FilePath, "C:\\before.txt", APP_PATH_SIZE);
    QueueFileDialogAnswer("");
    EXPECT_EQ(ShowSaveAsDialog(), 0);
    EXPECT_EQ(App.FileDialog.Flags, 0x880866u);
    EXPECT_EQ(App.FileDialog.hInstance, App.Instance);
    EXPECT_TRUE(App.FileDialog.lpTemplateName == MAKEINTRESOURCEA(IDD_SAVEAS_EXTRA));
    EXPECT_TRUE(App.FileDialog.lpfnHook == SaveAsHookProc);
    EXPECT_EQ(App.Encoding, 1);
    EXPECT_STREQ(App.FilePath, "C:\\before.txt");
    EXPECT_EQ(App.HasFile, 0);
    EXPECT_TRUE(RecordedPrompts().empty());
}

TEST_F(DialogsTest, HookOffersEveryEncodingAndPreselectsTheCurrentOne)
{
    UseHookDialog();
    App.Encoding = 0;
    EXPECT_EQ(ShowSaveAsDialog(), 0);
    EXPECT_EQ(hookRun.ItemCount, 4);
    EXPECT_STREQ(hookRun.Items[0], "ANSI");
    EXPECT_STREQ(hookRun.Items[1], "Unicode");
    EXPECT_STREQ(hookRun.Items[2], "Unicode big endian");
    EXPECT_STREQ(hookRun.Items[3], "UTF-8");
    EXPECT_EQ(hookRun.Preselected, 0);
    for (int encoding = 2; encoding <= 3; encoding++) {
        App.Encoding = encoding;
        EXPECT_EQ(ShowSaveAsDialog(), 0);
        EXPECT_EQ(hookRun.Preselected, encoding);
    }
    // The label survives the ANSI dialog functions whatever the code page.
    EXPECT_EQ(std::wstring(hookRun.Label), Utf8ToWide("編碼(&E):"));

    App.Encoding = 1;
    EXPECT_EQ(ShowSaveAsDialog(), 0);
    EXPECT_EQ(hookRun.Preselected, 1);
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
    hookRun.ChoiceIndex = 1;
    hookRun.FileName = unicodePath.c_str();
    hookRun.FilterIndex = 3;
    EXPECT_EQ(ShowSaveAsDialog(), 1);
    EXPECT_EQ(App.Encoding, 1);
    EXPECT_EQ(ReadBytes(unicodePath), std::string("\xFF\xFE" "a\0\r\0\n\0b\0", 10));
    EXPECT_EQ(App.FilterIndex, 3);
    EXPECT_STREQ(App.FilePath, unicodePath.c_str());
    EXPECT_EQ(App.HasFile, 1);
    EXPECT_EQ(WindowTitle(), "unicode.txt - scrivlet");

    // The Unicode document shows "Unicode" preselected; choosing ANSI saves ANSI.
    std::string ansiPath = folder_ + "ansi.txt";
    hookRun.ChoiceIndex = 0;
    hookRun.FileName = ansiPath.c_str();
    EXPECT_EQ(ShowSaveAsDialog(), 1);
    EXPECT_EQ(hookRun.Preselected, 1);
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
    hookRun.ChoiceIndex = 3;
    hookRun.FileName = utf8Path.c_str();
    // No mark for a document newly made UTF-8, and no question: nothing is lost.
    EXPECT_EQ(ShowSaveAsDialog(), 1);
    EXPECT_EQ(ReadBytes(utf8Path), "a\r\nb\xE4\xB8\xAD");
    EXPECT_EQ(App.Encoding, 3);
    EXPECT_EQ(StatusText(1), L"WIN UTF-8");
    EXPECT_TRUE(RecordedPrompts().empty());

    std::string bigPath = folder_ + "big.txt";
    hookRun.ChoiceIndex = 2;
    hookRun.FileName = bigPath.c_str();
    EXPECT_EQ(ShowSaveAsDialog(), 1);
    EXPECT_EQ(hookRun.Preselected, 3);
    EXPECT_EQ(ReadBytes(bigPath), std::string("\xFE\xFF\0a\0\r\0\n\0b\x4E\x2D", 12));
    EXPECT_EQ(StatusText(1), L"WIN Unicode BE");

    // Back to UTF-8: still without a mark; opened with one, it keeps it.
    hookRun.ChoiceIndex = 3;
    hookRun.FileName = utf8Path.c_str();
    EXPECT_EQ(ShowSaveAsDialog(), 1);
    EXPECT_EQ(ReadBytes(utf8Path), "a\r\nb\xE4\xB8\xAD");
    WriteBytes(utf8Path, "\xEF\xBB\xBFx\xE4\xB8\xAD");
    ASSERT_EQ(OpenDocument(utf8Path.c_str()), 1);
    EXPECT_EQ(StatusText(1), L"WIN UTF-8 BOM");
    std::string copyPath = folder_ + "copy.txt";
    hookRun.FileName = copyPath.c_str();
    EXPECT_EQ(ShowSaveAsDialog(), 1);
    EXPECT_EQ(ReadBytes(copyPath), "\xEF\xBB\xBFx\xE4\xB8\xAD");
}

TEST_F(DialogsTest, FailedSaveAsKeepsTheDocumentsOwnName)
{
    std::string current = folder_ + "current.txt";
    WriteBytes(current, "current");
    lstrcpynA(App.FilePath, current.c_str(), APP_PATH_SIZE);
    App.HasFile = 1;
    TypeText("edit");
    std::string locked = folder_ + "locked.txt";
    WriteBytes(locked, "locked");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);

    QueueFileDialogAnswer(locked);
    EXPECT_EQ(ShowSaveAsDialog(), 0);
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Caption, L"Can't open file for writing!");
    EXPECT_STREQ(App.FilePath, current.c_str());
    EXPECT_EQ(App.HasFile, 1);
    EXPECT_EQ(ReadBytes(locked), "locked");
    EXPECT_TRUE(IsEditModified());
    // The next dialog starts where the user left this one.
    EXPECT_STREQ(App.FileDialog.lpstrFile, locked.c_str());

    // Nor the encoding picked in it: the next Save writes the old file as it was.
    UseHookDialog();
    hookRun.ChoiceIndex = 1;
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
    lstrcpynA(App.FilePath, "C:\\web\\page.php", APP_PATH_SIZE);
    SelectFilterByExtension();
    EXPECT_EQ(App.FileDialog.nFilterIndex, 8u);
    EXPECT_STREQ(App.FileDialog.lpstrFile, "C:\\web\\page.php");

    lstrcpynA(App.FilePath, "C:\\my.dir\\readme", APP_PATH_SIZE);
    SelectFilterByExtension();
    EXPECT_EQ(App.FileDialog.nFilterIndex, 0u);
    EXPECT_STREQ(App.FileDialog.lpstrFile, "C:\\my.dir\\readme");
}
