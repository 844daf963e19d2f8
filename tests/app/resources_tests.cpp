// The resources the program is built with: checked through the loader, the
// way the program itself reaches them.
#include "support/editor_fixture.h"
#include "resource.h"

#include <vector>

static HINSTANCE Module() { return GetModuleHandleA(NULL); }

static std::wstring MenuText(HMENU menu, UINT id)
{
    wchar_t text[128];
    int n = GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
    return std::wstring(text, (size_t)(n > 0 ? n : 0));
}

static std::wstring LoadedString(UINT id)
{
    wchar_t text[256];
    int n = LoadStringW(Module(), id, text, 256);
    return std::wstring(text, (size_t)(n > 0 ? n : 0));
}

TEST(Resources, AcceleratorTableHasTheThirtyEightKeys)
{
    HACCEL table = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_TRUE(table != NULL);
    int count = CopyAcceleratorTableA(table, NULL, 0);
    ASSERT_EQ(count, 38);
    std::vector<ACCEL> entries((size_t)count);
    CopyAcceleratorTableA(table, entries.data(), count);
    int saveKeys = 0;
    int zoomKeys[3] = {0, 0, 0};
    bool ctrlInsertCopies = false;
    for (const ACCEL& entry : entries) {
        EXPECT_TRUE(entry.fVirt & FVIRTKEY);
        if (entry.cmd == IDM_SAVE)
            saveKeys++;
        if (entry.cmd >= IDM_ZOOM_IN && entry.cmd <= IDM_ZOOM_RESET) {
            EXPECT_TRUE(entry.fVirt & FCONTROL) << entry.key;
            zoomKeys[entry.cmd - IDM_ZOOM_IN]++;
        }
        if (entry.key == VK_INSERT && (entry.fVirt & FCONTROL))
            ctrlInsertCopies = entry.cmd == IDM_COPY;
    }
    EXPECT_EQ(saveKeys, 2); // Ctrl+S and F2
    // Plus (main key alone and shifted, keypad), minus and 0 (main key, keypad).
    EXPECT_EQ(zoomKeys[0], 3);
    EXPECT_EQ(zoomKeys[1], 2);
    EXPECT_EQ(zoomKeys[2], 2);
    EXPECT_TRUE(ctrlInsertCopies);
    DestroyAcceleratorTable(table);
}

TEST(Resources, MenusCarryTheirTextsAndStartState)
{
    HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_MAINMENU));
    ASSERT_TRUE(menu != NULL);
    EXPECT_EQ(GetMenuItemCount(menu), 6);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 16);
    EXPECT_EQ(MenuText(menu, IDM_SAVEAS), Utf8ToWide("另存新檔(&A)...\tCtrl+Shift+S"));
    EXPECT_EQ(MenuText(menu, IDM_FORMAT_DOS), L"&DOS/WIN");
    EXPECT_EQ(MenuText(menu, IDM_DELETELINE), Utf8ToWide("刪除一行\tCtrl+Y"));
    // The zoom's own submenu in View, after word wrap.
    HMENU view = GetSubMenu(menu, 2);
    int zoomAt = -1;
    for (int i = 0; i < GetMenuItemCount(view); i++)
        if (GetSubMenu(view, i) && GetMenuItemID(GetSubMenu(view, i), 0) == IDM_ZOOM_IN)
            zoomAt = i;
    ASSERT_GE(zoomAt, 0);
    wchar_t zoomTitle[64] = {0};
    GetMenuStringW(view, (UINT)zoomAt, zoomTitle, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(zoomTitle), Utf8ToWide("縮放(&Z)"));
    EXPECT_EQ(GetMenuItemID(view, zoomAt - 1), (UINT)IDM_WORDWRAP);
    EXPECT_EQ(MenuText(menu, IDM_ZOOM_IN), Utf8ToWide("放大(&I)\tCtrl+Plus"));
    EXPECT_EQ(MenuText(menu, IDM_ZOOM_OUT), Utf8ToWide("縮小(&O)\tCtrl+Minus"));
    EXPECT_EQ(MenuText(menu, IDM_ZOOM_RESET), Utf8ToWide("還原預設縮放(&D)\tCtrl+0"));
    EXPECT_EQ(GetMenuState(menu, IDM_FAV_REMOVE, MF_BYCOMMAND) & MF_GRAYED, (UINT)MF_GRAYED);
    EXPECT_EQ(GetMenuState(menu, IDM_FAV_ADD, MF_BYCOMMAND) & MF_GRAYED, 0u);
    DestroyMenu(menu);

    HMENU links = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_LINKMENU));
    ASSERT_TRUE(links != NULL);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(links, 0)), 4);
    EXPECT_EQ(MenuText(links, IDM_URL_CUT), Utf8ToWide("剪下(&u)"));
    DestroyMenu(links);
}

