// The favorites commands, and telling the other running copies of a change.
#ifndef SCRIVLET_FAVORITES_COMMANDS_H
#define SCRIVLET_FAVORITES_COMMANDS_H

#include "settings/favorites.h"

#include <windows.h>

// Longest wait for one other copy to take a favorites change.
#define PEER_TIMEOUT_MS 1000

// Makes the change to the shared list, then tells every other running copy.
void BroadcastFavoriteChange(FavoriteChange change, const wchar_t* path);
// Commands 800 and 801.
void AddCurrentToFavorites();
void RemoveCurrentFromFavorites();

#endif
