#pragma once
// Display backends: what shows forms and runs their modal loops. QZ_DISPLAY chooses one (headless or
// sdl); a script session given in QZ_SCRIPT_TEXT drives the session's window on either.
#include "platform/vcl/Forms.h"
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace qz {

class TScriptSession;

class TDisplayBackend : public TFormHost {
public:
    virtual const char* Name() const = 0;
    // Forms shown now, in the order they were shown.
    const std::vector<TCustomForm*>& VisibleForms() const { return visible_; }
    void FormShown(TCustomForm* form) override;
    void FormHidden(TCustomForm* form) override;
    void FormDestroyed(TCustomForm* form) override;
    // The script session's step when one runs for the form, else the backend's own.
    bool ModalStep(TCustomForm* form, int step) final;
    void ModalEnded(TCustomForm* form) override;
    virtual bool DefaultModalStep(TCustomForm* form, int step) = 0;

    // Input as a person gives it, for scripted sessions: a key with the character it types (0 for
    // none), characters typed without a key of their own, a left click at a point of a control.
    virtual void InputKey(TCustomForm& form, Word key, TShiftState shift, char ch);
    virtual void InputText(TCustomForm& form, const AnsiString& chars);
    virtual void InputClick(TCustomForm& form, TControl& control, TPoint at);
    // Keeps processing events for ms milliseconds; draws what changed.
    virtual void Pause(int ms) {}
    virtual void Frame() {}

    // The script (QZ_SCRIPT_TEXT) run on the session's window once it is shown modally.
    void SetScript(const AnsiString& text) { scriptText_ = text; }
    TScriptSession* ScriptSession() const { return script_.get(); }

    TDisplayBackend();
    ~TDisplayBackend() override;

private:
    TScriptSession* SessionFor(TCustomForm* form);

    std::vector<TCustomForm*> visible_;
    std::optional<AnsiString> scriptText_;
    std::unique_ptr<TScriptSession> script_;
    std::unique_ptr<TScriptSession> guest_; // answers from the session of another copy
    std::vector<std::pair<TCustomForm*, TScriptSession*>> sessionForms_; // modal forms a session acts on
};

// No windows. A modal form is handed to a modal driver (a callback that fills fields, clicks buttons,
// answers a message box); a modal form nobody answers ends with mrCancel and is reported on standard
// error and in Unanswered().
class THeadlessDisplay : public TDisplayBackend {
public:
    using TModalDriver = std::function<void(TCustomForm& form)>;

    const char* Name() const override { return "headless"; }
    bool DefaultModalStep(TCustomForm* form, int step) override;

    // Drivers queued for the next modal forms, one each, in order; then the standing driver.
    void QueueModalDriver(TModalDriver driver) { queue_.push_back(std::move(driver)); }
    void SetModalDriver(TModalDriver driver) { standing_ = std::move(driver); }
    void ClearModalDrivers();
    int QueuedDriverCount() const { return static_cast<int>(queue_.size()); }
    // "name (class)" of every modal form that ended unanswered.
    const std::vector<AnsiString>& Unanswered() const { return unanswered_; }
    void ClearUnanswered() { unanswered_.clear(); }

private:
    void Report(TCustomForm* form);

    std::vector<TModalDriver> queue_;
    TModalDriver standing_;
    std::vector<AnsiString> unanswered_;
};

// Installs the backend QZ_DISPLAY names ("headless" or "sdl"; without it "sdl" when a display is
// present) as the form host, once; returns it. A display SDL cannot open gives headless with a warning.
// QZ_SCREENSHOT names a PNG file that the first window shown modally is written to. QZ_SCRIPT_TEXT holds
// a script for the session's window (a script that cannot be read is reported and fails the session).
TDisplayBackend* InstallDisplay();
// The headless backend when that is the one installed (installing it when none is yet), else nullptr.
THeadlessDisplay* HeadlessDisplay();

// Helpers for drivers: the control of a form by component name (raises EComponentError when absent),
// a click on it, text typed into an edit by replacing its text.
TControl* ControlByName(TCustomForm& form, const AnsiString& name);
void ClickControl(TCustomForm& form, const AnsiString& name);
void SetControlText(TCustomForm& form, const AnsiString& name, const AnsiString& text);

} // namespace qz
