// The system page of the job-options window: the print date, the run mode with its start moment, and
// the notification of the recipients.
#include "controls/F2Button.h"
#include "controls/QzRadioButton.h"
#include "framework/BaseGeneU.h"
#include "framework/BaseOpt.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Spin.h"
#include "platform/vcl/StdCtrls.h"

namespace qz {

void TfrmBaseOpt::SetupSystemPage() {
    TfrmBaseGene::SetupSystemPage();
    if (Height() < 275) SetHeight(275);
    if (Width() < 340) SetWidth(340);
    edPrintDate->SetTabOrder(0);

    grpGenTime->SetBounds(8, 41, 220, 115);
    grpGenTime->SetTabOrder(1);
    const struct {
        TControl* control;
        int left, top;
    } modes[] = {{rdoRealTime, 5, 12}, {rdoQueue, 5, 28}, {rdoExceptTime, 5, 43}};
    for (int i = 0; i < 3; ++i) {
        PlaceControl(modes[i].control, modes[i].left, modes[i].top);
        OrderControl(modes[i].control, i);
    }
    pnlTime->SetBounds(15, 60, 200, 50);
    pnlTime->SetTabOrder(3);
    PlaceControl(edDate, 1, 1);
    btnDate->AlignToControl();
    PlaceControl(edHour, 1, 27);
    PlaceControl(edMin, 64, 27);
    PlaceControl(edSec, 130, 27);
    PlaceControl(lblHour, 36, 32);
    PlaceControl(lblMin, 100, 32);
    PlaceControl(lblSec, 165, 32);

    TControl* notify = dynamic_cast<TControl*>(FindComponent("chkNotify"));
    PlaceControl(notify, 10, 162);
    OrderControl(notify, 2);
    if (auto* button = dynamic_cast<TControl*>(FindComponent("btnNotify")))
        button->SetBounds(GetUICodePage() == "437" ? 160 : 108, 156, button->Width(), button->Height());
}

} // namespace qz
