#pragma once
// The SDL2 backend: one system window per visible form, placed where the form's client area is and
// titled with its caption; mouse, keys and UTF-8 text input (turned into the process code page)
// dispatched into the model; frames painted by the form painter and uploaded as a streaming texture.
// Modal forms run their own loop here; windows of other forms take no input meanwhile.
#include "platform/display/Display.h"
#include <map>
#include <memory>

namespace qz {

class TMenuItem;
class TTextEngine;

class TSdlDisplay : public TDisplayBackend {
public:
    // Opens the video subsystem and makes the cairo text engine current; raises Exception when no
    // display can be opened.
    TSdlDisplay();
    ~TSdlDisplay() override;
    TSdlDisplay(const TSdlDisplay&) = delete;
    TSdlDisplay& operator=(const TSdlDisplay&) = delete;

    const char* Name() const override { return "sdl"; }
    void FormShown(TCustomForm* form) override;
    void FormHidden(TCustomForm* form) override;
    void FormDestroyed(TCustomForm* form) override;
    void Invalidate(TControl* control) override;
    // Paints what changed, waits a little for input and dispatches it.
    bool DefaultModalStep(TCustomForm* form, int step) override;
    // Scripted input as SDL events through the same dispatch as real ones.
    void InputKey(TCustomForm& form, Word key, TShiftState shift, char ch) override;
    void InputText(TCustomForm& form, const AnsiString& chars) override;
    void InputClick(TCustomForm& form, TControl& control, TPoint at) override;
    void Pause(int ms) override;
    void Frame() override;

    // Paints the windows that need it, waits up to timeoutMs for events and dispatches them.
    void ProcessEvents(int timeoutMs);
    // Processes events and posted messages until no form is visible or the application terminates.
    void Run();
    // Shows the items of a menu at a screen point and runs until one is chosen (returned, not yet
    // clicked) or the menu is dismissed (nullptr).
    TMenuItem* TrackPopup(const TMenuItem& items, int x, int y);
    // The SDL window id of the form's window; 0 when it has none.
    unsigned WindowId(const TCustomForm* form) const;
    // The name of the video driver SDL uses ("x11", "wayland", ...).
    const char* VideoDriver() const;
    // Ends the running loops as a closed display would (the application terminates); may be called
    // from any thread.
    static void RequestQuit();

    struct Window;
    struct DropDown;

private:
    void CreateWindowFor(TCustomForm* form);
    void RenderAll(bool force);
    void Render(Window& w);
    void Handle(const void* event);
    TCustomForm* FormOfWindow(unsigned windowId) const;
    // Input goes to the innermost modal form and the forms shown after it.
    bool InputAllowed(TCustomForm* form) const;
    void MouseButton(TCustomForm* form, int x, int y, int button, bool down, int clicks);
    void MouseMotion(TCustomForm* form, int x, int y);
    void Key(unsigned windowId, int keycode, unsigned mod, bool down);
    void Text(unsigned windowId, const char* utf8);

    void UpdateDropDown();
    bool DropDownEvent(const void* event);

    std::map<TCustomForm*, std::unique_ptr<Window>> windows_;
    std::unique_ptr<DropDown> dropDown_;
    bool dirty_ = true;
    TControl* capture_ = nullptr;
    TCustomForm* captureForm_ = nullptr;
    bool suppressText_ = false;
    TTextEngine* previousEngine_ = nullptr;
};

// The backend QZ_DISPLAY names ("headless" or "sdl", without regard to case); without QZ_DISPLAY,
// "sdl" when DISPLAY or WAYLAND_DISPLAY is set, else "headless".
AnsiString DisplayNameFromEnvironment();
// A new SDL backend; raises Exception when SDL cannot open a display.
std::unique_ptr<TDisplayBackend> CreateSdlDisplay();

// The virtual-key code of an SDL key code; 0 for keys without one.
Word VirtualKeyFromSdl(int keycode);
// The SDL key code of a virtual key; 0 for keys without one.
int SdlKeyFromVirtual(Word key);

} // namespace qz
