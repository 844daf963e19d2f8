// The encoding a file was reopened in, kept per path in a section of its
// own: the recent-files entries and older INI files stay as they were.
#include "ground/app_state.h"
#include "settings/recent_encodings.h"
#include "settings/recent_lists.h"
#include "support/editor_fixture.h"

#include <string>

class RecentEncodings : public EditorFixture {
protected:
    // An INI an earlier version wrote: recent files, no encodings.
    std::string IniContents() override
    {
        return "[MRU]\r\nMRU_FILE1=C:\\notes\\a=b;[c].txt\r\nMRU_FILE2=C:\\notes\\old.txt\r\n";
    }
};

TEST_F(RecentEncodings, KeptPerPathBesideTheRecentFilesWhichStayAsTheyWere)
{
    const wchar_t* odd = L"C:\\notes\\a=b;[c].txt"; // a name no key could hold
    const wchar_t* old = L"C:\\notes\\old.txt";
    int encoding = -1;
    UINT codePage = 0;
    EXPECT_FALSE(RecallFileEncoding(old, &encoding, &codePage)) << "nothing in an older file";
    RememberFileEncoding(odd, ENCODING_ANSI, 950);
    RememberFileEncoding(old, ENCODING_UTF16BE, 950);
    ASSERT_TRUE(RecallFileEncoding(L"c:\\NOTES\\A=B;[C].TXT", &encoding, &codePage));
    EXPECT_EQ(encoding, ENCODING_ANSI);
    EXPECT_EQ(codePage, 950u);
    ASSERT_TRUE(RecallFileEncoding(old, &encoding, &codePage));
    EXPECT_EQ(encoding, ENCODING_UTF16BE);
    std::string ini = ReadIni();
    EXPECT_NE(ini.find("MRU_FILE1=C:\\notes\\a=b;[c].txt\r\nMRU_FILE2=C:\\notes\\old.txt\r\n"), std::string::npos)
        << ini;
    size_t at = ini.find("=0 950 C:\\notes\\a=b;[c].txt");
    ASSERT_NE(at, std::string::npos) << ini;

    // A path that left the recent files goes with the next one remembered.
    RemoveByName(&App.RecentList, old);
    RememberFileEncoding(L"C:\\elsewhere\\new.txt", ENCODING_UTF8, 950);
    EXPECT_FALSE(RecallFileEncoding(old, &encoding, &codePage));
    EXPECT_TRUE(RecallFileEncoding(L"C:\\elsewhere\\new.txt", &encoding, &codePage));
    // A save changes a remembered entry and adds none.
    UpdateRememberedEncoding(L"C:\\elsewhere\\new.txt", ENCODING_ANSI, 936);
    ASSERT_TRUE(RecallFileEncoding(L"C:\\elsewhere\\new.txt", &encoding, &codePage));
    EXPECT_EQ(codePage, 936u);
    UpdateRememberedEncoding(L"C:\\never\\seen.txt", ENCODING_ANSI, 936);
    EXPECT_FALSE(RecallFileEncoding(L"C:\\never\\seen.txt", &encoding, &codePage));

    // What else the entry may hold is not taken for a choice.
    size_t keyStart = ini.rfind('\n', at) + 1;
    std::wstring key = Wide(ini.substr(keyStart, at - keyStart));
    for (const wchar_t* value : {L"0 950 C:\\notes\\other.txt", L"0 59999 C:\\notes\\a=b;[c].txt", L"0 950"}) {
        WritePrivateProfileStringW(L"Encodings", key.c_str(), value, Wide(IniPath()).c_str());
        EXPECT_FALSE(RecallFileEncoding(odd, &encoding, &codePage)) << Utf8(value);
    }
}
