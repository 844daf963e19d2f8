// The document's encoding set from one of the encoding choices: the
// Convert menu and the Save As dialog both take one.
#ifndef SCRIVLET_DOCUMENT_ENCODING_H
#define SCRIVLET_DOCUMENT_ENCODING_H

// The document takes the choice's encoding, code page and mark.
void TakeEncodingChoice(int choice);

#endif
