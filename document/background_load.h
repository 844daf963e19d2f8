// Large files: the first screen of text at once, the rest streamed in pieces
// from the message loop while the document stays read-only.
#ifndef SCRIVLET_BACKGROUND_LOAD_H
#define SCRIVLET_BACKGROUND_LOAD_H

#include <windows.h>
#include <richedit.h>

// Files of more bytes than this load in the background.
extern DWORD BackgroundLoadThreshold;
// Text bytes of the first piece, enough for a screen of any shape.
extern LONG FirstPieceBytes;
// Largest piece after the first; the pieces are sized to take a few tens of
// milliseconds each.
extern LONG MaxPieceBytes;

// The document state of a file whose whole text went in (App.FilePath).
typedef void (*LoadEndFunction)();
// Called by the Open-mode stream-in with the file open and its reader
// started: shows the first piece and leaves the rest to the message loop,
// which calls finish once the last piece is in.
// Returns 0, having done nothing, for a file at or under the threshold.
int StartBackgroundLoad(int streamFormat, int foundBreak, LoadEndFunction finish);

// Selects the range now, as far as the text goes, and again once the whole
// file is in when a load is streaming.
void SelectWhenLoaded(CHARRANGE selection);
// Stops a running load: the file is closed and the text so far stays,
// untitled and read-only.
void StopBackgroundLoad();
// Escape pressed in the control while a file streams in stops the load and
// goes no further; returns 1 when it did.
int TakeEscapeDuringLoad(MSGFILTER* filter);
// Stops a running load and makes the control editable again, for a
// document that replaces the incomplete one.
void EndIncompleteDocument();

#endif
