// Date and required fields: the window hooks itself into their events. Date fields get the date mask on
// entry and are checked on exit; required fields are painted and checked when a work button is pressed.
// The controls' own handlers are remembered by component name and called after the window's step.
#include "controls/ExtPage.h"
#include "controls/PropUtils.h"
#include "controls/SelectPnl.h"
#include "framework/BaseGene.h"
#include "framework/BaseGeneU.h"
#include "platform/core/Strings.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/Spin.h"
#include "support/LibStrs.h"

#include <vector>

namespace qz {

namespace {

constexpr TColor kRequiredColor = 0x00AFFFFF;
const char* const kWorkButtons[] = {"btnOk", "btnQuery", "btnDesign", "btnPeriod"};

// The names of a comma-separated list, trimmed, empty ones left out.
std::vector<AnsiString> ListNames(const AnsiString& list) {
    std::vector<AnsiString> names;
    AnsiString rest = list;
    while (!rest.empty()) {
        AnsiString name = Trim(CutField(rest, ","));
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

// An entry of the required-field list: name;flag;part.
struct TRequiredEntry {
    AnsiString Name;
    bool Validated = true; // unless the flag is "N" or a number
    int Part = 0;          // of a selection panel: 0 whole, 1 begin, 2 end, 3 list
};

std::vector<TRequiredEntry> RequiredEntries(const AnsiString& list) {
    std::vector<TRequiredEntry> entries;
    for (AnsiString rest : ListNames(list)) {
        TRequiredEntry entry;
        entry.Name = Trim(CutField(rest, ";"));
        AnsiString flag = Trim(CutField(rest, ";"));
        int number;
        entry.Validated = !SameText(flag, "N") && !TryStrToInt(flag, number);
        entry.Part = StrToIntDef(Trim(CutField(rest, ";")), 0);
        if (entry.Part < 0 || entry.Part > 3) entry.Part = 0;
        if (!entry.Name.empty()) entries.push_back(entry);
    }
    return entries;
}

// The handler store: for a component C and an event E the lines "C.E.Code" (the method's code as the
// line's object; it is only ever read back into a method) and "C.E.Data" (its instance). The first
// line of a text wins.
TStringList& Store(std::unique_ptr<TStringList>& store) {
    if (!store) store = std::make_unique<TStringList>();
    return *store;
}

int FindLine(const TStringList& store, const AnsiString& text) {
    for (int i = 0; i < store.Count(); ++i)
        if (store.Get(i) == text) return i;
    return -1;
}

void RememberHandler(TStringList& store, const TComponent* c, const AnsiString& event, const TMethod& m) {
    if (!m) return;
    store.AddObject(c->Name() + "." + event + ".Code",
                    reinterpret_cast<TObject*>(const_cast<TMethodCode*>(m.Code)));
    store.AddObject(c->Name() + "." + event + ".Data", m.Data);
}

TMethod SavedHandler(const TStringList& store, const AnsiString& name, const AnsiString& event) {
    int code = FindLine(store, name + "." + event + ".Code");
    if (code < 0) return {};
    int data = FindLine(store, name + "." + event + ".Data");
    return {reinterpret_cast<const TMethodCode*>(store.Objects(code)),
            data >= 0 ? store.Objects(data) : nullptr};
}

// Installs the window's handler, remembering the component's own. The window's handler itself is never
// remembered: calling it back would call itself.
void Hook(TStringList& store, TComponent* c, const AnsiString& event, const TMethod& own) {
    if (!HasPublishedProperty(c, event)) return;
    TMethod current = GetMethodPropByName(c, event);
    if (current == own) return;
    RememberHandler(store, c, event, current);
    SetMethodPropByName(c, event, own);
}

// Gives the component its remembered handler back (none when nothing was remembered), where the
// window's handler is installed; a handler set since then stays.
void Unhook(const TStringList& store, TComponent* c, const AnsiString& event, const TMethod& own) {
    if (!HasPublishedProperty(c, event) || GetMethodPropByName(c, event) != own) return;
    SetMethodPropByName(c, event, SavedHandler(store, c->Name(), event));
}

void CallSavedHandler(const TStringList& store, TObject* sender, const AnsiString& event) {
    auto* c = dynamic_cast<TComponent*>(sender);
    if (!c) return;
    TMethod m = SavedHandler(store, c->Name(), event);
    if (m) TNotifyEvent{m}(sender);
}

TDateType PanelDateType(int style) {
    return style >= 1 && style <= 5 ? static_cast<TDateType>(style) : dt_NoneCare;
}

bool IsDateField(const TfrmBaseGene& w, const TObject* sender) {
    auto* c = dynamic_cast<const TWinControl*>(sender);
    return c && !c->Name().empty() && w.FDateFields.find(c->Name()) != AnsiString::npos;
}

// An edit is blank when its text is what it shows cleared: nothing, or the literals of its mask.
bool IsBlankEdit(const TCustomMaskEdit* edit) {
    return Trim(edit->Text()) == Trim(BlankMaskText(edit->EditMask()));
}

bool IsRequiredEmpty(const TComponent* c) {
    if (auto* panel = dynamic_cast<const TSelectPanel*>(c)) {
        if (panel->IsRangeInput()) return IsBlankEdit(panel->BeginEdit) || IsBlankEdit(panel->EndEdit);
        return panel->ListView->Items()->Count() == 0;
    }
    if (auto* edit = dynamic_cast<const TCustomMaskEdit*>(c)) return IsBlankEdit(edit);
    if (!HasPublishedProperty(c, "Text")) return false;
    return Trim(GetStrPropByName(c, "Text")).empty();
}

// Brings the field's pages to the front and focuses the field (a panel at its input in use).
void ShowRequiredField(TComponent* c) {
    auto* control = dynamic_cast<TControl*>(c);
    if (!control) return;
    for (TControl* p = control->Parent(); p; p = p->Parent())
        if (auto* sheet = dynamic_cast<TTabSheet*>(p); sheet && sheet->PageControl())
            sheet->PageControl()->SetActivePage(sheet);
    TWinControl* target = dynamic_cast<TWinControl*>(control);
    if (auto* panel = dynamic_cast<TSelectPanel*>(control))
        target = panel->IsRangeInput() ? static_cast<TWinControl*>(panel->BeginEdit) : panel->ListView;
    if (target && control->Enabled() && target->CanFocus()) target->SetFocus();
}

void PaintRequired(TComponent* c, int part) {
    if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
        if (part == 0 || part == 1) panel->BeginEdit->SetColor(kRequiredColor);
        if (part == 0 || part == 2) panel->EndEdit->SetColor(kRequiredColor);
        if (part == 0 || part == 3) panel->ListView->SetColor(kRequiredColor);
    } else if (HasPublishedProperty(c, "Color")) {
        SetOrdPropByName(c, "Color", kRequiredColor);
    }
}

// The colour lines of a control: a panel's three parts, or the control itself.
std::vector<std::pair<AnsiString, TControl*>> ColorLines(TControl* c) {
    const AnsiString& name = c->Name();
    if (name.empty()) return {};
    if (auto* panel = dynamic_cast<TSelectPanel*>(c))
        return {{name + ".edBegin", panel->BeginEdit},
                {name + ".edFinal", panel->EndEdit},
                {name + ".ListBox", panel->ListView}};
    if (!HasPublishedProperty(c, "Color")) return {};
    return {{name, c}};
}

// Every control of the container with its colour lines; containers are entered, except selection
// panels and spin edits, which count as one control.
template <class F> void WalkColorLines(TWinControl* container, const F& visit) {
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* c = container->Controls(i);
        for (const auto& [line, part] : ColorLines(c)) visit(line, part);
        auto* inner = dynamic_cast<TWinControl*>(c);
        if (inner && !dynamic_cast<TSelectPanel*>(c) && !dynamic_cast<TSpinEdit*>(c))
            WalkColorLines(inner, visit);
    }
}

} // namespace

AnsiString BlankMaskText(const AnsiString& editMask) {
    return FormatMaskText(editMask, "");
}

// Date fields.

void BaseGeneAddDateFields(TfrmBaseGene& w, const AnsiString& names) {
    AnsiString list = Trim(names);
    if (list == w.FDateFields) return;
    TStringList& store = Store(w.FSavedHandlers);
    const TMethod enter = w.OnDateFieldEnter().Method(), exit = w.OnDateFieldExit().Method();
    for (const AnsiString& name : ListNames(w.FDateFields)) {
        if (TComponent* c = w.FindComponent(name)) {
            Unhook(store, c, "OnEnter", enter);
            Unhook(store, c, "OnExit", exit);
        }
    }
    if (list.find("edPrintDate") == AnsiString::npos && !w.FDateFields.empty()) list += "," + w.FDateFields;
    w.FDateFields = list;

    AnsiString separator;
    w.GetDateSeparator(separator);
    TDateType dateType = PanelDateType(w.GetDateStyle());
    for (const AnsiString& name : ListNames(list)) {
        TComponent* c = w.FindComponent(name);
        if (!c) continue;
        Hook(store, c, "OnEnter", enter);
        Hook(store, c, "OnExit", exit);
        if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
            panel->SetValueType(vt_Date);
            panel->SetDateSign(separator);
            panel->SetDateType(dateType);
        }
    }
}

