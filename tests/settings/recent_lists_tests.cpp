#include "document/load.h"
#include "ground/app_state.h"
#include "program/commands.h"
#include "settings/recent_lists.h"
#include "support/editor_fixture.h"
#include "views/list_menus.h"
#include "resource.h"

#include <map>
#include <string>
#include <string.h>

std::map<std::string, std::string> IniEntries(const std::string& text);

static HMENU Submenu(int position) { return GetSubMenu(GetMenu(App.MainWindow), position); }

static std::string Label(HMENU menu, int position)
{
    wchar_t text[400];
    text[0] = 0;
    GetMenuStringW(menu, (UINT)position, text, 400, MF_BYPOSITION);
    return Utf8(text);
}

static bool IsSeparator(HMENU menu, int position)
{
    return (GetMenuState(menu, (UINT)position, MF_BYPOSITION) & MF_SEPARATOR) != 0;
}

static bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

static void SendCopyData(ULONG_PTR tag, const void* data, DWORD bytes)
{
    COPYDATASTRUCT message = {tag, bytes, (PVOID)data};
    SendMessageW(App.MainWindow, WM_COPYDATA, 0, (LPARAM)&message);
}

// The older copies' message: the path in the code page (here ASCII).
static void SendFavorite(UINT tag, const std::string& path)
{
    SendCopyData(tag, path.c_str(), (DWORD)path.size() + 1);
}

// This version's message: the path in UTF-16.
static void SendWideFavorite(UINT tag, const std::wstring& path)
{
    SendCopyData(tag, path.c_str(), (DWORD)((path.size() + 1) * sizeof(wchar_t)));
}

class RecentFiles : public EditorFixture {
protected:
    std::string Make(const std::string& folder, const std::string& name)
    {
        WriteBytes(folder + name, name);
        return folder + name;
    }
};

TEST_F(RecentFiles, TenOpenedFilesLeaveTheNineNewestAndComeBackAfterARestart)
{
    std::string folder = MakeScratchFolder("recent");
    for (int i = 0; i < 10; i++)
        ASSERT_EQ(OpenDocument(Wide(Make(folder, "f" + std::to_string(i) + ".txt")).c_str()), 1);

    HMENU file = Submenu(0);
    ASSERT_EQ(GetMenuItemCount(file), 17 + 1 + 9);
    EXPECT_EQ(GetMenuItemID(file, 14), (UINT)IDM_PRINT);
    EXPECT_TRUE(IsSeparator(file, 15));
    for (int k = 0; k < 9; k++) {
        std::string label = Label(file, 16 + k);
        EXPECT_EQ(label.substr(0, 3), "&" + std::to_string(k + 1) + " ");
        EXPECT_TRUE(EndsWith(label, "\\f" + std::to_string(9 - k) + ".txt")) << label;
        EXPECT_EQ(GetMenuItemID(file, 16 + k), (UINT)(IDM_RECENT_FIRST + k));
    }
    EXPECT_TRUE(IsSeparator(file, 25));
    EXPECT_EQ(GetMenuItemID(file, 26), (UINT)IDM_EXIT);

    ASSERT_TRUE(CloseMainWindow());
    std::map<std::string, std::string> ini = IniEntries(ReadIni());
    EXPECT_TRUE(EndsWith(ini["MRU/MRU_FILE1"], "\\f9.txt"));
    EXPECT_TRUE(EndsWith(ini["MRU/MRU_FILE9"], "\\f1.txt"));
    EXPECT_EQ(ini.count("MRU/MRU_FILE10"), 0u);

    StopEditor();
    StartEditor("");
    file = Submenu(0);
    EXPECT_TRUE(EndsWith(Label(file, 16), "\\f9.txt"));
    EXPECT_TRUE(EndsWith(Label(file, 24), "\\f1.txt"));
    // Choosing the last entry opens it and moves it to the top.
    RunCommand(IDM_RECENT_LAST);
    EXPECT_EQ(WindowTitle(), "f1.txt - scrivlet");
    EXPECT_TRUE(EndsWith(Label(file, 16), "\\f1.txt"));
    EXPECT_TRUE(EndsWith(Label(file, 17), "\\f9.txt"));
}

