// The "\\?\" form that takes a full path past MAX_PATH characters to the
// file functions, and back to the form the user reads.
#ifndef SCRIVLET_EXTENDED_PATH_H
#define SCRIVLET_EXTENDED_PATH_H

#include <string>

// path as the file functions take it: a full drive path ("C:\...") or share
// path ("\\server\share\...") of MAX_PATH characters or more gets "\\?\"
// or "\\?\UNC\" before it, its "/" turned into "\"; any other path (shorter,
// relative, or already in that form) is given back as it is, since the
// system's own parsing is what makes those mean what the user typed.
std::wstring ExtendedLengthPath(const wchar_t* path);

// The path as a user reads it: "\\?\C:\..." as "C:\...", "\\?\UNC\server\..."
// as "\\server\..."; any other path as it is.
std::wstring PathAsShown(const wchar_t* path);

#endif
