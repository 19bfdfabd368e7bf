#pragma once
// The job-options window: names the module's server object and asks for the lookup service.
#include "framework/BaseGene.h"

namespace qz {

class TfrmBaseOpt : public TfrmBaseGene {
    QZ_CLASS(TfrmBaseOpt)
public:
    explicit TfrmBaseOpt(TComponent* owner) : TfrmBaseGene(owner) {}
    void DefineModule() override;
    void SetupConnection(TSocketConnection* Connection) override;
};

} // namespace qz
