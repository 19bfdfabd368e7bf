// The job-options window: its life, the server object and the user's rights, the OK menu, and the
// controls a plan keeps.
#include "framework/BaseOpt.h"

#include "controls/BtChkBox.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/PropUtils.h"
#include "controls/QzRadioButton.h"
#include "controls/QzRadioGroup.h"
#include "controls/SelectPnl.h"
#include "platform/core/Strings.h"
#include "platform/data/SocketConnection.h"
#include "platform/gfx/Bitmap.h"
#include "platform/rtti/ClassBuilder.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Spin.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"

namespace qz {

namespace {

const char kResource[] =
#include "BaseOpt.qzfm.inc"
    ;

constexpr TColor kGlyphBack = clOlive; // the transparent colour: the bottom-left pixel

// A 16 x 16 OK glyph: a green tick; the one of a submission that closes the window has an open door
// beside it.
void DrawOkGlyph(TBitmap* glyph, bool closes) {
    glyph->SetSize(16, 16);
    glyph->Fill(kGlyphBack);
    auto dot = [&](int x, int y, TColor color) { glyph->SetPixel(x, y, color); };
    for (int i = 0; i < 4; ++i) {
        dot(2 + i, 8 + i, clGreen);
        dot(2 + i, 9 + i, clGreen);
    }
    for (int i = 0; i < 7; ++i) {
        dot(6 + i, 10 - i, clGreen);
        dot(6 + i, 11 - i, clGreen);
    }
    if (closes)
        for (int y = 1; y < 6; ++y) {
            dot(12, y, clMaroon);
            dot(15, y, clMaroon);
        }
    glyph->SetTransparentMode(tmAuto);
    glyph->SetTransparent(true);
}

// The small arrow of the button that opens the OK menu.
void DrawMenuArrow(TBitmap* glyph) {
    glyph->SetSize(5, 3);
    glyph->Fill(kGlyphBack);
    for (int y = 0; y < 3; ++y)
        for (int x = y; x < 5 - y; ++x) glyph->SetPixel(x, y, clBlack);
    glyph->SetPixel(0, 2, kGlyphBack);
    glyph->SetTransparentMode(tmAuto);
    glyph->SetTransparent(true);
}

// The property a plan keeps of a control; "" for a control it does not keep.
AnsiString PlanProperty(const TWinControl* c) {
    if (dynamic_cast<const TCustomMemo*>(c)) return "";
    if (dynamic_cast<const TCustomEdit*>(c)) return ".text";
    if (dynamic_cast<const TCustomComboBox*>(c)) return ".itemindex";
    if (dynamic_cast<const TCheckBox*>(c) || dynamic_cast<const TBitCheckBox*>(c)) return ".checked";
    if (dynamic_cast<const TRadioButton*>(c)) return ".checked";
    if (dynamic_cast<const TSelectPanel*>(c)) return ".style";
    if (dynamic_cast<const TQzRadioGroup*>(c)) return ".itemindex";
    return "";
}

} // namespace

void TfrmBaseOpt::Loaded() {
    TfrmBaseGene::Loaded();
    if (btnOK01 && btnOK01->Glyph()->Empty()) DrawOkGlyph(btnOK01->Glyph(), true);
    if (btnOK02 && btnOK02->Glyph()->Empty()) DrawOkGlyph(btnOK02->Glyph(), false);
    if (btnSpd && btnSpd->Glyph()->Empty()) DrawMenuArrow(btnSpd->Glyph());
}

void TfrmBaseOpt::TakeOkGlyph() {
    if (auto* ok = dynamic_cast<TBitBtn*>(btnOk)) ok->SetGlyph(btnOK02->Glyph());
}

// Life of the window.

void TfrmBaseOpt::FormCreate(TObject* Sender) {
    TfrmBaseGene::FormCreate(Sender);
    TakeOkGlyph();
    edDate->SetText("");
    FShowOkMenu = true;
    FCloseAfterOk = true;
    FSqlType = 0;
    FNotifyXml.clear();
}

void TfrmBaseOpt::FormShow(TObject* Sender) {
    TfrmBaseGene::FormShow(Sender);
    if (FShowOkMenu) {
        btnSpd->SetBounds(btnOk->Left() + btnOk->Width(), btnOk->Top(), btnSpd->Width(), btnOk->Height());
        btnSpd->SetVisible(true);
    } else {
        btnSpd->SetVisible(false);
    }
}

void TfrmBaseOpt::DefineModule() {
    TfrmBaseGene::DefineModule();
    AddDateFields("edDate,meStartDate,meEndDate");
    FEnvCount = 12;
    FModuleFlags = 4;
}

void TfrmBaseOpt::SetupConnection(TSocketConnection* Connection) {
    TfrmBaseGene::SetupConnection(Connection);
    Connection->ServerName = "TinsleyS.dmTinsley";
}

bool TfrmBaseOpt::InitFromHost(const Variant& Params) {
    bool result = TfrmBaseGene::InitFromHost(Params);
    if (result) {
        edDate->SetText("");
        try {
            FSqlType = FServerObject.Call("SQLType").AsInteger();
            LoadPermissions();
        } catch (const std::exception&) {
            // Without an answer the window keeps its default rights; the server decides what it runs.
        }
        if (!IsLibraryModule()) Show();
        if (auto* period = dynamic_cast<TTabSheet*>(FindComponent("tsPeriodOption")))
            period->SetTabVisible(IsPeriodic());
        FFirstPeriodOpen = true;
    }
    FNotifyXml.clear();
    return result;
}

void TfrmBaseOpt::LoadPermissions() {
    LoadJobSettings(
        FServerObject.Call("GetPower", {VarArrayOf({FDbName, FUserCode, FProgramCode, AnsiString()})}));
}

bool TfrmBaseOpt::IsPeriodic() const {
    TComponent* period = FindComponent("btnPeriod");
    return period && GetOrdPropByName(period, "Down") != 0;
}

// The buttons.

void TfrmBaseOpt::btnCancelClick(TObject* Sender) {
    TfrmBaseGene::btnCancelClick(Sender);
    FOutcomeCode = 2;
}

void TfrmBaseOpt::btnSpdClick(TObject*) {
    TPoint corner = btnOk->ClientToScreen(TPoint{0, btnOk->Height()});
    pmOKExit->Popup(corner.X, corner.Y);
}

void TfrmBaseOpt::miOKExitClick(TObject*) {
    TakeOkGlyph();
    FCloseAfterOk = true;
    btnOk->Click();
}

void TfrmBaseOpt::miOKNoExitClick(TObject*) {
    TakeOkGlyph();
    FCloseAfterOk = false;
    btnOk->Click();
}

// Plans.

void TfrmBaseOpt::AfterLoadJob() {
    TfrmBaseGene::AfterLoadJob();
    BuildPlanProps();
    if (Trim(FPlanProps).empty()) pnlCondition->SetVisible(false);
}

void TfrmBaseOpt::BuildPlanProps() {
    for (int p = 0; p < pgOption->PageCount(); ++p) {
        TTabSheet* page = pgOption->Pages(p);
        if (page == tsOption2 || page->Name() == "tsPeriodOption") continue;
        std::vector<TWinControl*> controls;
        page->GetTabOrderList(controls);
        for (TWinControl* c : controls) {
            AnsiString property = PlanProperty(c);
            if (!c->Name().empty() && !property.empty()) FPlanProps += c->Name() + property + ";";
        }
    }
}

QZ_CLASS_INFO(TfrmBaseOpt, TfrmBaseGene) {
    b.Resource(kResource);
    b.Field("grpGenTime", &TfrmBaseOpt::grpGenTime);
    b.Field("rdoRealTime", &TfrmBaseOpt::rdoRealTime);
    b.Field("rdoQueue", &TfrmBaseOpt::rdoQueue);
    b.Field("rdoExceptTime", &TfrmBaseOpt::rdoExceptTime);
    b.Field("pnlTime", &TfrmBaseOpt::pnlTime);
    b.Field("edDate", &TfrmBaseOpt::edDate);
    b.Field("btnDate", &TfrmBaseOpt::btnDate);
    b.Field("edHour", &TfrmBaseOpt::edHour);
    b.Field("edMin", &TfrmBaseOpt::edMin);
    b.Field("edSec", &TfrmBaseOpt::edSec);
    b.Field("lblHour", &TfrmBaseOpt::lblHour);
    b.Field("lblMin", &TfrmBaseOpt::lblMin);
    b.Field("lblSec", &TfrmBaseOpt::lblSec);
    b.Field("btnSpd", &TfrmBaseOpt::btnSpd);
    b.Field("btnOK01", &TfrmBaseOpt::btnOK01);
    b.Field("btnOK02", &TfrmBaseOpt::btnOK02);
    b.Field("pmOKExit", &TfrmBaseOpt::pmOKExit);
    b.Field("miOKExit", &TfrmBaseOpt::miOKExit);
    b.Field("miOKNoExit", &TfrmBaseOpt::miOKNoExit);
    b.Method("FormCreate", &TfrmBaseOpt::FormCreate);
    b.Method("FormShow", &TfrmBaseOpt::FormShow);
    b.Method("btnOkClick", &TfrmBaseOpt::btnOkClick);
    b.Method("btnCancelClick", &TfrmBaseOpt::btnCancelClick);
    b.Method("btnSpdClick", &TfrmBaseOpt::btnSpdClick);
    b.Method("miOKExitClick", &TfrmBaseOpt::miOKExitClick);
    b.Method("miOKNoExitClick", &TfrmBaseOpt::miOKNoExitClick);
    b.Method("rdoQueueClick", &TfrmBaseOpt::rdoQueueClick);
    b.Method("rdoExceptTimeClick", &TfrmBaseOpt::rdoExceptTimeClick);
    b.Method("edDateEnter", &TfrmBaseOpt::edDateEnter);
    b.Method("edDateExit", &TfrmBaseOpt::edDateExit);
}

} // namespace qz