void BaseGeneDateFieldEnter(TfrmBaseGene& w, TObject* sender) {
    w.FInvalid = false;
    if (IsDateField(w, sender)) w.CheckDateControl(static_cast<TControl*>(sender), true);
    if (!w.FInvalid) CallSavedHandler(Store(w.FSavedHandlers), sender, "OnEnter");
}

void BaseGeneDateFieldExit(TfrmBaseGene& w, TObject* sender) {
    // Not while the message about a date is open: the focus coming back from it leaves no field.
    if (BaseGeneCancelIsActive(w) || w.FCheckingDate) return;
    w.FInvalid = false;
    if (IsDateField(w, sender)) {
        w.FCheckingDate = true;
        try {
            w.FInvalid = !w.CheckDateControl(static_cast<TControl*>(sender), false);
        } catch (...) {
            w.FCheckingDate = false;
            throw;
        }
        w.FCheckingDate = false;
    }
    if (!w.FInvalid) CallSavedHandler(Store(w.FSavedHandlers), sender, "OnExit");
}

void BaseGeneRunSavedHandler(TfrmBaseGene& w, TControl* control, const AnsiString& eventName) {
    if (!control) return;
    TControl* target = control;
    for (TControl* p = control->Parent(); p; p = p->Parent())
        if (dynamic_cast<TSelectPanel*>(p)) {
            target = p;
            break;
        }
    w.FInvalid = false;
    TMethod handler = GetMethodPropByName(target, eventName);
    if (handler) TNotifyEvent{handler}(target);
}

