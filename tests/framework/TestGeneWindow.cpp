#include "TestGeneWindow.h"

#include "platform/data/SocketConnection.h"
#include "platform/rtti/ClassBuilder.h"

namespace qz::test {

void TfrmTestGene::SetupConnection(TSocketConnection* Connection) {
    TfrmBaseGene::SetupConnection(Connection);
    Connection->ServerName = "TinsleyS.dmTinsley";
}

void TfrmTestGene::DefineModule() {
    TfrmBaseGene::DefineModule();
    SetOptionCount(ModuleConditions);
    if (!ModuleDateFields.empty()) AddDateFields(ModuleDateFields);
}

bool TfrmTestGene::GetOptionTexts(Variant& Texts, int Index) {
    if (!TfrmBaseGene::GetOptionTexts(Texts, Index)) return false;
    return !FillTexts || FillTexts(Texts, Index);
}

bool TfrmTestGene::GetOptionValues(Variant& Values, int Index) {
    if (!TfrmBaseGene::GetOptionValues(Values, Index)) return false;
    return !FillValues || FillValues(Values, Index);
}

QZ_CLASS_INFO(TfrmTestGene, TfrmBaseGene) {}

} // namespace qz::test
