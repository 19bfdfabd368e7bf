#pragma once
// The registry stand-in: a text file of sections named by root and key path, read-only.
//   [HKEY_LOCAL_MACHINE\Software\Qz\Corvane]
//   ClientPath=/opt/qz/client/
// The file is QZ_REGISTRY, or /etc/qz/registry.ini. Key paths and value names ignore case.
#include "platform/core/Types.h"
#include <vector>

namespace qz {

enum class HKEY { HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS };
using enum HKEY;

// Path of the registry file in force.
AnsiString RegistryFileName();

class TRegistry {
public:
    TRegistry() = default;
    HKEY RootKey = HKEY_CURRENT_USER;

    // Opens a key for reading; false when the key does not exist.
    bool OpenKeyReadOnly(const AnsiString& key);
    bool KeyExists(const AnsiString& key) const;
    void CloseKey();
    AnsiString CurrentPath() const { return path_; }

    bool ValueExists(const AnsiString& name) const;
    // The string value; "" when the value does not exist.
    AnsiString ReadString(const AnsiString& name) const;
    // Raises EOSError when the value does not exist or is not a number.
    int ReadInteger(const AnsiString& name) const;
    std::vector<AnsiString> GetValueNames() const;

private:
    AnsiString section_;
    AnsiString path_;
    bool open_ = false;
};

} // namespace qz
