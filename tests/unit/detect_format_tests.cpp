#include "ground/app_state.h"
#include "text/text_format.h"

#include <gtest/gtest.h>
#include <string>

using namespace std::string_literals;

static DetectedFormat Detect(const std::string& bytes, int current = DOS)
{
    return DetectFormat((const unsigned char*)bytes.data(), bytes.size(), current);
}

// UTF-16 little-endian bytes of an ASCII text.
static std::string Utf16(const std::string& ascii)
{
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

TEST(DetectFormat, LineEndingsFromCRAndLFPresence)
{
    EXPECT_EQ(Detect("one\r\ntwo\r\n").LineFormat, DOS);
    EXPECT_EQ(Detect("one\ntwo\n", MAC).LineFormat, UNIX);
    EXPECT_EQ(Detect("one\rtwo\r").LineFormat, MAC);
    // Any CR together with any LF counts as DOS, however mixed.
    EXPECT_EQ(Detect("one\ntwo\nthree\r", UNIX).LineFormat, DOS);
    // No break at all is DOS, not the previous document's format.
    EXPECT_EQ(Detect("one line", MAC).LineFormat, DOS);
}

TEST(DetectFormat, OnlyTheFirst1024BytesCount)
{
    std::string bytes(1024, 'a');
    bytes[100] = '\n';
    EXPECT_EQ(Detect(bytes + "\r\r\r").LineFormat, UNIX);
    bytes[1023] = '\r';
    EXPECT_EQ(Detect(bytes).LineFormat, DOS);
}

TEST(DetectFormat, EmptyProbeKeepsLineFormatAndIsPlain)
{
    DetectedFormat found = Detect("", MAC);
    EXPECT_EQ(found.LineFormat, MAC);
    EXPECT_EQ(found.IsUnicode, 0);
    EXPECT_EQ(found.IsLogFile, 0);
    EXPECT_EQ(found.HasByteOrderMark, 0);
}

TEST(DetectFormat, ByteOrderMarkMeansUnicode)
{
    DetectedFormat found = Detect("\xFF\xFE" + Utf16("a\r\nb"));
    EXPECT_EQ(found.IsUnicode, 1);
    EXPECT_EQ(found.HasByteOrderMark, 1);
    EXPECT_EQ(found.LineFormat, DOS);

    found = Detect("\xFF\xFE", UNIX);
    EXPECT_EQ(found.IsUnicode, 1);
    EXPECT_EQ(found.HasByteOrderMark, 1);
    EXPECT_EQ(found.LineFormat, DOS);

    EXPECT_EQ(Detect("\xFF\xFE" + Utf16("x\ny")).LineFormat, UNIX);
}

TEST(DetectFormat, UnmarkedUnicodeNeedsTenZeroHighBytes)
{
    std::string twenty = Utf16("abcdefghij");
    DetectedFormat found = Detect(twenty);
    EXPECT_EQ(found.IsUnicode, 1);
    EXPECT_EQ(found.HasByteOrderMark, 0);

    // 19 bytes hold only nine odd offsets: ANSI.
    EXPECT_EQ(Detect(twenty.substr(0, 19)).IsUnicode, 0);
    // One non-zero high byte among the first ten characters: ANSI.
    std::string wide = twenty;
    wide[19] = 0x4E;
    EXPECT_EQ(Detect(wide).IsUnicode, 0);
    // A non-zero high byte after the tenth character does not matter.
    EXPECT_EQ(Detect(twenty + "\x2D\x4E").IsUnicode, 1);
    EXPECT_EQ(Detect(Utf16("line one\rline two")).LineFormat, MAC);
}

TEST(DetectFormat, BigEndianAndUtf8MarksGiveTheirEncodings)
{
    DetectedFormat found = Detect("\xFE\xFF\0a\0\n\x0A\x4E\0b"s);
    EXPECT_EQ(found.Encoding, ENCODING_UTF16BE);
    EXPECT_EQ(found.IsUnicode, 0);
    EXPECT_EQ(found.MarkBytes, 2);
    // Line endings on whole big-endian units: 0A 4E is no LF.
    EXPECT_EQ(found.LineFormat, UNIX);
    EXPECT_EQ(Detect("\xFE\xFF\0a\0\r"s).LineFormat, MAC);

    found = Detect("\xEF\xBB\xBFtext\r\n");
    EXPECT_EQ(found.Encoding, ENCODING_UTF8);
    EXPECT_EQ(found.MarkBytes, 3);
    EXPECT_EQ(found.LineFormat, DOS);
    // FF FE stays little-endian.
    EXPECT_EQ(Detect("\xFF\xFE").Encoding, ENCODING_UTF16LE);
    // Without a mark the probe alone never says UTF-8.
    EXPECT_EQ(Detect("\xE4\xB8\xAD").Encoding, ENCODING_ANSI);
    EXPECT_EQ(Detect("\xFE").Encoding, ENCODING_ANSI);
    EXPECT_EQ(Detect("\xEF\xBB").Encoding, ENCODING_ANSI);
}

TEST(DetectFormat, LogMarkIsFourExactBytes)
{
    EXPECT_EQ(Detect(".LOG").IsLogFile, 1);
    EXPECT_EQ(Detect(".LOG\r\nentry\r\n").IsLogFile, 1);
    EXPECT_EQ(Detect(".LOGBOOK\r\n").IsLogFile, 1);
    EXPECT_EQ(Detect(".log\r\n").IsLogFile, 0);
    EXPECT_EQ(Detect(".LO").IsLogFile, 0);
    EXPECT_EQ(Detect(" .LOG").IsLogFile, 0);
    EXPECT_EQ(Detect("\xFF\xFE" + Utf16(".LOG")).IsLogFile, 0);
}

TEST(DetectFormat, Utf16LineEndingsAreWholeUnits)
{
    // U+4E0D is the bytes 0D 4E: no CR, so this LF-only file is UNIX.
    std::string text = "\xFF\xFE" + Utf16("aaaaaaaaaa") + "\x0D\x4E" + Utf16("\nb\n");
    EXPECT_EQ(Detect(text).LineFormat, UNIX);
    EXPECT_EQ(Detect(Utf16("aaaaaaaaaa\r\n") + "\x0A\x4E").LineFormat, DOS);
}

TEST(DetectFormat, Utf8MarkIsNotedAtTheStartOnly)
{
    EXPECT_EQ(Detect("\xEF\xBB\xBFtext").HasUtf8Mark, 1);
    EXPECT_EQ(Detect("\xEF\xBB").HasUtf8Mark, 0);
    EXPECT_EQ(Detect("text\xEF\xBB\xBF").HasUtf8Mark, 0);
}
