// Favorites shared by every running copy.
#ifndef SCRIVLET_FAVORITES_H
#define SCRIVLET_FAVORITES_H

#include <windows.h>

// Makes one change (tag: add or delete) to the shared list as the INI file
// holds it now, under the lock, and writes it back.
void ChangeSharedFavorites(UINT tag, const char* path);
// Reads the shared list again when another copy changed it since this one
// last did (a copy too busy to take the message catches up here).
void CatchUpFavorites();
// A favorites change from any copy (WM_COPYDATA); anything else is ignored.
void OnFavoritesMessage(const COPYDATASTRUCT* data);
// The path a favorites message carries, or NULL when the message is not a
// favorites change or its data is not a terminated path within the path limit.
const char* FavoriteMessagePath(const COPYDATASTRUCT* data);

#endif
