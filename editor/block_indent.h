// Block indent and unindent.
#ifndef SCRIVLET_BLOCK_INDENT_H
#define SCRIVLET_BLOCK_INDENT_H

#include <stddef.h>

enum IndentWay { UNINDENT = 0, INDENT = 1 };

// Indents or unindents every line the selection touches, as one undo step.
void IndentBlock(IndentWay way);

// Rebuilds a block of lines separated by CR: indenting puts unit before each
// line, unindenting removes one tab or up to tabSize spaces. Writes at most
// outSize units including the terminator; returns the length written.
size_t RebuildIndentedText(const wchar_t* block, IndentWay way, const wchar_t* unit, int tabSize,
                           wchar_t* out, size_t outSize);

// Units RebuildIndentedText may need for block, terminator included.
size_t IndentedTextCapacity(const wchar_t* block, size_t unitLength);

#endif
