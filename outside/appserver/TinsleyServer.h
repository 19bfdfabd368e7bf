#pragma once
// "TinsleyS.dmTinsley": the module's server object. Keeps plans and jobs in a TinsleyStore and serves
// the plans of the user and program named by LoadTable as the provider "pvdConSave".
#include "platform/core/Types.h"

namespace qz {

class IDispatchObject;

inline constexpr const char* TinsleyProgId = "TinsleyS.dmTinsley";

// A new server object (no reference yet) over the database fileName (TinsleyStore::DefaultFileName when
// empty), opened on the first call that needs it.
IDispatchObject* CreateTinsleyServer(const AnsiString& fileName = "");

} // namespace qz
