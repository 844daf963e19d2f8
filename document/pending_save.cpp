// TEMPORARY placeholders until saving, the title and the dialogs land; delete
// each one as its real definition is written.
#include "app/app_state.h"
#include "document/file_dialogs.h"
#include "document/save.h"
#include "document/title.h"

int SaveDocument() { return 0; }
void UpdateTitle() { SetWindowTextA(App.MainWindow, "[Untitled] - scrivlet"); }
int QuerySaveChanges() { return IDNO; }
void NewDocument() { UpdateTitle(); }
void BuildOpenFileName(OPENFILENAMEA*) {}
void ShowOpenDialog() {}
int ShowSaveAsDialog() { return 0; }
UINT_PTR CALLBACK SaveAsHookProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
void SelectFilterByExtension() {}
const char FileFilterTable[] = "\0";
int FilterIndexForPath(const char*) { return 0; }
