#pragma once
// Libraries by name: "X.dll" loads "X.so", from the folder of the calling module first, then from the
// dynamic loader's path. Any other name is passed to the loader as it stands.
#include "platform/core/Types.h"

namespace qz {

using HMODULE = void*;

// nullptr when the library cannot be loaded (LastLibraryError tells why).
HMODULE LoadLibrary(const AnsiString& name);
void* GetProcAddress(HMODULE module, const char* name);
bool FreeLibrary(HMODULE module);
AnsiString LastLibraryError();
// The file name the loader would try first for a name ("Qzlanguage.dll" -> "<module dir>/Qzlanguage.so").
AnsiString ResolveLibraryName(const AnsiString& name);

} // namespace qz
