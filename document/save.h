// Saving a document.
#ifndef SCRIVLET_SAVE_H
#define SCRIVLET_SAVE_H

int SaveDocument();

#endif
