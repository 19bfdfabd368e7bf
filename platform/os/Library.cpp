#include "platform/os/Library.h"

#include "platform/core/Strings.h"
#include "platform/os/System.h"

#include <dlfcn.h>
#include <mutex>

namespace qz {

namespace {

thread_local AnsiString g_lastError;

AnsiString SharedObjectName(const AnsiString& name) {
    if (name.size() > 4 && SameText(name.substr(name.size() - 4), ".dll"))
        return name.substr(0, name.size() - 4) + ".so";
    return name;
}

} // namespace

AnsiString ResolveLibraryName(const AnsiString& name) {
    AnsiString so = SharedObjectName(StringReplace(name, "\\", "/", rfReplaceAll));
    if (so.find('/') != AnsiString::npos) return so;
    AnsiString local =
        ExtractFilePath(GetModuleFileName(reinterpret_cast<const void*>(&ResolveLibraryName))) + so;
    if (FileExists(local)) return local;
    // The shared objects of an installation sit in lib/ beside the programs' bin/.
    AnsiString installed = ExtractFilePath(GetHostFileName()) + "../lib/" + so;
    return FileExists(installed) ? installed : so;
}

HMODULE LoadLibrary(const AnsiString& name) {
    if (name.empty()) {
        g_lastError = "empty library name";
        return nullptr;
    }
    AnsiString file = ResolveLibraryName(name);
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* err = dlerror();
        g_lastError = err ? err : ("cannot load " + file);
    }
    return handle;
}

void* GetProcAddress(HMODULE module, const char* name) {
    if (!module || !name) return nullptr;
    dlerror();
    return dlsym(module, name);
}

bool FreeLibrary(HMODULE module) {
    return module && dlclose(module) == 0;
}

AnsiString LastLibraryError() {
    return g_lastError;
}

} // namespace qz
