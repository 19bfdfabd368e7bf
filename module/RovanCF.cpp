#include "module/RovanCF.h"

#include "platform/rtti/ClassBuilder.h"

namespace qz {

namespace {

const char kResource[] =
#include "RovanCF.qzfm.inc"
    ;

} // namespace

QZ_CLASS_INFO(TfrmRovan, TfrmBaseRpt) {
    b.Resource(kResource);
}

} // namespace qz
