#include "framework/BaseRpt.h"

#include "platform/rtti/ClassBuilder.h"

namespace qz {

void TfrmBaseRpt::DefineModule() {
    TfrmBaseOpt::DefineModule();
    FEnvCount = 14;
    FBaseOptionCount = 4;
    SetOptionCount(0);
    FJobKind = "R";
}

QZ_CLASS_INFO(TfrmBaseRpt, TfrmBaseOpt) {}

} // namespace qz
