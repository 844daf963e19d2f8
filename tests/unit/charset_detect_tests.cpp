#include <gtest/gtest.h>

#include "text/charset_detect.h"
#include "text/code_page_round_trip.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

static std::wstring Decode(UINT codePage, const std::string& bytes)
{
    std::wstring text(bytes.size(), L'\0');
    int units = MultiByteToWideChar(codePage, 0, bytes.data(), (int)bytes.size(), &text[0], (int)text.size());
    text.resize(units > 0 ? units : 0);
    return text;
}

// The text in the code page, empty when it cannot hold every character.
static std::string Encode(UINT codePage, const std::wstring& text)
{
    std::string bytes(text.size() * 4, '\0');
    int length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), (int)text.size(), &bytes[0],
                                     (int)bytes.size(), NULL, NULL);
    bytes.resize(length > 0 ? length : 0);
    return Decode(codePage, bytes) == text ? bytes : std::string();
}

static UINT Detect(const std::string& bytes, TextExtent extent, UINT systemCodePage)
{
    return DetectCodePage((const unsigned char*)bytes.data(), bytes.size(), extent, systemCodePage);
}

TEST(DetectCodePage, VerdictWeighedAgainstTheSystemCodePage)
{
    const wchar_t* traditional = L"這是一份繁體中文的文件，用來檢查編碼的偵測是否正確。";
    const wchar_t* japanese = L"これは日本語の文書です。文字コードの判定が正しいかを確かめます。";
    // Its accented letters pair with the next bytes as Big5 characters, but
    // for the last, which only begins one.
    const wchar_t* german = L"Grüße aus Köln für Jörg, café";
    const wchar_t* russian = L"Это русский текст в кодировке Windows-1251.";
    struct Case {
        const wchar_t* Text;
        UINT TextCodePage;
        TextExtent Extent;
        UINT System;
        UINT Expected;
    } cases[] = {
        // A multi-byte verdict picks its code page.
        {traditional, 950, WHOLE_TEXT, 1252, 950},
        {traditional, 950, WHOLE_TEXT, 950, 950},
        {L"这是一份简体中文的文件，用来检查编码的侦测是否正确。", 936, WHOLE_TEXT, 950, 936},
        {japanese, 932, WHOLE_TEXT, 950, 932},
        {japanese, 20932, WHOLE_TEXT, 1252, 20932},
        {L"이것은 한국어 문서입니다. 문자 인코딩 감지가 올바른지 확인합니다.", 949, WHOLE_TEXT, 950, 949},
        // Big5 that the detector takes for GB18030; traditional characters in GBK.
        {L"套件名稱作為參數\n--%s 需要四個參數\n--%s 選項並不需要參數\n--%s 選", 950, WHOLE_TEXT, 1252, 950},
        {traditional, 936, WHOLE_TEXT, 950, 936},
        // A single-byte verdict only where the system code page cannot decode.
        {german, 1252, WHOLE_TEXT, 950, 1252},
        {german, 1252, START_OF_TEXT, 950, 950},
        {german, 1252, WHOLE_TEXT, 1252, 1252},
        {russian, 1251, WHOLE_TEXT, 1252, 1252},
        {russian, 1251, WHOLE_TEXT, 932, 1251},
        // ASCII keeps the system code page.
        {L"Plain ASCII, nothing to detect.", 1252, WHOLE_TEXT, 950, 950},
        {L"Plain ASCII, nothing to detect.", 1252, WHOLE_TEXT, 1252, 1252},
    };
    for (const Case& c : cases) {
        std::string bytes = Encode(c.TextCodePage, c.Text);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(Detect(bytes, c.Extent, c.System), c.Expected)
            << "text in " << c.TextCodePage << " under " << c.System << (c.Extent == START_OF_TEXT ? ", start" : "");
    }
}

TEST(RoundTripsInCodePage, BytesBackExactlyAtAnyLength)
{
    std::string big5(10000, 'a');
    auto trip = [](UINT codePage, const std::string& bytes) {
        return RoundTripsInCodePage(codePage, (const unsigned char*)bytes.data(), bytes.size());
    };
    big5 += Encode(950, L"繁體中文");
    EXPECT_TRUE(trip(950, big5));
    // The table maps A2CC and A451 to one character; A4 alone is half of one.
    EXPECT_FALSE(trip(950, big5 + "\xA2\xCC"));
    EXPECT_FALSE(trip(950, big5 + "\xA4"));
    EXPECT_FALSE(trip(CP_UTF8, "caf\xE9"));
    EXPECT_TRUE(trip(1252, "caf\xE9"));
}

