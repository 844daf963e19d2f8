#include "support/code_page_text.h"

std::string EncodeInCodePage(UINT codePage, const std::wstring& text)
{
    std::string bytes(text.size() * 4 + 4, '\0');
    int length = WideCharToMultiByte(codePage, 0, text.data(), (int)text.size(), &bytes[0], (int)bytes.size(),
                                     NULL, NULL);
    bytes.resize(length > 0 ? (size_t)length : 0);
    return bytes;
}

std::wstring DecodeInCodePage(UINT codePage, const std::string& bytes)
{
    std::wstring text(bytes.size() + 1, L'\0');
    int units = MultiByteToWideChar(codePage, 0, bytes.data(), (int)bytes.size(), &text[0], (int)text.size());
    text.resize(units > 0 ? (size_t)units : 0);
    return text;
}

std::wstring AsShown(const std::wstring& text)
{
    std::wstring shown;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            continue;
        shown += text[i] == L'\n' ? L'\r' : text[i];
    }
    return shown;
}
