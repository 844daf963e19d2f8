// The INI file in UTF-16: made so when new, converted from the code page at
// its first write with every line kept, and read the same before and after.
// Run again under code pages 950, 1252 and 936.
#include "program/commands.h"
#include "settings/ini_file.h"
#include "support/editor_fixture.h"
#include "text/text_hash.h"
#include "resource.h"

#include <map>
#include <string>

std::map<std::string, std::string> IniEntries(const std::string& text);

static std::string Utf16Bytes(const std::wstring& text)
{
    return std::string((const char*)text.data(), text.size() * sizeof(wchar_t));
}

// A Chinese or accented text the system code page holds, in its bytes there.
static std::wstring TextOfTheCodePage(std::string* bytes)
{
    const wchar_t* candidates[] = {L"\x5831\x544A", L"\x62A5\x544A", L"\x00E9t\x00E9", L"plain"};
    for (const wchar_t* text : candidates) {
        char out[16];
        BOOL lossy = FALSE;
        int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, out, 16, NULL, &lossy);
        if (length > 1 && !lossy) {
            bytes->assign(out, (size_t)length - 1);
            return text;
        }
    }
    return L"";
}

static std::wstring Read(const std::string& ini, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[64];
    GetPrivateProfileStringW(section, key, L"", value, 64, Wide(ini).c_str());
    return value;
}

class IniUnicode : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        ExpectTheCodePageAskedFor();
    }
};

TEST_F(IniUnicode, NewFileBeginsWithTheUtf16Mark)
{
    // The empty file a portable copy starts, written for the first time.
    RunCommand(IDM_TOOLBAR);
    ASSERT_TRUE(CloseMainWindow());
    std::string bytes = ReadBytes(IniPath());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(IniEntries(bytes)["View/Toolbar"], "0");

    // A file not there yet: the mark, then what the profile functions add.
    std::string missing = MakeScratchFolder("ini_unicode") + "new.ini";
    WriteIniString(Wide(missing).c_str(), L"Favorites", L"FILE1", L"C:\\\x4F1A\x8BAE\\\xD83D\xDE00.txt");
    bytes = ReadBytes(missing);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(Read(missing, L"Favorites", L"FILE1"), L"C:\\\x4F1A\x8BAE\\\xD83D\xDE00.txt");
}

TEST_F(IniUnicode, AnsiFileIsConvertedAtItsFirstWriteWithEveryLineKept)
{
    std::string ansi;
    std::wstring value = TextOfTheCodePage(&ansi);
    std::string ini = MakeScratchFolder("ini_unicode") + "old.ini";
    std::string old = "; notes " + ansi + "\r\n[Config]\r\nSearch = " + ansi + "  x\r\n\r\n[Other]\r\nkey=1\r\n";
    WriteBytes(ini, old);
    // Read as before: in the code page, until a write.
    EXPECT_EQ(Read(ini, L"Config", L"Search"), value + L"  x");
    EXPECT_EQ(ReadBytes(ini), old);

    ASSERT_EQ(MakeIniUnicode(Wide(ini).c_str()), 1);
    std::wstring text = L"; notes " + value + L"\r\n[Config]\r\nSearch = " + value + L"  x\r\n\r\n[Other]\r\nkey=1\r\n";
    EXPECT_EQ(ReadBytes(ini), "\xFF\xFE" + Utf16Bytes(text)) << "every byte of every line, as UTF-16";
    ASSERT_EQ(MakeIniUnicode(Wide(ini).c_str()), 1);
    EXPECT_EQ(ReadBytes(ini), "\xFF\xFE" + Utf16Bytes(text)) << "a UTF-16 file stays as it is";

    // The program's own write converts too, and what no code page holds stays.
    WriteBytes(ini, old);
    WriteIniString(Wide(ini).c_str(), L"Config", L"Replace", L"\x4EEC\xD83D\xDE00");
    std::string after = IniText(ReadBytes(ini));
    EXPECT_EQ(ReadBytes(ini).substr(0, 2), "\xFF\xFE");
    EXPECT_NE(after.find("; notes " + Utf8(value)), std::string::npos) << after;
    std::map<std::string, std::string> entries = IniEntries(ReadBytes(ini));
    EXPECT_EQ(entries["Config/Search"], Utf8(value) + "  x");
    EXPECT_EQ(entries["Other/key"], "1");
    EXPECT_EQ(Read(ini, L"Config", L"Replace"), L"\x4EEC\xD83D\xDE00");
    EXPECT_EQ(Read(ini, L"Config", L"Search"), value + L"  x");
}

// Every spelling of one path takes one lock; for a path in ASCII it is the
// name earlier versions took, so they and this one take turns at the file.
TEST(IniLock, OneNamePerPathTheEarlierOneForAscii)
{
    const char* ascii = "C:\\USERS\\ANNA\\SCRIVLET.INI";
    unsigned long long hash = ContinueHash(HASH_START, ascii, strlen(ascii));
    wchar_t earlier[48];
    _snwprintf(earlier, 48, L"scrivlet-ini-%08lx%08lx", (unsigned long)(hash >> 32),
               (unsigned long)(hash & 0xFFFFFFFFu));
    wchar_t name[48];
    IniLockName(L"c:/Users/anna/scrivlet.ini", name, 48);
    EXPECT_STREQ(name, earlier);

    wchar_t first[48], second[48], other[48];
    IniLockName(L"C:\\\x4F1A\x8BAE\\\xD83D\xDE00\\scrivlet.ini", first, 48);
    IniLockName(L"c:/\x4F1A\x8BAE/\xD83D\xDE00/SCRIVLET.ini", second, 48);
    IniLockName(L"C:\\\x4F1A\\\xD83D\xDE00\\scrivlet.ini", other, 48);
    EXPECT_STREQ(first, second);
    EXPECT_STRNE(first, other);
}
