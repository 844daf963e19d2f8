// Favorites shared by every running copy.
#ifndef SCRIVLET_FAVORITES_H
#define SCRIVLET_FAVORITES_H

#include <windows.h>

// Longest wait for one other copy to take a favorites change.
#define PEER_TIMEOUT_MS 1000

// Sends the change to every running copy, this one included.
void BroadcastFavoriteChange(UINT tag, const char* path);
// Commands 800 and 801.
void AddCurrentToFavorites();
void RemoveCurrentFromFavorites();
// A favorites change from any copy (WM_COPYDATA); anything else is ignored.
void OnFavoritesMessage(const COPYDATASTRUCT* data);
// The path a favorites message carries, or NULL when the message is not a
// favorites change or its data is not a terminated path within the path limit.
const char* FavoriteMessagePath(const COPYDATASTRUCT* data);

#endif
