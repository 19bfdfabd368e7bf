#pragma once
// The module's request window: the report of documents whose transfer to another company failed.
#include "framework/BaseRpt.h"

namespace qz {

class TfrmRovan : public TfrmBaseRpt {
    QZ_CLASS(TfrmRovan)
public:
    explicit TfrmRovan(TComponent* owner) : TfrmBaseRpt(owner) {}
};

} // namespace qz
