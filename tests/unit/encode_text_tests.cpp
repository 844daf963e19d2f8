#include "text/encode_text.h"
#include "text/memory.h"
#include "text/stream_decoder.h"

#include <gtest/gtest.h>
#include <string>

using namespace std::string_literals;

struct Encoded {
    std::string Bytes;
    int Changes;
};

static Encoded Encode(const std::wstring& text, int encoding, int withMark, UINT codePage = 1252)
{
    size_t bytes = 0;
    Encoded result = {"", -1};
    unsigned char* block = EncodeText(text.data(), text.size(), encoding, withMark, codePage, &bytes, &result.Changes);
    EXPECT_TRUE(block != NULL);
    if (block) {
        result.Bytes.assign((const char*)block, bytes);
        FreeBlock(block);
    }
    return result;
}

TEST(EncodeText, EveryEncodingWithAndWithoutItsMark)
{
    const std::wstring text = L"a\x4E2D\xD83D\xDE00\r";
    EXPECT_EQ(Encode(text, ENCODING_UTF8, 0).Bytes, "a\xE4\xB8\xAD\xF0\x9F\x98\x80\r");
    EXPECT_EQ(Encode(text, ENCODING_UTF8, 1).Bytes, "\xEF\xBB\xBF" "a\xE4\xB8\xAD\xF0\x9F\x98\x80\r");
    EXPECT_EQ(Encode(text, ENCODING_UTF16LE, 1).Bytes, "\xFF\xFE" "a\0\x2D\x4E\x3D\xD8\x00\xDE\r\0"s);
    EXPECT_EQ(Encode(text, ENCODING_UTF16BE, 1).Bytes, "\xFE\xFF\0a\x4E\x2D\xD8\x3D\xDE\x00\0\r"s);
    EXPECT_EQ(Encode(text, ENCODING_UTF16LE, 0).Changes, 0);
    EXPECT_EQ(Encode(L"", ENCODING_UTF8, 1).Bytes, "\xEF\xBB\xBF");
    EXPECT_EQ(Encode(L"", ENCODING_ANSI, 1).Bytes, "");
    EXPECT_EQ(Encode(L"\x4E2D\xE9", ENCODING_ANSI, 0, 950).Bytes, "\xA4\xA4?");
}

TEST(EncodeText, WhatTheEncodingCannotHoldIsReported)
{
    EXPECT_EQ(Encode(L"caf\xE9", ENCODING_ANSI, 0).Changes, 0);
    EXPECT_EQ(Encode(L"\x4E2D", ENCODING_ANSI, 0).Changes, CHANGE_DEFAULT_CHAR);
    // No best-fit look-alike: a Greek alpha is not written as "a".
    Encoded alpha = Encode(L"\x3B1", ENCODING_ANSI, 0);
    EXPECT_EQ(alpha.Bytes, "?");
    EXPECT_EQ(alpha.Changes, CHANGE_DEFAULT_CHAR);
    // A half surrogate pair has no UTF-8 form.
    EXPECT_EQ(Encode(L"a\xD800z", ENCODING_UTF8, 0).Changes, CHANGE_DEFAULT_CHAR);
    EXPECT_EQ(Encode(L"a\xD800z", ENCODING_UTF16BE, 1).Changes, 0);
}
