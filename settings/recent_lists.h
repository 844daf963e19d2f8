// The recent-files and favorites lists: the list container and their INI
// sections. The menus that show them are drawn above.
#ifndef SCRIVLET_RECENT_LISTS_H
#define SCRIVLET_RECENT_LISTS_H

#include "ground/app_state.h"

#define RECENT_CAPACITY 9
#define FAVORITES_CAPACITY 200

void InitList(StringList* list, int capacity);
void SetListItem(StringList* list, int index, const char* text);
// Index of the first entry equal to text ignoring case, or -1.
int FindInList(const StringList* list, const char* text);
// The entry's text, or NULL outside 0 to Count - 1.
const char* ListItemAt(const StringList* list, int index);

// iniPath may be NULL: then nothing is read.
void ReadList(StringList* list, const char* iniPath, const char* section, const char* keyPattern);
void WriteList(const StringList* list, const char* iniPath, const char* section,
               const char* keyPattern);

void AddToTop(const char* text, StringList* list);
void RemoveAt(StringList* list, int index);
void RemoveByName(StringList* list, const char* text);

// Start-up (iniPath may be NULL), exit and the Options switch.
void LoadLists(const char* iniPath);
void SaveRecentFiles(const char* iniPath);
// The favorites as the INI file holds them now.
void ReadFavoritesAgain(const char* iniPath);
void WriteFavorites(const char* iniPath);
// Changes whenever the file's favorites section does.
unsigned long long FavoritesFingerprint(const char* iniPath);
void SetRecentFilesEnabled(int on);
void FreeLists();

// Puts a loaded or saved document at the top of the recent files, when they are kept.
void NoteRecentFile(const char* path);

// Menu command id of entry index, and the entry a command id stands for (-1
// for none). Favorites past the 802-999 range take ids of their own, clear of
// every fixed command.
int ListCommandId(const StringList* list, int index);
int ListIndexOfCommand(const StringList* list, int id);

// Menu label of entry index: numbered "&n " for the first nine, indented
// after; a path over 40 bytes keeps its tail from a backslash, cut only at
// character boundaries of codePage.
void FormatListLabel(int index, const char* path, UINT codePage, char* out, int outSize);

#endif
