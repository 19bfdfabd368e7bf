#include "framework/BaseOpt.h"

#include "platform/data/SocketConnection.h"
#include "platform/rtti/ClassBuilder.h"

namespace qz {

void TfrmBaseOpt::DefineModule() {
    TfrmBaseGene::DefineModule();
    FEnvCount = 12;
    FModuleFlags = 4;
}

void TfrmBaseOpt::SetupConnection(TSocketConnection* Connection) {
    TfrmBaseGene::SetupConnection(Connection);
    Connection->ServerName = "TinsleyS.dmTinsley";
}

QZ_CLASS_INFO(TfrmBaseOpt, TfrmBaseGene) {
    b.Method("btnOkClick", &TfrmBaseOpt::btnOkClick);
}

} // namespace qz
