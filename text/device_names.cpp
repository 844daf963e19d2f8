#include "text/device_names.h"

#include <wchar.h>

static int IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

static int IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

static wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? (wchar_t)(c - L'a' + L'A') : c; }

// The first length bytes of text are word (upper case), case ignored.
static int IsWord(const wchar_t* text, size_t length, const wchar_t* word)
{
    if (wcslen(word) != length)
        return 0;
    for (size_t i = 0; i < length; i++) {
        if (AsciiUpper(text[i]) != word[i])
            return 0;
    }
    return 1;
}

// text begins with word, case ignored, followed by a separator or its end.
static int BeginsWithPart(const wchar_t* text, const wchar_t* word)
{
    size_t length = wcslen(word);
    for (size_t i = 0; i < length; i++) {
        if (!text[i] || AsciiUpper(text[i]) != word[i])
            return 0;
    }
    return !text[length] || IsSeparator(text[length]);
}

static int IsReservedBaseName(const wchar_t* name, size_t length)
{
    static const wchar_t* const words[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (size_t i = 0; i < sizeof(words) / sizeof(words[0]); i++) {
        if (IsWord(name, length, words[i]))
            return 1;
    }
    if (length == 4 && name[3] >= L'1' && name[3] <= L'9')
        return IsWord(name, 3, L"COM") || IsWord(name, 3, L"LPT");
    return 0;
}

// The system takes a name as the device when the part before its first dot
// or colon, trailing blanks dropped, is a device: "con.txt", "aux .log", "nul:".
static int IsReservedFileName(const wchar_t* name, size_t length)
{
    size_t base = 0;
    while (base < length && name[base] != L'.' && name[base] != L':')
        base++;
    while (base > 0 && name[base - 1] == L' ')
        base--;
    return IsReservedBaseName(name, base);
}

// Checks the last non-empty part of path, whatever folder it is in.
static int IsReservedLastPart(const wchar_t* path)
{
    const wchar_t* start = path;
    if (IsAsciiLetter(path[0]) && path[1] == L':')
        start = path + 2;
    const wchar_t* part = start;
    const wchar_t* partEnd = start;
    const wchar_t* segment = start;
    const wchar_t* current = start;
    while (*current) {
        if (IsSeparator(*current)) {
            if (current > segment) {
                part = segment;
                partEnd = current;
            }
            segment = ++current;
        } else {
            current++;
        }
    }
    if (current > segment) {
        part = segment;
        partEnd = current;
    }
    return IsReservedFileName(part, (size_t)(partEnd - part));
}

// "server\pipe\..." or "server\mailslot\...": a share that is no folder.
static int IsPipeShare(const wchar_t* serverAndShare)
{
    const wchar_t* share = serverAndShare;
    while (*share && !IsSeparator(*share))
        share++;
    if (!*share)
        return 0;
    share++;
    return BeginsWithPart(share, L"PIPE") || BeginsWithPart(share, L"MAILSLOT");
}

// "\\.\", "\\?\" or "\??\": prefixes that hand the rest to the system unparsed.
static const wchar_t* AfterNamespacePrefix(const wchar_t* path)
{
    if (IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == L'.' || path[2] == L'?') &&
        IsSeparator(path[3]))
        return path + 4;
    if (path[0] == L'\\' && path[1] == L'?' && path[2] == L'?' && path[3] == L'\\')
        return path + 4;
    return NULL;
}

// Inside such a prefix only a drive path, a share or a volume path reaches
// a file; anything else is a port, a pipe, a whole disk or another device.
static int IsDeviceInNamespace(const wchar_t* rest)
{
    if (IsAsciiLetter(rest[0]) && rest[1] == L':' && IsSeparator(rest[2]))
        return IsReservedLastPart(rest);
    if (BeginsWithPart(rest, L"UNC") && rest[3])
        return IsPipeShare(rest + 4) || IsReservedLastPart(rest + 4);
    if (_wcsnicmp(rest, L"Volume{", 7) == 0) {
        const wchar_t* close = wcschr(rest, L'}');
        if (close && IsSeparator(close[1]) && close[2])
            return IsReservedLastPart(close + 2);
    }
    return 1;
}

int IsDeviceName(const wchar_t* path)
{
    if (!path || !*path)
        return 0;
    const wchar_t* rest = AfterNamespacePrefix(path);
    if (rest)
        return IsDeviceInNamespace(rest);
    if (IsSeparator(path[0]) && IsSeparator(path[1]) && IsPipeShare(path + 2))
        return 1;
    return IsReservedLastPart(path);
}
