// The recovery copy's format:
//   scrivlet recovery copy 1
//   path=<ANSI full name, empty when untitled>
//   encoding=, nomark=, lines=, changes=, accepted=, filetime=, units=
//   a line of dashes (two or three: the text starts on an even offset)
//   <units UTF-16 little-endian code units>
//   CR LF "check=" <eight hex digits of the FNV-1a sum of all before> CR LF
#include "recovery/recovery_file.h"

#include "text/memory.h"
#include "text/text_hash.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char Magic[] = "scrivlet recovery copy 1\r\n";
#define TRAILER_BYTES 18 // "\r\ncheck=" + 8 digits + "\r\n"
#define HEADER_BYTES (RECOVERY_PATH_SIZE + 256)

static unsigned int Checksum(const unsigned char* bytes, size_t count)
{
    return ContinueHash32(HASH32_START, bytes, count);
}

unsigned char* FormatRecoveryCopy(const RecoveryRecord* record, size_t* bytes)
{
    // 64-bit numbers as text apart: the C runtimes disagree on their printf form.
    char fileTime[24];
    char units[24];
    _i64toa(record->FileTime, fileTime, 10);
    _ui64toa((unsigned long long)record->Units, units, 10);
    char header[HEADER_BYTES];
    int length = _snprintf(header, sizeof(header),
                           "%spath=%s\r\nencoding=%d\r\nnomark=%d\r\nlines=%d\r\nchanges=%d\r\n"
                           "accepted=%d\r\nfiletime=%s\r\nunits=%s\r\n",
                           Magic, record->FilePath, record->Encoding, record->NoByteOrderMark,
                           record->LineFormat, record->TextChanges, record->AcceptedChanges,
                           fileTime, units);
    if (length < 0 || length + 4 >= (int)sizeof(header))
        return NULL;
    const char* rule = (length % 2 == 0) ? "--\r\n" : "---\r\n";
    size_t headerBytes = (size_t)length + strlen(rule);
    size_t textBytes = record->Units * 2;
    size_t total = headerBytes + textBytes + TRAILER_BYTES;
    unsigned char* block = (unsigned char*)AllocZeroed(total + 1);
    if (!block)
        return NULL;
    memcpy(block, header, (size_t)length);
    memcpy(block + length, rule, strlen(rule));
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

int ParseRecoveryCopy(const unsigned char* bytes, size_t count, RecoveryRecord* record)
{
    memset(record, 0, sizeof(*record));
    const char* text = (const char*)bytes;
    size_t magicLength = strlen(Magic);
    if (count < magicLength + TRAILER_BYTES || memcmp(text, Magic, magicLength) != 0)
        return 0;
    size_t at = magicLength;
    long long encoding, noMark, lines, changes, accepted, fileTime, units;
    if (!ReadField(text, count, &at, "path", record->FilePath, sizeof(record->FilePath)) ||
        !ReadNumber(text, count, &at, "encoding", 0, 3, &encoding) ||
        !ReadNumber(text, count, &at, "nomark", 0, 1, &noMark) ||
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
    record->Encoding = (int)encoding;
    record->NoByteOrderMark = (int)noMark;
    record->LineFormat = (int)lines;
    record->TextChanges = (int)changes;
    record->AcceptedChanges = (int)accepted;
    record->FileTime = fileTime;
    record->Units = (size_t)units;
    record->Text = (const wchar_t*)(bytes + headerBytes);
    return 1;
}
