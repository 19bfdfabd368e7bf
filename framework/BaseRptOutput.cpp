// What the report looks like: the outputs it is produced as, its date types and its font.
#include "controls/BtChkBox.h"
#include "framework/BaseRpt.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/StdCtrlsEx.h"

namespace qz {

namespace {

constexpr Byte kReportFile = 1, kHtml = 2, kDirectPrint = 4;

} // namespace

void TfrmBaseRpt::chkViewClick(TObject*) {
    Byte flags = (chkView->Checked() ? kReportFile : 0) | (chkHTML->Checked() ? kHtml : 0) |
                 (chkDirectPrint->Checked() ? kDirectPrint : 0);
    if (flags != 0) {
        FOutputFlags = flags;
        return;
    }
    ShowMessageById("I", "000005", 0, 0, {""});
    ShowOutputFlags();
}

void TfrmBaseRpt::ShowOutputFlags() {
    chkView->SetChecked(FOutputFlags & kReportFile);
    chkHTML->SetChecked(FOutputFlags & kHtml);
    chkDirectPrint->SetChecked(FOutputFlags & kDirectPrint);
}

void TfrmBaseRpt::AdaptDateTypes() {
    AnsiString calendars;
    GetSysInfo("SYS026", calendars);
    TStrings* items = cboDateType->Items();
    if (calendars != "2" || items->Count() < 5) return;
    items->Delete(4);
    items->Delete(3);
}

void TfrmBaseRpt::SetReportFont() {
    switch (GetUIConvertKind()) {
    case 0: FFontName = GB("宋体"); break;
    case 2:
        FFontName = GetSystemCodePage() == "950" ? Utf8ToAnsi("細明體", CP_BIG5) : AnsiString("MingLiU");
        break;
    case 4: FFontName = "SimSun"; break;
    default: break;
    }
}

} // namespace qz
