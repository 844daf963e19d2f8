// Title bar, the unsaved-changes question and New.
#ifndef SCRIVLET_TITLE_H
#define SCRIVLET_TITLE_H

void UpdateTitle();
int QuerySaveChanges();
void NewDocument();

#endif
