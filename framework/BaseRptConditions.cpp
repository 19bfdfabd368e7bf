// The report window's part of the request: environment elements 13 and 14, and the framework's
// conditions before the print date.
#include "controls/BtChkBox.h"
#include "framework/BaseRpt.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"

namespace qz {

namespace {

// [caption of its every-page box, ticked, number, line 1, line 2, line 3].
Variant LinesValue(const TReportLines& block) {
    return VarArrayOf({block.EveryPage->Caption(), block.EveryPage->Checked(), block.Id->Text(),
                       block.Lines[0]->Text(), block.Lines[1]->Text(), block.Lines[2]->Text()});
}

} // namespace

bool TfrmBaseRpt::GetEnvironment(Variant& Env, int Count) {
    if (!TfrmBaseOpt::GetEnvironment(Env, Count)) return false;
    Env[13] = FOutputFlags & 7;
    Env[14] = FExtName;
    return true;
}

bool TfrmBaseRpt::GetOptionTexts(Variant& Texts, int Index) {
    if (!TfrmBaseOpt::GetOptionTexts(Texts, Index)) return false;
    try {
        const int n = Index + FBaseOptionCount;
        if (HasFontConditions()) {
            const struct {
                const char* Key;
                const char* Default;
            } fonts[] = {{"sFont", "字型"}, {"sFontSize", "字型大小"}, {"sRepWidth", "报表可印宽度"}};
            for (int i = 0; i < 3; ++i) {
                AnsiString caption;
                GetLangText("TfrmBaseRpt", fonts[i].Key, caption, false, GB(fonts[i].Default));
                Texts[n - 6 + i] = ConvertServerData(VarArrayOf({caption, AnsiString()}));
            }
        }
        Texts[n - 3] = VarArrayOf({grpSignIn->Caption(), AnsiString("grpSignIn")});
        Texts[n - 2] = VarArrayOf({grpNote->Caption(), AnsiString("grpNote")});
        Texts[n - 1] = VarArrayOf({lblDateType->Caption(), AnsiString("cboDateType")});
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TfrmBaseRpt::GetOptionValues(Variant& Values, int Index) {
    if (!TfrmBaseOpt::GetOptionValues(Values, Index)) return false;
    try {
        const int n = Index + FBaseOptionCount;
        if (HasFontConditions()) {
            Values[n - 6] = FFontName;
            Values[n - 5] = FFontSize;
            Values[n - 4] = FPrintWidth;
        }
        Values[n - 3] = LinesValue(SignInLines());
        Values[n - 2] = LinesValue(NoteLines());
        Values[n - 1] = VarArrayOf({cboDateType->ItemIndex() + 1, cboDateType->Text()});
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace qz
