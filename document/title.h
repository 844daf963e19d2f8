// Title bar, the unsaved-changes question and New.
#ifndef SCRIVLET_TITLE_H
#define SCRIVLET_TITLE_H

void UpdateTitle();
// The document's name changed since the title was last built.
int TitleNameIsStale();
int QuerySaveChanges();
void NewDocument();

#endif
