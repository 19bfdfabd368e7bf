// The run mode of the job-options window: the job queue, real time or a given moment, and the part of
// the required list that belongs to the job options.
#include "controls/ExtPage.h"
#include "framework/BaseOpt.h"
#include "platform/core/Strings.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/MaskEdit.h"
#include "support/LibStrs.h"

#include <algorithm>
#include <vector>

namespace qz {

namespace {

// Joins the texts that are not empty with commas.
AnsiString JoinNames(const std::vector<AnsiString>& parts) {
    AnsiString list;
    for (const AnsiString& part : parts)
        if (!part.empty()) list += (list.empty() ? "" : ",") + part;
    return list;
}

// The trimmed entries of a comma-separated list, empty ones left out.
std::vector<AnsiString> Entries(const AnsiString& list) {
    std::vector<AnsiString> entries;
    AnsiString rest = list;
    while (!rest.empty()) {
        AnsiString entry = Trim(CutField(rest, ","));
        if (!entry.empty()) entries.push_back(entry);
    }
    return entries;
}

// The page of pgOption holding the control: the control below the page control (or the form).
const TControl* PageOf(const TControl* c) {
    while (c->Parent() && !dynamic_cast<const TPageControl*>(c->Parent()) &&
           !dynamic_cast<const TCustomForm*>(c->Parent()))
        c = c->Parent();
    return c;
}

} // namespace

AnsiString TfrmBaseOpt::JobOptionRequired() const {
    return JoinNames({FCycleRequired, FRangeRequired, FRunModeRequired});
}

void TfrmBaseOpt::SetJobOptionRequired(const AnsiString& Names) {
    FUpdatingRequired = true;
    try {
        SetRequiredFields(Names);
    } catch (...) {
        FUpdatingRequired = false;
        throw;
    }
    FUpdatingRequired = false;
}

void TfrmBaseOpt::rdoQueueClick(TObject*) {
    pnlTime->SetEnabled(false);
    FRunModeRequired.clear();
    SetJobOptionRequired(JobOptionRequired());
}

void TfrmBaseOpt::rdoExceptTimeClick(TObject*) {
    pnlTime->SetEnabled(true);
    FRunModeRequired = "edDate";
    SetJobOptionRequired(IsPeriodic() ? JobOptionRequired() : FRunModeRequired);
}

void TfrmBaseOpt::edDateEnter(TObject*) {}
void TfrmBaseOpt::edDateExit(TObject*) {}

void TfrmBaseOpt::SetRequiredFields(const AnsiString& Names) {
    // The entries of the side not replacing its part: the module's while the job options set theirs
    // (with their flags and parts), the job options' otherwise (by name).
    std::vector<AnsiString> kept, keptNames;
    for (const AnsiString& entry : Entries(FRequiredFields)) {
        AnsiString tail = entry;
        AnsiString name = Trim(CutField(tail, ";"));
        if (name.empty() || std::find(keptNames.begin(), keptNames.end(), name) != keptNames.end()) continue;
        auto* control = dynamic_cast<TWinControl*>(FindComponent(name));
        if (!control) continue;
        const TControl* page = PageOf(control);
        bool jobOption = page == tsOption2 || page->Name() == "tsPeriodOption";
        if (FUpdatingRequired != jobOption) {
            kept.push_back(FUpdatingRequired ? entry : name);
            keptNames.push_back(name);
        }
    }
    if (!FRequiredFields.empty()) {
        RestoreControlColors(this);
        UnhookRequiredFields(FRequiredFields);
    }
    std::vector<AnsiString> list = Entries(Names);
    list.insert(list.end(), kept.begin(), kept.end());
    TfrmBaseGene::SetRequiredFields(JoinNames(list));
}

// The date quick-picker also for the start date and the cycle's dates; a picker that gives nothing
// leaves the date as it was.
void TfrmBaseOpt::DoF2Key(Word Key, TControl* Control) {
    TfrmBaseGene::DoF2Key(Key, Control);
    if (!Control) return;
    const AnsiString& name = Control->Name();
    if (Control != edDate && name != "meStartDate" && name != "meEndDate") return;
    auto* edit = dynamic_cast<TCustomEdit*>(Control);
    if (!edit) return;
    AnsiString picked;
    PickDate(edit->Text(), picked);
    if (!picked.empty()) edit->SetText(picked);
}

} // namespace qz
