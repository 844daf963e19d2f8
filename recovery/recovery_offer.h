// At start-up, the recovery copies of windows that are gone: offered in one
// question, each taken over by a window of its own.
#ifndef SCRIVLET_RECOVERY_OFFER_H
#define SCRIVLET_RECOVERY_OFFER_H

#include "recovery/recovery_file.h"

// The start-up command line asks to take over one recovered document.
int IsRecoveryCommand(const wchar_t* commandTail);
// At start-up: takes over the copy the command line names, or offers the
// copies of windows no longer running.
void StartRecovery(const wchar_t* commandTail);
// Puts a copy's text and document state in the window as a modified document.
int RestoreRecoveryRecord(const RecoveryRecord* record);

#endif
