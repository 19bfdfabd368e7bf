#pragma once
// The report-options window.
#include "framework/BaseOpt.h"

namespace qz {

class TfrmBaseRpt : public TfrmBaseOpt {
    QZ_CLASS(TfrmBaseRpt)
public:
    explicit TfrmBaseRpt(TComponent* owner) : TfrmBaseOpt(owner) {}
    void DefineModule() override;
};

} // namespace qz
