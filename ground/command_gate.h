// Which commands the document's current state allows. Every road a command
// arrives by asks IsCommandAllowed, and the menus and toolbar grey from it.
#ifndef SCRIVLET_COMMAND_GATE_H
#define SCRIVLET_COMMAND_GATE_H

#include <windows.h>

// States that hold commands back; more than one may be on at a time.
enum DocumentState {
    STATE_INCOMPLETE = 1,  // the text is not a whole file: streaming in, or a load stopped
    STATE_PRINTING = 2,    // from the print dialog to the last page
    STATE_QUESTION = 4,    // a message box waits for an answer
    STATE_LOADING = 8      // a file streams in; the text is incomplete meanwhile
};

// Commands that arrive by other roads than a command id of the menus.
enum {
    CMD_FIND_REPLACE_ONE = 0x7F00,  // the find/replace dialog's Replace
    CMD_FIND_REPLACE_ALL,           // and its Replace All
    CMD_TYPED_EDIT,                 // a key that the keyboard filter turns into an edit
    CMD_DROP_FILE,                  // a file dropped on the window
    CMD_PEER_LIST_CHANGE,           // another copy changed the shared favorites
    CMD_TRAY_RESTORE,               // the tray icon brings the window back
    CMD_LINK_CLICK                  // a click on a link in the text
};

void EnterDocumentState(int state);
void LeaveDocumentState(int state);
int IsInDocumentState(int state);
// The states on now, as DocumentState bits.
int CurrentDocumentStates();

// A file streams in from the message loop.
int IsDocumentLoading();
// The text is not a whole file: loading, or a load that was stopped. The
// control is read-only and the commands that need the whole text are held.
int IsDocumentIncomplete();

// The command may run in the given states, and in the current ones.
int IsCommandAllowedIn(int id, int states);
int IsCommandAllowed(int id);
// Holds one command more, whatever the states (0: none), so that a test sees
// the road it arrives by ask the gate and keep to the answer.
void HoldCommandForTests(int id);

#endif
