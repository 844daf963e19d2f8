// The main window's title: the document's name and whether it has unsaved
// changes.
#ifndef SCRIVLET_TITLE_BAR_H
#define SCRIVLET_TITLE_BAR_H

void UpdateTitle();
// The document's name changed since the title was last built.
int TitleNameIsStale();

#endif
