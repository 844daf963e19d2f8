// The recovery copy's bytes: a readable header naming what the text belongs
// to, the text as UTF-16, and a checksum line, so a copy cut short or not
// written by scrivlet is told apart from a whole one. No windows, no files.
#ifndef SCRIVLET_RECOVERY_FILE_H
#define SCRIVLET_RECOVERY_FILE_H

#include <stddef.h>
#include <string>

struct RecoveryRecord {
    std::wstring FilePath;     // empty for an untitled document
    int Encoding = 0;          // TextEncoding
    unsigned int CodePage = 0; // of ANSI text (0: the system's); copies before version 3 are in the system's
    int NoByteOrderMark = 0;
    int LineFormat = 0;        // DOS, UNIX or MAC
    int TextChanges = 0;       // CHANGE_ bits a save would still make
    int AcceptedChanges = 0;
    long long FileTime = 0;    // the file's modification time the document was based on
    const wchar_t* Text = nullptr; // the control's text as it streams out
    size_t Units = 0;
};

// The whole copy in a block of the page allocator (FreeBlock); NULL when no
// memory is left. *bytes receives its length.
unsigned char* FormatRecoveryCopy(const RecoveryRecord* record, size_t* bytes);

// Reads a copy back, of any version: the first's path is in the system code
// page, and copies before the third hold text of the system code page. On success record->Text points into bytes (which must
// stay alive and be 2-byte aligned) and 1 is returned; 0 for anything cut
// short, changed, or not a copy of this kind.
int ParseRecoveryCopy(const unsigned char* bytes, size_t count, RecoveryRecord* record);

#endif
