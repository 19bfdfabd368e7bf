#include "platform/os/Registry.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/os/IniText.h"

#include <cstdlib>

namespace qz {

namespace {

const char* RootName(HKEY root) {
    switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    }
    return "";
}

AnsiString NormalKey(const AnsiString& key) {
    AnsiString k = StringReplace(key, "/", "\\", rfReplaceAll);
    while (!k.empty() && k.front() == '\\') k.erase(0, 1);
    while (!k.empty() && k.back() == '\\') k.pop_back();
    return k;
}

// The registry file is small; it is read afresh at each opening so that a changed file is seen.
std::vector<IniSection> LoadRegistry() {
    std::vector<IniSection> sections;
    ReadIniText(RegistryFileName(), sections);
    return sections;
}

} // namespace

AnsiString RegistryFileName() {
    const char* env = std::getenv("QZ_REGISTRY");
    return (env && *env) ? AnsiString(env) : AnsiString("/etc/qz/registry.ini");
}

bool TRegistry::KeyExists(const AnsiString& key) const {
    AnsiString name = AnsiString(RootName(RootKey)) + "\\" + NormalKey(key);
    auto sections = LoadRegistry();
    if (FindIniSection(sections, name)) return true;
    // A key also exists when one of its subkeys has values.
    for (const auto& s : sections)
        if (s.name.size() > name.size() && s.name[name.size()] == '\\' &&
            SameText(s.name.substr(0, name.size()), name))
            return true;
    return false;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& key) {
    CloseKey();
    if (!KeyExists(key)) return false;
    path_ = NormalKey(key);
    section_ = AnsiString(RootName(RootKey)) + "\\" + path_;
    open_ = true;
    return true;
}

void TRegistry::CloseKey() {
    open_ = false;
    path_.clear();
    section_.clear();
}

bool TRegistry::ValueExists(const AnsiString& name) const {
    if (!open_) return false;
    auto sections = LoadRegistry();
    const IniSection* s = FindIniSection(sections, section_);
    return s && FindIniEntry(*s, name);
}

AnsiString TRegistry::ReadString(const AnsiString& name) const {
    if (!open_) return "";
    auto sections = LoadRegistry();
    const IniSection* s = FindIniSection(sections, section_);
    const IniEntry* e = s ? FindIniEntry(*s, name) : nullptr;
    return e ? e->value : "";
}

int TRegistry::ReadInteger(const AnsiString& name) const {
    int v;
    if (!ValueExists(name) || !TryStrToInt(ReadString(name), v))
        throw EOSError("Invalid data type for '" + name + "'");
    return v;
}

std::vector<AnsiString> TRegistry::GetValueNames() const {
    std::vector<AnsiString> names;
    if (!open_) return names;
    auto sections = LoadRegistry();
    if (const IniSection* s = FindIniSection(sections, section_))
        for (const auto& e : s->entries) names.push_back(e.name);
    return names;
}

} // namespace qz
