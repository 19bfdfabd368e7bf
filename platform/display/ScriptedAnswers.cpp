#include "platform/display/ScriptedAnswers.h"

#include "platform/core/CodePages.h"
#include "platform/vcl/StdCtrls.h"

#include <cstdio>
#include <cstdlib>

namespace qz {

namespace {

// The text of a message dialog: its labels, joined.
AnsiString DialogText(TCustomForm& form) {
    AnsiString text;
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* label = dynamic_cast<TLabel*>(form.Components(i)))
            text += (text.empty() ? "" : " ") + label->Caption();
    return text;
}

} // namespace

THeadlessDisplay::TModalDriver EnvironmentModalDriver() {
    const char* env = std::getenv("QZ_HEADLESS_PRESS");
    if (!env) return nullptr;
    AnsiString press = env;
    return [press](TCustomForm& form) {
        if (form.FindComponent(press)) {
            ClickControl(form, press);
            return;
        }
        AnsiString target = form.FindComponent("OK") ? "OK" : "";
        std::fprintf(stderr, "dialog \"%s\": %s -> %s\n", AnsiToUtf8(form.Caption()).c_str(),
                     AnsiToUtf8(DialogText(form)).c_str(), target.empty() ? "(cancel)" : target.c_str());
        if (!target.empty()) ClickControl(form, target);
    };
}

} // namespace qz
