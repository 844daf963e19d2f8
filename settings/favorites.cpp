// Favorites shared by every running copy through WM_COPYDATA, and the
// commands of the recent-files and favorites menus.
#include "settings/favorites.h"

#include "ground/app_state.h"
#include "ground/helpers.h"
#include "settings/recent_lists.h"

#include <string.h>

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
    // Every copy, this one too, takes the change the same way.
    char copy[APP_PATH_SIZE];
    lstrcpynA(copy, path, APP_PATH_SIZE);
    COPYDATASTRUCT data;
    data.dwData = tag;
    data.cbData = (DWORD)lstrlenA(copy) + 1;
    data.lpData = copy;
    // The copies are listed before any is asked: walking from window to
    // window would stop at one that closes while it takes the change, and
    // the copies after it, maybe this one, would never hear of it.
    CopyWindows copies;
    copies.Count = 0;
    EnumWindows(CollectCopy, (LPARAM)&copies);
    for (int i = 0; i < copies.Count; i++) {
        // A copy that hangs costs at most the time limit; one that is
        // already known to hang costs nothing.
        DWORD_PTR result = 0;
        SendMessageTimeoutA(copies.Windows[i], WM_COPYDATA, (WPARAM)App.MainWindow, (LPARAM)&data,
                            SMTO_NORMAL | SMTO_ABORTIFHUNG, PEER_TIMEOUT_MS, &result);
    }
}

void AddCurrentToFavorites()
{
    if (!App.HasFile)
        return;
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

const char* FavoriteMessagePath(const COPYDATASTRUCT* data)
{
    // Any process may send this message: trust nothing in it.
    if (!data || !data->lpData || data->cbData == 0)
        return NULL;
    if (App.FavAddMessage == 0 ||
        (data->dwData != App.FavAddMessage && data->dwData != App.FavDelMessage))
        return NULL;
    DWORD limit = data->cbData < MAX_PATH ? data->cbData : MAX_PATH;
    const char* path = (const char*)data->lpData;
    const char* end = (const char*)memchr(path, 0, limit);
    if (!end || end == path)
        return NULL;
    return path;
}

void OnFavoritesMessage(const COPYDATASTRUCT* data)
{
    const char* path = FavoriteMessagePath(data);
    StringList* list = &App.FavoritesList;
    // Before the lists are read or after they are freed, saving would blank
    // the other copies' favorites in the file.
    if (!path || !list->Items)
        return;
    if (data->dwData == App.FavAddMessage) {
        // A full list takes no more: the slots are fixed.
        if (list->Count >= list->Capacity)
            return;
        SetListItem(list, list->Count, path);
        if (!list->Items[list->Count])
            return;
        list->Count++;
        RebuildListMenu(list);
    } else {
        RemoveByName(list, path);
    }
    SaveFavorites();
}
