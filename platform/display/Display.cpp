#include "platform/display/Display.h"
#include "platform/core/CodePages.h"
#include "platform/core/Strings.h"
#include "platform/display/DialogLog.h"
#include "platform/display/Screenshot.h"
#include "platform/display/ScriptSession.h"
#include "platform/display/ScriptedAnswers.h"
#include "platform/display/SdlDisplay.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace qz {

namespace {

// The session of a script; a script that cannot be read fails the session before it starts.
std::unique_ptr<TScriptSession> SessionFromScript(const AnsiString& text) {
    const char* press = std::getenv("QZ_HEADLESS_PRESS");
    try {
        return std::make_unique<TScriptSession>(ParseScript(text), press ? press : "btnCancel");
    } catch (const EScriptError& e) {
        auto session = std::make_unique<TScriptSession>(std::vector<TScriptLine>{}, "");
        session->Abandon(e.Line, e.what());
        return session;
    }
}

} // namespace

TDisplayBackend::TDisplayBackend() = default;
TDisplayBackend::~TDisplayBackend() = default;

void TDisplayBackend::FormShown(TCustomForm* form) {
    if (std::find(visible_.begin(), visible_.end(), form) == visible_.end()) visible_.push_back(form);
    if (form->IsModal()) DialogShown(form);
}

void TDisplayBackend::FormHidden(TCustomForm* form) {
    visible_.erase(std::remove(visible_.begin(), visible_.end(), form), visible_.end());
}

void TDisplayBackend::FormDestroyed(TCustomForm* form) {
    FormHidden(form);
    DialogForgotten(form);
}

// The session window starts the script; dialogs of a copy without a running session of its own take
// their answers from the session of another copy, when one runs.
TScriptSession* TDisplayBackend::SessionFor(TCustomForm* form) {
    if (!script_ && scriptText_ && form == SessionWindow()) script_ = SessionFromScript(*scriptText_);
    if (script_ && (script_->Started() || form == SessionWindow())) return script_.get();
    if (!guest_) guest_ = TScriptSession::Guest();
    return guest_.get();
}

bool TDisplayBackend::ModalStep(TCustomForm* form, int step) {
    if (TScriptSession* session = step == 0 ? SessionFor(form) : nullptr)
        sessionForms_.push_back({form, session});
    for (const auto& [f, session] : sessionForms_)
        if (f == form) {
            Frame();
            return session->ModalStep(*this, form, step);
        }
    return DefaultModalStep(form, step);
}

void TDisplayBackend::ModalEnded(TCustomForm* form) {
    for (auto it = sessionForms_.begin(); it != sessionForms_.end(); ++it)
        if (it->first == form) {
            it->second->ModalEnded(form);
            sessionForms_.erase(it);
            break;
        }
    DialogEnded(form);
}

void TDisplayBackend::InputKey(TCustomForm& form, Word key, TShiftState shift, char ch) {
    Application->Deliver([&] {
        TWinControl* c = Screen->ActiveControl();
        if (!c) return;
        bool consumed = c->DeliverKeyDown(key, shift);
        if (!consumed && ch)
            if (TWinControl* now = Screen->ActiveControl()) now->DeliverChar(ch);
        if (TWinControl* now = Screen->ActiveControl()) now->DeliverKeyUp(key, shift);
    });
}

void TDisplayBackend::InputText(TCustomForm& form, const AnsiString& chars) {
    Application->Deliver([&] {
        for (char ch : chars)
            if (TWinControl* c = Screen->ActiveControl()) c->DeliverChar(ch);
    });
}

void TDisplayBackend::InputClick(TCustomForm& form, TControl& control, TPoint at) {
    Application->ClickAt(&control, at.X, at.Y);
}

bool THeadlessDisplay::DefaultModalStep(TCustomForm* form, int step) {
    if (step == 0) {
        TModalDriver driver;
        if (!queue_.empty()) {
            driver = std::move(queue_.front());
            queue_.erase(queue_.begin());
        } else {
            driver = standing_;
        }
        if (driver) {
            driver(*form);
            return true;
        }
    }
    if (step <= 1) {
        // Nobody answered (or the answer was refused): cancel once more, then give up.
        Report(form);
        form->SetModalResult(mrCancel);
        return true;
    }
    return false;
}

void THeadlessDisplay::ClearModalDrivers() {
    queue_.clear();
    standing_ = nullptr;
}

void THeadlessDisplay::Report(TCustomForm* form) {
    AnsiString what = form->Name() + " (" + ClassNameOf(form) + ")";
    unanswered_.push_back(what);
    std::fprintf(stderr, "qz: modal form %s was not answered; cancelled\n", what.c_str());
}

namespace {

// The display stays for the life of the process: a program may carry two copies of this library (the
// host and the module), and the first to close the display would unload the window system's libraries
// under the other.
std::unique_ptr<TDisplayBackend>& Installed() {
    static auto* installed = new std::unique_ptr<TDisplayBackend>();
    return *installed;
}

} // namespace

TDisplayBackend* InstallDisplay() {
    std::unique_ptr<TDisplayBackend>& installed = Installed();
    if (installed) return installed.get();
    AnsiString name = DisplayNameFromEnvironment();
    if (name == "sdl") {
        try {
            installed = CreateSdlDisplay();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "qz: %s; using headless\n", e.what());
        }
    } else if (name != "headless") {
        std::fprintf(stderr, "qz: display \"%s\" is not available; using headless\n", name.c_str());
    }
    if (!installed) {
        auto headless = std::make_unique<THeadlessDisplay>();
        headless->SetModalDriver(EnvironmentModalDriver());
        installed = std::move(headless);
    }
    SetFormHost(installed.get());
    if (const char* script = std::getenv("QZ_SCRIPT_TEXT")) installed->SetScript(script);
    // QZ_SCREENSHOT names a PNG file for the first window shown modally.
    if (const char* shot = std::getenv("QZ_SCREENSHOT"); shot && *shot) RequestScreenshotOnShow(shot);
    return installed.get();
}

THeadlessDisplay* HeadlessDisplay() {
    return dynamic_cast<THeadlessDisplay*>(InstallDisplay());
}

TControl* ControlByName(TCustomForm& form, const AnsiString& name) {
    auto* c = dynamic_cast<TControl*>(form.FindComponent(name));
    if (!c) throw EComponentError("No control " + name + " on " + form.Name());
    return c;
}

void ClickControl(TCustomForm& form, const AnsiString& name) {
    Application->Click(ControlByName(form, name));
}

void SetControlText(TCustomForm& form, const AnsiString& name, const AnsiString& text) {
    ControlByName(form, name)->SetText(text);
}

} // namespace qz
