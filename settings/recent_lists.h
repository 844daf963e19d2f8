// The recent-files and favorites lists: the list container and their INI
// sections. The menus that show them are drawn above.
#ifndef SCRIVLET_RECENT_LISTS_H
#define SCRIVLET_RECENT_LISTS_H

#include "ground/app_state.h"

#define RECENT_CAPACITY 9
#define FAVORITES_CAPACITY 200

void InitList(StringList* list, int capacity);
void SetListItem(StringList* list, int index, const wchar_t* text);
// Index of the first entry equal to text ignoring case, or -1.
int FindInList(const StringList* list, const wchar_t* text);
// The entry's text, or NULL outside 0 to Count - 1.
const wchar_t* ListItemAt(const StringList* list, int index);

// iniPath may be NULL: then nothing is read.
void ReadList(StringList* list, const wchar_t* iniPath, const wchar_t* section, const wchar_t* keyPattern);
void WriteList(const StringList* list, const wchar_t* iniPath, const wchar_t* section,
               const wchar_t* keyPattern);

void AddToTop(const wchar_t* text, StringList* list);
void RemoveAt(StringList* list, int index);
void RemoveByName(StringList* list, const wchar_t* text);

// Start-up (iniPath may be NULL), exit and the Options switch.
void LoadLists(const wchar_t* iniPath);
void SaveRecentFiles(const wchar_t* iniPath);
// The favorites as the INI file holds them now.
void ReadFavoritesAgain(const wchar_t* iniPath);
void WriteFavorites(const wchar_t* iniPath);
// Changes whenever the file's favorites section does.
unsigned long long FavoritesFingerprint(const wchar_t* iniPath);
void SetRecentFilesEnabled(int on);
void FreeLists();

// Puts a loaded or saved document at the top of the recent files, when they are kept.
void NoteRecentFile(const wchar_t* path);

// Menu command id of entry index, and the entry a command id stands for (-1
// for none). Favorites past the 802-999 range take ids of their own, clear of
// every fixed command.
int ListCommandId(const StringList* list, int index);
int ListIndexOfCommand(const StringList* list, int id);

// Menu label of entry index: numbered "&n " for the first nine, indented
// after; a path over 40 characters keeps its tail from a backslash, never
// cut inside a surrogate pair.
void FormatListLabel(int index, const wchar_t* path, wchar_t* out, int outSize);

#endif
