#include "platform/variant/ComObj.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/os/Library.h"
#include "platform/os/Registry.h"
#include "platform/variant/Dispatch.h"
#include "platform/variant/Export.h"

#include <map>
#include <mutex>

namespace qz {

namespace {

std::mutex g_mutex;

std::map<AnsiString, OleFactory>& Factories() {
    static std::map<AnsiString, OleFactory> factories; // by upper-case ProgID
    return factories;
}

// The entry of each library loaded so far, by resolved file name; libraries are never unloaded.
TQzCreateObject LibraryEntry(const AnsiString& library) {
    static std::map<AnsiString, TQzCreateObject> entries;
    AnsiString file = ResolveLibraryName(library);
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = entries.find(file);
    if (it != entries.end()) return it->second;
    HMODULE module = LoadLibrary(library);
    if (!module) throw EOleError("Cannot load " + library + ": " + LastLibraryError());
    auto entry = reinterpret_cast<TQzCreateObject>(GetProcAddress(module, QzCreateObjectName));
    if (!entry) throw EOleError(library + " does not export " + QzCreateObjectName);
    entries[file] = entry;
    return entry;
}

// A factory's object carries one reference for the caller, or none yet when it is new.
Variant TakeObject(IDispatchObject* object, const AnsiString& progId) {
    if (!object) throw EOleError("Class not registered: " + progId);
    return object->RefCount() == 0 ? Variant(object) : Variant::Attach(object);
}

} // namespace

void RegisterOleFactory(const AnsiString& progId, OleFactory factory) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Factories()[UpperCase(progId)] = std::move(factory);
}

void UnregisterOleFactory(const AnsiString& progId) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Factories().erase(UpperCase(progId));
}

Variant CreateOleObject(const AnsiString& progId) {
    OleFactory factory;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        auto it = Factories().find(UpperCase(progId));
        if (it != Factories().end()) factory = it->second;
    }
    if (factory) return TakeObject(factory(), progId);

    TRegistry registry;
    registry.RootKey = HKEY_CLASSES_ROOT;
    if (Trim(progId).empty() || !registry.OpenKeyReadOnly(progId)) throw EOleError("Invalid class string");
    AnsiString library = Trim(registry.ReadString("Library"));
    if (library.empty()) throw EOleError("Invalid class string");
    return TakeObject(LibraryEntry(library)(progId.c_str()), progId);
}

} // namespace qz
