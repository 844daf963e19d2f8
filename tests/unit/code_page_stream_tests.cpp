// Text of every multi-byte code page streamed in pieces: whatever the piece
// edges, each character arrives whole, as the whole file decodes.
#include "text/stream_decoder.h"
#include "support/code_page_text.h"
#include "text/text_encoding.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

struct Streamed {
    std::wstring Text;
    int Changes;
};

// Streams the bytes in pieces of the given size as the reader does: each
// piece no larger than DecoderInputRoom allows for an output of room bytes.
static Streamed StreamInPieces(const std::string& bytes, UINT codePage, size_t piece, size_t room)
{
    StreamDecoder decoder;
    StartStreamDecoder(&decoder, ENCODING_ANSI, UNIX, codePage);
    EXPECT_TRUE(DecoderGivesUtf16(&decoder));
    std::string out;
    unsigned char buffer[DECODER_MAX_OUTPUT];
    size_t at = 0;
    while (at < bytes.size()) {
        size_t take = DecoderInputRoom(&decoder, room);
        if (take > piece)
            take = piece;
        if (take > bytes.size() - at)
            take = bytes.size() - at;
        EXPECT_GT(take, 0u) << "the reader would stall at " << at;
        if (take == 0)
            break;
        EXPECT_LE(DecodedPieceLimit(&decoder, take), room);
        size_t n = DecodeStreamPiece(&decoder, (const unsigned char*)bytes.data() + at, take, 0, buffer);
        EXPECT_LE(n, room);
        out.append((const char*)buffer, n);
        at += take;
    }
    size_t n = DecodeStreamPiece(&decoder, NULL, 0, 1, buffer);
    out.append((const char*)buffer, n);
    Streamed result;
    result.Text.assign((const wchar_t*)out.data(), out.size() / 2);
    result.Changes = decoder.Changes;
    return result;
}

// The system's own code page goes to the control as bytes: each of these
// is another, whatever system the tests run under, but for one.
TEST(CodePageStream, EveryCharacterArrivesWholeAtEveryPieceEdge)
{
    struct Case {
        UINT CodePage;
        const wchar_t* Text;
    } cases[] = {
        {950, L"a這是繁體中文，編碼偵測。\n第二行 abc 許功蓋\n"},
        {936, L"a这是简体中文，编码侦测。\n第二行 abc\n"},
        {932, L"aこれは日本語です。ｶﾀｶﾅ 表示\n二行目 abc\n"},
        {949, L"a이것은 한국어입니다. 똠방각하\n둘째 줄 abc\n"},
        {20932, L"aこれは日本語です。ｶﾀｶﾅ\n二行目\n"},
        // Four-byte GB18030 characters beside two-byte ones.
        {54936, L"a中文\x20AC\x00E9\xD83D\xDE00 \x0E01\n"},
        {1252, L"a Grüße aus Köln, café\n"},
        {65001, L"a 中文 \xD83D\xDE00 é\n"},
    };
    int tried = 0;
    for (const Case& c : cases) {
        if (!IsValidCodePage(c.CodePage) || (c.CodePage == GetACP() && c.CodePage != 65001))
            continue;
        tried++;
        std::string bytes = EncodeInCodePage(c.CodePage, c.Text);
        ASSERT_FALSE(bytes.empty()) << c.CodePage;
        std::wstring expected = DecodeInCodePage(c.CodePage, bytes);
        for (std::wstring::size_type i = 0; i < expected.size(); i++)
            if (expected[i] == L'\n')
                expected[i] = L'\r';
        for (size_t piece = 1; piece <= 9; piece++)
            for (size_t room : {8u, 9u, 64u, 4096u}) {
                Streamed streamed = StreamInPieces(bytes, c.CodePage, piece, room);
                EXPECT_TRUE(streamed.Text == expected) << c.CodePage << ", pieces of " << piece << ", room " << room;
                EXPECT_EQ(streamed.Changes, 0) << c.CodePage << ", pieces of " << piece;
            }
    }
    EXPECT_GE(tried, 5);
}

// Bytes the code page has no character for arrive as the code page reads
// them, and the save is told it would change them.
TEST(CodePageStream, BytesThatAreNoTextAreNoted)
{
    UINT codePage = GetACP() == 936 ? 950 : 936;
    std::string bytes = "ok \x81\n";
    Streamed streamed = StreamInPieces(bytes, codePage, 2, 64);
    EXPECT_NE(streamed.Changes & CHANGE_UNMAPPED, 0);
    EXPECT_EQ(streamed.Text.substr(0, 3), L"ok ");
}

TEST(CodePageStream, CharacterLengthsByTheirFirstBytes)
{
    struct Case {
        UINT CodePage;
        const char* Bytes;
        size_t Available;
        size_t Length;
    } cases[] = {
        {950, "a", 1, 1},          {950, "\xA4\xA4", 2, 2},  {950, "\xA4", 1, 2},
        {936, "\xD6\xD0", 2, 2},   {932, "\x82\xA0", 2, 2},  {932, "\xB1", 1, 1},  // half-width kana
        {54936, "\x81\x30\x81\x30", 4, 4}, {54936, "\x81\x30", 2, 4}, {54936, "\xD6\xD0", 2, 2},
        {54936, "\x81", 1, 2},     {54936, "\x80", 1, 1},
        {20932, "\x8F\xB0\xA1", 3, 3}, {20932, "\x8E\xB1", 2, 2}, {20932, "\xA4\xA2", 2, 2},
        {65001, "\xE4\xB8\xAD", 3, 3}, {65001, "\xF0\x9F\x98\x80", 4, 4}, {65001, "\xC3\xA9", 2, 2},
        {65001, "\x80", 1, 1},     {1252, "\xE9", 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnsiCharacterLength(c.CodePage, (const unsigned char*)c.Bytes, c.Available), c.Length)
            << c.CodePage << " " << (unsigned)(unsigned char)c.Bytes[0];
}
