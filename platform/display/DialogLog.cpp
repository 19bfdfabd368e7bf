#include "platform/display/DialogLog.h"

#include "platform/core/CodePages.h"
#include "platform/core/Strings.h"
#include "platform/rtti/TypInfo.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>

namespace qz {

namespace {

struct TEntry {
    TCustomForm* Dialog = nullptr;
    AnsiString Line; // set once the dialog ended
    bool Ended = false;
};

std::deque<TEntry> shown;
std::map<TCustomForm*, AnsiString> items;
TCustomForm* sessionWindow = nullptr;

bool Enabled() {
    const char* env = std::getenv("QZ_LOG_DIALOGS");
    return env && *env && *env != '0';
}

AnsiString ResultName(TModalResult result) {
    static const char* const names[] = {"(none)", "OK", "Cancel", "Abort",   "Retry",   "Ignore",
                                        "Yes",    "No", "All",    "NoToAll", "YesToAll"};
    return result >= 0 && result <= 10 ? names[result] : "ModalResult " + IntToStr(result);
}

// The control whose modal result closed the dialog, by name; else the result's name.
AnsiString ClosedBy(TCustomForm& dialog) {
    TModalResult result = dialog.ModalResult();
    for (int i = 0; result != mrNone && i < dialog.ComponentCount(); ++i) {
        TComponent* c = dialog.Components(i);
        const TPropInfo* p = GetPropInfo(c, "ModalResult");
        if (p && p->GetOrd && p->GetOrd(c) == result && !c->Name().empty()) return c->Name();
    }
    return ResultName(result);
}

// The message of a message dialog; "" for other dialogs.
AnsiString MessageOf(TCustomForm& dialog) {
    auto* label = dynamic_cast<TLabel*>(dialog.FindComponent("Message"));
    return label ? label->Caption() : AnsiString();
}

AnsiString LineOf(TCustomForm& dialog) {
    AnsiString text = MessageOf(dialog);
    auto item = items.find(&dialog);
    if (item != items.end()) text = "[" + item->second + "]" + (text.empty() ? "" : " " + text);
    return "dialog \"" + dialog.Caption() + "\": " + text + (text.empty() ? "" : " ") + "-> " +
           ClosedBy(dialog);
}

void Flush() {
    while (!shown.empty() && shown.front().Ended) {
        std::printf("%s\n", AnsiToUtf8(shown.front().Line).c_str());
        shown.pop_front();
    }
    std::fflush(stdout);
}

} // namespace

void NoteDialogItem(TCustomForm* dialog, const AnsiString& item) {
    items[dialog] = item;
}

void DialogShown(TCustomForm* dialog) {
    if (dialog == sessionWindow || !Enabled()) return;
    for (const TEntry& e : shown)
        if (e.Dialog == dialog && !e.Ended) return;
    shown.push_back({dialog});
}

void DialogEnded(TCustomForm* dialog) {
    for (TEntry& e : shown)
        if (e.Dialog == dialog && !e.Ended) {
            e.Line = LineOf(*dialog);
            e.Ended = true;
            e.Dialog = nullptr;
            break;
        }
    Flush();
}

void DialogForgotten(TCustomForm* dialog) {
    if (dialog == sessionWindow) sessionWindow = nullptr;
    for (TEntry& e : shown)
        if (e.Dialog == dialog && !e.Ended) {
            e.Line = LineOf(*dialog);
            e.Ended = true;
            e.Dialog = nullptr;
        }
    items.erase(dialog);
    Flush();
}

void SetSessionWindow(TCustomForm* form) {
    sessionWindow = form;
}

TCustomForm* SessionWindow() {
    return sessionWindow;
}

} // namespace qz
