#include "platform/display/ScriptedAnswers.h"

#include <cstdlib>

namespace qz {

THeadlessDisplay::TModalDriver EnvironmentModalDriver() {
    const char* env = std::getenv("QZ_HEADLESS_PRESS");
    if (!env) return nullptr;
    AnsiString press = env;
    return [press](TCustomForm& form) {
        if (form.FindComponent(press))
            ClickControl(form, press);
        else if (form.FindComponent("OK"))
            ClickControl(form, "OK");
    };
}

} // namespace qz
