// TinsleyS.so: the module's server object "TinsleyS.dmTinsley" (plans, permissions, job queue), served
// in-process for the local address and by qzappserver otherwise.
#include "platform/core/Strings.h"
#include "platform/variant/Dispatch.h"
#include "platform/variant/Export.h"

namespace {

using namespace qz;

class TdmTinsley : public TAutoObject {
public:
    TdmTinsley() {
        RegisterMethod("LoadTable", [](DispArgs&) { return Variant(); });
        RegisterMethod("InsertConTable", [](DispArgs&) { return Variant(AnsiString()); });
        RegisterMethod("DeleteConTable", [](DispArgs&) { return Variant(AnsiString()); });
        RegisterMethod("ChangeConName", [](DispArgs&) { return Variant(AnsiString()); });
        // The user's rights for the program: item 4 of element 1 holds the permission characters.
        RegisterMethod("GetPower", [](DispArgs&) {
            return VarArrayOf({AnsiString(), AnsiString("1,1,1,YYYYYYYYYY"), AnsiString(), AnsiString(),
                               AnsiString(), VarArrayOf({0})});
        });
        RegisterMethod("SQLType", [](DispArgs&) { return Variant(0); });
        RegisterMethod("ErrorDescript", [this](DispArgs&) { return Variant(lastError_); });
        auto request = [this](DispArgs&) {
            lastError_ = "The job queue is not available on this server";
            return Variant(AnsiString("ERROR"));
        };
        RegisterMethod("Request", request);
        RegisterMethod("Request1", request);
        RegisterMethod("UpdateStatus1", [](DispArgs&) { return Variant(); });
    }

private:
    AnsiString lastError_;
};

} // namespace

QZ_EXPORT qz::IDispatchObject* QzCreateObject(const char* progId) {
    return qz::SameText(progId, "TinsleyS.dmTinsley") ? new TdmTinsley : nullptr;
}