// The translated texts of a GNU message catalogue (little-endian, as
// Debian's are), plural forms apart; none when it cannot be read.
static std::vector<std::wstring> CatalogueTexts(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto word = [&](size_t at) {
        uint32_t value = 0;
        if (at + 4 <= data.size())
            memcpy(&value, data.data() + at, 4);
        return value;
    };
    std::vector<std::wstring> texts;
    for (uint32_t i = 0; word(0) == 0x950412DE && i < word(8); i++) {
        uint32_t length = word(word(16) + 8 * i), offset = word(word(16) + 8 * i + 4);
        // The entry of the empty original is the catalogue's header.
        if (word(word(12) + 8 * i) == 0 || (size_t)offset + length > data.size())
            continue;
        std::string forms = data.substr(offset, length) + '\0';
        for (size_t start = 0, end; (end = forms.find('\0', start)) != std::string::npos; start = end + 1)
            if (end > start)
                texts.push_back(Decode(CP_UTF8, forms.substr(start, end - start)));
    }
    return texts;
}

// Consecutive pieces of the texts that the code page holds, one text a
// line, each at most limit bytes and cut between characters.
struct Sample {
    std::wstring Text;
    std::string Bytes;
};
static std::vector<Sample> CutSamples(const std::vector<std::wstring>& texts, UINT codePage, size_t limit)
{
    std::vector<Sample> samples(1);
    for (const std::wstring& text : texts) {
        std::wstring line = text + L"\n";
        if (Encode(codePage, text).empty())
            continue;
        for (size_t i = 0, units; i < line.size(); i += units) {
            units = IS_HIGH_SURROGATE(line[i]) ? 2 : 1;
            std::string bytes = Encode(codePage, line.substr(i, units));
            if (samples.back().Bytes.size() + bytes.size() > limit)
                samples.emplace_back();
            samples.back().Text += line.substr(i, units);
            samples.back().Bytes += bytes;
        }
    }
    samples.pop_back();  // the last is short
    return samples;
}

// Catalogues of essential packages and of those scripts/setup.sh installs.
static const char* const Catalogues[] = {"coreutils", "dpkg", "bash", "tar", "findutils", "grep", "sed", "apt", "libc"};

TEST(DetectCodePage, AccuracyOverTranslatedMessages)
{
    struct Corpus {
        const char* Name;
        UINT CodePage;
        std::vector<const char*> Languages;
    } corpora[] = {
        {"Big5", 950, {"zh_TW"}},   {"GBK", 936, {"zh_CN"}},   {"Shift-JIS", 932, {"ja"}},
        {"EUC-JP", 20932, {"ja"}}, {"EUC-KR", 949, {"ko"}}, {"Western", 1252, {"de", "fr", "es"}},
    };
    const size_t lengths[] = {64, 256, 1024};
    const double least[] = {0.95, 0.99, 0.99};
    printf("%-20s %6s %18s %18s %18s\n", "text in", "system", "64 bytes", "256 bytes", "1024 bytes");
    for (const Corpus& corpus : corpora) {
        std::vector<std::wstring> texts;
        for (const char* language : corpus.Languages)
            for (const char* catalogue : Catalogues) {
                std::string path = std::string("Z:\\usr\\share\\locale\\") + language + "\\LC_MESSAGES\\" + catalogue + ".mo";
                std::vector<std::wstring> more = CatalogueTexts(path);
                ASSERT_FALSE(more.empty()) << "no messages in " << path;
                texts.insert(texts.end(), more.begin(), more.end());
            }
        for (UINT system : {950u, 1252u}) {
            // Big5 decodes most short Western texts (an accented letter and
            // the next byte as one character), and the rule then keeps it.
            bool held = !(corpus.CodePage == 1252 && system == 950);
            printf("%-14s%6u %6u", corpus.Name, corpus.CodePage, system);
            for (size_t l = 0; l < 3; l++) {
                std::vector<Sample> samples = CutSamples(texts, corpus.CodePage, lengths[l]);
                size_t right = 0;
                for (const Sample& sample : samples)
                    right += Decode(Detect(sample.Bytes, WHOLE_TEXT, system), sample.Bytes) == sample.Text;
                double share = samples.size() >= 100 ? (double)right / samples.size() : 0;
                printf(" %9.2f%% of %5zu", 100 * share, samples.size());
                EXPECT_GE(held ? share : 1, least[l]) << corpus.Name << " at " << lengths[l] << " bytes under " << system;
            }
            printf("%s\n", held ? "" : "  (not held to the targets)");
        }
    }
}
