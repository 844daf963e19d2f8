#include "text/text_hash.h"

#define HASH_PRIME 1099511628211ULL
#define HASH32_PRIME 16777619u

unsigned long long ContinueHash(unsigned long long hash, const void* bytes, size_t count)
{
    const unsigned char* byte = (const unsigned char*)bytes;
    for (size_t i = 0; i < count; i++)
        hash = (hash ^ byte[i]) * HASH_PRIME;
    return hash;
}

unsigned int ContinueHash32(unsigned int hash, const void* bytes, size_t count)
{
    const unsigned char* byte = (const unsigned char*)bytes;
    for (size_t i = 0; i < count; i++)
        hash = (hash ^ byte[i]) * HASH32_PRIME;
    return hash;
}
