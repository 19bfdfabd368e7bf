// A server object for the daemon's tests: "Test.Echo".
#include "platform/core/Exceptions.h"
#include "platform/variant/Dispatch.h"
#include "platform/variant/Export.h"

#include <cstring>

namespace {

class EchoServer : public qz::TAutoObject {
public:
    EchoServer() {
        RegisterMethod("Echo", [](qz::DispArgs& a) { return a[0]; });
        RegisterMethod("Fill", [](qz::DispArgs& a) {
            a[0] = qz::VarArrayOf({qz::AnsiString("filled"), 2});
            return qz::Variant(true);
        });
        RegisterMethod("Fail", [](qz::DispArgs&) -> qz::Variant { throw qz::Exception("no such plan"); });
    }
};

} // namespace

QZ_EXPORT qz::IDispatchObject* QzCreateObject(const char* progId) {
    return std::strcmp(progId, "Test.Echo") == 0 ? new EchoServer : nullptr;
}
