#pragma once
// A request window of the framework alone: it connects to the module's server object and declares the
// module conditions and date fields a test gives it; the test fills the module's texts and values.
#include "framework/BaseGene.h"

#include <functional>

namespace qz::test {

class TfrmTestGene : public TfrmBaseGene {
    QZ_CLASS(TfrmTestGene)
public:
    explicit TfrmTestGene(TComponent* owner) : TfrmBaseGene(owner) {}

    void SetupConnection(TSocketConnection* Connection) override;
    void DefineModule() override;
    bool GetOptionTexts(Variant& Texts, int Index) override;
    bool GetOptionValues(Variant& Values, int Index) override;

    int ModuleConditions = 0;
    AnsiString ModuleDateFields;
    // The module's part of the texts and values, after the framework's; true when not set.
    std::function<bool(Variant&, int)> FillTexts, FillValues;
};

} // namespace qz::test