TEST_F(RecentFiles, AnEntryThatFailsToOpenIsDropped)
{
    std::string folder = MakeScratchFolder("recent_gone");
    std::string kept = Make(folder, "kept.txt");
    ASSERT_EQ(OpenDocument(Wide(kept).c_str()), 1);
    std::string gone = Make(folder, "gone.txt");
    ASSERT_EQ(OpenDocument(Wide(gone).c_str()), 1);
    DeleteFileA(gone.c_str());
    // The load asks whether to create it; the recorder answers No.
    RunCommand(IDM_RECENT_FIRST);
    EXPECT_EQ(App.RecentList.Count, 1);
    HMENU file = Submenu(0);
    EXPECT_EQ(GetMenuItemCount(file), 17 + 1 + 1);
    EXPECT_TRUE(EndsWith(Label(file, 16), "\\kept.txt"));
}

TEST_F(RecentFiles, SwitchingOffEmptiesTheMenuAndOnShowsTheCurrentFile)
{
    std::string folder = MakeScratchFolder("recent_switch");
    ASSERT_EQ(OpenDocument(Wide(Make(folder, "one.txt")).c_str()), 1);
    ASSERT_EQ(OpenDocument(Wide(Make(folder, "two.txt")).c_str()), 1);
    HMENU file = Submenu(0);
    Config.RecentFiles = 0;
    SetRecentFilesEnabled(0);
    ShowListMenu(&App.RecentList);
    EXPECT_EQ(GetMenuItemCount(file), 17);
    EXPECT_EQ(GetMenuItemID(file, 16), (UINT)IDM_EXIT);
    EXPECT_EQ(GetMenuItemID(file, 14), (UINT)IDM_PRINT);
    ASSERT_EQ(OpenDocument(Wide(Make(folder, "three.txt")).c_str()), 1);
    EXPECT_EQ(GetMenuItemCount(file), 17);
    Config.RecentFiles = 1;
    SetRecentFilesEnabled(1);
    ShowListMenu(&App.RecentList);
    EXPECT_EQ(GetMenuItemCount(file), 19);
    EXPECT_TRUE(EndsWith(Label(file, 16), "\\three.txt"));
}

TEST_F(RecentFiles, SavingUnderANewNamePutsItOnTop)
{
    std::string folder = MakeScratchFolder("recent_save");
    ASSERT_EQ(OpenDocument(Wide(Make(folder, "old.txt")).c_str()), 1);
    QueueFileDialogAnswer(folder + "new.txt");
    RunCommand(IDM_SAVEAS);
    HMENU file = Submenu(0);
    EXPECT_EQ(GetMenuItemCount(file), 17 + 1 + 2);
    EXPECT_TRUE(EndsWith(Label(file, 16), "\\new.txt"));
    EXPECT_TRUE(EndsWith(Label(file, 17), "\\old.txt"));
}

class Favorites : public EditorFixture {};

TEST_F(Favorites, AddAndRemoveReachTheMenuAndTheIniFile)
{
    std::string folder = MakeScratchFolder("favorites");
    WriteBytes(folder + "fav.txt", "f");
    ASSERT_EQ(OpenDocument(Wide(folder + "fav.txt").c_str()), 1);
    std::string path = Utf8(App.FilePath);

    RunCommand(IDM_FAV_ADD);
    HMENU favorites = Submenu(3);
    ASSERT_EQ(GetMenuItemCount(favorites), 4);
    EXPECT_TRUE(IsSeparator(favorites, 2));
    EXPECT_EQ(GetMenuItemID(favorites, 3), (UINT)IDM_FAV_FIRST);
    EXPECT_TRUE(EndsWith(Label(favorites, 3), "\\fav.txt"));
    EXPECT_EQ(IniEntries(ReadIni())["Favorites/FILE1"], path);

    RunCommand(IDM_FAV_REMOVE);
    EXPECT_EQ(GetMenuItemCount(favorites), 2);
    EXPECT_EQ(App.FavoritesList.Count, 0);
    EXPECT_EQ(IniEntries(ReadIni())["Favorites/FILE1"], "");

    // A closing copy whose lists are already freed leaves the file alone.
    RunCommand(IDM_FAV_ADD);
    FreeLists();
    SendFavorite(App.FavDelMessage, path);
    EXPECT_EQ(IniEntries(ReadIni())["Favorites/FILE1"], path);
}

