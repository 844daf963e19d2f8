// Text of every multi-byte code page streamed in pieces: whatever the piece
// edges, each character arrives whole, as the whole file decodes.
#include "support/code_page_text.h"
#include "text/stream_decoder.h"
#include "text/text_encoding.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <stdio.h>
#include <string>

// Streams the bytes as the reader does: each piece as large as the decoder
// allows for an output of room bytes, at most piece bytes.
static std::wstring StreamInPieces(const std::string& bytes, UINT codePage, size_t piece, size_t room,
                                   int* changes)
{
    StreamDecoder decoder;
    StartStreamDecoder(&decoder, ENCODING_ANSI, UNIX, codePage);
    EXPECT_TRUE(DecoderGivesUtf16(&decoder));
    std::string out;
    unsigned char buffer[DECODER_MAX_OUTPUT];
    for (size_t at = 0, take = 0; at < bytes.size(); at += take) {
        take = std::min(std::min(DecoderInputRoom(&decoder, room), piece), bytes.size() - at);
        EXPECT_GT(take, 0u) << "the reader would stall at " << at;
        if (take == 0)
            break;
        size_t n = DecodeStreamPiece(&decoder, (const unsigned char*)bytes.data() + at, take, 0, buffer);
        EXPECT_LE(n, room);
        out.append((const char*)buffer, n);
    }
    out.append((const char*)buffer, DecodeStreamPiece(&decoder, NULL, 0, 1, buffer));
    *changes = decoder.Changes;
    return std::wstring((const wchar_t*)out.data(), out.size() / 2);
}

// Every code page but the system's is decoded into UTF-16 by the program
// (UTF-8 as a system code page too: its characters are longer than two bytes).
TEST(CodePageStream, EveryCharacterArrivesWholeAtEveryPieceEdge)
{
    struct Case {
        UINT CodePage;
        const wchar_t* Text;
    } cases[] = {
        {950, L"a這是繁體中文，編碼偵測。\n第二行 abc 許功蓋\n"}, {936, L"a这是简体中文，编码侦测。\n第二行\n"},
        {932, L"aこれは日本語です。ｶﾀｶﾅ 表示\n二行目\n"},         {949, L"a이것은 한국어입니다. 똠방각하\n"},
        {20932, L"aこれは日本語です。ｶﾀｶﾅ\n"},                      {54936, L"a中文\x20AC\x00E9\xD83D\xDE00 \x0E01\n"},
        {1252, L"a Grüße aus Köln, café\n"},                        {65001, L"a 中文 \xD83D\xDE00 é\n"},
    };
    std::string tried, skipped;
    for (const Case& c : cases) {
        if (!IsValidCodePage(c.CodePage) || (c.CodePage == GetACP() && c.CodePage != 65001)) {
            skipped += " " + std::to_string(c.CodePage);
            continue;
        }
        tried += " " + std::to_string(c.CodePage);
        std::string bytes = EncodeInCodePage(c.CodePage, c.Text);
        std::wstring expected = AsShown(DecodeInCodePage(c.CodePage, bytes));
        for (size_t piece = 1; piece <= 9; piece++)
            for (size_t room : {8u, 9u, 4096u}) {
                int changes = -1;
                EXPECT_TRUE(StreamInPieces(bytes, c.CodePage, piece, room, &changes) == expected)
                    << c.CodePage << ", pieces of " << piece << ", room " << room;
                EXPECT_EQ(changes, 0) << c.CodePage << ", pieces of " << piece;
            }
    }
    printf("code pages streamed:%s; skipped (the system's or missing):%s\n", tried.c_str(), skipped.c_str());
    EXPECT_GE(tried.size(), 20u);
}
