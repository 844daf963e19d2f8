// The encoding submenu's commands: read the file's bytes again in another
// encoding, or write the text in another one from the next save on.
#ifndef SCRIVLET_ENCODING_COMMANDS_H
#define SCRIVLET_ENCODING_COMMANDS_H

// Reopens the document's file in the choice's encoding (asking first about
// unsaved changes), and remembers it for the file.
void ReopenInEncoding(int choice);
// The next save writes the choice's encoding; the text stays as it is.
void ConvertToEncoding(int choice);

#endif
