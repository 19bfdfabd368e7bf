#include "module/DLLBaseCtrller.h"

namespace qz {

TDLLControllerClass DLLControllerClass = nullptr;

AnsiString NotAssignedMessage(const char* variable) {
    return AnsiString("Qz DLL Internal Error :\r") + "Not Assign \"" + variable + "\" varible";
}

TDLLBaseController::~TDLLBaseController() = default;

void TDLLBaseController::DoFormCreated() {
    NotifyHost(NOTIFY_FORM_CREATED);
}
void TDLLBaseController::FormShowHandler(TObject*) {
    NotifyHost(NOTIFY_FORM_SHOWN);
}
void TDLLBaseController::FormHideHandler(TObject*) {
    NotifyHost(NOTIFY_FORM_HIDDEN);
}
void TDLLBaseController::FormDestroyHandler(TObject*) {
    NotifyHost(NOTIFY_FORM_DESTROYED);
}
void TDLLBaseController::DoNotify140() {
    NotifyHost(NOTIFY_140);
}

void TDLLBaseController::NotifyHost(int Code) {
    if (OnNotify) OnNotify.Code(OnNotify.Data, Code, this);
}

void TDLLBaseController::Reserved17() {}

} // namespace qz
