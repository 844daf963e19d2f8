// Favorites shared by every running copy through the INI file, WM_COPYDATA
// telling the others of a change, and the commands of both list menus.
#include "settings/favorites.h"

#include "ground/app_state.h"
#include "ground/helpers.h"
#include "settings/ini_file.h"
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

// The favorites section as this copy last read or wrote it.
static unsigned long long SeenFavorites;

// The INI file's section is the list every copy shares: one change is made
// to it as it stands, under the lock, so no copy's change undoes another's.
static void ChangeSharedFavorites(UINT tag, const char* path)
{
    StringList* list = &App.FavoritesList;
    char ini[INI_PATH_SIZE];
    int shared = LocateIniFile(ini);
    HANDLE lock = shared ? LockIniFile(ini) : NULL;
    if (shared)
        ReadFavoritesAgain(ini);
    if (tag == App.FavDelMessage) {
        RemoveByName(list, path);
    } else if (FindInList(list, path) < 0 && list->Count < list->Capacity) {
        // A full list takes no more: the slots are fixed.
        SetListItem(list, list->Count, path);
        if (list->Items[list->Count]) {
            list->Count++;
            RebuildListMenu(list);
        }
    }
    if (shared) {
        WriteFavorites(ini);
        SeenFavorites = FavoritesFingerprint(ini);
    }
    UnlockIniFile(lock);
}

void CatchUpFavorites()
{
    char ini[INI_PATH_SIZE];
    if (!App.FavoritesList.Items || !LocateIniFile(ini))
        return;
    // Unchanged, the list stays as this copy has it (a deleted favorite
    // dropped from this menu stays dropped).
    unsigned long long now = FavoritesFingerprint(ini);
    if (now == SeenFavorites)
        return;
    ReadFavoritesAgain(ini);
    SeenFavorites = now;
}

void BroadcastFavoriteChange(UINT tag, const char* path)
{
    // This copy changes the shared list; each other copy makes the same
    // change on the message, which finds it made and reads what it missed.
    char copy[APP_PATH_SIZE];
    lstrcpynA(copy, path, APP_PATH_SIZE);
    ChangeSharedFavorites(tag, copy);
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
    // Before the lists are read or after they are freed, saving would blank
    // the other copies' favorites in the file.
    if (!path || !App.FavoritesList.Items)
        return;
    // The sender has already written its change, unless it is a copy that
    // leaves the writing to each receiver: made again, it changes nothing.
    ChangeSharedFavorites((UINT)data->dwData, path);
}
