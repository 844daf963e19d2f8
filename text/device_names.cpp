#include "text/device_names.h"

#include <stdio.h>
#include <string.h>

static int IsSeparator(char c) { return c == '\\' || c == '/'; }

static int IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

static char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c; }

// The first length bytes of text are word (upper case), case ignored.
static int IsWord(const char* text, size_t length, const char* word)
{
    if (strlen(word) != length)
        return 0;
    for (size_t i = 0; i < length; i++) {
        if (AsciiUpper(text[i]) != word[i])
            return 0;
    }
    return 1;
}

// text begins with word, case ignored, followed by a separator or its end.
static int BeginsWithPart(const char* text, const char* word)
{
    size_t length = strlen(word);
    for (size_t i = 0; i < length; i++) {
        if (!text[i] || AsciiUpper(text[i]) != word[i])
            return 0;
    }
    return !text[length] || IsSeparator(text[length]);
}

static int IsReservedBaseName(const char* name, size_t length)
{
    static const char* const words[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (size_t i = 0; i < sizeof(words) / sizeof(words[0]); i++) {
        if (IsWord(name, length, words[i]))
            return 1;
    }
    if (length == 4 && name[3] >= '1' && name[3] <= '9')
        return IsWord(name, 3, "COM") || IsWord(name, 3, "LPT");
    return 0;
}

// The system takes a name as the device when the part before its first dot
// or colon, trailing blanks dropped, is a device: "con.txt", "aux .log", "nul:".
static int IsReservedFileName(const char* name, size_t length)
{
    size_t base = 0;
    while (base < length && name[base] != '.' && name[base] != ':')
        base++;
    while (base > 0 && name[base - 1] == ' ')
        base--;
    return IsReservedBaseName(name, base);
}

// Checks the last non-empty part of path, whatever folder it is in.
static int IsReservedLastPart(const char* path, UINT codePage)
{
    const char* start = path;
    if (IsAsciiLetter(path[0]) && path[1] == ':')
        start = path + 2;
    const char* part = start;
    const char* partEnd = start;
    const char* segment = start;
    const char* current = start;
    while (*current) {
        if (IsSeparator(*current)) {
            if (current > segment) {
                part = segment;
                partEnd = current;
            }
            segment = ++current;
        } else if (IsDBCSLeadByteEx(codePage, (BYTE)*current) && current[1]) {
            current += 2;
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
static int IsPipeShare(const char* serverAndShare)
{
    const char* share = serverAndShare;
    while (*share && !IsSeparator(*share))
        share++;
    if (!*share)
        return 0;
    share++;
    return BeginsWithPart(share, "PIPE") || BeginsWithPart(share, "MAILSLOT");
}

// "\\.\", "\\?\" or "\??\": prefixes that hand the rest to the system unparsed.
static const char* AfterNamespacePrefix(const char* path)
{
    if (IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == '.' || path[2] == '?') &&
        IsSeparator(path[3]))
        return path + 4;
    if (path[0] == '\\' && path[1] == '?' && path[2] == '?' && path[3] == '\\')
        return path + 4;
    return NULL;
}

// Inside such a prefix only a drive path, a share or a volume path reaches
// a file; anything else is a port, a pipe, a whole disk or another device.
static int IsDeviceInNamespace(const char* rest, UINT codePage)
{
    if (IsAsciiLetter(rest[0]) && rest[1] == ':' && IsSeparator(rest[2]))
        return IsReservedLastPart(rest, codePage);
    if (BeginsWithPart(rest, "UNC") && rest[3])
        return IsPipeShare(rest + 4) || IsReservedLastPart(rest + 4, codePage);
    if (_strnicmp(rest, "Volume{", 7) == 0) {
        const char* close = strchr(rest, '}');
        if (close && IsSeparator(close[1]) && close[2])
            return IsReservedLastPart(close + 2, codePage);
    }
    return 1;
}

int IsDeviceNameInCodePage(const char* path, UINT codePage)
{
    if (!path || !*path)
        return 0;
    const char* rest = AfterNamespacePrefix(path);
    if (rest)
        return IsDeviceInNamespace(rest, codePage);
    if (IsSeparator(path[0]) && IsSeparator(path[1]) && IsPipeShare(path + 2))
        return 1;
    return IsReservedLastPart(path, codePage);
}

int IsDeviceName(const char* path)
{
    return IsDeviceNameInCodePage(path, CP_ACP);
}
