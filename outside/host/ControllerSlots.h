#pragma once
// Calls of the module's controller operations by their position in its table of virtual operations,
// the way a host that knows only the protocol calls them.
#include "module/DLLBaseCtrller.h"

namespace qz {

enum TControllerSlot : int {
    slotGetVersion = 0,
    slotGetVisible = 1,
    slotSetVisible = 2,
    slotGetHandle = 3,
    slotCreateForm = 4,
    slotExecuteCommand = 5,
    slotHandleEvent = 6,
    slotShowModal = 7,
    slotFreeForm = 8,
    slotGetModuleInfo = 9,
    slotIsFormFreed = 10,
};

template <class R, class... A> R CallSlot(TDLLBaseController* controller, int position, A... args) {
    using Fn = R (*)(TDLLBaseController*, A...);
    void** table = *reinterpret_cast<void***>(controller);
    return reinterpret_cast<Fn>(table[position])(controller, args...);
}

} // namespace qz
