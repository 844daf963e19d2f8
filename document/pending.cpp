// TEMPORARY placeholders until the document module lands; delete each one as
// its real definition is written.
#include "app/app_state.h"
#include "document/file_commands.h"
#include "document/file_dialogs.h"
#include "document/load.h"
#include "document/save.h"
#include "document/text_format.h"
#include "document/title.h"

int OpenDocument(const char*) { return 0; }
int LoadFile(const char*, int) { return 0; }
DWORD CALLBACK ReadFileChunk(DWORD_PTR, LPBYTE, LONG, LONG* delivered) { *delivered = 0; return 1; }
void SetLineFormat(int format) { App.LineFormat = format < 0 ? 0 : format; }
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
void ChangeLineFormat(int) {}
DWORD WINAPI ResolveLongPath(LPCSTR, LPSTR, DWORD) { return 0; }
DWORD WINAPI GetLongPathFallback(LPCSTR, LPSTR, DWORD) { return 0; }
