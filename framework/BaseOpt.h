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

    // Submits the job: the collected request to the server object's Request, its number reported and
    // kept as the outcome.
    void btnOkClick(TObject* Sender);

    // Close the window after a successful submission.
    bool FCloseAfterOk = true;
};

} // namespace qz
