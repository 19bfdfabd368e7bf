#include "platform/os/IniFiles.h"

#include "platform/core/StringList.h"
#include "platform/core/Strings.h"

namespace qz {

TIniFile::TIniFile(const AnsiString& fileName) : fileName_(fileName) {
    exists_ = ReadIniText(fileName, sections_);
}

const IniEntry* TIniFile::FindEntry(const AnsiString& section, const AnsiString& ident) const {
    const IniSection* s = FindIniSection(sections_, section);
    return s ? FindIniEntry(*s, ident) : nullptr;
}

bool TIniFile::SectionExists(const AnsiString& section) const {
    return FindIniSection(sections_, section);
}

bool TIniFile::ValueExists(const AnsiString& section, const AnsiString& ident) const {
    return FindEntry(section, ident) != nullptr;
}

AnsiString TIniFile::ReadString(const AnsiString& section, const AnsiString& ident,
                                const AnsiString& def) const {
    const IniEntry* e = FindEntry(section, ident);
    return e ? e->value : def;
}

int TIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int def) const {
    const IniEntry* e = FindEntry(section, ident);
    return e ? StrToIntDef(e->value, def) : def;
}

bool TIniFile::ReadBool(const AnsiString& section, const AnsiString& ident, bool def) const {
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TIniFile::ReadSection(const AnsiString& section, TStrings& names) const {
    names.BeginUpdate();
    names.Clear();
    if (const IniSection* s = FindIniSection(sections_, section))
        for (const auto& e : s->entries) names.Add(e.name);
    names.EndUpdate();
}

void TIniFile::ReadSectionValues(const AnsiString& section, TStrings& values) const {
    values.BeginUpdate();
    values.Clear();
    if (const IniSection* s = FindIniSection(sections_, section))
        for (const auto& e : s->entries) values.Add(e.name + "=" + e.value);
    values.EndUpdate();
}

void TIniFile::ReadSections(TStrings& sections) const {
    sections.BeginUpdate();
    sections.Clear();
    for (const auto& s : sections_) sections.Add(s.name);
    sections.EndUpdate();
}

} // namespace qz
