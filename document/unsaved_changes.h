// The unsaved-changes question asked before the text is replaced or the
// window closes.
#ifndef SCRIVLET_UNSAVED_CHANGES_H
#define SCRIVLET_UNSAVED_CHANGES_H

// IDYES once saved, IDNO when nothing needs saving or the user refused,
// IDCANCEL when the user cancelled or the save failed.
int QuerySaveChanges();

#endif
