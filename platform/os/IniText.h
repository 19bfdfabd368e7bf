#pragma once
// The text of a settings file (or of the registry stand-in): sections of name=value lines, in file
// order. Lines starting with ";" are comments; names and values are trimmed; a name may repeat.
#include "platform/core/Types.h"
#include <vector>

namespace qz {

struct IniEntry {
    AnsiString name, value;
};
struct IniSection {
    AnsiString name;
    std::vector<IniEntry> entries;
};

// Reads the file; false when it cannot be opened.
bool ReadIniText(const AnsiString& fileName, std::vector<IniSection>& sections);
// The section of that name without regard to case, or nullptr.
const IniSection* FindIniSection(const std::vector<IniSection>& sections, const AnsiString& name);
const IniEntry* FindIniEntry(const IniSection& section, const AnsiString& name);

} // namespace qz
