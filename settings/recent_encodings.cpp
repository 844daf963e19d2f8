#include "settings/recent_encodings.h"

#include "ground/app_state.h"
#include "settings/ini_file.h"
#include "settings/recent_lists.h"
#include "text/text_encoding.h"
#include "text/text_hash.h"

#include <stdio.h>
#include <wchar.h>

#include <string>

// Each entry: key = the hash of the path in lower case (a path may hold
// "=", "[" or ";", which a key cannot), value = "<encoding> <code page> <path>",
// the path telling two paths of one hash apart.
static const wchar_t EncodingsSection[] = L"Encodings";
#define KEY_CHARS 20
#define VALUE_CHARS (PATH_CAPACITY + 32)

static void EntryKey(const wchar_t* path, wchar_t* key)
{
    std::wstring lower = path;
    if (!lower.empty())
        CharLowerBuffW(&lower[0], (DWORD)lower.size());
    unsigned long long hash = ContinueHash(HASH_START, lower.data(), lower.size() * sizeof(wchar_t));
    _snwprintf(key, KEY_CHARS, L"%08x%08x", (unsigned int)(hash >> 32), (unsigned int)hash);
    key[KEY_CHARS - 1] = 0;
}

// The entry's fields; 0 when the value is not one of ours.
static int ParseEntry(const wchar_t* value, int* encoding, UINT* codePage, const wchar_t** path)
{
    unsigned int page = 0;
    int used = 0;
    if (swscanf(value, L"%d %u %n", encoding, &page, &used) < 2 || used == 0)
        return 0;
    *codePage = page;
    *path = value + used;
    return *encoding >= ENCODING_ANSI && *encoding <= ENCODING_UTF8 && **path != 0;
}

static int ReadEntry(const wchar_t* ini, const wchar_t* key, std::wstring* value)
{
    value->assign(VALUE_CHARS, L'\0');
    DWORD length = GetPrivateProfileStringW(EncodingsSection, key, L"", &(*value)[0], VALUE_CHARS, ini);
    value->resize(length);
    return length > 0;
}

int RecallFileEncoding(const wchar_t* path, int* encoding, UINT* codePage)
{
    PathBuffer ini;
    wchar_t key[KEY_CHARS];
    std::wstring value;
    const wchar_t* named = NULL;
    if (!path || !LocateIniFile(ini))
        return 0;
    EntryKey(path, key);
    if (!ReadEntry(ini, key, &value) || !ParseEntry(value.c_str(), encoding, codePage, &named) ||
        lstrcmpiW(named, path) != 0)
        return 0;
    return *encoding != ENCODING_ANSI || IsValidCodePage(*codePage);
}

static void WriteEntry(const wchar_t* ini, const wchar_t* path, int encoding, UINT codePage)
{
    wchar_t key[KEY_CHARS];
    EntryKey(path, key);
    std::wstring value(32, L'\0');
    value.resize((size_t)_snwprintf(&value[0], 32, L"%d %u ", encoding, codePage));
    value += path;
    WriteIniString(ini, EncodingsSection, key, value.c_str());
}

// Entries of paths neither in the recent files nor kept go.
static void DropStaleEntries(const wchar_t* ini, const wchar_t* kept)
{
    std::wstring keys(0x8000, L'\0');
    DWORD length = GetPrivateProfileStringW(EncodingsSection, NULL, L"", &keys[0], (DWORD)keys.size(), ini);
    keys.resize(length);
    for (size_t at = 0; at < keys.size(); at += wcslen(keys.c_str() + at) + 1) {
        std::wstring key = keys.c_str() + at;
        std::wstring value;
        int encoding;
        UINT codePage;
        const wchar_t* path = NULL;
        if (key.empty())
            continue;
        if (ReadEntry(ini, key.c_str(), &value) && ParseEntry(value.c_str(), &encoding, &codePage, &path) &&
            (lstrcmpiW(path, kept) == 0 || FindInList(&App.RecentList, path) >= 0))
            continue;
        WriteIniString(ini, EncodingsSection, key.c_str(), NULL);
    }
}

void RememberFileEncoding(const wchar_t* path, int encoding, UINT codePage)
{
    PathBuffer ini;
    if (!path || !path[0] || !LocateIniFile(ini))
        return;
    WriteEntry(ini, path, encoding, codePage);
    DropStaleEntries(ini, path);
}

void UpdateRememberedEncoding(const wchar_t* path, int encoding, UINT codePage)
{
    int oldEncoding;
    UINT oldCodePage;
    if (!RecallFileEncoding(path, &oldEncoding, &oldCodePage) || (oldEncoding == encoding && oldCodePage == codePage))
        return;
    PathBuffer ini;
    if (LocateIniFile(ini))
        WriteEntry(ini, path, encoding, codePage);
}
