// Favorites shared by every running copy.
#ifndef SCRIVLET_FAVORITES_H
#define SCRIVLET_FAVORITES_H

#include <windows.h>

#include <string>

enum FavoriteChange { FAVORITE_ADD, FAVORITE_REMOVE };

// Makes one change to the shared list as the INI file holds it now, under
// the lock, and writes it back.
void ChangeSharedFavorites(FavoriteChange change, const wchar_t* path);
// Reads the shared list again when another copy changed it since this one
// last did (a copy too busy to take the message catches up here).
void CatchUpFavorites();
// A favorites change from any copy (WM_COPYDATA); anything else is ignored.
void OnFavoritesMessage(const COPYDATASTRUCT* data);
// The change and path a favorites message carries: UTF-16 under the wide
// tags, the code page's bytes under the older ones. 0 when the message is
// not a favorites change or its data is not a terminated, non-empty path
// within the path limit (MAX_PATH bytes for the older tags, as their
// senders had).
int ReadFavoriteMessage(const COPYDATASTRUCT* data, FavoriteChange* change, std::wstring* path);

#endif
