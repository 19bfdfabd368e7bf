#include "module/DLLFunc.h"

#include "platform/core/Exceptions.h"

extern "C" qz::TDLLRPCtrller* GetController() {
    if (!qz::DLLControllerClass) throw qz::Exception(qz::NotAssignedMessage("DLLControllerClass"));
    return static_cast<qz::TDLLRPCtrller*>(qz::DLLControllerClass());
}
