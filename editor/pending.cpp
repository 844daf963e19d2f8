// TEMPORARY placeholders until the editor module lands; delete each one as
// its real definition is written.
#include "app/app_state.h"
#include "editor/block_indent.h"
#include "editor/caret_status.h"
#include "editor/clipboard.h"
#include "editor/gutter.h"
#include "editor/keyboard.h"

void UpdateCaretStatus() {}
void SetTabSize(int size) { Config.TabSize = size; }
void ShowTabSize() {}
void GoToLine(int) {}
INT_PTR CALLBACK GoToLineDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
void ShowGoToLineDialog() {}
int ColumnAfterText(const char*, int) { return 1; }
void IndentBlock(int) {}
size_t RebuildIndentedText(const char*, int, const char*, int, char* out, size_t) { out[0] = 0; return 0; }
void CopySelection() {}
void PasteClipboard() {}
void CutSelection() {}
void DeleteSelection() {}
void DeleteLine() {}
int GetSelectionUnicode(int, wchar_t*) { return 0; }
void OpenLink(LONG, LONG) {}
LRESULT OnLinkNotify(ENLINK*) { return 0; }
void OnLinkCommand(int) {}
size_t ExpandLoneCR(const wchar_t*, size_t, wchar_t*) { return 0; }
LRESULT FilterEditKey(MSGFILTER*) { return 0; }
int SpacesToNextTabStop(int, int) { return 1; }
size_t LeadingBlankLength(const char*) { return 0; }
LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(App.OldEditProc, window, message, wParam, lParam);
}
void UpdateGutterWidth() {}
void PaintGutter(int) {}
