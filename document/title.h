// The unsaved-changes question and New.
#ifndef SCRIVLET_TITLE_H
#define SCRIVLET_TITLE_H

int QuerySaveChanges();
void NewDocument();

#endif
