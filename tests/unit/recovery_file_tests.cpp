#include "recovery/recovery_file.h"
#include "text/memory.h"
#include "text/text_hash.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>
#include <string>

static std::string Format(const wchar_t* path, const std::wstring& text, int encoding = 3)
{
    RecoveryRecord record;
    record.FilePath = path;
    record.Encoding = encoding;
    record.NoByteOrderMark = 1;
    record.LineFormat = 1;
    record.TextChanges = 4;
    record.AcceptedChanges = 2;
    record.FileTime = 1700000000123LL;
    record.Text = text.c_str();
    record.Units = text.size();
    size_t bytes = 0;
    unsigned char* block = FormatRecoveryCopy(&record, &bytes);
    std::string copy(block ? (const char*)block : "", block ? bytes : 0);
    FreeBlock(block);
    return copy;
}

// The parsed text points into the bytes, which must be 2-byte aligned.
static int Parse(const std::string& copy, RecoveryRecord* record, std::wstring* text = NULL)
{
    unsigned char* block = (unsigned char*)AllocZeroed(copy.size() + 2);
    memcpy(block, copy.data(), copy.size());
    int parsed = ParseRecoveryCopy(block, copy.size(), record);
    if (parsed && text)
        text->assign(record->Text, record->Units);
    FreeBlock(block);
    return parsed;
}

TEST(RecoveryFile, KeepsTextAndDocumentStateExactly)
{
    // Paths of both parities of length, so both header endings are read back.
    const wchar_t* paths[] = {L"C:\\notes\\a.txt", L"C:\\notes\\ab.txt", L"", L"C:\\\x4E2D\x6587\\x.txt",
                              L"C:\\\x4F1A\x8BAE\\\xD83D\xDE00.txt"};
    std::wstring text = L"line one\rsecond \x4E2D\x6587\r\xD83D\xDE00 end\t\r";
    for (const wchar_t* path : paths) {
        std::string copy = Format(path, text);
        ASSERT_FALSE(copy.empty());
        RecoveryRecord record;
        std::wstring back;
        ASSERT_TRUE(Parse(copy, &record, &back));
        EXPECT_TRUE(record.FilePath == path);
        EXPECT_EQ(3, record.Encoding);
        EXPECT_EQ(1, record.NoByteOrderMark);
        EXPECT_EQ(1, record.LineFormat);
        EXPECT_EQ(4, record.TextChanges);
        EXPECT_EQ(2, record.AcceptedChanges);
        EXPECT_EQ(1700000000123LL, record.FileTime);
        EXPECT_TRUE(back == text);
    }
    RecoveryRecord record;
    std::wstring back = L"x";
    ASSERT_TRUE(Parse(Format(L"", L""), &record, &back));
    EXPECT_TRUE(back.empty());
}

TEST(RecoveryFile, RefusesCopiesCutShortChangedOrForeign)
{
    std::string copy = Format(L"C:\\doc.txt", L"some text\rmore");
    RecoveryRecord record;
    ASSERT_TRUE(Parse(copy, &record));
    for (size_t length = 0; length < copy.size(); length++)
        EXPECT_FALSE(Parse(copy.substr(0, length), &record)) << "cut to " << length;
    for (size_t at = 0; at < copy.size(); at++) {
        std::string changed = copy;
        changed[at] ^= 0x01;
        EXPECT_FALSE(Parse(changed, &record)) << "byte " << at << " changed";
    }
    EXPECT_FALSE(Parse(copy + "x", &record));
    EXPECT_FALSE(Parse("[Config]\r\nWordWrap=1\r\n", &record));
    EXPECT_FALSE(Parse(std::string(4096, '\0'), &record));
    // A header that claims more text than there is.
    std::string claims = copy;
    size_t units = claims.find("units=14");
    ASSERT_NE(std::string::npos, units);
    claims.replace(units, 8, "units=99");
    EXPECT_FALSE(Parse(claims, &record));
}

