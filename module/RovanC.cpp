// The library's main block: after the units' initialisation, the window class of this module. The
// display the module's windows appear on is set up with it.
#include "module/DLLRPCtrller.h"
#include "module/RovanCF.h"
#include "platform/display/Display.h"
#include "platform/os/FileVersion.h"

// The version the file's properties show.
QZ_FILE_VERSION("870401-0.00.00");

namespace {

__attribute__((constructor)) void LibraryMain() {
    qz::InstallDisplay();
    qz::frmBaseGeneClass = qz::TfrmRovan::StaticClass();
}

} // namespace
