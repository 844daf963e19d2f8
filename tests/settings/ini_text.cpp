// Reads INI text the way a person would: every "key=value" line under its
// section, so tests can compare whole files and see keys that must be absent.
#include "support/editor_fixture.h"

#include <map>
#include <sstream>
#include <string>

static std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::map<std::string, std::string> IniEntries(const std::string& text)
{
    std::map<std::string, std::string> entries;
    std::istringstream lines(IniText(text));
    std::string line;
    std::string section;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.erase(line.size() - 1);
        if (line.empty())
            continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            section = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        entries[section + "/" + Trimmed(line.substr(0, equals))] = Trimmed(line.substr(equals + 1));
    }
    return entries;
}
