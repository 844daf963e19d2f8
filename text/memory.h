// Zero-filled blocks from the page allocator: every dynamic buffer (paths,
// list entries, search texts, working copies of text) comes from here, and
// callers rely on the zero fill, a new block holding an empty string.
#ifndef SCRIVLET_MEMORY_H
#define SCRIVLET_MEMORY_H

#include <stddef.h>

void* AllocZeroed(size_t size);
void FreeBlock(void* block);

#endif
