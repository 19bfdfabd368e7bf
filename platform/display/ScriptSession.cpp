#include "platform/display/ScriptSession.h"

#include "platform/core/CodePages.h"
#include "platform/core/Strings.h"
#include "platform/display/DialogLog.h"
#include "platform/display/Display.h"
#include "platform/display/Screenshot.h"
#include "platform/display/SessionChannel.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

#include <cstdio>
#include <cstdlib>

namespace qz {

namespace {

// A line that cannot be carried out.
struct ELineFailed {
    AnsiString Why;
};

[[noreturn]] void Refuse(const AnsiString& why) {
    throw ELineFailed{why};
}

void Say(const AnsiString& text) {
    std::printf("%s\n", AnsiToUtf8(text).c_str());
    std::fflush(stdout);
}

void SetStatus(const char* status) {
    setenv("QZ_SCRIPT_STATUS", status, 1);
}

AnsiString Quote(const AnsiString& text) {
    return "\"" + text + "\"";
}

// A published or public property.
const TPropInfo* PropertyOf(const TObject* object, const AnsiString& name) {
    const TMetaClass* mc = ClassOf(object);
    return mc ? mc->FindPublicProperty(name) : nullptr;
}

// A member of an object by name: a published field, a published property holding an object, or a
// component it owns.
TObject* Member(TObject* object, const AnsiString& name) {
    if (const TMetaClass* mc = ClassOf(object))
        if (const TFieldInfo* f = mc->FindField(name))
            if (TObject* o = f->Get(object)) return o;
    if (const TPropInfo* p = PropertyOf(object, name); p && p->Kind() == tkClass && p->GetObj)
        if (TObject* o = p->GetObj(object)) return o;
    if (auto* c = dynamic_cast<TComponent*>(object))
        if (TComponent* owned = c->FindComponent(name)) return owned;
    return nullptr;
}

std::vector<AnsiString> PathParts(const AnsiString& path) {
    std::vector<AnsiString> parts;
    size_t from = 0;
    while (true) {
        size_t dot = path.find('.', from);
        parts.push_back(path.substr(from, dot == AnsiString::npos ? AnsiString::npos : dot - from));
        if (dot == AnsiString::npos) break;
        from = dot + 1;
    }
    for (const AnsiString& p : parts)
        if (p.empty()) Refuse("the path " + path + " has an empty part");
    return parts;
}

// The object the first count parts of a path name from the form.
TObject* Resolve(TCustomForm& form, const std::vector<AnsiString>& parts, size_t count,
                 const AnsiString& path) {
    TObject* object = &form;
    for (size_t i = 0; i < count; ++i) {
        // The form itself by its name.
        TObject* next = i == 0 && SameText(parts[0], form.Name()) ? &form : Member(object, parts[i]);
        if (!next) {
            AnsiString where = i == 0 ? form.Name() : parts[i - 1];
            Refuse("no " + parts[i] + " in " + where + (i == 0 ? "" : " (" + path + ")"));
        }
        object = next;
    }
    return object;
}

TComponent* ComponentAt(TCustomForm& form, const AnsiString& path) {
    std::vector<AnsiString> parts = PathParts(path);
    auto* c = dynamic_cast<TComponent*>(Resolve(form, parts, parts.size(), path));
    if (!c) Refuse(path + " is not a component");
    return c;
}

// A control a person can reach: shown and enabled, with all its parents.
void CheckReachable(TControl* control, const AnsiString& path) {
    for (TControl* c = control; c; c = c->Parent()) {
        if (!c->Visible())
            Refuse(path + " is hidden" + (c == control ? "" : " (" + c->Name() + " is hidden)"));
        if (!c->Enabled())
            Refuse(path + " is disabled" + (c == control ? "" : " (" + c->Name() + " is disabled)"));
    }
}

TControl* ControlAtPath(TCustomForm& form, const AnsiString& path) {
    auto* control = dynamic_cast<TControl*>(ComponentAt(form, path));
    if (!control) Refuse(path + " is not a control");
    CheckReachable(control, path);
    return control;
}

// The object holding the property a path ends with, and the property.
const TPropInfo* PropertyAt(TCustomForm& form, const AnsiString& path, TObject*& holder) {
    std::vector<AnsiString> parts = PathParts(path);
    if (parts.size() < 2) Refuse(path + " names no property (COMPONENT.PROPERTY)");
    holder = Resolve(form, parts, parts.size() - 1, path);
    const TPropInfo* p = PropertyOf(holder, parts.back());
    if (!p) Refuse("no property " + parts.back() + " in " + parts[parts.size() - 2]);
    return p;
}

struct TKeyName {
    const char* Name;
    Word Key;
};

constexpr TKeyName kKeys[] = {
    {"Enter", VK_RETURN}, {"Tab", VK_TAB},   {"Esc", VK_ESCAPE}, {"Space", VK_SPACE}, {"Back", VK_BACK},
    {"Del", VK_DELETE},   {"Home", VK_HOME}, {"End", VK_END},    {"Left", VK_LEFT},   {"Right", VK_RIGHT},
    {"Up", VK_UP},        {"Down", VK_DOWN}, {"PgUp", VK_PRIOR}, {"PgDn", VK_NEXT},   {"Ins", VK_INSERT},
};

// "Ctrl+Shift+F2" as a key and its shift state.
void ParseKey(const AnsiString& text, Word& key, TShiftState& shift) {
    AnsiString rest = text;
    shift = {};
    while (true) {
        size_t plus = rest.find('+');
        if (plus == AnsiString::npos || plus + 1 == rest.size()) break;
        AnsiString mod = rest.substr(0, plus);
        if (SameText(mod, "Shift"))
            shift << ssShift;
        else if (SameText(mod, "Ctrl"))
            shift << ssCtrl;
        else if (SameText(mod, "Alt"))
            shift << ssAlt;
        else
            Refuse("unknown key prefix " + mod + "+ in " + text);
        rest.erase(0, plus + 1);
    }
    for (const TKeyName& k : kKeys)
        if (SameText(rest, k.Name)) {
            key = k.Key;
            return;
        }
    if (rest.size() >= 2 && (rest[0] == 'F' || rest[0] == 'f')) {
        int n = StrToIntDef(rest.substr(1), 0);
        if (n >= 1 && n <= 12) {
            key = static_cast<Word>(VK_F1 + n - 1);
            return;
        }
    }
    if (rest.size() == 1 && std::isalnum(static_cast<unsigned char>(rest[0]))) {
        key = static_cast<Word>(std::toupper(static_cast<unsigned char>(rest[0])));
        return;
    }
    Refuse("unknown key " + text);
}

// The character a key types, as a keyboard gives it: control characters for Enter, Tab, Esc, Back
// and Ctrl+letter; letters by Shift; none with Alt.
char CharOfKey(Word key, TShiftState shift) {
    if (shift.Contains(ssAlt)) return 0;
    if (shift.Contains(ssCtrl)) return key >= 'A' && key <= 'Z' ? static_cast<char>(key - 'A' + 1) : 0;
    return KeyToChar(key, shift);
}

// The key a character is typed with on a US keyboard; 0 for none.
Word KeyOfChar(char ch, TShiftState& shift) {
    static const char plain[] = ";=,-./`[\\]'";
    static const char shifted[] = ":+<_>?~{|}\"";
    static const Word keys[] = {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE};
    static const char digitsShifted[] = ")!@#$%^&*(";
    shift = {};
    if (ch >= 'a' && ch <= 'z') return static_cast<Word>(ch - 32);
    if (ch >= 'A' && ch <= 'Z') {
        shift << ssShift;
        return static_cast<Word>(ch);
    }
    if (ch >= '0' && ch <= '9') return static_cast<Word>(ch);
    switch (ch) {
    case ' ': return VK_SPACE;
    case '\t': return VK_TAB;
    case '\r':
    case '\n': return VK_RETURN;
    case '\b': return VK_BACK;
    case 27: return VK_ESCAPE;
    default: break;
    }
    for (int i = 0; plain[i]; ++i) {
        if (ch == plain[i]) return keys[i];
        if (ch == shifted[i]) {
            shift << ssShift;
            return keys[i];
        }
    }
    for (int i = 0; digitsShifted[i]; ++i)
        if (ch == digitsShifted[i]) {
            shift << ssShift;
            return static_cast<Word>('0' + i);
        }
    return 0;
}

// A point of the control where a click reaches the control itself: its centre, or the first point of
// a grid over it not covered by a child.
TPoint ClickPoint(TControl& control, const AnsiString& path) {
    auto* w = dynamic_cast<TWinControl*>(&control);
    auto covered = [&](TPoint p) {
        if (!w) return false;
        for (int i = 0; i < w->ControlCount(); ++i) {
            TControl* c = w->Controls(i);
            if (c->Visible() && c->BoundsRect().Contains(p)) return true;
        }
        return false;
    };
    TPoint centre{control.Width() / 2, control.Height() / 2};
    if (!covered(centre)) return centre;
    for (int y = 2; y < control.Height(); y += 4)
        for (int x = 2; x < control.Width(); x += 4)
            if (!covered({x, y})) return {x, y};
    Refuse(path + " is covered by its children and cannot be clicked");
}

bool IsTrueText(const AnsiString& text) {
    return SameText(text, "true");
}

// The texts of a property and of an expected value agree; Booleans without regard to case.
bool SameValue(const TPropInfo* prop, const AnsiString& actual, const AnsiString& expected) {
    if (prop->PropType() == BooleanTypeInfo()) return SameText(actual, expected);
    return actual == expected;
}

TControl* FindByName(TCustomForm& form, const AnsiString& name) {
    auto* c = dynamic_cast<TControl*>(form.FindComponent(name));
    return c;
}

// Selects row (from 0) of the first list or grid of a dialog.
void PickRow(TCustomForm& dialog, int row) {
    for (int i = 0; i < dialog.ComponentCount(); ++i) {
        TComponent* c = dialog.Components(i);
        if (auto* list = dynamic_cast<TListView*>(c)) {
            if (row >= list->Items()->Count())
                Refuse("row " + IntToStr(row) + " of " + list->Name() + ": it has " +
                       IntToStr(list->Items()->Count()) + " rows");
            Application->Deliver([&] {
                TListItem* item = list->Items()->Item(row);
                list->SetSelected(item);
                list->SetItemFocused(item);
            });
            return;
        }
        if (auto* grid = dynamic_cast<TDrawGrid*>(c)) {
            int at = grid->FixedRows() + row;
            if (at >= grid->RowCount())
                Refuse("row " + IntToStr(row) + " of " + grid->Name() + ": it has " +
                       IntToStr(grid->RowCount() - grid->FixedRows()) + " rows");
            Application->Deliver([&] { grid->SetRow(at); });
            return;
        }
    }
    Refuse("the dialog \"" + dialog.Caption() + "\" has no list or grid to pick from");
}

} // namespace

struct TScriptSession::Context {
    TCustomForm* Form = nullptr;
    const std::vector<TScriptLine>* Lines = nullptr;
    size_t Next = 0;
    bool IsWindow = false;
    int OpenedBy = 0; // the "dialog" line of a block
    int CloseAttempts = 0;
};

struct TScriptSession::Answer {
    int Line = 0;
    AnsiString Button;
    int Row = -1;                                    // "pick": the row chosen first
    const std::vector<TScriptLine>* Block = nullptr; // "dialog" ... "end"
};

TScriptSession::TScriptSession(std::vector<TScriptLine> lines, AnsiString closeButton)
    : lines_(std::move(lines)), closeButton_(std::move(closeButton)) {}

TScriptSession::~TScriptSession() {
    Register(false);
}

std::unique_ptr<TScriptSession> TScriptSession::Guest() {
    QzSessionChannel& channel = SessionChannel();
    if (!channel.Owner || !channel.TakeAnswer) return nullptr;
    auto guest = std::make_unique<TScriptSession>(std::vector<TScriptLine>{}, "");
    guest->guest_ = true;
    guest->started_ = true;
    return guest;
}

void TScriptSession::Register(bool on) {
    QzSessionChannel& channel = SessionChannel();
    if (on && !guest_) {
        channel.Owner = this;
        channel.TakeAnswer = [](void* owner, int* aborting) {
            return static_cast<TScriptSession*>(owner)->Lend(aborting);
        };
        channel.Failed = [](void* owner) {
            auto* session = static_cast<TScriptSession*>(owner);
            session->failed_ = session->aborting_ = true;
        };
    } else if (!on && channel.Owner == this) {
        channel.Owner = nullptr;
        channel.TakeAnswer = nullptr;
        channel.Failed = nullptr;
    }
}

const char* TScriptSession::Lend(int* aborting) {
    *aborting = aborting_ ? 1 : 0;
    if (aborting_ || answers_.empty()) return nullptr;
    Answer answer = answers_.front();
    answers_.pop_front();
    TScriptLine line;
    line.Number = answer.Line;
    if (answer.Block) {
        line.Verb = "dialog";
        line.Block = *answer.Block;
    } else {
        line.Verb = "answer";
        if (answer.Row >= 0) {
            line.Args.push_back({"pick"});
            line.Args.push_back({IntToStr(answer.Row)});
        }
        line.Args.push_back({answer.Button, true});
    }
    lent_ = FormatScript({line});
    return lent_.c_str();
}

// Answers for a dialog of this copy from the session that runs in another.
bool TScriptSession::FetchAnswer(TDisplayBackend& display, TCustomForm& dialog) {
    QzSessionChannel& channel = SessionChannel();
    if (!guest_ || !channel.Owner || channel.Owner == this || !channel.TakeAnswer) return false;
    int aborting = 0;
    const char* text = channel.TakeAnswer(channel.Owner, &aborting);
    if (aborting) aborting_ = true;
    if (!text) return false;
    for (TScriptLine& line : ParseScript(text)) {
        if (line.Verb == "answer") {
            QueueAnswers(line);
        } else if (line.Verb == "dialog") {
            fetched_.push_back(std::move(line.Block));
            Answer answer;
            answer.Line = line.Number;
            answer.Block = &fetched_.back();
            answers_.push_back(answer);
        }
    }
    return !answers_.empty();
}

TScriptSession::Context* TScriptSession::ContextOf(TCustomForm* form) {
    for (auto& c : contexts_)
        if (c->Form == form) return c.get();
    return nullptr;
}

void TScriptSession::Fail(int line, const AnsiString& why) {
    Say("script line " + IntToStr(line) + ": " + why);
    failed_ = true;
    aborting_ = true;
    SetStatus("failed");
    QzSessionChannel& channel = SessionChannel();
    if (guest_ && channel.Owner && channel.Owner != this && channel.Failed) channel.Failed(channel.Owner);
}

TScriptSession::Context* TScriptSession::Open(TDisplayBackend& display, TCustomForm* form) {
    if (form == SessionWindow() && !started_) {
        started_ = true;
        if (!failed_) SetStatus("ok");
        Register(true);
        auto c = std::make_unique<Context>();
        c->Form = form;
        c->Lines = &lines_;
        c->IsWindow = true;
        contexts_.push_back(std::move(c));
        return contexts_.back().get();
    }
    if (answers_.empty()) {
        try {
            FetchAnswer(display, *form);
        } catch (const ELineFailed& e) {
            Fail(0, e.Why);
        } catch (const std::exception& e) {
            Fail(0, e.what());
        }
    }
    if (aborting_) {
        CloseAsCancel(display, *form);
        return nullptr;
    }
    if (answers_.empty()) {
        Say("script: dialog \"" + form->Caption() + "\" was not answered; closed as Cancel would close it");
        CloseAsCancel(display, *form);
        return nullptr;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    if (!answer.Block) {
        Reply(display, *form, answer);
        return nullptr;
    }
    auto c = std::make_unique<Context>();
    c->Form = form;
    c->Lines = answer.Block;
    c->OpenedBy = answer.Line;
    contexts_.push_back(std::move(c));
    return contexts_.back().get();
}

bool TScriptSession::ModalStep(TDisplayBackend& display, TCustomForm* form, int step) {
    Context* context = ContextOf(form);
    if (!context) {
        if (step > 0) return false; // answered, yet still open
        context = Open(display, form);
        if (!context) return true;
    }
    if (aborting_ || context->Next >= context->Lines->size()) {
        if (++context->CloseAttempts > 2) return false;
        if (context->IsWindow && !aborting_ && !closeButton_.empty()) {
            TControl* button = FindByName(*form, closeButton_);
            if (button && button->Enabled() && button->Visible()) {
                display.InputClick(*form, *button, {button->Width() / 2, button->Height() / 2});
                return true;
            }
        }
        if (!context->IsWindow && !aborting_)
            Say("script line " + IntToStr(context->OpenedBy) + ": dialog \"" + form->Caption() +
                "\" is still open at the end of its block; closed as Cancel would close it");
        CloseAsCancel(display, *form);
        return true;
    }
    const TScriptLine& line = (*context->Lines)[context->Next++];
    try {
        Run(display, *context, line);
    } catch (const ELineFailed& e) {
        Fail(line.Number, e.Why);
    } catch (const std::exception& e) {
        Fail(line.Number, e.what());
    }
    display.Frame();
    return true;
}

void TScriptSession::ModalEnded(TCustomForm* form) {
    for (size_t i = 0; i < contexts_.size(); ++i) {
        if (contexts_[i]->Form != form) continue;
        bool window = contexts_[i]->IsWindow;
        contexts_.resize(i);
        // Answers no dialog took: the dialogs the script waited for never came.
        if (window && !aborting_) {
            for (const Answer& a : answers_)
                Fail(a.Line, a.Block ? AnsiString("no dialog was shown for this block")
                                     : "no dialog was shown for the answer " + a.Button);
        }
        if (window) {
            answers_.clear();
            Register(false);
        }
        return;
    }
}

void TScriptSession::CloseAsCancel(TDisplayBackend& display, TCustomForm& form) {
    for (int i = 0; i < form.ComponentCount(); ++i) {
        auto* button = dynamic_cast<TButton*>(form.Components(i));
        if (button && button->Cancel() && button->Visible() && button->Enabled()) {
            display.InputClick(form, *button, {button->Width() / 2, button->Height() / 2});
            if (form.ModalResult() != mrNone || !form.Visible()) return;
        }
    }
    form.SetModalResult(mrCancel);
}

void TScriptSession::Reply(TDisplayBackend& display, TCustomForm& dialog, const Answer& answer) {
    try {
        if (answer.Row >= 0) PickRow(dialog, answer.Row);
        TControl* control = FindByName(dialog, answer.Button);
        if (!control) Refuse("no " + answer.Button + " on dialog \"" + dialog.Caption() + "\"");
        CheckReachable(control, answer.Button);
        display.InputClick(dialog, *control, ClickPoint(*control, answer.Button));
        return;
    } catch (const ELineFailed& e) {
        Fail(answer.Line, e.Why);
    }
    CloseAsCancel(display, dialog);
}

void TScriptSession::QueueAnswers(const TScriptLine& line) {
    const std::vector<TScriptArg>& args = line.Args;
    for (size_t i = 0; i < args.size(); ++i) {
        Answer answer;
        answer.Line = line.Number;
        if (!args[i].Quoted && SameText(args[i].Text, "pick")) {
            if (i + 2 >= args.size()) Refuse("pick takes a row and a button");
            int row = StrToIntDef(args[i + 1].Text, -1);
            if (row < 0) Refuse("pick takes a row from 0, not " + args[i + 1].Text);
            answer.Row = row;
            i += 2;
        }
        answer.Button = args[i].Text;
        answers_.push_back(answer);
    }
}

void TScriptSession::Run(TDisplayBackend& display, Context& context, const TScriptLine& line) {
    TCustomForm& form = *context.Form;
    const std::vector<TScriptArg>& args = line.Args;
    const AnsiString& verb = line.Verb;
    if (verb == "focus") {
        auto* control = dynamic_cast<TWinControl*>(ControlAtPath(form, args[0].Text));
        if (!control || !control->CanFocus()) Refuse(args[0].Text + " cannot take the focus");
        Application->Deliver([&] { control->SetFocus(); });
    } else if (verb == "type") {
        if (!Screen->ActiveControl() || GetParentForm(Screen->ActiveControl()) != &form)
            Refuse("no control of " + form.Name() + " has the focus");
        const AnsiString& text = args[0].Text;
        for (size_t i = 0; i < text.size(); ++i) {
            unsigned char ch = static_cast<unsigned char>(text[i]);
            TShiftState shift;
            Word key = ch < 0x80 ? KeyOfChar(static_cast<char>(ch), shift) : 0;
            if (key) {
                display.InputKey(form, key, shift, static_cast<char>(ch == '\n' ? '\r' : ch));
            } else if (ch >= 0x80 && i + 1 < text.size()) {
                display.InputText(form, text.substr(i, 2)); // a double-byte character
                ++i;
            } else {
                display.InputText(form, text.substr(i, 1));
            }
        }
    } else if (verb == "key") {
        Word key = 0;
        TShiftState shift;
        ParseKey(args[0].Text, key, shift);
        if (!Screen->ActiveControl() || GetParentForm(Screen->ActiveControl()) != &form)
            Refuse("no control of " + form.Name() + " has the focus");
        display.InputKey(form, key, shift, CharOfKey(key, shift));
    } else if (verb == "click") {
        const AnsiString& path = args[0].Text;
        TComponent* target = ComponentAt(form, path);
        if (auto* item = dynamic_cast<TMenuItem*>(target)) {
            if (!item->Visible()) Refuse(path + " is hidden");
            if (!item->Enabled()) Refuse(path + " is disabled");
            Application->Deliver([&] { item->Click(); });
        } else if (auto* sheet = dynamic_cast<TTabSheet*>(target)) {
            TPageControl* pages = sheet->PageControl();
            if (!pages || sheet->TabIndex() < 0) Refuse(path + " has no tab shown");
            CheckReachable(pages, path);
            TRect tab = pages->TabRect(sheet->TabIndex());
            display.InputClick(form, *pages, {(tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2});
        } else if (auto* control = dynamic_cast<TControl*>(target)) {
            CheckReachable(control, path);
            display.InputClick(form, *control, ClickPoint(*control, path));
        } else {
            Refuse(path + " cannot be clicked");
        }
    } else if (verb == "set") {
        TObject* holder = nullptr;
        const TPropInfo* prop = PropertyAt(form, args[0].Text, holder);
        if (!prop->Writable()) Refuse(args[0].Text + " is read-only");
        AnsiString value = args[1].Text;
        if (prop->PropType() == BooleanTypeInfo()) value = IsTrueText(value) ? "True" : value;
        Application->Deliver([&] { SetPropText(holder, prop, value, &form); });
    } else if (verb == "expect") {
        TObject* holder = nullptr;
        const TPropInfo* prop = PropertyAt(form, args[0].Text, holder);
        AnsiString actual = GetPropText(holder, prop);
        bool same = SameValue(prop, actual, args[1].Text);
        // An object is compared with the object the value names as a path.
        if (prop->Kind() == tkClass && prop->GetObj && !args[1].Quoted) {
            TObject* held = prop->GetObj(holder);
            std::vector<AnsiString> parts = PathParts(args[1].Text);
            TObject* named = nullptr;
            try {
                named = Resolve(form, parts, parts.size(), args[1].Text);
            } catch (const ELineFailed&) {}
            same = named ? named == held : same;
            if (held && actual.empty()) actual = "(" + ClassNameOf(held) + " without a name)";
        }
        if (!same) {
            Say("expect failed: " + args[0].Text + " is " + Quote(actual) + ", not " + Quote(args[1].Text));
            failed_ = true;
            SetStatus("failed");
        }
    } else if (verb == "answer") {
        QueueAnswers(line);
    } else if (verb == "dialog") {
        Answer answer;
        answer.Line = line.Number;
        answer.Block = &line.Block;
        answers_.push_back(answer);
    } else if (verb == "shot") {
        SaveFormImage(form, args[0].Text);
    } else if (verb == "wait") {
        int ms = StrToIntDef(args[0].Text, -1);
        if (ms < 0) Refuse("wait takes milliseconds, not " + args[0].Text);
        display.Pause(ms);
    } else {
        Refuse("unknown verb " + verb);
    }
}

} // namespace qz
