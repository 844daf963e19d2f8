// The recovery copy's format:
//   scrivlet recovery copy 2
//   path=<full name in UTF-8, empty when untitled>
//   encoding=, nomark=, lines=, changes=, accepted=, filetime=, units=
//   a line of dashes (two or three: the text starts on an even offset)
//   <units UTF-16 little-endian code units>
//   CR LF "check=" <eight hex digits of the FNV-1a sum of all before> CR LF
// Version 1, which earlier versions wrote, is the same with the path in the
// system code page: still read, so an update offers their copies too.
// Version 3 adds "codepage=" after "nomark=": the code page of ANSI text
// read in another code page than the system's. A copy in the system code
// page is still written as version 2, which earlier versions read.
#include "recovery/recovery_file.h"

#include "text/memory.h"
#include "text/text_hash.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static const char Magic[] = "scrivlet recovery copy 2\r\n";
static const char FirstMagic[] = "scrivlet recovery copy 1\r\n";
static const char CodePageMagic[] = "scrivlet recovery copy 3\r\n";
#define TRAILER_BYTES 18 // "\r\ncheck=" + 8 digits + "\r\n"
#define NUMBERS_BYTES 256
// The longest path in UTF-8 and the line around it.
#define PATH_LINE_BYTES (32768 * 3 + 16)

static unsigned int Checksum(const unsigned char* bytes, size_t count)
{
    return ContinueHash32(HASH32_START, bytes, count);
}

// The path in UTF-8 (version 2) or in the system code page (version 1).
static std::string PathBytes(const std::wstring& path, UINT codePage)
{
    int length = WideCharToMultiByte(codePage, 0, path.data(), (int)path.size(), NULL, 0, NULL, NULL);
    std::string bytes(length > 0 ? (size_t)length : 0, '\0');
    if (length > 0)
        WideCharToMultiByte(codePage, 0, path.data(), (int)path.size(), &bytes[0], length, NULL, NULL);
    return bytes;
}

unsigned char* FormatRecoveryCopy(const RecoveryRecord* record, size_t* bytes)
{
    // 64-bit numbers as text apart: the C runtimes disagree on their printf form.
    char fileTime[24];
    char units[24];
    _i64toa(record->FileTime, fileTime, 10);
    _ui64toa((unsigned long long)record->Units, units, 10);
    int ownCodePage = record->CodePage != 0 && record->CodePage != GetACP();
    char codePage[32] = "";
    if (ownCodePage)
        _snprintf(codePage, sizeof(codePage), "codepage=%u\r\n", record->CodePage);
    char numbers[NUMBERS_BYTES];
    int numbersLength = _snprintf(numbers, sizeof(numbers),
                                  "\r\nencoding=%d\r\nnomark=%d\r\n%slines=%d\r\nchanges=%d\r\n"
                                  "accepted=%d\r\nfiletime=%s\r\nunits=%s\r\n",
                                  record->Encoding, record->NoByteOrderMark, codePage, record->LineFormat,
                                  record->TextChanges, record->AcceptedChanges, fileTime, units);
    if (numbersLength < 0 || numbersLength >= (int)sizeof(numbers))
        return NULL;
    std::string header = std::string(ownCodePage ? CodePageMagic : Magic) + "path=" +
                         PathBytes(record->FilePath, CP_UTF8) +
                         std::string(numbers, (size_t)numbersLength);
    header += (header.size() % 2 == 0) ? "--\r\n" : "---\r\n";
    size_t headerBytes = header.size();
    size_t textBytes = record->Units * 2;
    size_t total = headerBytes + textBytes + TRAILER_BYTES;
    unsigned char* block = (unsigned char*)AllocZeroed(total + 1);
    if (!block)
        return NULL;
    memcpy(block, header.data(), headerBytes);
    if (textBytes)
        memcpy(block + headerBytes, record->Text, textBytes);
    char trailer[TRAILER_BYTES + 1];
    _snprintf(trailer, sizeof(trailer), "\r\ncheck=%08x\r\n", Checksum(block, headerBytes + textBytes));
    memcpy(block + headerBytes + textBytes, trailer, TRAILER_BYTES);
    *bytes = total;
    return block;
}

// One header line "key=value" at *at; value copied into out (outSize).
static int ReadField(const char* bytes, size_t count, size_t* at, const char* key, char* out,
                     size_t outSize)
{
    size_t keyLength = strlen(key);
    if (*at + keyLength + 1 > count || memcmp(bytes + *at, key, keyLength) != 0 ||
        bytes[*at + keyLength] != '=')
        return 0;
    size_t start = *at + keyLength + 1;
    size_t end = start;
    while (end < count && bytes[end] != '\r')
        end++;
    if (end + 1 >= count || bytes[end + 1] != '\n' || end - start >= outSize)
        return 0;
    memcpy(out, bytes + start, end - start);
    out[end - start] = 0;
    *at = end + 2;
    return 1;
}

