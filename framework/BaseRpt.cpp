// The report-options window: its life, and the class with its components and handlers.
#include "framework/BaseRpt.h"

#include "controls/BtChkBox.h"
#include "controls/F2Button.h"
#include "platform/core/Strings.h"
#include "platform/rtti/ClassBuilder.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"

namespace qz {

namespace {

const char kResource[] =
#include "BaseRpt.qzfm.inc"
    ;

// The framework's conditions of a report window, and of one of job type "F".
constexpr int kReportConditions = 4;
constexpr int kFontJobConditions = 7;

TControl* ControlNamed(const TComponent& owner, const char* name) {
    return dynamic_cast<TControl*>(owner.FindComponent(name));
}

} // namespace

void TfrmBaseRpt::FormCreate(TObject* Sender) {
    TfrmBaseOpt::FormCreate(Sender);
    FExtName.clear();
    FLastLookupId.clear();
    TControl* web = ControlNamed(*this, "btnWebDesign");
    TControl* period = ControlNamed(*this, "btnPeriod");
    if (web && period) web->SetLeft(period->Left() + period->Width() + 15);
}

void TfrmBaseRpt::FormShow(TObject* Sender) {
    TfrmBaseOpt::FormShow(Sender);
    btnNote->SetF2Control(edNoteID);
    btnSignIn->SetF2Control(edSignInID);
    if (TControl* web = ControlNamed(*this, "btnWebDesign")) {
        AnsiString shown;
        GetSysInfo("SYS181", shown);
        web->SetVisible(shown != "N");
    }
}

void TfrmBaseRpt::DefineModule() {
    TfrmBaseOpt::DefineModule();
    FEnvCount = 14;
    FBaseOptionCount = kReportConditions;
    SetOptionCount(0);
    FJobKind = "R";
    FOutputFlags = 1;
    cboDateType->SetItemIndex(FDateStyle - 1);
    for (TEdit* line : {edNote1, edNote2, edNote3, edSignIn1, edSignIn2, edSignIn3}) line->SetMaxLength(255);
    SetWidth(Width() + 80);
}

bool TfrmBaseRpt::InitFromHost(const Variant& Params) {
    bool result = TfrmBaseOpt::InitFromHost(Params);
    if (!result) return false;
    try {
        LoadNoteDefaults();
        if (UpperCase(FJobKind) == "F") {
            // Counted directly: SetOptionCount would add the framework's conditions a second time
            // to a window without conditions of its own.
            FOptionCount += kFontJobConditions - FBaseOptionCount;
            FBaseOptionCount = kFontJobConditions;
            if (TControl* query = ControlNamed(*this, "btnQuery")) query->SetVisible(false);
        }
        AdaptDateTypes();
        SetReportFont();
    } catch (const std::exception& e) {
        ReportErrorText(e.what());
        return false;
    }
    return true;
}

bool TfrmBaseRpt::HasFontConditions() const {
    return FBaseOptionCount >= kFontJobConditions;
}

void TfrmBaseRpt::DoF2Key(Word Key, TControl* Control) {
    if (Control && Control == edNoteID)
        LookupLines(NoteLines());
    else if (Control && Control == edSignInID)
        LookupLines(SignInLines());
    else
        TfrmBaseOpt::DoF2Key(Key, Control);
}

QZ_CLASS_INFO(TfrmBaseRpt, TfrmBaseOpt) {
    b.Resource(kResource);
    b.Field("lblDateType", &TfrmBaseRpt::lblDateType);
    b.Field("cboDateType", &TfrmBaseRpt::cboDateType);
    b.Field("grpGenType", &TfrmBaseRpt::grpGenType);
    b.Field("chkView", &TfrmBaseRpt::chkView);
    b.Field("chkHTML", &TfrmBaseRpt::chkHTML);
    b.Field("chkDirectPrint", &TfrmBaseRpt::chkDirectPrint);
    b.Field("grpNote", &TfrmBaseRpt::grpNote);
    b.Field("lblNoteID", &TfrmBaseRpt::lblNoteID);
    b.Field("edNoteID", &TfrmBaseRpt::edNoteID);
    b.Field("btnNote", &TfrmBaseRpt::btnNote);
    b.Field("chkNoteEPPrint", &TfrmBaseRpt::chkNoteEPPrint);
    b.Field("lblNote1", &TfrmBaseRpt::lblNote1);
    b.Field("lblNote2", &TfrmBaseRpt::lblNote2);
    b.Field("lblNote3", &TfrmBaseRpt::lblNote3);
    b.Field("edNote1", &TfrmBaseRpt::edNote1);
    b.Field("edNote2", &TfrmBaseRpt::edNote2);
    b.Field("edNote3", &TfrmBaseRpt::edNote3);
    b.Field("grpSignIn", &TfrmBaseRpt::grpSignIn);
    b.Field("lblSignInID", &TfrmBaseRpt::lblSignInID);
    b.Field("edSignInID", &TfrmBaseRpt::edSignInID);
    b.Field("btnSignIn", &TfrmBaseRpt::btnSignIn);
    b.Field("chkSignInEPPrint", &TfrmBaseRpt::chkSignInEPPrint);
    b.Field("lblSignIn1", &TfrmBaseRpt::lblSignIn1);
    b.Field("lblSignIn2", &TfrmBaseRpt::lblSignIn2);
    b.Field("lblSignIn3", &TfrmBaseRpt::lblSignIn3);
    b.Field("edSignIn1", &TfrmBaseRpt::edSignIn1);
    b.Field("edSignIn2", &TfrmBaseRpt::edSignIn2);
    b.Field("edSignIn3", &TfrmBaseRpt::edSignIn3);
    b.Method("FormCreate", &TfrmBaseRpt::FormCreate);
    b.Method("FormShow", &TfrmBaseRpt::FormShow);
    b.Method("chkViewClick", &TfrmBaseRpt::chkViewClick);
    b.Method("edNoteIDEnter", &TfrmBaseRpt::edNoteIDEnter);
    b.Method("edNoteIDExit", &TfrmBaseRpt::edNoteIDExit);
    b.Method("edSignInIDExit", &TfrmBaseRpt::edSignInIDExit);
}

} // namespace qz
