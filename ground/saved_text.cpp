#include "ground/saved_text.h"

#include "ground/app_state.h"
#include "text/text_hash.h"

#include <richedit.h>

static struct {
    int Known;              // a mark was taken for the text now in the control
    int Stale;              // the text changed after the last comparison
    int Differs;            // the last comparison's answer
    LONG Length;
    unsigned long long Hash;
} Saved;

static DWORD CALLBACK HashPiece(DWORD_PTR cookie, LPBYTE buffer, LONG bytes, LONG* taken)
{
    unsigned long long* hash = (unsigned long long*)cookie;
    *hash = ContinueHash(*hash, buffer, (size_t)bytes);
    *taken = bytes;
    return 0;
}

static LONG LengthOfText()
{
    GETTEXTLENGTHEX request = {GTL_DEFAULT, 1200};
    return (LONG)SendMessageW(App.EditControl, EM_GETTEXTLENGTHEX, (WPARAM)&request, 0);
}

// Streamed out rather than copied: a large text needs no second copy in memory.
static unsigned long long HashOfText()
{
    unsigned long long hash = HASH_START;
    EDITSTREAM stream;
    stream.dwCookie = (DWORD_PTR)&hash;
    stream.dwError = 0;
    stream.pfnCallback = HashPiece;
    SendMessageW(App.EditControl, EM_STREAMOUT, (WPARAM)(SF_TEXT | SF_UNICODE), (LPARAM)&stream);
    return hash;
}

void MarkSavePoint()
{
    // With nothing to undo or redo, no step can pass this point and the
    // control's own flag tells the truth: a load or New costs no pass.
    if (!SendMessageW(App.EditControl, EM_CANUNDO, 0, 0) && !SendMessageW(App.EditControl, EM_CANREDO, 0, 0)) {
        Saved.Known = 0;
        return;
    }
    Saved.Length = LengthOfText();
    Saved.Hash = HashOfText();
    Saved.Known = 1;
    Saved.Stale = 0;
    Saved.Differs = 0;
}

void ForgetSavePoint()
{
    Saved.Known = 0;
}

void NoteTextChanged()
{
    Saved.Stale = 1;
}

int TextDiffersFromSavePoint()
{
    if (!Saved.Known)
        return 0;
    if (Saved.Stale) {
        Saved.Stale = 0;
        Saved.Differs = LengthOfText() != Saved.Length || HashOfText() != Saved.Hash;
    }
    return Saved.Differs;
}
