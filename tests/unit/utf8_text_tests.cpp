#include "text/text_format.h"

#include <gtest/gtest.h>
#include <string>

using namespace std::string_literals;

static int IsUtf8(const std::string& bytes)
{
    return IsUtf8Text((const unsigned char*)bytes.data(), bytes.size());
}

TEST(Utf8Text, ValidWithAMultiByteSequenceOnly)
{
    struct Case {
        std::string Bytes;
        int Expected;
        const char* Why;
    };
    const Case cases[] = {
        {"plain ascii\r\n", 0, "no multi-byte sequence: stays ANSI"},
        {"", 0, "empty"},
        {"caf\xC3\xA9", 1, "two bytes"},
        {"\xE4\xB8\xAD\xE6\x96\x87", 1, "CJK, three bytes each"},
        {"\xF0\x9F\x98\x80 smile", 1, "four bytes, beyond the BMP"},
        {"\xF4\x8F\xBF\xBF", 1, "U+10FFFF, the last code point"},
        {"\xEE\x80\x80", 1, "private use U+E000"},
        {"nul\0\xC3\xA9"s, 1, "a NUL is ASCII"},
        {"caf\xE9", 0, "Latin-1 e acute"},
        {"\xA4\xA4\xA4\xE5", 0, "Big5"},
        {"\xB1\x60\xA4\x40", 0, "Big5 with ASCII trail bytes"},
        {"\xC0\xAF", 0, "overlong slash"},
        {"\xC1\xBF", 0, "overlong two bytes"},
        {"\xE0\x80\xAF", 0, "overlong three bytes"},
        {"\xF0\x80\x80\xAF", 0, "overlong four bytes"},
        {"\xED\xA0\x80", 0, "lead surrogate U+D800"},
        {"\xED\xBF\xBF", 0, "trail surrogate U+DFFF"},
        {"\xED\x9F\xBF", 1, "U+D7FF just below"},
        {"\xF4\x90\x80\x80", 0, "past U+10FFFF"},
        {"\xF5\x80\x80\x80", 0, "F5 never leads"},
        {"\xFF\xFE", 0, "FF never occurs"},
        {"\x80", 0, "stray continuation"},
        {"ok \xE4\xB8", 0, "cut at the end of the file"},
        {"\xE4\xB8" "a", 0, "cut by ASCII"},
        {"\xC3\xA9\xC3", 0, "a lead byte last"},
        {std::string(4000, 'a') + "\xE4\xB8\xAD", 1, "late character past the fast path"},
        {std::string(4000, 'a') + "\xE9" + std::string(9, 'a'), 0, "late bad byte"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsUtf8(c.Bytes), c.Expected) << c.Why;
}

TEST(Utf8Text, PiecesGiveTheSameVerdictAsTheWhole)
{
    const std::string bytes = "a\xF0\x9F\x98\x80" "b\xE4\xB8\xAD\xC3\xA9";
    for (size_t cut = 0; cut <= bytes.size(); cut++) {
        Utf8Check check;
        StartUtf8Check(&check);
        ContinueUtf8Check(&check, (const unsigned char*)bytes.data(), cut);
        ContinueUtf8Check(&check, (const unsigned char*)bytes.data() + cut, bytes.size() - cut);
        EXPECT_TRUE(Utf8CheckPassed(&check) && check.MultiByte) << "cut at " << cut;
    }
}

TEST(Utf8Text, CompleteLengthLeavesAnOpenSequenceForLater)
{
    auto complete = [](const std::string& bytes) {
        return CompleteUtf8Length((const unsigned char*)bytes.data(), bytes.size());
    };
    EXPECT_EQ(complete("ab"), 2u);
    EXPECT_EQ(complete("a\xE4"), 1u);
    EXPECT_EQ(complete("a\xE4\xB8"), 1u);
    EXPECT_EQ(complete("a\xE4\xB8\xAD"), 4u);
    EXPECT_EQ(complete("a\xF0\x9F\x98"), 1u);
    EXPECT_EQ(complete("a\xF0\x9F\x98\x80"), 5u);
    EXPECT_EQ(complete("\xC3"), 0u);
    // Stray continuation bytes are nothing to wait for.
    EXPECT_EQ(complete("a\x80\x80\x80\x80"), 5u);
}

TEST(Utf8Text, DecodesToUtf16AndReplacesEachBadByte)
{
    auto decode = [](const std::string& bytes, int* invalid) {
        std::wstring out(bytes.size(), L'#');
        out.resize(Utf8ToUtf16((const unsigned char*)bytes.data(), bytes.size(), &out[0], invalid));
        return out;
    };
    int invalid = 0;
    EXPECT_EQ(decode("a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80", &invalid), std::wstring(L"a\xE9\x4E2D\xD83D\xDE00"));
    EXPECT_EQ(invalid, 0);
    // A cut sequence never swallows the break after it.
    EXPECT_EQ(decode("\xE9\r\n\xE4\xB8\r\xED\xA0\x80", &invalid), std::wstring(L"\xFFFD\r\n\xFFFD\xFFFD\r\xFFFD\xFFFD\xFFFD"));
    EXPECT_EQ(invalid, 1);
}
