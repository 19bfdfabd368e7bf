// The footer and sign-in lines of the report: the program's defaults, the check of a typed number,
// the lookup of a number, and what a plan keeps of them.
#include "controls/BtChkBox.h"
#include "controls/F2Button.h"
#include "framework/BaseGeneU.h"
#include "framework/BaseRpt.h"
#include "platform/core/Strings.h"
#include "platform/vcl/StdCtrls.h"

namespace qz {

namespace {

// A field of a row from the server, by position; empty past its end.
AnsiString Field(const Variant& row, int position) {
    return position < row.ElementCount() ? VarToStr(row.ElementAt(position)) : AnsiString();
}

} // namespace

TReportLines TfrmBaseRpt::NoteLines() const {
    return {.Group = grpNote,
            .Id = edNoteID,
            .Button = btnNote,
            .Lines = {edNote1, edNote2, edNote3},
            .EveryPage = chkNoteEPPrint,
            .Kind = "1",
            .MissingText = "100235"};
}

TReportLines TfrmBaseRpt::SignInLines() const {
    return {.Group = grpSignIn,
            .Id = edSignInID,
            .Button = btnSignIn,
            .Lines = {edSignIn1, edSignIn2, edSignIn3},
            .EveryPage = chkSignInEPPrint,
            .Kind = "2",
            .MissingText = "100236"};
}

// The program's record: [0] footer number, [1] "Y" when the footer may be chosen, [3..5] its lines,
// [6] sign-in number, [7] "Y" when the sign-in may be chosen, [9..11] its lines.
void TfrmBaseRpt::LoadNoteDefaults() {
    btnNote->SetEnabled(true);
    btnSignIn->SetEnabled(true);
    Variant record;
    if (QueryServer("CMSMT", "01", false, record, VarArrayOf({FProgramCode})) && VarIsArray(record)) {
        record = ConvertServerData(record);
        for (const auto& [block, first] : {std::pair{NoteLines(), 0}, std::pair{SignInLines(), 6}}) {
            block.Id->SetText(Field(record, first));
            for (int i = 0; i < 3; ++i) block.Lines[i]->SetText(Field(record, first + 3 + i));
            block.Button->SetEnabled(Field(record, first + 1) == "Y");
        }
    }
    for (const TReportLines& block : {NoteLines(), SignInLines()})
        SetLinesReadOnly(block, !block.Button->Enabled());
}

void TfrmBaseRpt::SetLinesReadOnly(const TReportLines& block, bool readOnly) {
    block.Id->SetReadOnly(readOnly);
    for (TEdit* line : block.Lines) line->SetReadOnly(readOnly);
}

bool TfrmBaseRpt::CheckNoteId(const AnsiString& Id, bool Warn) {
    return CheckLinesId(NoteLines(), Id, Warn);
}

bool TfrmBaseRpt::CheckSignInId(const AnsiString& Id, bool Warn) {
    return CheckLinesId(SignInLines(), Id, Warn);
}

// The server's row of a number: [1..3] the lines.
bool TfrmBaseRpt::CheckLinesId(const TReportLines& block, const AnsiString& id, bool warn) {
    block.Id->SetText("");
    for (TEdit* line : block.Lines) line->SetText("");
    if (Trim(id).empty()) return true;
    Variant row;
    if (QueryServer("CMSMS", "01", false, row, VarArrayOf({AnsiString(block.Kind), id})) && VarIsArray(row)) {
        block.Id->SetText(id);
        for (int i = 0; i < 3; ++i) block.Lines[i]->SetText(Field(row, 1 + i));
        return true;
    }
    if (!warn) return true;
    AnsiString missing;
    GetMessageText("R", block.MissingText, missing);
    ShowMessageById("W", "000004", 0, 0, {missing});
    return false;
}

void TfrmBaseRpt::edNoteIDEnter(TObject* Sender) {
    if (auto* edit = dynamic_cast<TCustomEdit*>(Sender)) FLastLookupId = edit->Text();
}

void TfrmBaseRpt::edNoteIDExit(TObject*) {
    LeaveLinesId(NoteLines());
}

void TfrmBaseRpt::edSignInIDExit(TObject*) {
    LeaveLinesId(SignInLines());
}

void TfrmBaseRpt::LeaveLinesId(const TReportLines& block) {
    // Leaving for Cancel checks nothing.
    if (BaseGeneCancelIsActive(*this) || block.Id->Text() == FLastLookupId) return;
    if (!CheckLinesId(block, block.Id->Text(), true) && block.Id->CanFocus()) block.Id->SetFocus();
}

// The first chosen row of the lookup: [0] number, [2..4] the lines. A block the program fixes has no
// lookup.
void TfrmBaseRpt::LookupLines(const TReportLines& block) {
    if (!block.Button->Enabled()) return;
    Variant rows;
    OpenLookup("CMSMS", "01", VarArrayOf({AnsiString(block.Kind)}), "", false, rows);
    if (!VarIsArray(rows) || rows.ElementCount() == 0) return;
    const Variant& row = rows.ElementAt(0);
    if (!VarIsArray(row) || row.ElementCount() < 5) return;
    block.Id->SetText(Field(row, 0));
    FLastLookupId = block.Id->Text();
    for (int i = 0; i < 3; ++i) block.Lines[i]->SetText(Field(row, 2 + i));
}

void TfrmBaseRpt::BuildPlanProps() {
    TfrmBaseOpt::BuildPlanProps();
    for (const TReportLines& block : {NoteLines(), SignInLines()}) {
        for (int i = 0; i < block.Group->ControlCount(); ++i) {
            TControl* c = block.Group->Controls(i);
            if (dynamic_cast<TCustomEdit*>(c))
                FPlanProps += c->Name() + ".text;";
            else if (dynamic_cast<TCheckBox*>(c) || dynamic_cast<TBitCheckBox*>(c))
                FPlanProps += c->Name() + ".checked;";
        }
    }
}

} // namespace qz
