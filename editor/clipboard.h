// Clipboard, paste and delete, and the text exchange with the control that
// they and the other editor behaviours share.
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

// Copies UTF-16 text inserting LF after every CR that no LF follows. Returns
// units written (terminator not counted); out needs 2 * count + 1 units.
size_t ExpandLoneCR(const wchar_t* in, size_t count, wchar_t* out);

#endif
