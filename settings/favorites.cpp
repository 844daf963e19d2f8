// Favorites shared by every running copy through the INI file, and the
// change another copy tells of (WM_COPYDATA).
#include "settings/favorites.h"

#include "ground/app_state.h"
#include "settings/ini_file.h"
#include "settings/recent_lists.h"

#include <string.h>

// The favorites section as this copy last read or wrote it.
static unsigned long long SeenFavorites;

// The INI file's section is the list every copy shares: one change is made
// to it as it stands, under the lock, so no copy's change undoes another's.
void ChangeSharedFavorites(UINT tag, const char* path)
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
        if (list->Items[list->Count])
            list->Count++;
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
