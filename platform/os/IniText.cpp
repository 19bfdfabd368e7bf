#include "platform/os/IniText.h"

#include "platform/core/Strings.h"

#include <fstream>
#include <sstream>

namespace qz {

namespace {

// A value written wholly in quotes loses them.
AnsiString Unquote(const AnsiString& v) {
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) return v.substr(1, v.size() - 2);
    return v;
}

} // namespace

bool ReadIniText(const AnsiString& fileName, std::vector<IniSection>& sections) {
    sections.clear();
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return false;
    std::stringstream buffer;
    buffer << in.rdbuf();
    AnsiString text = buffer.str();
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    IniSection* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == AnsiString::npos) end = text.size();
        AnsiString line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            AnsiString name = Trim(line.substr(1, close == AnsiString::npos ? AnsiString::npos : close - 1));
            sections.push_back(IniSection{name, {}});
            current = &sections.back();
            continue;
        }
        if (!current) continue;
        size_t eq = line.find('=');
        if (eq == AnsiString::npos)
            current->entries.push_back(IniEntry{line, ""});
        else
            current->entries.push_back(
                IniEntry{TrimRight(line.substr(0, eq)), Unquote(Trim(line.substr(eq + 1)))});
    }
    return true;
}

const IniSection* FindIniSection(const std::vector<IniSection>& sections, const AnsiString& name) {
    for (const auto& s : sections)
        if (SameText(s.name, name)) return &s;
    return nullptr;
}

const IniEntry* FindIniEntry(const IniSection& section, const AnsiString& name) {
    for (const auto& e : section.entries)
        if (SameText(e.name, name)) return &e;
    return nullptr;
}

} // namespace qz
