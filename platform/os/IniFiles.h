#pragma once
// Settings files: sections and keys without regard to case, defaults for what is missing, whole
// sections as name=value lines. The file is read when the object is created; "\" and "/" in values
// are left as they stand.
#include "platform/os/IniText.h"

namespace qz {

class TStrings;

class TIniFile {
public:
    explicit TIniFile(const AnsiString& fileName);
    const AnsiString& FileName() const { return fileName_; }
    bool Exists() const { return exists_; }

    bool SectionExists(const AnsiString& section) const;
    bool ValueExists(const AnsiString& section, const AnsiString& ident) const;
    AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def) const;
    // The default also for a text that is not an integer.
    int ReadInteger(const AnsiString& section, const AnsiString& ident, int def) const;
    bool ReadBool(const AnsiString& section, const AnsiString& ident, bool def) const;
    // Key names of a section, in file order.
    void ReadSection(const AnsiString& section, TStrings& names) const;
    // The section's lines as name=value, in file order.
    void ReadSectionValues(const AnsiString& section, TStrings& values) const;
    void ReadSections(TStrings& sections) const;

private:
    const IniEntry* FindEntry(const AnsiString& section, const AnsiString& ident) const;

    AnsiString fileName_;
    bool exists_ = false;
    std::vector<IniSection> sections_;
};

} // namespace qz
