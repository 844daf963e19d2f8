#include "recovery/recovery_file.h"
#include "text/memory.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>
#include <string>

static std::string Format(const char* path, const std::wstring& text, int encoding = 3)
{
    RecoveryRecord record;
    memset(&record, 0, sizeof(record));
    lstrcpynA(record.FilePath, path, RECOVERY_PATH_SIZE);
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
    const char* paths[] = {"C:\\notes\\a.txt", "C:\\notes\\ab.txt", "", "C:\\\xA4\xA4\xA4\xE5\\x.txt"};
    std::wstring text = L"line one\rsecond \x4E2D\x6587\r\xD83D\xDE00 end\t\r";
    for (const char* path : paths) {
        std::string copy = Format(path, text);
        ASSERT_FALSE(copy.empty());
        RecoveryRecord record;
        std::wstring back;
        ASSERT_TRUE(Parse(copy, &record, &back)) << path;
        EXPECT_STREQ(path, record.FilePath);
        EXPECT_EQ(3, record.Encoding);
        EXPECT_EQ(1, record.NoByteOrderMark);
        EXPECT_EQ(1, record.LineFormat);
        EXPECT_EQ(4, record.TextChanges);
        EXPECT_EQ(2, record.AcceptedChanges);
        EXPECT_EQ(1700000000123LL, record.FileTime);
        EXPECT_TRUE(back == text) << path;
    }
    RecoveryRecord record;
    std::wstring back = L"x";
    ASSERT_TRUE(Parse(Format("", L""), &record, &back));
    EXPECT_TRUE(back.empty());
}

TEST(RecoveryFile, RefusesCopiesCutShortChangedOrForeign)
{
    std::string copy = Format("C:\\doc.txt", L"some text\rmore");
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
