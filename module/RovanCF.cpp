#include "module/RovanCF.h"

#include "controls/BtChkBox.h"
#include "controls/ExtPage.h"
#include "controls/SelectPnl.h"
#include "framework/BaseGeneU.h"
#include "platform/core/Exceptions.h"
#include "platform/rtti/ClassBuilder.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"
#include "support/LibStrs.h"

namespace qz {

namespace {

const char kResource[] =
#include "RovanCF.qzfm.inc"
    ;

// The document kinds in the order of their boxes, with the lookup of each.
struct TDocumentKind {
    const char* Box;
    const char* Table;
    const char* Kind;
};

constexpr TDocumentKind kKinds[] = {
    {"chk01A", "COPTC", "26"}, {"chk01B", "COPTG", "07"}, {"chk01C", "COPTE", "07"},
    {"chk01D", "COPTI", "04"}, {"chk01E", "ACRTA", "12"}, {"chk01F", "PURTC", "17"},
    {"chk01G", "PURTI", "04"}, {"chk01H", "PURTE", "08"},
};

bool Within(const TControl* control, const TControl* container) {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == container) return true;
    return false;
}

} // namespace

void TfrmRovan::DefineModule() {
    TfrmBaseRpt::DefineModule();
    SetOptionCount(11);
    AddDateFields("sp03");
}

bool TfrmRovan::InitFromHost(const Variant& Params) {
    bool result = TfrmBaseRpt::InitFromHost(Params);
    try {
        chk01A->SetChecked(true);
        for (TBitCheckBox* box : {chk01B, chk01C, chk01D, chk01E, chk01F, chk01G, chk01H})
            box->SetChecked(false);
        sp02->SetEditMask("!aaaa\\-aaaaaaaaaaa;0; ");
        cbo04->SetItemIndex(2);
        FPageEndControls.push_back(cbo04);
    } catch (const std::exception&) {
        return false;
    }
    return result;
}

void TfrmRovan::DoF2Key(Word Key, TControl* Control) {
    TfrmBaseRpt::DoF2Key(Key, Control);
    if (!Control) return;
    AnsiString from = "U", to = "u";
    if (cbo04->ItemIndex() == 0)
        to = "U";
    else if (cbo04->ItemIndex() == 1)
        from = "u";
    if (Within(Control, sp02)) {
        for (const TDocumentKind& kind : kKinds) {
            auto* box = dynamic_cast<TBitCheckBox*>(FindComponent(kind.Box));
            if (!box || !box->Checked()) continue;
            Variant result;
            OpenLookup(kind.Table, kind.Kind, VarArrayOf({from, to}), "", false, result);
            if (VarIsArray(result) && result.ElementCount() > 0) {
                Variant row = result.ElementAt(0);
                if (VarIsArray(row) && row.ElementCount() >= 2)
                    Control->SetText(PadRight(VarToStr(row.ElementAt(0)), 4) + "-" +
                                     PadRight(VarToStr(row.ElementAt(1)), 11));
            }
            break;
        }
    } else if (Within(Control, sp03)) {
        AnsiString date;
        PickDate(Control->Text(), date);
        Control->SetText(date);
    }
}

bool TfrmRovan::GetOptionValues(Variant& Values, int Index) {
    FCheckedKinds = 0;
    for (const TDocumentKind& kind : kKinds)
        if (auto* box = dynamic_cast<TBitCheckBox*>(FindComponent(kind.Box)); box && box->Checked())
            ++FCheckedKinds;
    if (FCheckedKinds > 1) {
        ShowMessageById("E", "100781", 0, 0, {gb01->Caption()});
        pgOption->SetActivePage(tsOption1);
        if (chk01A->CanFocus()) chk01A->SetFocus();
        Abort();
    }
    if (FCheckedKinds == 0) {
        SetActiveControl(chk01A);
        ShowMessageById("E", "000003", 0, 0, {gb01->Caption()});
        return false;
    }
    if (!TfrmBaseRpt::GetOptionValues(Values, Index)) return false;
    try {
        int i = 1;
        for (const TDocumentKind& kind : kKinds)
            Values[i++] = static_cast<TBitCheckBox*>(FindComponent(kind.Box))->Checked() ? "Y" : "N";
        PutPanelParam(sp02, Values, 9);
        PutRangeParam(sp03->BeginEdit->Text(), sp03->EndEdit->Text(), Values, 10);
        Values[11] = VarArrayOf({cbo04->ItemIndex() + 1, cbo04->Text()});
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

bool TfrmRovan::GetOptionTexts(Variant& Texts, int Index) {
    if (!TfrmBaseRpt::GetOptionTexts(Texts, Index)) return false;
    try {
        int i = 1;
        for (const TDocumentKind& kind : kKinds) {
            auto* box = static_cast<TBitCheckBox*>(FindComponent(kind.Box));
            Texts[i++] = VarArrayOf({box->Caption(), AnsiString(kind.Box)});
        }
        Texts[9] = VarArrayOf({sp02->Caption(), "sp02"});
        Texts[10] = VarArrayOf({sp03->Caption(), "sp03"});
        Texts[11] = VarArrayOf({lbl04->Caption(), "cbo04"});
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

QZ_CLASS_INFO(TfrmRovan, TfrmBaseRpt) {
    b.Resource(kResource);
    b.Field("gb01", &TfrmRovan::gb01);
    b.Field("chk01A", &TfrmRovan::chk01A);
    b.Field("chk01B", &TfrmRovan::chk01B);
    b.Field("chk01C", &TfrmRovan::chk01C);
    b.Field("chk01D", &TfrmRovan::chk01D);
    b.Field("chk01E", &TfrmRovan::chk01E);
    b.Field("chk01F", &TfrmRovan::chk01F);
    b.Field("chk01G", &TfrmRovan::chk01G);
    b.Field("chk01H", &TfrmRovan::chk01H);
    b.Field("sp02", &TfrmRovan::sp02);
    b.Field("sp03", &TfrmRovan::sp03);
    b.Field("lbl04", &TfrmRovan::lbl04);
    b.Field("cbo04", &TfrmRovan::cbo04);
}

} // namespace qz
