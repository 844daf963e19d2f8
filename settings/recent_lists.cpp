// The recent-files and favorites lists: container and INI sections.
#include "settings/recent_lists.h"

#include "settings/ini_file.h"
#include "text/memory.h"
#include "text/text_hash.h"
#include "resource.h"

#include <stdio.h>
#include <string.h>

#define LABEL_TAIL_BYTES 40

static const char FavoritesSection[] = "Favorites";
static const char FavoritesPattern[] = "FILE%i";
static const char RecentSection[] = "MRU";
static const char RecentPattern[] = "MRU_FILE%i";

void InitList(StringList* list, int capacity)
{
    list->Count = 0;
    list->Capacity = 0;
    list->Items = (char**)AllocZeroed((size_t)capacity * sizeof(char*));
    if (list->Items)
        list->Capacity = capacity;
}

void SetListItem(StringList* list, int index, const char* text)
{
    if (!list->Items || index < 0 || index >= list->Capacity)
        return;
    size_t length = strlen(text);
    char* copy = (char*)AllocZeroed(length + 1);
    if (!copy)
        return;
    memcpy(copy, text, length);
    FreeBlock(list->Items[index]);
    list->Items[index] = copy;
}

int FindInList(const StringList* list, const char* text)
{
    for (int i = 0; i < list->Count; i++)
        if (lstrcmpiA(list->Items[i], text) == 0)
            return i;
    return -1;
}

const char* ListItemAt(const StringList* list, int index)
{
    if (index < 0 || index >= list->Count)
        return NULL;
    return list->Items[index];
}

void ReadList(StringList* list, const char* iniPath, const char* section, const char* keyPattern)
{
    if (!iniPath)
        return;
    for (int n = 1; n <= list->Capacity; n++) {
        char key[32];
        _snprintf(key, sizeof(key), keyPattern, n);
        key[sizeof(key) - 1] = 0;
        // Room for a whole path and one byte more: a value that fills it is
        // over the path limit and is skipped, never used cut short.
        char value[APP_PATH_SIZE + 1];
        DWORD length = GetPrivateProfileStringA(section, key, "", value, (DWORD)sizeof(value), iniPath);
        if (length == 0)
            break;
        if (length >= MAX_PATH)
            continue;
        SetListItem(list, list->Count, value);
        if (list->Items[list->Count])
            list->Count++;
    }
}

void WriteList(const StringList* list, const char* iniPath, const char* section,
               const char* keyPattern)
{
    char key[32];
    for (int i = 0; i < list->Count; i++) {
        _snprintf(key, sizeof(key), keyPattern, i + 1);
        key[sizeof(key) - 1] = 0;
        WriteIniStringIfChanged(iniPath, section, key, "", list->Items[i]);
    }
    // The key after the last entry ends the list when it is read back.
    _snprintf(key, sizeof(key), keyPattern, list->Count + 1);
    key[sizeof(key) - 1] = 0;
    WriteIniStringIfChanged(iniPath, section, key, "", "");
}

static int IsFavorites(const StringList* list) { return list->FirstCommandId == IDM_FAV_FIRST; }

int ListCommandId(const StringList* list, int index)
{
    int id = list->FirstCommandId + index;
    if (IsFavorites(list) && id > IDM_FAV_LAST)
        return IDM_FAV_OVERFLOW_FIRST + (id - IDM_FAV_LAST - 1);
    return id;
}

int ListIndexOfCommand(const StringList* list, int id)
{
    int index = id - list->FirstCommandId;
    if (IsFavorites(list)) {
        if (id >= IDM_FAV_OVERFLOW_FIRST && id <= IDM_FAV_OVERFLOW_LAST)
            index = IDM_FAV_LAST - IDM_FAV_FIRST + 1 + (id - IDM_FAV_OVERFLOW_FIRST);
        else if (id > IDM_FAV_LAST)
            return -1;
    }
    if (index < 0 || index >= list->Capacity)
        return -1;
    return index;
}

