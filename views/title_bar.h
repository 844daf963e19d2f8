// The main window's title: the document's name and whether it has unsaved
// changes.
#ifndef SCRIVLET_TITLE_BAR_H
#define SCRIVLET_TITLE_BAR_H

// Builds the title afresh from the document's state. While a file streams
// in, the title names it, though the document stays untitled until the
// whole file is in, unless an edit made the text the user's own.
void UpdateTitle();
// Builds it again only when the name or the modified mark it shows is no
// longer the document's; modified is the document's mark now.
void RefreshTitle(int modified);

#endif