// Another copy changed the shared list while this one missed its message.
TEST_F(Favorites, AChangeKeepsAnotherCopysFavoriteAndTheMenuCatchesUp)
{
    std::string folder = MakeScratchFolder("favorites-shared");
    WriteBytes(folder + "mine.txt", "m");
    ASSERT_EQ(OpenDocument(Wide(folder + "mine.txt").c_str()), 1);
    std::string mine = Utf8(App.FilePath);
    ASSERT_TRUE(WritePrivateProfileStringA("Favorites", "FILE1", "C:\\theirs.txt", IniPath().c_str()));

    RunCommand(IDM_FAV_ADD);
    std::map<std::string, std::string> ini = IniEntries(ReadIni());
    EXPECT_EQ(ini["Favorites/FILE1"], "C:\\theirs.txt");
    EXPECT_EQ(ini["Favorites/FILE2"], mine);
    EXPECT_EQ(App.FavoritesList.Count, 2);

    // A third copy adds one: this copy's menu shows it when it opens.
    ASSERT_TRUE(WritePrivateProfileStringW(L"Favorites", L"FILE3", L"C:\\third.txt", Wide(IniPath()).c_str()));
    HMENU favorites = Submenu(3);
    SendMessageA(App.MainWindow, WM_INITMENUPOPUP, (WPARAM)favorites, 3);
    ASSERT_EQ(App.FavoritesList.Count, 3);
    EXPECT_STREQ(ListItemAt(&App.FavoritesList, 2), L"C:\\third.txt");
    EXPECT_EQ(GetMenuItemCount(favorites), 3 + 3);
    EXPECT_EQ(Label(favorites, 5), "&3 C:\\third.txt");
}

// Another running copy, as the broadcast sees it: a window of the editor's
// class (registered under another module, so this process can hold both).
static int PeerChanges = 0;
static bool PeerClosesOnFirstChange = false;

static LRESULT CALLBACK PeerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        PeerChanges++;
        if (PeerClosesOnFirstChange) {
            PeerClosesOnFirstChange = false;
            DestroyWindow(window);
        }
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(Favorites, ACopyClosingDuringTheBroadcastCutsNoneOff)
{
    WNDCLASSA peerClass;
    memset(&peerClass, 0, sizeof(peerClass));
    peerClass.lpfnWndProc = PeerProc;
    peerClass.hInstance = GetModuleHandleA("kernel32.dll");
    peerClass.lpszClassName = "scrivletClass";
    ASSERT_TRUE(RegisterClassA(&peerClass));
    HWND peers[3];
    for (HWND& peer : peers)
        peer = CreateWindowExA(0, "scrivletClass", "peer", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL,
                               peerClass.hInstance, NULL);
    PeerChanges = 0;
    PeerClosesOnFirstChange = true;

    std::string folder = MakeScratchFolder("favorites-closing");
    WriteBytes(folder + "fav.txt", "f");
    ASSERT_EQ(OpenDocument(Wide(folder + "fav.txt").c_str()), 1);
    RunCommand(IDM_FAV_ADD);

    EXPECT_EQ(PeerChanges, 3);
    EXPECT_EQ(App.FavoritesList.Count, 1);
    for (HWND peer : peers)
        DestroyWindow(peer);
    UnregisterClassA("scrivletClass", peerClass.hInstance);
}

