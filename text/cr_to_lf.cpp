#include "text/cr_to_lf.h"

void ReplaceCRWithLF(unsigned char* text, size_t bytes, int isUnicode)
{
    if (!text)
        return;
    if (!isUnicode) {
        for (size_t i = 0; i < bytes; i++)
            if (text[i] == 0x0D)
                text[i] = 0x0A;
        return;
    }
    // Whole 16-bit units only: a 0D byte inside another character is not a CR.
    for (size_t i = 0; i + 1 < bytes; i += 2)
        if (text[i] == 0x0D && text[i + 1] == 0x00)
            text[i] = 0x0A;
}