void FormatListLabel(int index, const char* path, UINT codePage, char* out, int outSize)
{
    const char* shown = path;
    const char* prefix = "";
    int length = lstrlenA(path);
    if (length > LABEL_TAIL_BYTES) {
        // Walk whole characters: in a double-byte code page a trail byte can
        // equal a backslash, and the tail must not start inside a character.
        int from = length - LABEL_TAIL_BYTES;
        const char* boundary = NULL;
        const char* backslash = NULL;
        for (const char* p = path; *p && !backslash;) {
            if (p - path >= from) {
                if (!boundary)
                    boundary = p;
                if (*p == '\\')
                    backslash = p;
            }
            p += (IsDBCSLeadByteEx(codePage, (BYTE)*p) && p[1]) ? 2 : 1;
        }
        shown = backslash ? backslash : boundary;
        prefix = "...";
    }
    if (index <= 8)
        _snprintf(out, (size_t)outSize, "&%i %s%s", index + 1, prefix, shown);
    else
        _snprintf(out, (size_t)outSize, "  %s%s", prefix, shown);
    out[outSize - 1] = 0;
}

void AddToTop(const char* text, StringList* list)
{
    if (!list->Items || list->Capacity == 0)
        return;
    // The text may be one of the entries that are about to move.
    char copy[APP_PATH_SIZE];
    lstrcpynA(copy, text, APP_PATH_SIZE);
    int i = FindInList(list, copy);
    if (i < 0) {
        if (list->Count < list->Capacity)
            list->Count++;
        i = list->Count - 1;
    }
    char* dropped = list->Items[i];
    memmove(&list->Items[1], &list->Items[0], (size_t)i * sizeof(char*));
    list->Items[0] = dropped;
    SetListItem(list, 0, copy);
}

void RemoveAt(StringList* list, int index)
{
    if (index < 0 || index >= list->Count)
        return;
    FreeBlock(list->Items[index]);
    memmove(&list->Items[index], &list->Items[index + 1],
            (size_t)(list->Count - index - 1) * sizeof(char*));
    list->Count--;
    list->Items[list->Count] = NULL;
}

void RemoveByName(StringList* list, const char* text)
{
    int i = FindInList(list, text);
    if (i < 0)
        return;
    RemoveAt(list, i);
}

void LoadLists(const char* iniPath)
{
    App.RecentList.FirstCommandId = IDM_RECENT_FIRST;
    InitList(&App.RecentList, RECENT_CAPACITY);
    if (Config.RecentFiles)
        ReadList(&App.RecentList, iniPath, RecentSection, RecentPattern);
    App.FavoritesList.FirstCommandId = IDM_FAV_FIRST;
    InitList(&App.FavoritesList, FAVORITES_CAPACITY);
    ReadList(&App.FavoritesList, iniPath, FavoritesSection, FavoritesPattern);
}

void SaveRecentFiles(const char* iniPath)
{
    WriteList(&App.RecentList, iniPath, RecentSection, RecentPattern);
}

void ReadFavoritesAgain(const char* iniPath)
{
    StringList* list = &App.FavoritesList;
    while (list->Count > 0)
        RemoveAt(list, list->Count - 1);
    ReadList(list, iniPath, FavoritesSection, FavoritesPattern);
}

void WriteFavorites(const char* iniPath)
{
    WriteList(&App.FavoritesList, iniPath, FavoritesSection, FavoritesPattern);
}

unsigned long long FavoritesFingerprint(const char* iniPath)
{
    // Room for every entry the list can hold.
    const DWORD size = FAVORITES_CAPACITY * (APP_PATH_SIZE + 16);
    char* section = (char*)AllocZeroed(size);
    if (!section)
        return 0;
    DWORD length = GetPrivateProfileSectionA(FavoritesSection, section, size, iniPath);
    unsigned long long hash = ContinueHash(HASH_START, section, length);
    FreeBlock(section);
    return hash;
}

void SetRecentFilesEnabled(int on)
{
    if (!on) {
        while (App.RecentList.Count > 0)
            RemoveAt(&App.RecentList, 0);
        return;
    }
    if (App.HasFile)
        AddToTop(App.FilePath, &App.RecentList);
}

void NoteRecentFile(const char* path)
{
    if (Config.RecentFiles)
        AddToTop(path, &App.RecentList);
}

static void FreeList(StringList* list)
{
    if (list->Items)
        for (int i = 0; i < list->Capacity; i++)
            FreeBlock(list->Items[i]);
    FreeBlock(list->Items);
    list->Items = NULL;
    list->Count = 0;
    list->Capacity = 0;
}

void FreeLists()
{
    FreeList(&App.RecentList);
    FreeList(&App.FavoritesList);
}
