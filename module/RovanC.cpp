// The library's main block: after the units' initialisation, the window class of this module. The
// display the module's windows appear on is set up with it.
#include "module/DLLRPCtrller.h"
#include "module/RovanCF.h"
#include "platform/display/Display.h"

namespace {

__attribute__((constructor)) void LibraryMain() {
    qz::InstallDisplay();
    qz::frmBaseGeneClass = qz::TfrmRovan::StaticClass();
}

} // namespace