// Required fields.

void BaseGeneSetRequiredFields(TfrmBaseGene& w, const AnsiString& names) {
    AnsiString list = Trim(names);
    if (!w.FRequiredFields.empty()) {
        w.RestoreControlColors(&w);
        w.UnhookRequiredFields(w.FRequiredFields);
    }
    w.FRequiredFields = list;
    bool any = false;
    for (const TRequiredEntry& entry : RequiredEntries(list)) {
        TComponent* c = w.FindComponent(entry.Name);
        if (!c) continue;
        PaintRequired(c, entry.Part);
        any = true;
    }
    if (!any) return;
    const TMethod own = w.OnRequiredExit().Method();
    for (const char* name : kWorkButtons)
        if (TComponent* button = w.FindComponent(name)) Hook(Store(w.FSavedClicks), button, "OnClick", own);
}

void BaseGeneUnhookRequiredFields(TfrmBaseGene& w, const AnsiString&) {
    const TMethod own = w.OnRequiredExit().Method();
    for (const char* name : kWorkButtons)
        if (TComponent* button = w.FindComponent(name)) Unhook(Store(w.FSavedClicks), button, "OnClick", own);
}

void BaseGeneRequiredExit(TfrmBaseGene& w, TObject* sender) {
    w.FInvalid = false;
    TComponent* period = w.FindComponent("btnPeriod");
    TComponent* query = w.FindComponent("btnQuery");
    TComponent* design = w.FindComponent("btnDesign");
    bool byOk = sender == w.btnOk;
    bool check = period ? byOk || GetOrdPropByName(period, "Down") != 0 : byOk;
    check = check || (query && sender == query) || (design && sender == design);
    if (check) w.FInvalid = w.CheckRequiredFields(w.FRequiredFields);
    // A periodic job that cannot be submitted: its page goes away with the pressed period button.
    if (period && w.FInvalid && w.pgOption) {
        int last = w.pgOption->PageCount() - 1;
        if (last >= 0 && w.pgOption->ActivePageIndex() != last) {
            SetOrdPropByName(period, "Down", 0);
            w.pgOption->Pages(last)->SetTabVisible(false);
        }
    }
    if (!w.FInvalid) CallSavedHandler(Store(w.FSavedClicks), sender, "OnClick");
}

bool BaseGeneCheckRequiredFields(TfrmBaseGene& w, const AnsiString& names) {
    for (const TRequiredEntry& entry : RequiredEntries(names)) {
        if (!entry.Validated) continue;
        TComponent* c = w.FindComponent(entry.Name);
        if (!c || !IsRequiredEmpty(c)) continue;
        w.ReportMessages("E;000037");
        ShowRequiredField(c);
        return true;
    }
    return false;
}

// Colours.

void BaseGeneRememberControlColors(TfrmBaseGene& w, TWinControl* container) {
    TStringList& colors = Store(w.FColors);
    WalkColorLines(container,
                   [&](const AnsiString& line, TControl* c) { colors.SetValue(line, IntToStr(c->Color())); });
}

void BaseGeneRestoreControlColors(TfrmBaseGene& w, TWinControl* container) {
    TStringList& colors = Store(w.FColors);
    WalkColorLines(container, [&](const AnsiString& line, TControl* c) {
        if (colors.IndexOfName(line) >= 0) c->SetColor(StrToIntDef(colors.Values(line), c->Color()));
    });
}

} // namespace qz
