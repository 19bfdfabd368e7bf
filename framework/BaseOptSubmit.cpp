// Job submission of the job-options window.
#include "framework/BaseOpt.h"

#include "platform/core/Strings.h"
#include "support/LibStrs.h"

namespace qz {

void TfrmBaseOpt::btnOkClick(TObject* Sender) {
    TfrmBaseGene::btnOkClick(Sender);
    if (!CollectParams()) return;
    FResultParams = VarFromCodePage(FResultParams, 936);
    AnsiString answer;
    try {
        answer = VarToStr(FServerObject.Call("Request", {FResultParams}));
    } catch (const std::exception&) {
        answer = "ERROR";
    }
    if (!SameText(answer, "ERROR")) {
        ReportMessages((FShowConfirmation ? "I;000004;" : "I;-000004;") + answer);
        FOutcomeCode = 1;
        FOutcomeValue = answer;
        if (FCloseAfterOk) Close();
        return;
    }
    AnsiString why;
    try {
        why = VarToStr(FServerObject.Call("ErrorDescript", {}));
    } catch (const std::exception& e) {
        why = e.what();
    }
    ReportMessages("E;000013;" + why);
}

} // namespace qz