TEST_F(Favorites, ForgedMessagesAreIgnored)
{
    const std::string path = "C:\\notes\\fav.txt";
    SendFavorite(42, path);                              // unknown tag
    SendCopyData(App.FavAddMessage, "abcde", 5);         // no terminator
    std::string over(MAX_PATH, 'a');                     // 260 characters and the terminator
    SendFavorite(App.FavAddMessage, "C:\\" + over.substr(3));
    SendFavorite(App.FavAddMessage, "");                 // empty path
    SendCopyData(App.FavAddMessage, NULL, 10);           // no data
    SendCopyData(App.FavAddMessage, path.c_str(), 0);    // no length
    EXPECT_EQ(App.FavoritesList.Count, 0);
    EXPECT_EQ(GetMenuItemCount(Submenu(3)), 2);
    EXPECT_EQ(ReadIni().find("Favorites"), std::string::npos);

    // The same path sent properly is taken, and so is the longest a path can be.
    SendFavorite(App.FavAddMessage, path);
    std::string longest = "C:\\" + over.substr(4);
    ASSERT_EQ(longest.size(), (size_t)MAX_PATH - 1);
    SendFavorite(App.FavAddMessage, longest);
    EXPECT_EQ(App.FavoritesList.Count, 2);
    EXPECT_EQ(IniEntries(ReadIni())["Favorites/FILE1"], path);
    SendFavorite(App.FavDelMessage, "c:\\NOTES\\fav.txt");
    EXPECT_EQ(App.FavoritesList.Count, 1);
}

// This version's message carries UTF-16 and is as wary as the older one;
// the older one, from a copy of an earlier version, is read in the code page.
TEST_F(Favorites, WideMessagesAndTheOlderAnsiOneAreTakenForgedOnesIgnored)
{
    const std::wstring name = L"C:\\\x4F1A\x8BAE\\\xD83D\xDE00.txt";
    SendCopyData(App.FavAddWideMessage, name.c_str(), (DWORD)(name.size() * sizeof(wchar_t))); // no terminator
    SendCopyData(App.FavAddWideMessage, L"", sizeof(wchar_t));                                // empty path
    SendCopyData(App.FavAddWideMessage, name.c_str(), 1);                                     // half a unit
    std::wstring over(PATH_CAPACITY, L'a');
    SendWideFavorite(App.FavAddWideMessage, over);
    EXPECT_EQ(App.FavoritesList.Count, 0);

    SendWideFavorite(App.FavAddWideMessage, name);
    ASSERT_EQ(App.FavoritesList.Count, 1);
    EXPECT_TRUE(App.FavoritesList.Items[0] == name);
    EXPECT_EQ(IniEntries(ReadIni())["Favorites/FILE1"], Utf8(name));
    std::wstring longest = L"C:\\" + std::wstring(PATH_CAPACITY - 4, L'b');
    SendWideFavorite(App.FavAddWideMessage, longest);
    EXPECT_EQ(App.FavoritesList.Count, 2);

    // The older message with a name in the code page's bytes.
    wchar_t accented[] = L"C:\\\x00E9t\x00E9.txt";
    char bytes[32];
    BOOL lossy = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, accented, -1, bytes, 32, NULL, &lossy);
    std::wstring older = lossy ? L"C:\\older.txt" : accented;
    if (lossy)
        length = WideCharToMultiByte(CP_ACP, 0, older.c_str(), -1, bytes, 32, NULL, NULL);
    SendCopyData(App.FavAddMessage, bytes, (DWORD)length);
    ASSERT_EQ(App.FavoritesList.Count, 3);
    EXPECT_TRUE(App.FavoritesList.Items[2] == older);
    SendWideFavorite(App.FavDelWideMessage, name);
    EXPECT_EQ(App.FavoritesList.Count, 2);
}

TEST_F(Favorites, ChoosingADeletedFavoriteDropsItFromThisMenuOnly)
{
    std::string folder = MakeScratchFolder("favorites_gone");
    WriteBytes(folder + "gone.txt", "g");
    ASSERT_EQ(OpenDocument(Wide(folder + "gone.txt").c_str()), 1);
    RunCommand(IDM_FAV_ADD);
    RunCommand(IDM_NEW);
    DeleteFileA((folder + "gone.txt").c_str());
    std::string before = ReadIni();
    RunCommand(IDM_FAV_FIRST);
    EXPECT_EQ(App.FavoritesList.Count, 0);
    EXPECT_EQ(GetMenuItemCount(Submenu(3)), 2);
    EXPECT_EQ(ReadIni(), before);
}

