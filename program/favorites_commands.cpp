// The favorites commands: this copy changes the shared list, then every
// other running copy hears of it through WM_COPYDATA.
#include "program/favorites_commands.h"

#include "ground/app_state.h"
#include "ground/user_prompts.h"
#include "settings/favorites.h"
#include "views/list_menus.h"

#define MAX_COPIES 1024

struct CopyWindows {
    HWND Windows[MAX_COPIES];
    int Count;
};

static BOOL CALLBACK CollectCopy(HWND window, LPARAM found)
{
    CopyWindows* copies = (CopyWindows*)found;
    char className[16];
    if (GetClassNameA(window, className, (int)sizeof(className)) &&
        lstrcmpA(className, "scrivletClass") == 0)
        copies->Windows[copies->Count++] = window;
    return copies->Count < MAX_COPIES;
}

void BroadcastFavoriteChange(UINT tag, const char* path)
{
    // This copy changes the shared list; each other copy makes the same
    // change on the message, which finds it made and reads what it missed.
    char copy[APP_PATH_SIZE];
    lstrcpynA(copy, path, APP_PATH_SIZE);
    ChangeSharedFavorites(tag, copy);
    ShowListMenu(&App.FavoritesList);
    COPYDATASTRUCT data;
    data.dwData = tag;
    data.cbData = (DWORD)lstrlenA(copy) + 1;
    data.lpData = copy;
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
        SendMessageTimeoutA(copies.Windows[i], WM_COPYDATA, (WPARAM)App.MainWindow, (LPARAM)&data,
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
        ShowError("The favorites list is full.");
        return;
    }
    BroadcastFavoriteChange(App.FavAddMessage, App.FilePath);
}

void RemoveCurrentFromFavorites()
{
    if (App.HasFile)
        BroadcastFavoriteChange(App.FavDelMessage, App.FilePath);
}
