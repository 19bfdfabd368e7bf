// TinsleyS.so: the module's server object "TinsleyS.dmTinsley" (plans, permissions, job queue), served
// in-process for the local address and by qzappserver otherwise.
#include "outside/appserver/TinsleyServer.h"
#include "platform/core/Strings.h"
#include "platform/variant/Export.h"

QZ_EXPORT qz::IDispatchObject* QzCreateObject(const char* progId) {
    return qz::SameText(progId, qz::TinsleyProgId) ? qz::CreateTinsleyServer() : nullptr;
}
