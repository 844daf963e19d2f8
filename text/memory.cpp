#include "text/memory.h"

#include <windows.h>

void* AllocZeroed(size_t size)
{
    // Committed pages come zero-filled; callers rely on that.
    return VirtualAlloc(NULL, size ? size : 1, MEM_COMMIT, PAGE_READWRITE);
}

void FreeBlock(void* block)
{
    if (block)
        VirtualFree(block, 0, MEM_RELEASE);
}
