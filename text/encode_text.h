// The document's text, as the control gives it (UTF-16), in the bytes of
// each encoding a file may have.
#ifndef SCRIVLET_ENCODE_TEXT_H
#define SCRIVLET_ENCODE_TEXT_H

#include <windows.h>
#include <stddef.h>

// A new block (FreeBlock) with the mark of the encoding first when withMark
// is set, then text in that encoding; *bytes gets its length. *changes gets
// CHANGE_DEFAULT_CHAR when a character could not be written as itself.
// NULL when memory runs out.
unsigned char* EncodeText(const wchar_t* text, size_t units, int encoding, int withMark, UINT codePage,
                          size_t* bytes, int* changes);

#endif
