#include "ground/app_state.h"
#include "text/stream_decoder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace std::string_literals;

struct Decoded {
    std::string Text;
    int Changes;
    int Breaks;
};

// Decodes bytes handed over in pieces that end at the given offsets.
static Decoded DecodeInPieces(const std::string& bytes, int encoding, int format, UINT codePage,
                              const std::vector<size_t>& cuts)
{
    StreamDecoder decoder;
    StartStreamDecoder(&decoder, encoding, format, codePage);
    Decoded result;
    unsigned char out[DECODER_MAX_OUTPUT];
    size_t from = 0;
    std::vector<size_t> ends = cuts;
    ends.push_back(bytes.size());
    for (size_t end : ends) {
        size_t n = DecodeStreamPiece(&decoder, (const unsigned char*)bytes.data() + from, end - from, 0, out);
        result.Text.append((const char*)out, n);
        from = end;
    }
    size_t n = DecodeStreamPiece(&decoder, NULL, 0, 1, out);
    result.Text.append((const char*)out, n);
    result.Changes = decoder.Changes;
    result.Breaks = decoder.Breaks;
    return result;
}

static std::string Utf16(const std::string& ascii)
{
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

// Cut at every offset, the text is the same as read whole: no break is
// doubled, no character split, nothing lost.
static void ExpectSameAtEveryCut(const std::string& bytes, int encoding, int format, UINT codePage,
                                 const std::string& expected)
{
    for (size_t cut = 0; cut <= bytes.size(); cut++) {
        Decoded decoded = DecodeInPieces(bytes, encoding, format, codePage, {cut});
        EXPECT_EQ(decoded.Text, expected) << "cut at " << cut;
        EXPECT_EQ(decoded.Changes, 0) << "cut at " << cut;
    }
}

TEST(StreamDecoder, EveryBreakBecomesOneCRWhereverThePiecesEnd)
{
    ExpectSameAtEveryCut("a\r\nb\r\n\r\nc", ENCODING_ANSI, DOS, 1252, "a\rb\r\rc");
    ExpectSameAtEveryCut("a\nb\n\n", ENCODING_ANSI, UNIX, 1252, "a\rb\r\r");
    ExpectSameAtEveryCut("\ra\r\rb", ENCODING_ANSI, MAC, 1252, "\ra\r\rb");
    ExpectSameAtEveryCut(Utf16("a\r\nb\r\n"), ENCODING_UTF16LE, DOS, 1252, Utf16("a\rb\r"));
}

TEST(StreamDecoder, CharactersAreNeverSplitBetweenPieces)
{
    // 中文 in Big5, with a trail byte that looks like an ASCII letter: as
    // bytes under the Big5 system code page, as UTF-16 under any other.
    std::string big5 = "\xA4\xA4\xA4\xE5x\xB1\x60\r";
    std::string expected = big5;
    if (GetACP() != 950) {
        wchar_t wide[16];
        int units = MultiByteToWideChar(950, 0, big5.data(), (int)big5.size(), wide, 16);
        expected.assign((const char*)wide, (size_t)units * 2);
    }
    ExpectSameAtEveryCut(big5 + "\n", ENCODING_ANSI, DOS, 950, expected);
    // U+1F600 as a surrogate pair, then U+4E2D.
    std::string pair = "\x3D\xD8\x00\xDE"s + "\x2D\x4E"s;
    ExpectSameAtEveryCut(pair + Utf16("\n"), ENCODING_UTF16LE, UNIX, 1252, pair + Utf16("\r"));
}

TEST(StreamDecoder, Utf8KeepsItsBytesAndBigEndianBecomesLittleEndian)
{
    // U+4E2D, U+1F600 (four bytes, a pair), é, CR LF.
    ExpectSameAtEveryCut("a\xE4\xB8\xAD\xF0\x9F\x98\x80\xC3\xA9\r\nb", ENCODING_UTF8, DOS, 950,
                         "\xEF\xBB\xBF" "a\xE4\xB8\xAD\xF0\x9F\x98\x80\xC3\xA9\rb");
    std::string expected = "a\0\x2D\x4E\x3D\xD8\x00\xDE\xE9\0\r\0b\0"s;
    ExpectSameAtEveryCut("\0a\x4E\x2D\xD8\x3D\xDE\x00\0\xE9\0\r\0\n\0b"s, ENCODING_UTF16BE, DOS, 1252,
                         expected);
    EXPECT_EQ(DecodeInPieces("\0a\x4E\x2D\0\n"s, ENCODING_UTF16BE, UNIX, 1252, {}).Breaks, BREAK_LF);
}

TEST(StreamDecoder, NotesWhatCannotBeWrittenBack)
{
    auto changes = [](const std::string& bytes, int encoding, int format, UINT codePage) {
        return DecodeInPieces(bytes, encoding, format, codePage, {}).Changes;
    };
    EXPECT_EQ(changes("plain\r\ntext", ENCODING_ANSI, DOS, 1252), 0);
    EXPECT_EQ(changes("nul\0byte"s, ENCODING_ANSI, DOS, 1252), CHANGE_NUL);
    EXPECT_EQ(changes("a\r\nb\rc", ENCODING_ANSI, DOS, 1252), CHANGE_LINE_ENDINGS);
    EXPECT_EQ(changes("a\nb\r\n", ENCODING_ANSI, UNIX, 1252), CHANGE_LINE_ENDINGS);
    EXPECT_EQ(changes(Utf16("ab") + "x", ENCODING_UTF16LE, DOS, 1252), CHANGE_ODD_BYTE);
    // A lead byte with nothing after it, and one of the Big5 pairs whose
    // character is written back as another pair.
    EXPECT_EQ(changes("ab\xA4", ENCODING_ANSI, DOS, 950), CHANGE_UNMAPPED);
    EXPECT_EQ(changes("\xA2\xCC", ENCODING_ANSI, DOS, 950), CHANGE_UNMAPPED);
    // UTF-8 that is not: a bad byte, a sequence cut by the end of the file.
    EXPECT_EQ(changes("\xC3\xA9 caf\xE9", ENCODING_UTF8, DOS, 1252), CHANGE_UNMAPPED);
    EXPECT_EQ(changes("\xC3\xA9\xE4\xB8", ENCODING_UTF8, DOS, 1252), CHANGE_UNMAPPED);
    EXPECT_EQ(changes("\xC3\xA9\r\n", ENCODING_UTF8, DOS, 1252), 0);
    EXPECT_EQ(changes("\0a\0b\0"s, ENCODING_UTF16BE, DOS, 1252), CHANGE_ODD_BYTE);
    EXPECT_EQ(LineFormatOfBreaks(BREAK_LF), UNIX);
    EXPECT_EQ(LineFormatOfBreaks(BREAK_LF | BREAK_CR), -1);
}
