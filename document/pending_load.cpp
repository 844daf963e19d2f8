// TEMPORARY placeholders until loading lands; delete each one as its real
// definition is written.
#include "app/app_state.h"
#include "document/file_commands.h"
#include "document/load.h"
#include "document/text_format.h"

int OpenDocument(const char*) { return 0; }
int LoadFile(const char*, int) { return 0; }
DWORD CALLBACK ReadFileChunk(DWORD_PTR, LPBYTE, LONG, LONG* delivered) { *delivered = 0; return 1; }
void SetLineFormat(int format) { App.LineFormat = format < 0 ? 0 : format; }
void ChangeLineFormat(int) {}
DWORD WINAPI ResolveLongPath(LPCSTR, LPSTR, DWORD) { return 0; }
DWORD WINAPI GetLongPathFallback(LPCSTR, LPSTR, DWORD) { return 0; }
