// The favorites commands: this copy changes the shared list, then every
// other running copy hears of it through WM_COPYDATA.
#include "program/favorites_commands.h"

#include "ground/app_state.h"
#include "ground/user_prompts.h"
#include "settings/favorites.h"
#include "views/list_menus.h"

#include <string>

#define MAX_COPIES 1024

struct CopyWindows {
    HWND Windows[MAX_COPIES];
    int Count;
};

static BOOL CALLBACK CollectCopy(HWND window, LPARAM found)
{
    CopyWindows* copies = (CopyWindows*)found;
    wchar_t className[16];
    if (GetClassNameW(window, className, 16) && lstrcmpW(className, L"scrivletClass") == 0)
        copies->Windows[copies->Count++] = window;
    return copies->Count < MAX_COPIES;
}

void BroadcastFavoriteChange(FavoriteChange change, const wchar_t* path)
{
    // This copy changes the shared list; each other copy makes the same
    // change on the message, which finds it made and reads what it missed.
    std::wstring copy = path;
    ChangeSharedFavorites(change, copy.c_str());
    ShowListMenu(&App.FavoritesList);
    // The path goes as UTF-16 under the wide tags, which earlier versions do
    // not know: such a copy reads the change from the INI file when it next
    // shows its favorites menu, as one too busy to take the message does.
    COPYDATASTRUCT data;
    data.dwData = change == FAVORITE_REMOVE ? App.FavDelWideMessage : App.FavAddWideMessage;
    data.cbData = (DWORD)((copy.size() + 1) * sizeof(wchar_t));
    data.lpData = &copy[0];
    // The copies are listed before any is asked: walking from window to
    // window would stop at one that closes while it takes the change, and
    // the copies after it would never hear of it.
    CopyWindows copies;
    copies.Count = 0;
    EnumWindows(CollectCopy, (LPARAM)&copies);
    for (int i = 0; i < copies.Count; i++) {
        if (copies.Windows[i] == App.MainWindow)
            continue;
        // A copy that hangs costs at most the time limit; one that is
        // already known to hang costs nothing. It catches up later.
        DWORD_PTR result = 0;
        SendMessageTimeoutW(copies.Windows[i], WM_COPYDATA, (WPARAM)App.MainWindow, (LPARAM)&data,
                            SMTO_NORMAL | SMTO_ABORTIFHUNG, PEER_TIMEOUT_MS, &result);
    }
}

void AddCurrentToFavorites()
{
    if (!App.HasFile)
        return;
    CatchUpFavorites();
    ShowListMenu(&App.FavoritesList);
    if (App.FavoritesList.Count >= App.FavoritesList.Capacity) {
        ShowError(L"The favorites list is full.");
        return;
    }
    BroadcastFavoriteChange(FAVORITE_ADD, App.FilePath);
}

void RemoveCurrentFromFavorites()
{
    if (App.HasFile)
        BroadcastFavoriteChange(FAVORITE_REMOVE, App.FilePath);
}