TEST(Resources, StringTableHoldsMessagesAndTooltips)
{
    EXPECT_EQ(LoadedString(IDS_LINE_TOO_BIG), Utf8ToWide("您輸入的值超過檔案的行數!"));
    EXPECT_EQ(LoadedString(IDS_LINE_INVALID), Utf8ToWide("請輸入有效的行號!"));
    EXPECT_EQ(LoadedString(IDS_SAVE_CHANGES), Utf8ToWide("你要儲存變更嗎?"));
    EXPECT_EQ(LoadedString(IDS_FILE_CHANGED), Utf8ToWide("檔案已被更改，是否重新載入?"));
    const UINT tooltips[] = {IDM_NEW, IDM_OPEN, IDM_SAVE, IDM_PRINT, IDM_CUT, IDM_COPY, IDM_PASTE,
                             IDM_UNDO, IDM_REDO, IDM_FIND, IDM_REPLACE, IDM_WORDWRAP, IDM_EXECUTE,
                             IDM_PROPERTIES};
    for (UINT id : tooltips)
        EXPECT_FALSE(LoadedString(id).empty()) << id;
    EXPECT_EQ(LoadedString(IDM_PROPERTIES), Utf8ToWide("檔案屬性"));
}

TEST(Resources, DialogsAndImagesLoad)
{
    const UINT dialogs[] = {IDD_GOTOLINE, IDD_ABOUT, IDD_OPTIONS_GENERAL, IDD_OPTIONS_EDITOR,
                            IDD_SAVEAS_EXTRA};
    for (UINT id : dialogs)
        EXPECT_TRUE(FindResourceA(Module(), MAKEINTRESOURCEA(id), (LPCSTR)RT_DIALOG) != NULL) << id;
    // The toolbar's 17 images side by side, at each drawn size.
    const UINT strips[] = {IDB_TOOLBAR16, IDB_TOOLBAR20, IDB_TOOLBAR24, IDB_TOOLBAR32};
    const int sizes[] = {16, 20, 24, 32};
    for (int i = 0; i < 4; i++) {
        HBITMAP strip = LoadBitmapA(Module(), MAKEINTRESOURCEA(strips[i]));
        ASSERT_TRUE(strip != NULL) << sizes[i];
        BITMAP info;
        GetObjectA(strip, sizeof(info), &info);
        EXPECT_EQ(info.bmWidth, 17 * sizes[i]);
        EXPECT_EQ(info.bmHeight, sizes[i]);
        DeleteObject(strip);
    }
    EXPECT_TRUE(LoadIconA(Module(), MAKEINTRESOURCEA(IDI_APPICON)) != NULL);
    // An image of its own for every size the window and the tray ask for
    // from 96 to 192 DPI: a stretched one is blurred.
    HRSRC group = FindResourceA(Module(), MAKEINTRESOURCEA(IDI_APPICON), (LPCSTR)RT_GROUP_ICON);
    ASSERT_TRUE(group != NULL);
    PBYTE directory = (PBYTE)LockResource(LoadResource(Module(), group));
    for (int size : {16, 20, 24, 32, 40, 48, 64}) {
        int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        HRSRC image = FindResourceA(Module(), MAKEINTRESOURCEA(id), (LPCSTR)RT_ICON);
        ASSERT_TRUE(image != NULL) << size;
        const BITMAPINFOHEADER* header = (const BITMAPINFOHEADER*)LockResource(LoadResource(Module(), image));
        EXPECT_EQ(size, header->biWidth);
    }
    EXPECT_TRUE(FindResourceA(Module(), MAKEINTRESOURCEA(1), (LPCSTR)RT_MANIFEST) != NULL);
}
