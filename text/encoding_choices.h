// The encodings a user can pick: one table for the Reopen and Convert menus
// and the Save As dialog's encoding box, in the order they list them.
#ifndef SCRIVLET_ENCODING_CHOICES_H
#define SCRIVLET_ENCODING_CHOICES_H

#include <windows.h>

struct EncodingChoice {
    const wchar_t* Label;  // as the menus and the box list it
    int Encoding;          // TextEncoding
    UINT CodePage;         // of ANSI text; 0: the system's
    int WithMark;          // UTF-8 and UTF-16 written with their byte-order mark
};

#define ENCODING_CHOICE_COUNT 11
extern const EncodingChoice EncodingChoices[ENCODING_CHOICE_COUNT];

// The code page a choice reads and writes ANSI text in on this system: the
// system's for the first entry, and GBK where GB18030 is not installed.
UINT ChoiceCodePage(int choice, UINT systemCodePage);
// The entry a document's encoding is listed as (the first that matches;
// UTF-16 whatever its mark; GB18030 read as GBK where its table is missing
// is GBK); -1 for an ANSI code page not in the list.
int CurrentEncodingChoice(int encoding, UINT codePage, int noMark, UINT systemCodePage);

#endif
