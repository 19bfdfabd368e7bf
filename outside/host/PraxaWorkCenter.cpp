// PraxaWorkCenter.so: the host application object "PraxaWorkCenter.Manager" for a module run without a
// host, with the reference host's services and the message catalogue of its installation.
#include "outside/host/HostServices.h"
#include "platform/core/Strings.h"
#include "platform/os/System.h"
#include "platform/variant/Dispatch.h"
#include "platform/variant/Export.h"

namespace {

constexpr const char* kProgId = "PraxaWorkCenter.Manager";

} // namespace

QZ_EXPORT qz::IDispatchObject* QzCreateObject(const char* progId) {
    if (!qz::SameText(progId, kProgId)) return nullptr;
    qz::THostOptions options;
    options.catalogueFile =
        qz::CatalogueBeside(qz::GetModuleFileName(reinterpret_cast<const void*>(&QzCreateObject)));
    options.verbose = false;
    qz::Variant application = qz::CreateHostApplication(options);
    // The caller takes the one reference of the new object.
    qz::IDispatchObject* object = application.Object();
    object->AddRef();
    return object;
}
