// Favorites shared by every running copy through the INI file, and the
// change another copy tells of (WM_COPYDATA).
#include "settings/favorites.h"

#include "ground/app_state.h"
#include "settings/ini_file.h"
#include "settings/recent_lists.h"

#include <string.h>
#include <wchar.h>

// The favorites section as this copy last read or wrote it.
static unsigned long long SeenFavorites;

// The INI file's section is the list every copy shares: one change is made
// to it as it stands, under the lock, so no copy's change undoes another's.
void ChangeSharedFavorites(FavoriteChange change, const wchar_t* path)
{
    StringList* list = &App.FavoritesList;
    PathBuffer ini;
    int shared = LocateIniFile(ini);
    HANDLE lock = shared ? LockIniFile(ini) : NULL;
    if (shared)
        ReadFavoritesAgain(ini);
    if (change == FAVORITE_REMOVE) {
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
    PathBuffer ini;
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

// A path in the code page, as earlier versions send it: decoding it here
// is the one place a peer's bytes meet the code page.
static int ReadAnsiPath(const COPYDATASTRUCT* data, std::wstring* path)
{
    DWORD limit = data->cbData < MAX_PATH ? data->cbData : MAX_PATH;
    const char* bytes = (const char*)data->lpData;
    const char* end = (const char*)memchr(bytes, 0, limit);
    if (!end || end == bytes)
        return 0;
    int units = MultiByteToWideChar(CP_ACP, 0, bytes, (int)(end - bytes), NULL, 0);
    if (units <= 0)
        return 0;
    path->assign((size_t)units, L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes, (int)(end - bytes), &(*path)[0], units);
    return 1;
}

static int ReadWidePath(const COPYDATASTRUCT* data, std::wstring* path)
{
    DWORD limit = data->cbData / sizeof(wchar_t);
    if (limit > PATH_CAPACITY)
        limit = PATH_CAPACITY;
    const wchar_t* units = (const wchar_t*)data->lpData;
    const wchar_t* end = (const wchar_t*)wmemchr(units, 0, limit);
    if (!end || end == units)
        return 0;
    path->assign(units, (size_t)(end - units));
    return 1;
}

int ReadFavoriteMessage(const COPYDATASTRUCT* data, FavoriteChange* change, std::wstring* path)
{
    // Any process may send this message: trust nothing in it.
    if (!data || !data->lpData || data->cbData == 0 || App.FavAddMessage == 0)
        return 0;
    ULONG_PTR tag = data->dwData;
    *change = (tag == App.FavDelMessage || tag == App.FavDelWideMessage) ? FAVORITE_REMOVE : FAVORITE_ADD;
    if (tag == App.FavAddWideMessage || tag == App.FavDelWideMessage)
        return ReadWidePath(data, path);
    if (tag == App.FavAddMessage || tag == App.FavDelMessage)
        return ReadAnsiPath(data, path);
    return 0;
}

void OnFavoritesMessage(const COPYDATASTRUCT* data)
{
    FavoriteChange change;
    std::wstring path;
    // Before the lists are read or after they are freed, saving would blank
    // the other copies' favorites in the file.
    if (!ReadFavoriteMessage(data, &change, &path) || !App.FavoritesList.Items)
        return;
    // The sender has already written its change, unless it is a copy that
    // leaves the writing to each receiver: made again, it changes nothing.
    ChangeSharedFavorites(change, path.c_str());
}
