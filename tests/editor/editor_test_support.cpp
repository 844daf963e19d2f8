#include "editor_test_support.h"

#include <string.h>

static std::wstring ReadUnicode()
{
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* text = data ? (const wchar_t*)GlobalLock(data) : NULL;
    if (!text)
        return L"<none>";
    std::wstring result(text);
    GlobalUnlock(data);
    return result;
}

std::wstring ClipboardUnicode()
{
    if (!OpenClipboard(App.MainWindow))
        return L"<busy>";
    std::wstring result = ReadUnicode();
    CloseClipboard();
    return result;
}

std::string ClipboardAnsi()
{
    if (!OpenClipboard(App.MainWindow))
        return "<busy>";
    std::string result = "<none>";
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data ? (const char*)GlobalLock(data) : NULL;
    if (text) {
        result = text;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return result;
}

bool ClipboardHas(UINT format)
{
    return IsClipboardFormatAvailable(format) != FALSE;
}

static void PutBytes(UINT format, const void* bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    SetClipboardData(format, block);
}

void PutUnicodeOnClipboard(const std::wstring& text)
{
    ASSERT_TRUE(OpenClipboard(App.MainWindow));
    EmptyClipboard();
    PutBytes(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    CloseClipboard();
}

void PutAnsiOnlyOnClipboard(const std::string& text)
{
    ASSERT_TRUE(OpenClipboard(App.MainWindow));
    EmptyClipboard();
    PutBytes(CF_TEXT, text.c_str(), text.size() + 1);
    CloseClipboard();
}
