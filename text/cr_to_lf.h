// The UNIX format's breaks: the control's CR becomes LF.
#ifndef SCRIVLET_CR_TO_LF_H
#define SCRIVLET_CR_TO_LF_H

#include <stddef.h>

// Replaces every CR by LF in place: bytes for ANSI, 16-bit units for UTF-16.
void ReplaceCRWithLF(unsigned char* text, size_t bytes, int isUnicode);

#endif
