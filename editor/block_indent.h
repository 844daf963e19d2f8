// Block indent and unindent.
#ifndef SCRIVLET_BLOCK_INDENT_H
#define SCRIVLET_BLOCK_INDENT_H

#include <stddef.h>

void IndentBlock(int indent);

// Rebuilds a block of lines separated by CR: indenting puts unit before each
// line, unindenting removes one tab or up to tabSize spaces. Writes at most
// outSize bytes including the terminator; returns the length written.
size_t RebuildIndentedText(const char* block, int indent, const char* unit, int tabSize,
                           char* out, size_t outSize);

#endif
