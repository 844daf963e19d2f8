#include "text/cr_to_lf.h"

#include <gtest/gtest.h>
#include <string>

static std::string Replaced(std::string bytes, int isUnicode)
{
    ReplaceCRWithLF((unsigned char*)&bytes[0], bytes.size(), isUnicode);
    return bytes;
}

TEST(ReplaceCRWithLF, AnsiTurnsEveryCRByteIntoLF)
{
    EXPECT_EQ(Replaced("a\rb\rc", 0), "a\nb\nc");
    EXPECT_EQ(Replaced("\r\r", 0), "\n\n");
    EXPECT_EQ(Replaced("no breaks", 0), "no breaks");
    EXPECT_EQ(Replaced("", 0), "");
}

TEST(ReplaceCRWithLF, UnicodeTouchesOnlyWholeCRUnits)
{
    std::string text("a\0\r\0b\0\r\0", 8);
    EXPECT_EQ(Replaced(text, 1), std::string("a\0\n\0b\0\n\0", 8));
    // U+0D0D and U+000D-looking high bytes are other characters and stay.
    std::string other("\r\r\0\r", 4);
    EXPECT_EQ(Replaced(other, 1), other);
    // An odd trailing byte is no unit.
    std::string odd("a\0\r", 3);
    EXPECT_EQ(Replaced(odd, 1), odd);
}
