// Caret position, selection and tab size on the status bar.
#ifndef SCRIVLET_CARET_STATUS_H
#define SCRIVLET_CARET_STATUS_H

#include <windows.h>

void UpdateCaretStatus();
void SetTabSize(int size);
void ShowTabSize();

// 1-based column after walking the text of a line up to the caret, tabs
// expanded to the next stop of tabSize (a CR restarts at column 1). The text
// is UTF-16 so that every character counts once, whatever the code page.
int ColumnAfterText(const wchar_t* text, int tabSize);

#endif
