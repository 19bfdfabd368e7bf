#pragma once
// Automation objects created by ProgID (without regard to case): factories registered in this process
// first, then the class registry, the registry stand-in key HKEY_CLASSES_ROOT\<ProgID> whose value
// "Library" names a shared object exporting QzCreateObject (platform/variant/Export.h). A library stays
// loaded for the life of the process.
#include "platform/variant/Variant.h"
#include <functional>

namespace qz {

// Returns a new object: one reference for the caller, or none yet.
using OleFactory = std::function<IDispatchObject*()>;

// A later registration of the same ProgID replaces the earlier one.
void RegisterOleFactory(const AnsiString& progId, OleFactory factory);
void UnregisterOleFactory(const AnsiString& progId);

// Raises EOleError "Invalid class string" for a ProgID that is neither registered in the process nor in
// the class registry, and EOleError with the reason when its library cannot serve it.
Variant CreateOleObject(const AnsiString& progId);

} // namespace qz
