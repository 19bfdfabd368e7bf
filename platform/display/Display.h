#pragma once
// Display backends: what shows forms and runs their modal loops. QZ_DISPLAY chooses one; only the
// headless backend exists so far, and every other choice falls back to it.
#include "platform/vcl/Forms.h"
#include <functional>
#include <vector>

namespace qz {

class TDisplayBackend : public TFormHost {
public:
    virtual const char* Name() const = 0;
    // Forms shown now, in the order they were shown.
    const std::vector<TCustomForm*>& VisibleForms() const { return visible_; }
    void FormShown(TCustomForm* form) override;
    void FormHidden(TCustomForm* form) override;
    void FormDestroyed(TCustomForm* form) override;

private:
    std::vector<TCustomForm*> visible_;
};

// No windows. A modal form is handed to a modal driver (a callback that fills fields, clicks buttons,
// answers a message box); a modal form nobody answers ends with mrCancel and is reported on standard
// error and in Unanswered().
class THeadlessDisplay : public TDisplayBackend {
public:
    using TModalDriver = std::function<void(TCustomForm& form)>;

    const char* Name() const override { return "headless"; }
    bool ModalStep(TCustomForm* form, int step) override;

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
// QZ_SCREENSHOT names a PNG file that the first window shown modally is written to.
TDisplayBackend* InstallDisplay();
// The headless backend when that is the one installed (installing it when none is yet), else nullptr.
THeadlessDisplay* HeadlessDisplay();

// Helpers for drivers: the control of a form by component name (raises EComponentError when absent),
// a click on it, text typed into an edit by replacing its text.
TControl* ControlByName(TCustomForm& form, const AnsiString& name);
void ClickControl(TCustomForm& form, const AnsiString& name);
void SetControlText(TCustomForm& form, const AnsiString& name, const AnsiString& text);

} // namespace qz