TEST_F(Favorites, CancellingTheSaveQuestionKeepsTheFavorite)
{
    std::string folder = MakeScratchFolder("favorites_cancel");
    WriteBytes(folder + "kept.txt", "k");
    ASSERT_EQ(OpenDocument(Wide(folder + "kept.txt").c_str()), 1);
    RunCommand(IDM_FAV_ADD);
    RunCommand(IDM_NEW);
    TypeText("unsaved");
    QueueAnswer(IDCANCEL);
    RunCommand(IDM_FAV_FIRST);
    EXPECT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(EditText(), "unsaved");
    EXPECT_EQ(App.FavoritesList.Count, 1);
    EXPECT_EQ(GetMenuItemCount(Submenu(3)), 4);
}

// A value longer than any path is not read cut short; the list goes on.
class OverlongFavorite : public EditorFixture {
protected:
    std::string IniContents() override
    {
        return "[Favorites]\r\nFILE1=C:\\" + std::string(PATH_CAPACITY, 'a') + "\r\nFILE2=C:\\ok.txt\r\n";
    }
};

TEST_F(OverlongFavorite, IsSkipped)
{
    ASSERT_EQ(App.FavoritesList.Count, 1);
    EXPECT_STREQ(ListItemAt(&App.FavoritesList, 0), L"C:\\ok.txt");
}

// Two hundred favorites: entries 199 and 200 cannot take ids 1000 and 1001.
class FullFavorites : public EditorFixture {
protected:
    std::string IniContents() override
    {
        folder_ = MakeScratchFolder("favorites_full");
        WriteBytes(folder_ + "fav199.txt", "199");
        WriteBytes(folder_ + "fav200.txt", "200");
        std::string ini = "[Favorites]\r\n";
        for (int n = 1; n <= 198; n++)
            ini += "FILE" + std::to_string(n) + "=C:\\elsewhere\\" + std::to_string(n) + ".txt\r\n";
        ini += "FILE199=" + folder_ + "fav199.txt\r\n";
        ini += "FILE200=" + folder_ + "fav200.txt\r\n";
        return ini;
    }
    std::string folder_;
};

TEST_F(FullFavorites, TheLastTwoAreReachableAndTheListTakesNoMore)
{
    HMENU favorites = Submenu(3);
    ASSERT_EQ(App.FavoritesList.Count, 200);
    ASSERT_EQ(GetMenuItemCount(favorites), 3 + 200);
    EXPECT_EQ(Label(favorites, 3 + 8).substr(0, 3), "&9 ");
    EXPECT_EQ(Label(favorites, 3 + 9), "  C:\\elsewhere\\10.txt");
    EXPECT_EQ(GetMenuItemID(favorites, 3 + 197), (UINT)IDM_FAV_LAST);
    EXPECT_EQ(GetMenuItemID(favorites, 3 + 198), (UINT)IDM_FAV_OVERFLOW_FIRST);
    EXPECT_EQ(GetMenuItemID(favorites, 3 + 199), (UINT)IDM_FAV_OVERFLOW_LAST);
    EXPECT_EQ(GetMenuState(favorites, IDM_OPTIONS, MF_BYCOMMAND), (UINT)-1);
    EXPECT_EQ(GetMenuState(favorites, IDM_TOTRAY, MF_BYCOMMAND), (UINT)-1);

    RunCommand(IDM_FAV_OVERFLOW_LAST);
    EXPECT_EQ(WindowTitle(), "fav200.txt - scrivlet");
    RunCommand(IDM_FAV_OVERFLOW_FIRST);
    EXPECT_EQ(WindowTitle(), "fav199.txt - scrivlet");

    WriteBytes(folder_ + "other.txt", "o");
    ASSERT_EQ(OpenDocument(Wide(folder_ + "other.txt").c_str()), 1);
    std::string before = ReadIni();
    ClearPromptLog();
    RunCommand(IDM_FAV_ADD);
    ASSERT_EQ(RecordedPrompts().size(), 1u);
    EXPECT_EQ(RecordedPrompts()[0].Text, L"The favorites list is full.");
    // Another copy's add finds no free slot either.
    SendWideFavorite(App.FavAddWideMessage, App.FilePath);
    EXPECT_EQ(App.FavoritesList.Count, 200);
    EXPECT_EQ(GetMenuItemCount(favorites), 3 + 200);
    EXPECT_EQ(ReadIni(), before);
}
