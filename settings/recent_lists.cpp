// The recent-files and favorites lists: container and INI sections.
#include "settings/recent_lists.h"

#include "settings/ini_file.h"
#include "text/memory.h"
#include "text/text_hash.h"
#include "resource.h"

#include <stdio.h>
#include <string.h>
#include <wchar.h>

#define LABEL_TAIL_CHARS 40

static const wchar_t FavoritesSection[] = L"Favorites";
static const wchar_t FavoritesPattern[] = L"FILE%i";
static const wchar_t RecentSection[] = L"MRU";
static const wchar_t RecentPattern[] = L"MRU_FILE%i";

void InitList(StringList* list, int capacity)
{
    list->Count = 0;
    list->Capacity = 0;
    list->Items = (wchar_t**)AllocZeroed((size_t)capacity * sizeof(wchar_t*));
    if (list->Items)
        list->Capacity = capacity;
}

void SetListItem(StringList* list, int index, const wchar_t* text)
{
    if (!list->Items || index < 0 || index >= list->Capacity)
        return;
    size_t length = wcslen(text);
    wchar_t* copy = (wchar_t*)AllocZeroed((length + 1) * sizeof(wchar_t));
    if (!copy)
        return;
    memcpy(copy, text, length * sizeof(wchar_t));
    FreeBlock(list->Items[index]);
    list->Items[index] = copy;
}

int FindInList(const StringList* list, const wchar_t* text)
{
    for (int i = 0; i < list->Count; i++)
        if (lstrcmpiW(list->Items[i], text) == 0)
            return i;
    return -1;
}

const wchar_t* ListItemAt(const StringList* list, int index)
{
    if (index < 0 || index >= list->Count)
        return NULL;
    return list->Items[index];
}

void ReadList(StringList* list, const wchar_t* iniPath, const wchar_t* section, const wchar_t* keyPattern)
{
    if (!iniPath)
        return;
    // Room for a whole path and one character more: a value that fills it
    // is over the path limit and is skipped, never used cut short.
    std::wstring value(PATH_CAPACITY + 1, L'\0');
    for (int n = 1; n <= list->Capacity; n++) {
        wchar_t key[32];
        _snwprintf(key, 32, keyPattern, n);
        key[31] = 0;
        DWORD length = GetPrivateProfileStringW(section, key, L"", &value[0], PATH_CAPACITY + 1, iniPath);
        if (length == 0)
            break;
        if (length >= PATH_CAPACITY)
            continue;
        SetListItem(list, list->Count, value.c_str());
        if (list->Items[list->Count])
            list->Count++;
    }
}

void WriteList(const StringList* list, const wchar_t* iniPath, const wchar_t* section,
               const wchar_t* keyPattern)
{
    wchar_t key[32];
    for (int i = 0; i < list->Count; i++) {
        _snwprintf(key, 32, keyPattern, i + 1);
        key[31] = 0;
        WriteIniStringIfChanged(iniPath, section, key, L"", list->Items[i]);
    }
    // The key after the last entry ends the list when it is read back.
    _snwprintf(key, 32, keyPattern, list->Count + 1);
    key[31] = 0;
    WriteIniStringIfChanged(iniPath, section, key, L"", L"");
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

void FormatListLabel(int index, const wchar_t* path, wchar_t* out, int outSize)
{
    const wchar_t* shown = path;
    const wchar_t* prefix = L"";
    int length = lstrlenW(path);
    if (length > LABEL_TAIL_CHARS) {
        // The tail begins at the first backslash in the last 40 characters,
        // else at the first whole character there.
        const wchar_t* boundary = path + (length - LABEL_TAIL_CHARS);
        if (IS_LOW_SURROGATE(*boundary))
            boundary++;
        const wchar_t* backslash = wcschr(boundary, L'\\');
        shown = backslash ? backslash : boundary;
        prefix = L"...";
    }
    if (index <= 8)
        _snwprintf(out, (size_t)outSize, L"&%i %ls%ls", index + 1, prefix, shown);
    else
        _snwprintf(out, (size_t)outSize, L"  %ls%ls", prefix, shown);
    out[outSize - 1] = 0;
}

void AddToTop(const wchar_t* text, StringList* list)
{
    if (!list->Items || list->Capacity == 0)
        return;
    // The text may be one of the entries that are about to move.
    std::wstring copy = text;
    int i = FindInList(list, copy.c_str());
    if (i < 0) {
        if (list->Count < list->Capacity)
            list->Count++;
        i = list->Count - 1;
    }
    wchar_t* dropped = list->Items[i];
    memmove(&list->Items[1], &list->Items[0], (size_t)i * sizeof(wchar_t*));
    list->Items[0] = dropped;
    SetListItem(list, 0, copy.c_str());
}

void RemoveAt(StringList* list, int index)
{
    if (index < 0 || index >= list->Count)
        return;
    FreeBlock(list->Items[index]);
    memmove(&list->Items[index], &list->Items[index + 1],
            (size_t)(list->Count - index - 1) * sizeof(wchar_t*));
    list->Count--;
    list->Items[list->Count] = NULL;
}

void RemoveByName(StringList* list, const wchar_t* text)
{
    int i = FindInList(list, text);
    if (i < 0)
        return;
    RemoveAt(list, i);
}

void LoadLists(const wchar_t* iniPath)
{
    App.RecentList.FirstCommandId = IDM_RECENT_FIRST;
    InitList(&App.RecentList, RECENT_CAPACITY);
    if (Config.RecentFiles)
        ReadList(&App.RecentList, iniPath, RecentSection, RecentPattern);
    App.FavoritesList.FirstCommandId = IDM_FAV_FIRST;
    InitList(&App.FavoritesList, FAVORITES_CAPACITY);
    ReadList(&App.FavoritesList, iniPath, FavoritesSection, FavoritesPattern);
}

void SaveRecentFiles(const wchar_t* iniPath)
{
    WriteList(&App.RecentList, iniPath, RecentSection, RecentPattern);
}

void ReadFavoritesAgain(const wchar_t* iniPath)
{
    StringList* list = &App.FavoritesList;
    while (list->Count > 0)
        RemoveAt(list, list->Count - 1);
    ReadList(list, iniPath, FavoritesSection, FavoritesPattern);
}

void WriteFavorites(const wchar_t* iniPath)
{
    WriteList(&App.FavoritesList, iniPath, FavoritesSection, FavoritesPattern);
}

unsigned long long FavoritesFingerprint(const wchar_t* iniPath)
{
    // Grown until the whole section fits: the call fills a short buffer to
    // its size less two.
    DWORD size = 0x10000;
    for (;;) {
        wchar_t* section = (wchar_t*)AllocZeroed((size_t)size * sizeof(wchar_t));
        if (!section)
            return 0;
        DWORD length = GetPrivateProfileSectionW(FavoritesSection, section, size, iniPath);
        if (length + 2 < size || size >= 0x4000000) {
            unsigned long long hash = ContinueHash(HASH_START, section, (size_t)length * sizeof(wchar_t));
            FreeBlock(section);
            return hash;
        }
        FreeBlock(section);
        size *= 2;
    }
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

void NoteRecentFile(const wchar_t* path)
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
