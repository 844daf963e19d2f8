// New: an empty untitled document after the unsaved-changes question.
#ifndef SCRIVLET_NEW_DOCUMENT_H
#define SCRIVLET_NEW_DOCUMENT_H

void NewDocument();

#endif