// A whole decimal number, optionally negative, and nothing else.
static int ParseNumber(const char* text, long long* value)
{
    const char* p = text;
    if (*p == '-')
        p++;
    if (*p < '0' || *p > '9' || strlen(p) > 18)
        return 0;
    for (const char* q = p; *q; q++)
        if (*q < '0' || *q > '9')
            return 0;
    *value = _atoi64(text);
    return 1;
}

static int ReadNumber(const char* bytes, size_t count, size_t* at, const char* key, long long low,
                      long long high, long long* value)
{
    char text[24];
    return ReadField(bytes, count, at, key, text, sizeof(text)) && ParseNumber(text, value) &&
           *value >= low && *value <= high;
}

// The path line's bytes as a path; 0 for bytes that are not UTF-8 in a
// copy of this version.
static int DecodePath(const char* bytes, UINT codePage, std::wstring* path)
{
    path->clear();
    if (!bytes[0])
        return 1;
    DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    int length = MultiByteToWideChar(codePage, flags, bytes, -1, NULL, 0);
    if (length <= 1)
        return 0;
    path->resize((size_t)length);
    MultiByteToWideChar(codePage, flags, bytes, -1, &(*path)[0], length);
    path->resize((size_t)length - 1);
    return 1;
}

int ParseRecoveryCopy(const unsigned char* bytes, size_t count, RecoveryRecord* record)
{
    *record = RecoveryRecord();
    const char* text = (const char*)bytes;
    size_t magicLength = strlen(Magic);
    if (count < magicLength + TRAILER_BYTES)
        return 0;
    // Version 1 held the path in the code page of the system that wrote it.
    UINT pathCodePage = CP_UTF8;
    int hasCodePage = memcmp(text, CodePageMagic, magicLength) == 0;
    if (memcmp(text, FirstMagic, magicLength) == 0)
        pathCodePage = CP_ACP;
    else if (memcmp(text, Magic, magicLength) != 0 && !hasCodePage)
        return 0;
    size_t at = magicLength;
    long long encoding, noMark, lines, changes, accepted, fileTime, units;
    long long codePage = GetACP();
    std::string path(PATH_LINE_BYTES, '\0');
    if (!ReadField(text, count, &at, "path", &path[0], path.size()) ||
        !ReadNumber(text, count, &at, "encoding", 0, 3, &encoding) ||
        !ReadNumber(text, count, &at, "nomark", 0, 1, &noMark) ||
        (hasCodePage && !ReadNumber(text, count, &at, "codepage", 1, 65535, &codePage)) ||
        !ReadNumber(text, count, &at, "lines", 0, 2, &lines) ||
        !ReadNumber(text, count, &at, "changes", 0, 0x7FFFFFFF, &changes) ||
        !ReadNumber(text, count, &at, "accepted", 0, 0x7FFFFFFF, &accepted) ||
        !ReadNumber(text, count, &at, "filetime", -0x7FFFFFFFFFFFLL, 0x7FFFFFFFFFFFLL, &fileTime) ||
        !ReadNumber(text, count, &at, "units", 0, 0x3FFFFFFF, &units))
        return 0;
    const char* rule = (at % 2 == 0) ? "--\r\n" : "---\r\n";
    size_t ruleLength = strlen(rule);
    if (at + ruleLength > count || memcmp(text + at, rule, ruleLength) != 0)
        return 0;
    size_t headerBytes = at + ruleLength;
    size_t textBytes = (size_t)units * 2;
    if (count != headerBytes + textBytes + TRAILER_BYTES)
        return 0;
    char expected[TRAILER_BYTES + 1];
    _snprintf(expected, sizeof(expected), "\r\ncheck=%08x\r\n", Checksum(bytes, headerBytes + textBytes));
    if (memcmp(text + headerBytes + textBytes, expected, TRAILER_BYTES) != 0)
        return 0;
    if (!DecodePath(path.c_str(), pathCodePage, &record->FilePath))
        return 0;
    record->Encoding = (int)encoding;
    // The text is kept whatever system reads it: one without that code page
    // saves it in its own.
    record->CodePage = IsValidCodePage((UINT)codePage) ? (unsigned int)codePage : GetACP();
    record->NoByteOrderMark = (int)noMark;
    record->LineFormat = (int)lines;
    record->TextChanges = (int)changes;
    record->AcceptedChanges = (int)accepted;
    record->FileTime = fileTime;
    record->Units = (size_t)units;
    record->Text = (const wchar_t*)(bytes + headerBytes);
    return 1;
}
