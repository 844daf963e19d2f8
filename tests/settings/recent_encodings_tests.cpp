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

    bool Recall(const wchar_t* path, int* encoding, UINT* codePage)
    {
        return RecallFileEncoding(path, encoding, codePage) != 0;
    }
};

TEST_F(RecentEncodings, KeptPerPathBesideTheRecentFilesWhichStayAsTheyWere)
{
    int encoding = -1;
    UINT codePage = 0;
    // Nothing remembered in an older file.
    EXPECT_FALSE(Recall(L"C:\\notes\\old.txt", &encoding, &codePage));
    ASSERT_GE(FindInList(&App.RecentList, L"C:\\notes\\a=b;[c].txt"), 0);

    // A name a key could not hold, read back under any spelling of its case.
    RememberFileEncoding(L"C:\\notes\\a=b;[c].txt", ENCODING_ANSI, 950);
    RememberFileEncoding(L"C:\\notes\\old.txt", ENCODING_UTF16BE, 950);
    ASSERT_TRUE(Recall(L"C:\\notes\\a=b;[c].txt", &encoding, &codePage));
    EXPECT_EQ(encoding, ENCODING_ANSI);
    EXPECT_EQ(codePage, 950u);
    ASSERT_TRUE(Recall(L"c:\\NOTES\\A=B;[C].TXT", &encoding, &codePage));
    EXPECT_EQ(codePage, 950u);
    ASSERT_TRUE(Recall(L"C:\\notes\\old.txt", &encoding, &codePage));
    EXPECT_EQ(encoding, ENCODING_UTF16BE);
    EXPECT_FALSE(Recall(L"C:\\notes\\other.txt", &encoding, &codePage));

    std::string ini = ReadIni();
    EXPECT_NE(ini.find("MRU_FILE1=C:\\notes\\a=b;[c].txt\r\nMRU_FILE2=C:\\notes\\old.txt\r\n"), std::string::npos)
        << ini;
    EXPECT_NE(ini.find("[Encodings]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("=0 950 C:\\notes\\a=b;[c].txt"), std::string::npos) << ini;

    // A path that left the recent files goes with the next one remembered;
    // the one remembered stays, recent or not.
    RemoveByName(&App.RecentList, L"C:\\notes\\old.txt");
    RememberFileEncoding(L"C:\\elsewhere\\new.txt", ENCODING_UTF8, 950);
    EXPECT_FALSE(Recall(L"C:\\notes\\old.txt", &encoding, &codePage));
    EXPECT_TRUE(Recall(L"C:\\notes\\a=b;[c].txt", &encoding, &codePage));
    EXPECT_TRUE(Recall(L"C:\\elsewhere\\new.txt", &encoding, &codePage));

    // A save in another encoding changes a remembered entry; it adds none.
    UpdateRememberedEncoding(L"C:\\elsewhere\\new.txt", ENCODING_ANSI, 936);
    ASSERT_TRUE(Recall(L"C:\\elsewhere\\new.txt", &encoding, &codePage));
    EXPECT_EQ(encoding, ENCODING_ANSI);
    EXPECT_EQ(codePage, 936u);
    UpdateRememberedEncoding(L"C:\\never\\seen.txt", ENCODING_ANSI, 936);
    EXPECT_FALSE(Recall(L"C:\\never\\seen.txt", &encoding, &codePage));
}

// What a hand or another program left in the section is not taken for a choice.
TEST_F(RecentEncodings, EntriesThatAreNotOursAreNotTaken)
{
    RememberFileEncoding(L"C:\\notes\\old.txt", ENCODING_ANSI, 950);
    std::string ini = ReadIni();
    size_t at = ini.find("=0 950 C:\\notes\\old.txt");
    ASSERT_NE(at, std::string::npos) << ini;
    size_t keyStart = ini.rfind('\n', at) + 1;
    std::wstring key = Wide(ini.substr(keyStart, at - keyStart));
    std::wstring iniPath = Wide(IniPath());
    int encoding;
    UINT codePage;
    const wchar_t* values[] = {
        L"0 950 C:\\notes\\other.txt", // another path of the same hash
        L"0 59999 C:\\notes\\old.txt", // a code page this system lacks
        L"7 950 C:\\notes\\old.txt",   // no such encoding
        L"big5 C:\\notes\\old.txt",    L"0 950",
    };
    for (const wchar_t* value : values) {
        WritePrivateProfileStringW(L"Encodings", key.c_str(), value, iniPath.c_str());
        EXPECT_FALSE(Recall(L"C:\\notes\\old.txt", &encoding, &codePage)) << Utf8(value);
    }
    WritePrivateProfileStringW(L"Encodings", key.c_str(), L"3 0 C:\\notes\\old.txt", iniPath.c_str());
    EXPECT_TRUE(Recall(L"C:\\notes\\old.txt", &encoding, &codePage));
    EXPECT_EQ(encoding, ENCODING_UTF8);
}
