// Clipboard, paste, delete and link actions, and the text exchange with the
// control that they and the other editor behaviours share.
#ifndef SCRIVLET_CLIPBOARD_H
#define SCRIVLET_CLIPBOARD_H

#include <windows.h>
#include <richedit.h>

void CopySelection();
void PasteClipboard();
void CutSelection();
void DeleteSelection();
void DeleteLine();
int GetSelectionUnicode(int bufferBytes, wchar_t* buffer);

void OpenLink(LONG start, LONG end);
// EN_LINK from the edit control; returns the result for the control.
LRESULT OnLinkNotify(ENLINK* link);
// Commands 1950 to 1953.
void OnLinkCommand(int id);

// Copies UTF-16 text inserting LF after every CR that no LF follows. Returns
// units written (terminator not counted); out needs 2 * count + 1 units.
size_t ExpandLoneCR(const wchar_t* in, size_t count, wchar_t* out);

// Text of the control from start to end in the ANSI code page, in a
// zero-filled block sized for the byte form (free with FreeBlock); NULL when
// no memory is left.
char* ReadTextRangeAnsi(LONG start, LONG end);

// Replaces the selection with text in the given code page (1200 for UTF-16)
// as one undo step.
void ReplaceSelectionText(const void* text, UINT codePage);

#endif
