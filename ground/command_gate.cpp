#include "ground/command_gate.h"

#include "resource.h"

static int States;
static int HeldForTests;

// What holds a command: an incomplete text holds whatever reads or changes the
// whole text; printing and a question hold whatever changes or replaces it,
// since the page being printed or the text the question is about must not
// change under them.
enum {
    FREE = 0,
    READS_TEXT = STATE_INCOMPLETE,
    REPLACES_TEXT = STATE_PRINTING | STATE_QUESTION,
    CHANGES_TEXT = STATE_INCOMPLETE | STATE_PRINTING | STATE_QUESTION
};

struct GateRow {
    int First;
    int Last;
    int HeldBy;
};

// One row a command or a range of them; a command in no row reads the text.
static const GateRow Gate[] = {
    {IDM_NEWWINDOW, IDM_NEWWINDOW, FREE},
    {IDM_NEW, IDM_OPEN, REPLACES_TEXT},
    {IDM_SAVE, IDM_SAVEAS, READS_TEXT},
    {IDM_RELOAD, IDM_RELOAD, CHANGES_TEXT},
    {IDM_PROPERTIES, IDM_EXECUTE, READS_TEXT},
    {IDM_FORMAT_DOS, IDM_FORMAT_MAC, CHANGES_TEXT},
    {IDM_PRINT, IDM_PRINT, READS_TEXT},
    {IDM_RECENT_FIRST, IDM_RECENT_LAST, REPLACES_TEXT},
    {IDM_EXIT, IDM_EXIT, FREE},
    {IDM_REOPEN_FIRST, IDM_REOPEN_LAST, CHANGES_TEXT},
    {IDM_CONVERT_FIRST, IDM_CONVERT_LAST, CHANGES_TEXT},
    {IDM_UNDO, IDM_CUT, CHANGES_TEXT},
    {IDM_COPY, IDM_COPY, FREE},
    {IDM_PASTE, IDM_DELETE, CHANGES_TEXT},
    {IDM_SELECTALL, IDM_SELECTALL, FREE},
    {IDM_INDENT, IDM_UNINDENT, CHANGES_TEXT},
    {IDM_FIND, IDM_FINDPREV, READS_TEXT},
    {IDM_REPLACE, IDM_REPLACE, CHANGES_TEXT},
    {IDM_GOTOLINE, IDM_GOTOLINE, READS_TEXT},
    {IDM_DELETELINE, IDM_DELETELINE, CHANGES_TEXT},
    {IDM_TIMEDATE, IDM_INSERTFILE, CHANGES_TEXT},
    {IDM_TOOLBAR, IDM_MARGIN, FREE},
    {IDM_ZOOM_IN, IDM_ZOOM_IN, FREE},
    {IDM_ZOOM_OUT, IDM_ZOOM_OUT, FREE},
    {IDM_ZOOM_RESET, IDM_ZOOM_RESET, FREE},
    {IDM_FAV_ADD, IDM_FAV_REMOVE, READS_TEXT},
    {IDM_FAV_FIRST, IDM_FAV_LAST, REPLACES_TEXT},
    {IDM_FAV_OVERFLOW_FIRST, IDM_FAV_OVERFLOW_LAST, REPLACES_TEXT},
    {IDM_OPTIONS, IDM_OPTIONS, READS_TEXT},
    {IDM_TOTRAY, IDM_TOTRAY, FREE},
    {IDM_ABOUT, IDM_HELP, FREE},
    {IDM_URL_OPEN, IDM_URL_COPY, FREE},
    {IDM_URL_CUT, IDM_URL_CUT, CHANGES_TEXT},
    {CMD_FIND_REPLACE_ONE, CMD_TYPED_EDIT, CHANGES_TEXT},
    {CMD_DROP_FILE, CMD_DROP_FILE, REPLACES_TEXT},
    {CMD_PEER_LIST_CHANGE, CMD_LINK_CLICK, FREE},
    // The window menu's commands (size, move, close and the rest).
    {SC_SIZE, 0xFFFF, FREE},
};

void EnterDocumentState(int state) { States |= state; }
void LeaveDocumentState(int state) { States &= ~state; }
int IsInDocumentState(int state) { return (States & state) != 0; }
int CurrentDocumentStates() { return States; }
int IsDocumentLoading() { return IsInDocumentState(STATE_LOADING); }
int IsDocumentIncomplete() { return IsInDocumentState(STATE_INCOMPLETE); }

int IsCommandAllowedIn(int id, int states)
{
    int heldBy = READS_TEXT;
    for (size_t i = 0; i < sizeof(Gate) / sizeof(Gate[0]); i++)
        if (id >= Gate[i].First && id <= Gate[i].Last) {
            heldBy = Gate[i].HeldBy;
            break;
        }
    return (heldBy & states) == 0;
}

int IsCommandAllowed(int id)
{
    if (HeldForTests != 0 && id == HeldForTests)
        return 0;
    return IsCommandAllowedIn(id, States);
}

void HoldCommandForTests(int id) { HeldForTests = id; }
