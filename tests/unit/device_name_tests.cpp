// Which names reach a device, a pipe or the console instead of a disk file.
#include "text/device_names.h"

#include <gtest/gtest.h>

TEST(IsDeviceName, ReservedNamesInAnyCaseFolderAndExtension)
{
    const char* devices[] = {
        "CON", "con", "Nul", "aux.txt", "prn.log.bak", "COM1", "com9.txt", "lpt1", "LPT9.c",
        "CONIN$", "conout$.txt", "C:\\docs\\aux.txt", "C:/docs/com1", "..\\nul", "D:con",
        "\\\\server\\share\\lpt3.txt", "C:\\docs\\aux.txt\\",
        // The system drops trailing dots and blanks, and stops at a colon.
        "nul.", "con...", "aux .txt", "com1  ", "prn:", "CON:stream",
    };
    for (const char* name : devices)
        EXPECT_TRUE(IsDeviceNameInCodePage(name, 1252)) << name;
}

TEST(IsDeviceName, FilesThatMerelyLookAlike)
{
    const char* files[] = {
        "", "console.txt", "com10", "com0.txt", "lpt", "auxiliary", "nullable.c", "con_fig.ini",
        "xcon.txt", " con.txt", "C:\\con-notes\\a.txt", "C:\\aux\\readme.txt", "notes.con",
        "C:\\docs\\", "a.txt", "\\\\server\\share\\pipe.txt", "\\\\server\\pipes\\x",
        "\\\\?\\C:\\docs\\a.txt", "\\\\.\\C:\\docs\\a.txt", "\\\\?\\UNC\\server\\share\\a.txt",
        "\\\\?\\Volume{0a1b2c3d-0000-0000-0000-000000000000}\\a.txt",
    };
    for (const char* name : files)
        EXPECT_FALSE(IsDeviceNameInCodePage(name, 1252)) << name;
    EXPECT_FALSE(IsDeviceName(NULL));
}

TEST(IsDeviceName, DevicePathsPipesAndMailslots)
{
    const char* devices[] = {
        "\\\\.\\COM1", "\\\\.\\COM10", "\\\\.\\PhysicalDrive0", "\\\\.\\C:", "\\\\?\\C:",
        "//./pipe/x", "\\\\.\\pipe\\editor", "\\\\?\\pipe\\editor", "\\??\\COM3",
        "\\\\server\\PIPE\\x", "\\\\server\\mailslot\\box", "\\\\?\\UNC\\server\\pipe\\x",
        "\\\\?\\GLOBALROOT\\Device\\Null", "\\\\?\\C:\\docs\\con.txt", "\\\\?\\Volume{x}",
    };
    for (const char* name : devices)
        EXPECT_TRUE(IsDeviceNameInCodePage(name, 1252)) << name;
}

TEST(IsDeviceName, DoubleByteTrailBackslashIsNoFolderBreak)
{
    // Big5 "許" is B3 5C: under code page 950 the 5C is half a character, so
    // the name is one part "許con.txt" and no device; under 1252 it splits.
    const char name[] = "\xB3\x5C" "con.txt";
    EXPECT_FALSE(IsDeviceNameInCodePage(name, 950));
    EXPECT_TRUE(IsDeviceNameInCodePage(name, 1252));
    EXPECT_TRUE(IsDeviceNameInCodePage("C:\\\xA4\xA4\xA4\xE5\\aux.txt", 950)); // folder 中文
    // The program's own call follows the system code page (run under 950 too).
    EXPECT_EQ(IsDeviceName(name), IsDeviceNameInCodePage(name, GetACP()));
}
