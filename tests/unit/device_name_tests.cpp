// Which names reach a device, a pipe or the console instead of a disk file.
#include "text/device_names.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>

TEST(IsDeviceName, ReservedNamesInAnyCaseFolderAndExtension)
{
    const wchar_t* devices[] = {
        L"CON", L"con", L"Nul", L"aux.txt", L"prn.log.bak", L"COM1", L"com9.txt", L"lpt1", L"LPT9.c",
        L"CONIN$", L"conout$.txt", L"C:\\docs\\aux.txt", L"C:/docs/com1", L"..\\nul", L"D:con",
        L"\\\\server\\share\\lpt3.txt", L"C:\\docs\\aux.txt\\",
        // The system drops trailing dots and blanks, and stops at a colon.
        L"nul.", L"con...", L"aux .txt", L"com1  ", L"prn:", L"CON:stream",
    };
    for (const wchar_t* name : devices)
        EXPECT_TRUE(IsDeviceName(name)) << name;
}

TEST(IsDeviceName, FilesThatMerelyLookAlike)
{
    const wchar_t* files[] = {
        L"", L"console.txt", L"com10", L"com0.txt", L"lpt", L"auxiliary", L"nullable.c", L"con_fig.ini",
        L"xcon.txt", L" con.txt", L"C:\\con-notes\\a.txt", L"C:\\aux\\readme.txt", L"notes.con",
        L"C:\\docs\\", L"a.txt", L"\\\\server\\share\\pipe.txt", L"\\\\server\\pipes\\x",
        L"\\\\?\\C:\\docs\\a.txt", L"\\\\.\\C:\\docs\\a.txt", L"\\\\?\\UNC\\server\\share\\a.txt",
        L"\\\\?\\Volume{0a1b2c3d-0000-0000-0000-000000000000}\\a.txt",
    };
    for (const wchar_t* name : files)
        EXPECT_FALSE(IsDeviceName(name)) << name;
    EXPECT_FALSE(IsDeviceName(NULL));
}

TEST(IsDeviceName, DevicePathsPipesAndMailslots)
{
    const wchar_t* devices[] = {
        L"\\\\.\\COM1", L"\\\\.\\COM10", L"\\\\.\\PhysicalDrive0", L"\\\\.\\C:", L"\\\\?\\C:",
        L"//./pipe/x", L"\\\\.\\pipe\\editor", L"\\\\?\\pipe\\editor", L"\\??\\COM3",
        L"\\\\server\\PIPE\\x", L"\\\\server\\mailslot\\box", L"\\\\?\\UNC\\server\\pipe\\x",
        L"\\\\?\\GLOBALROOT\\Device\\Null", L"\\\\?\\C:\\docs\\con.txt", L"\\\\?\\Volume{x}",
    };
    for (const wchar_t* name : devices)
        EXPECT_TRUE(IsDeviceName(name)) << name;
}

// A name the system hands over in UTF-16, as the bytes read in a code page.
static std::wstring Decoded(const char* bytes, UINT codePage)
{
    wchar_t wide[64];
    int length = MultiByteToWideChar(codePage, 0, bytes, -1, wide, 64);
    return std::wstring(wide, length > 0 ? (size_t)length - 1 : 0);
}

TEST(IsDeviceName, DoubleByteTrailBackslashIsNoFolderBreak)
{
    // Big5 "許" is B3 5C: read in code page 950 the 5C is half a character,
    // so the name is one part "許con.txt" and no device; read in 1252 it splits.
    const char name[] = "\xB3\x5C" "con.txt";
    EXPECT_FALSE(IsDeviceName(Decoded(name, 950).c_str()));
    EXPECT_TRUE(IsDeviceName(Decoded(name, 1252).c_str()));
    EXPECT_TRUE(IsDeviceName(L"C:\\\x4E2D\x6587\\aux.txt")); // folder 中文
    EXPECT_FALSE(IsDeviceName(L"C:\\docs\\\xD83D\xDE00" L"con.txt"));
}
