// Serves automation classes to CreateOleObject through the class registry.
#include "platform/core/Strings.h"
#include "platform/variant/Dispatch.h"
#include "platform/variant/Export.h"

#include <atomic>

namespace {

std::atomic<int> g_live{0};

class TCounter : public qz::TAutoObject {
public:
    explicit TCounter(const char* progId) : progId_(progId) {
        ++g_live;
        RegisterProperty("ProgId", [this] { return qz::Variant(progId_); });
        RegisterProperty("Live", [] { return qz::Variant(g_live.load()); });
        RegisterMethod("Next", [this](qz::DispArgs& args) {
            total_ += args[0].AsInteger();
            return qz::Variant(total_);
        });
    }
    ~TCounter() override { --g_live; }

private:
    qz::AnsiString progId_;
    int total_ = 0;
};

} // namespace

// "QzTest.Fresh" comes back without a reference yet; the others with one for the caller.
QZ_EXPORT qz::IDispatchObject* QzCreateObject(const char* progId) {
    if (qz::SameText(progId, "QzTest.Fresh")) return new TCounter(progId);
    if (!qz::SameText(progId, "QzTest.Counter") && !qz::SameText(progId, "QzTest.Relative")) return nullptr;
    auto* counter = new TCounter(progId);
    counter->AddRef();
    return counter;
}