// A copy an earlier version wrote: version 1, the path in the system code
// page. An update still offers it under its name.
static std::string FirstVersionCopy(const std::string& pathBytes, const std::wstring& text)
{
    std::string header = "scrivlet recovery copy 1\r\npath=" + pathBytes +
                         "\r\nencoding=0\r\nnomark=0\r\nlines=0\r\nchanges=0\r\naccepted=0\r\nfiletime=7\r\nunits=" +
                         std::to_string(text.size()) + "\r\n";
    header += header.size() % 2 == 0 ? "--\r\n" : "---\r\n";
    std::string copy = header + std::string((const char*)text.data(), text.size() * 2);
    char check[24];
    _snprintf(check, sizeof(check), "\r\ncheck=%08x\r\n", ContinueHash32(HASH32_START, copy.data(), copy.size()));
    return copy + check;
}

TEST(RecoveryFile, WritesTheNameInUtf8AndStillReadsTheFirstVersion)
{
    std::string copy = Format(L"C:\\\x4F1A\x8BAE\\\xD83D\xDE00.txt", L"x");
    std::string header = "scrivlet recovery copy 2\r\npath=C:\\\xE4\xBC\x9A\xE8\xAE\xAE\\\xF0\x9F\x98\x80.txt\r\n";
    EXPECT_EQ(copy.substr(0, header.size()), header);

    // Names in the code page of the system: Chinese where it holds them.
    const wchar_t* names[] = {L"C:\\notes\\a.txt", L"C:\\\x5831\x544A\\a.txt", L"C:\\\x62A5\x544A\\a.txt",
                              L"C:\\\x00E9t\x00E9\\a.txt"};
    int read = 0;
    for (const wchar_t* name : names) {
        char bytes[64];
        BOOL lossy = FALSE;
        int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, -1, bytes, 64, NULL, &lossy);
        if (length <= 1 || lossy)
            continue;
        RecoveryRecord record;
        std::wstring back;
        ASSERT_TRUE(Parse(FirstVersionCopy(std::string(bytes, (size_t)length - 1), L"old \x4E2D"), &record, &back));
        EXPECT_TRUE(record.FilePath == name);
        EXPECT_TRUE(back == L"old \x4E2D");
        EXPECT_EQ(record.FileTime, 7);
        read++;
    }
    EXPECT_GE(read, 2); // ASCII and one name beyond it, under any code page
    // A version 2 copy whose name is no UTF-8 is no copy of ours.
    RecoveryRecord record;
    std::string bad = FirstVersionCopy("C:\\\xFF.txt", L"x");
    bad[23] = '2';
    EXPECT_FALSE(Parse(bad, &record));
}

// ANSI text read in another code page than the system's keeps it in the
// copy (version 3); in the system's the copy stays one earlier versions read.
TEST(RecoveryFile, KeepsTheCodePageOfAnsiTextAndWritesOlderCopiesWhereItIsTheSystems)
{
    std::wstring text = L"\x4E2D\x6587 text\r";
    UINT other = GetACP() == 936 ? 950 : 936;
    struct Case {
        unsigned int Written;
        char Version;
        unsigned int Read;
    } cases[] = {{other, '3', other}, {932, '3', 932}, {GetACP(), '2', GetACP()}, {0, '2', GetACP()}};
    for (const Case& c : cases) {
        RecoveryRecord record;
        record.FilePath = L"C:\\notes\\gbk.txt";
        record.CodePage = c.Written;
        record.Text = text.c_str();
        record.Units = text.size();
        size_t bytes = 0;
        unsigned char* block = FormatRecoveryCopy(&record, &bytes);
        ASSERT_TRUE(block != NULL);
        std::string copy((const char*)block, bytes);
        FreeBlock(block);
        EXPECT_EQ(copy.substr(0, 25), std::string("scrivlet recovery copy ") + c.Version + "\r") << c.Written;
        RecoveryRecord back;
        std::wstring backText;
        ASSERT_TRUE(Parse(copy, &back, &backText)) << c.Written;
        EXPECT_EQ(back.CodePage, c.Read);
        EXPECT_TRUE(backText == text);
    }
}
