// How a document's characters are stored on disk. The values are the
// indices of the Save As dialog's encoding box.
#ifndef SCRIVLET_TEXT_ENCODING_H
#define SCRIVLET_TEXT_ENCODING_H

enum TextEncoding { ENCODING_ANSI = 0, ENCODING_UTF16LE = 1, ENCODING_UTF16BE = 2, ENCODING_UTF8 = 3 };

#endif
