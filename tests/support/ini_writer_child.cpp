// A child role of every test program: one of several processes that write
// the same INI file at once through the program's write primitives.
#include "settings/ini_file.h"

#include <stdio.h>
#include <string>

#define WRITER_KEYS 30

int RunIniWriterChild(const char* iniPath, int copy)
{
    char section[32];
    _snprintf(section, sizeof(section), "Copy%d", copy);
    section[sizeof(section) - 1] = 0;
    for (int key = 0; key < WRITER_KEYS; key++) {
        std::string name = "Key" + std::to_string(key);
        WriteIniIntIfChanged(iniPath, section, name.c_str(), copy * 100 + key, -1);
        WriteIniStringIfChanged(iniPath, "Shared", "Last", "", section);
    }
    return 0;
}
