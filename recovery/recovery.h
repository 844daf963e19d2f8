// Recovery copies: while the document has unsaved changes its text is kept
// in a folder beside the INI file, so a crash, a kill or a power cut loses
// nothing; the next start offers the copies of windows that are gone.
#ifndef SCRIVLET_RECOVERY_H
#define SCRIVLET_RECOVERY_H

#include <windows.h>

// A copy is written this long after the last edit, and at least this often
// while edits go on.
extern DWORD RecoveryPauseMs;
extern DWORD RecoveryLongestWaitMs;

// The call that writes a copy's bytes (WriteFile); tests swap it for a full disk.
typedef BOOL (WINAPI *RecoveryWriteFunction)(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written,
                                             LPOVERLAPPED overlapped);
extern RecoveryWriteFunction RecoveryWriter;
// Whether a key or click waits for the window (GetQueueStatus); tests swap it.
typedef int (*RecoveryInputFunction)();
extern RecoveryInputFunction RecoveryInputWaiting;
// Starts another copy of the program for one recovered document
// (CreateProcessW with handle inheritance); tests swap it.
typedef BOOL (*RecoveryStartFunction)(const wchar_t* commandLine);
extern RecoveryStartFunction RecoveryStarter;

// The document changed: a copy is due after the pause.
void NoteRecoveryEdit();
void OnRecoveryTimer(UINT_PTR timerId);
void OnRecoveryWritten(WPARAM written);
// Writes the copy now, on the writing thread, when one is due.
void WriteRecoveryCopy();
// Waits for a write under way to finish.
void WaitForRecoveryWrite();
// The document was saved, replaced, or its changes refused: its copy goes.
// One still modified gets a new copy after the pause.
void DiscardRecoveryCopy();
// Normal exit: the copy and this window's lock go.
void EndRecovery();

// A copy, its lock and its temporary file share a name of at most this many characters.
#define RECOVERY_NAME_SIZE 64
// This window's name, made from its process and start time.
const wchar_t* OwnRecoveryName();
// folder\name.extension into path (PATH_CAPACITY characters).
int RecoveryFilePath(const wchar_t* name, const wchar_t* extension, wchar_t* path);
// Opens the lock of the copy name without sharing; INVALID_HANDLE_VALUE
// while another process holds it. The lock file goes with the last handle.
HANDLE OpenRecoveryLock(const wchar_t* name);
// This window's own lock, made with the folder before its first copy.
int HoldOwnRecoveryLock();

// The folder of the copies into folder (PATH_CAPACITY characters); 0 when there is none.
int RecoveryFolder(wchar_t* folder);
// Full name of this window's copy into path (PATH_CAPACITY characters).
int OwnRecoveryCopyPath(wchar_t* path);

#endif
