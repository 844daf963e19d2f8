// The watch for outside changes to the document's file: armed when the main
// window gets the focus, run once by its timer half a second later.
#ifndef SCRIVLET_FILE_WATCH_H
#define SCRIVLET_FILE_WATCH_H

#include <windows.h>

void ArmFileCheck();
void OnFileCheckTimer(UINT_PTR timerId);

#endif
