// The system page of the report-options window: the print date and date type, the run mode, the
// outputs, the notification, and the footer and sign-in blocks.
#include "controls/BtChkBox.h"
#include "controls/F2Button.h"
#include "framework/BaseGeneU.h"
#include "framework/BaseRpt.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"

namespace qz {

namespace {

// Inside a block: the number with its label and lookup button, the three lines with their labels at
// lineLabelLeft, the every-page box at (148, everyPageTop).
void PlaceLines(const TReportLines& block, TLabel* idLabel, TLabel* const (&lineLabels)[3], int lineLabelLeft,
                int everyPageTop) {
    PlaceControl(idLabel, 22, 16);
    block.Id->SetBounds(53, 12, 65, block.Id->Height());
    block.Button->AlignToControl();
    const int tops[] = {34, 54, 74};
    for (int i = 0; i < 3; ++i) {
        block.Lines[i]->SetBounds(53, tops[i], 365, block.Lines[i]->Height());
        PlaceControl(lineLabels[i], lineLabelLeft, tops[i] + 4);
    }
    PlaceControl(block.EveryPage, 148, everyPageTop);
}

} // namespace

void TfrmBaseRpt::SetupSystemPage() {
    TfrmBaseOpt::SetupSystemPage();
    if (Height() < 460) SetHeight(460);
    if (Width() < 585) SetWidth(585);

    edPrintDate->SetBounds(70, 5, 75, edPrintDate->Height());
    edPrintDate->SetTabOrder(0);
    btnPrintDate->AlignToControl();
    PlaceControl(lblToday, 8, 9);
    PlaceControl(lblDateType, 224, 9);
    PlaceControl(cboDateType, 280, 5);
    cboDateType->SetTabOrder(1);

    grpGenTime->SetBounds(grpGenTime->Left(), 31, 225, grpGenTime->Height());
    grpGenTime->SetTabOrder(2);
    grpGenType->SetBounds(242, 31, 146, 62);
    grpGenType->SetTabOrder(3);
    PlaceControl(chkView, 8, 13);
    PlaceControl(chkHTML, 8, 28);
    PlaceControl(chkDirectPrint, 8, 43);

    TControl* notify = dynamic_cast<TControl*>(FindComponent("chkNotify"));
    PlaceControl(notify, 241, 120);
    OrderControl(notify, 4);
    PlaceControl(dynamic_cast<TControl*>(FindComponent("btnNotify")), 350, 116);

    grpNote->SetBounds(8, 152, 420, 99);
    grpNote->SetTabOrder(5);
    grpSignIn->SetBounds(8, 256, 420, 99);
    grpSignIn->SetTabOrder(6);
    PlaceLines(NoteLines(), lblNoteID, {lblNote1, lblNote2, lblNote3}, 10, 15);
    chkNoteEPPrint->SetWidth(261);
    PlaceLines(SignInLines(), lblSignInID, {lblSignIn1, lblSignIn2, lblSignIn3}, 9, 16);
}

} // namespace qz
