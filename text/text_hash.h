// The one hash the program keeps of texts and names (FNV-1a): the saved
// text, the shared favorites section, the INI file's lock name and the
// recovery copy's check line.
#ifndef SCRIVLET_TEXT_HASH_H
#define SCRIVLET_TEXT_HASH_H

#include <stddef.h>

#define HASH_START 1469598103934665603ULL
#define HASH32_START 2166136261u

// The hash so far (HASH_START for none) continued over count bytes.
unsigned long long ContinueHash(unsigned long long hash, const void* bytes, size_t count);
// The 32-bit form, which the recovery copies on disk carry.
unsigned int ContinueHash32(unsigned int hash, const void* bytes, size_t count);

#endif
