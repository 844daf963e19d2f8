// Text in and out of a code page for the tests, by the system's own tables,
// and the text as the edit control shows it.
#ifndef SCRIVLET_TEST_CODE_PAGE_TEXT_H
#define SCRIVLET_TEST_CODE_PAGE_TEXT_H

#include <windows.h>
#include <string>

std::string EncodeInCodePage(UINT codePage, const std::wstring& text);
std::wstring DecodeInCodePage(UINT codePage, const std::string& bytes);
// The control shows every break (CR LF, LF or CR) as one CR.
std::wstring AsShown(const std::wstring& text);

#endif
