// The line endings a document is saved with, and their names.
#ifndef SCRIVLET_LINE_FORMAT_H
#define SCRIVLET_LINE_FORMAT_H

enum LineFormat { DOS = 0, UNIX = 1, MAC = 2 };

// "WIN", "UNIX" or "MAC", as the status bar and the messages name them; a
// value out of range is named as DOS.
const wchar_t* LineFormatName(int format);

#endif
