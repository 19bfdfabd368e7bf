#include "platform/display/SdlDisplay.h"
#include "platform/core/CodePages.h"
#include "platform/core/Strings.h"
#include "platform/display/Paint.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/CairoText.h"
#include "platform/gfx/Canvas.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Spin.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"
#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace qz {

namespace {

AnsiString TitleOf(const TCustomForm& form) {
    return AnsiToUtf8(form.Caption());
}

// The position of a control's top-left corner in its form's client area.
TPoint OffsetInForm(const TControl* control) {
    TPoint p;
    for (const TControl* c = control; c && !dynamic_cast<const TCustomForm*>(c); c = c->Parent()) {
        TRect at = DisplayBounds(*c);
        p.X += at.Left;
        p.Y += at.Top;
    }
    return p;
}

// The deepest visible control under a point of the parent's client area.
TControl* ControlAt(TWinControl* parent, TPoint p) {
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = parent->ControlCount() - 1; i >= 0; --i) {
            TControl* c = parent->Controls(i);
            auto* w = dynamic_cast<TWinControl*>(c);
            TRect at = DisplayBounds(*c);
            if ((w != nullptr) != (pass == 0) || !c->Visible() || !at.Contains(p)) continue;
            if (w) return ControlAt(w, {p.X - at.Left, p.Y - at.Top});
            return c;
        }
    }
    return parent;
}

TShiftState ShiftFromMod(unsigned mod) {
    TShiftState s;
    if (mod & KMOD_SHIFT) s << ssShift;
    if (mod & KMOD_CTRL) s << ssCtrl;
    if (mod & KMOD_ALT) s << ssAlt;
    return s;
}

bool ShowsPressed(const TControl* c) {
    return dynamic_cast<const TButton*>(c) || dynamic_cast<const TToolButton*>(c);
}

} // namespace

// ---- windows

struct TSdlDisplay::Window {
    TCustomForm* Form = nullptr;
    SDL_Window* Handle = nullptr;
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Texture = nullptr;
    TSize TextureSize;
    TBitmap Frame;
    AnsiString Title;
    bool Focused = false;

    ~Window() {
        if (Texture) SDL_DestroyTexture(Texture);
        if (Renderer) SDL_DestroyRenderer(Renderer);
        if (Handle) SDL_DestroyWindow(Handle);
    }

    // Uploads the bitmap and shows it.
    void Present(const TBitmap& picture) {
        if (!Texture || TextureSize != TSize{picture.Width(), picture.Height()}) {
            if (Texture) SDL_DestroyTexture(Texture);
            Texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                        picture.Width(), picture.Height());
            TextureSize = {picture.Width(), picture.Height()};
        }
        if (!Texture) return;
        SDL_UpdateTexture(Texture, nullptr, picture.ScanLine(0), picture.Stride());
        SDL_RenderClear(Renderer);
        SDL_RenderCopy(Renderer, Texture, nullptr, nullptr);
        SDL_RenderPresent(Renderer);
    }
};

// The open list of a combo box: a borderless window below the control.
struct TSdlDisplay::DropDown {
    TCustomComboBox* Combo = nullptr;
    SDL_Window* Handle = nullptr;
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Texture = nullptr;
    TBitmap Picture;

    ~DropDown() {
        if (Texture) SDL_DestroyTexture(Texture);
        if (Renderer) SDL_DestroyRenderer(Renderer);
        if (Handle) SDL_DestroyWindow(Handle);
    }
};

TSdlDisplay::TSdlDisplay() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw Exception(AnsiString("Cannot open the display: ") + SDL_GetError());
    SDL_Rect bounds;
    if (Screen && SDL_GetDisplayBounds(0, &bounds) == 0) Screen->SetSize(bounds.w, bounds.h);
    previousEngine_ = UseCairoText();
    SDL_StartTextInput();
    TPopupMenu::SetPopupHost([this](TPopupMenu& menu, int x, int y) {
        if (TMenuItem* item = TrackPopup(*menu.Items(), x, y)) Application->Deliver([&] { item->Click(); });
    });
}

TSdlDisplay::~TSdlDisplay() {
    TPopupMenu::SetPopupHost(nullptr);
    dropDown_.reset();
    windows_.clear();
    SetTextEngine(previousEngine_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

const char* TSdlDisplay::VideoDriver() const {
    const char* name = SDL_GetCurrentVideoDriver();
    return name ? name : "";
}

unsigned TSdlDisplay::WindowId(const TCustomForm* form) const {
    auto it = windows_.find(const_cast<TCustomForm*>(form));
    return it == windows_.end() ? 0 : SDL_GetWindowID(it->second->Handle);
}

TCustomForm* TSdlDisplay::FormOfWindow(unsigned windowId) const {
    for (const auto& [form, w] : windows_)
        if (SDL_GetWindowID(w->Handle) == windowId) return form;
    return nullptr;
}

void TSdlDisplay::FormShown(TCustomForm* form) {
    TDisplayBackend::FormShown(form);
    if (!windows_.count(form)) CreateWindowFor(form);
    dirty_ = true;
}

void TSdlDisplay::FormHidden(TCustomForm* form) {
    TDisplayBackend::FormHidden(form);
    if (dropDown_ && GetParentForm(dropDown_->Combo) == form) dropDown_.reset();
    windows_.erase(form);
    if (captureForm_ == form) capture_ = nullptr, captureForm_ = nullptr;
    dirty_ = true;
}

void TSdlDisplay::FormDestroyed(TCustomForm* form) {
    FormHidden(form);
    TDisplayBackend::FormDestroyed(form);
}

void TSdlDisplay::Invalidate(TControl* control) {
    dirty_ = true;
    if (dropDown_ && control == dropDown_->Combo && control->IsDestroying()) dropDown_.reset();
    if (capture_ && control == capture_ && control->IsDestroying()) capture_ = nullptr;
}

void TSdlDisplay::CreateWindowFor(TCustomForm* form) {
    auto w = std::make_unique<Window>();
    w->Form = form;
    TPoint origin = form->ClientOrigin();
    TRect client = form->ClientRect();
    Uint32 flags = SDL_WINDOW_SHOWN;
    switch (form->BorderStyle()) {
    case bsNone: flags |= SDL_WINDOW_BORDERLESS; break;
    case bsSizeable:
    case bsSizeToolWin: flags |= SDL_WINDOW_RESIZABLE; break;
    default: break;
    }
    if (form->BorderStyle() == bsToolWindow || form->BorderStyle() == bsSizeToolWin)
        flags |= SDL_WINDOW_UTILITY;
    w->Title = TitleOf(*form);
    w->Handle = SDL_CreateWindow(w->Title.c_str(), origin.X, origin.Y, std::max(1, client.Width()),
                                 std::max(1, client.Height()), flags);
    if (!w->Handle) throw Exception(AnsiString("Cannot create a window: ") + SDL_GetError());
    // The software renderer keeps the window as created (a GL one may create it again).
    w->Renderer = SDL_CreateRenderer(w->Handle, -1, SDL_RENDERER_SOFTWARE);
    if (!w->Renderer) throw Exception(AnsiString("Cannot draw in a window: ") + SDL_GetError());
    Render(*w);
    SDL_RaiseWindow(w->Handle);
    SDL_SetWindowInputFocus(w->Handle);
    windows_[form] = std::move(w);
}

void TSdlDisplay::Render(Window& w) {
    TCustomForm* form = w.Form;
    AnsiString title = TitleOf(*form);
    if (title != w.Title) {
        w.Title = title;
        SDL_SetWindowTitle(w.Handle, title.c_str());
    }
    TRect client = form->ClientRect();
    int cw = 0, ch = 0;
    SDL_GetWindowSize(w.Handle, &cw, &ch);
    if (cw != client.Width() || ch != client.Height())
        SDL_SetWindowSize(w.Handle, std::max(1, client.Width()), std::max(1, client.Height()));
    PaintFormClient(*form, w.Frame);
    w.Present(w.Frame);
}

void TSdlDisplay::RenderAll(bool force) {
    if (!dirty_ && !force) return;
    dirty_ = false;
    // Painting may show or hide forms; walk a copy.
    std::vector<TCustomForm*> forms;
    for (const auto& entry : windows_) forms.push_back(entry.first);
    for (TCustomForm* f : forms) {
        auto it = windows_.find(f);
        if (it == windows_.end()) continue;
        try {
            Render(*it->second);
        } catch (...) {
            Application->HandleException(f);
        }
    }
    UpdateDropDown();
}

void TSdlDisplay::UpdateDropDown() {
    TCustomComboBox* open = Screen ? dynamic_cast<TCustomComboBox*>(Screen->ActiveControl()) : nullptr;
    TCustomForm* form = open ? GetParentForm(open) : nullptr;
    if (open && (!open->DroppedDown() || !windows_.count(form) || !InputAllowed(form))) open = nullptr;
    if (dropDown_ && dropDown_->Combo != open) dropDown_.reset();
    if (!open) return;
    int height = 0;
    for (int i = open->TopIndex(); i < open->Items()->Count(); ++i) {
        TRect r = open->ItemRect(i);
        if (r.IsEmpty()) break;
        height = r.Bottom;
    }
    TSize size{open->Width(), std::max(height, 4) + 2};
    if (!dropDown_) {
        auto d = std::make_unique<DropDown>();
        d->Combo = open;
        int wx = 0, wy = 0;
        SDL_GetWindowPosition(windows_.at(form)->Handle, &wx, &wy);
        TPoint at = OffsetInForm(open);
        d->Handle = SDL_CreateWindow("", wx + at.X, wy + at.Y + open->Height(), size.cx, size.cy,
                                     SDL_WINDOW_SHOWN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_POPUP_MENU |
                                         SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR);
        if (!d->Handle) return;
        d->Renderer = SDL_CreateRenderer(d->Handle, -1, SDL_RENDERER_SOFTWARE);
        if (!d->Renderer) return;
        dropDown_ = std::move(d);
    }
    DropDown& d = *dropDown_;
    if (d.Picture.Width() != size.cx || d.Picture.Height() != size.cy) {
        SDL_SetWindowSize(d.Handle, size.cx, size.cy);
        if (d.Texture) SDL_DestroyTexture(d.Texture);
        d.Texture = SDL_CreateTexture(d.Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                      size.cx, size.cy);
    }
    d.Picture.SetSize(size.cx, size.cy);
    d.Picture.Fill(open->Color());
    TCanvas& c = d.Picture.Canvas();
    c.SetOrigin({0, 1});
    c.ResetClip();
    open->PaintDropDown(c);
    c.SetOrigin({0, 0});
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(cl3DDkShadow);
    c.FrameRect(Rect(0, 0, size.cx, size.cy));
    if (!d.Texture) return;
    SDL_UpdateTexture(d.Texture, nullptr, d.Picture.ScanLine(0), d.Picture.Stride());
    SDL_RenderClear(d.Renderer);
    SDL_RenderCopy(d.Renderer, d.Texture, nullptr, nullptr);
    SDL_RenderPresent(d.Renderer);
}

bool TSdlDisplay::DropDownEvent(const void* event) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(event);
    if (!dropDown_) return false;
    Uint32 id = SDL_GetWindowID(dropDown_->Handle);
    bool mine = (e.type == SDL_MOUSEBUTTONUP || e.type == SDL_MOUSEBUTTONDOWN) && e.button.windowID == id;
    if (e.type == SDL_MOUSEMOTION && e.motion.windowID == id) return true;
    if (!mine) {
        // A click anywhere else closes the list.
        if (e.type == SDL_MOUSEBUTTONDOWN) {
            TCustomComboBox* combo = dropDown_->Combo;
            TCustomForm* form = FormOfWindow(e.button.windowID);
            TPoint at = OffsetInForm(combo);
            bool onCombo =
                form == GetParentForm(combo) && combo->ContainsPoint({e.button.x - at.X, e.button.y - at.Y});
            if (!onCombo) Application->Deliver([&] { combo->SetDroppedDown(false); });
            dirty_ = true;
        }
        return false;
    }
    if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
        TCustomComboBox* combo = dropDown_->Combo;
        for (int i = combo->TopIndex(); i < combo->Items()->Count(); ++i) {
            TRect r = combo->ItemRect(i);
            if (r.IsEmpty()) break;
            if (r.Contains({e.button.x, e.button.y - 1})) {
                Application->Deliver([&] { combo->SelectItem(i); });
                break;
            }
        }
        dirty_ = true;
    }
    return true;
}

bool TSdlDisplay::DefaultModalStep(TCustomForm* form, int step) {
    ProcessEvents(step == 0 ? 0 : 50);
    return true;
}

void TSdlDisplay::ProcessEvents(int timeoutMs) {
    RenderAll(false);
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, timeoutMs)) {
        Handle(&e);
        while (SDL_PollEvent(&e)) Handle(&e);
    }
    RenderAll(false);
}

void TSdlDisplay::Run() {
    while (!Application->Terminated() && !VisibleForms().empty()) {
        ProcessEvents(50);
        Application->ProcessMessages();
    }
}

bool TSdlDisplay::InputAllowed(TCustomForm* form) const {
    if (!form) return false;
    const auto& forms = VisibleForms();
    auto modal = std::find_if(forms.rbegin(), forms.rend(), [](TCustomForm* f) { return f->IsModal(); });
    if (modal == forms.rend()) return true;
    auto self = std::find(forms.begin(), forms.end(), form);
    return self != forms.end() && self >= modal.base() - 1;
}

void TSdlDisplay::Handle(const void* event) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(event);
    if (DropDownEvent(event)) return;
    switch (e.type) {
    case SDL_QUIT: Application->Terminate(); break;
    case SDL_WINDOWEVENT: {
        TCustomForm* form = FormOfWindow(e.window.windowID);
        if (!form) break;
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            if (InputAllowed(form)) Application->Deliver([&] { form->Close(); });
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            int dw = form->Width() - form->ClientWidth(), dh = form->Height() - form->ClientHeight();
            if (e.window.data1 != form->ClientWidth() || e.window.data2 != form->ClientHeight())
                Application->Deliver([&] {
                    form->SetBounds(form->Left(), form->Top(), e.window.data1 + dw, e.window.data2 + dh);
                });
            dirty_ = true;
            break;
        }
        case SDL_WINDOWEVENT_MOVED: {
            TPoint origin = form->ClientOrigin();
            int dx = e.window.data1 - origin.X, dy = e.window.data2 - origin.Y;
            if (dx || dy) form->SetBounds(form->Left() + dx, form->Top() + dy, form->Width(), form->Height());
            break;
        }
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (InputAllowed(form) && Screen && Screen->ActiveForm() != form && form->Visible() &&
                form->Enabled())
                Application->Deliver([&] { form->SetFocus(); });
            dirty_ = true;
            break;
        default: dirty_ = true; break;
        }
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        TCustomForm* form = FormOfWindow(e.button.windowID);
        if (!InputAllowed(form)) break;
        int button = e.button.button == SDL_BUTTON_LEFT ? 1 : e.button.button == SDL_BUTTON_RIGHT ? 2 : 0;
        if (button)
            MouseButton(form, e.button.x, e.button.y, button, e.type == SDL_MOUSEBUTTONDOWN, e.button.clicks);
        break;
    }
    case SDL_MOUSEMOTION: {
        TCustomForm* form = FormOfWindow(e.motion.windowID);
        if (InputAllowed(form)) MouseMotion(form, e.motion.x, e.motion.y);
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: Key(e.key.windowID, e.key.keysym.sym, e.key.keysym.mod, e.type == SDL_KEYDOWN); break;
    case SDL_TEXTINPUT: Text(e.text.windowID, e.text.text); break;
    default: break;
    }
}

void TSdlDisplay::MouseButton(TCustomForm* form, int x, int y, int button, bool down, int clicks) {
    TControl* target = down || !capture_ ? ControlAt(form, {x, y}) : capture_;
    TPoint offset = OffsetInForm(target);
    LPARAM pos = MakeLParam(x - offset.X, y - offset.Y);
    if (down) {
        capture_ = target;
        captureForm_ = form;
        if (button == 1 && ShowsPressed(target) && target->Enabled()) {
            PaintState().Pressed = target;
            PaintState().PressedInside = true;
        }
        Cardinal msg = button == 2 ? WM_RBUTTONDOWN : clicks >= 2 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        Application->Deliver([&] { target->Perform(msg, button == 2 ? MK_RBUTTON : MK_LBUTTON, pos); });
        // The buttons of a spin edit step its value.
        auto* spin = dynamic_cast<TSpinEdit*>(target);
        TPoint local{x - offset.X, y - offset.Y};
        if (spin && button == 1 && spin->Enabled()) {
            for (bool up : {true, false}) {
                if (!SpinButtonRect(*spin, up).Contains(local)) continue;
                PaintState().Pressed = spin;
                PaintState().PressedInside = true;
                PaintState().PressedPart = up ? 1 : 2;
                Application->Deliver([&] { up ? spin->UpClick() : spin->DownClick(); });
            }
        }
    } else {
        capture_ = nullptr;
        captureForm_ = nullptr;
        PaintState() = {};
        Application->Deliver([&] { target->Perform(button == 2 ? WM_RBUTTONUP : WM_LBUTTONUP, 0, pos); });
        if (button == 2) {
            // The popup menu of the control or of the nearest parent that has one.
            for (TControl* c = ControlAt(form, {x, y}); c; c = c->Parent()) {
                auto* menu = dynamic_cast<TPopupMenu*>(c->PopupMenu());
                if (!menu) continue;
                if (menu->AutoPopup()) {
                    int wx = 0, wy = 0;
                    SDL_GetWindowPosition(windows_.at(form)->Handle, &wx, &wy);
                    menu->SetPopupComponent(c);
                    Application->Deliver([&] { menu->Popup(wx + x, wy + y); });
                }
                break;
            }
        }
    }
    dirty_ = true;
}

void TSdlDisplay::MouseMotion(TCustomForm* form, int x, int y) {
    TControl* target = capture_ && captureForm_ == form ? capture_ : ControlAt(form, {x, y});
    TPoint offset = OffsetInForm(target);
    TPoint local{x - offset.X, y - offset.Y};
    if (PaintState().Pressed == target) {
        bool inside = target->ContainsPoint(local);
        if (inside != PaintState().PressedInside) PaintState().PressedInside = inside, dirty_ = true;
    }
    WPARAM keys = capture_ ? static_cast<WPARAM>(MK_LBUTTON) : 0;
    Application->Deliver([&] { target->Perform(WM_MOUSEMOVE, keys, MakeLParam(local.X, local.Y)); });
}

void TSdlDisplay::Key(unsigned windowId, int keycode, unsigned mod, bool down) {
    TCustomForm* form = FormOfWindow(windowId);
    if (!form && Screen) form = Screen->ActiveForm();
    if (!InputAllowed(form)) return;
    Word key = VirtualKeyFromSdl(keycode);
    if (!key) return;
    TShiftState shift = ShiftFromMod(mod);
    if (!down) {
        suppressText_ = false;
        Application->KeyUp(key, shift);
        dirty_ = true;
        return;
    }
    Application->Deliver([&] {
        TWinControl* c = Screen->ActiveControl();
        if (!c) return;
        bool consumed = c->DeliverKeyDown(key, shift);
        // Characters SDL gives no text for: Enter, Backspace, Tab, Esc and control characters.
        suppressText_ = consumed || shift.Contains(ssAlt) || shift.Contains(ssCtrl);
        if (consumed) return;
        char ch = 0;
        switch (key) {
        case VK_RETURN: ch = '\r'; break;
        case VK_BACK: ch = '\b'; break;
        case VK_TAB: ch = '\t'; break;
        case VK_ESCAPE: ch = 27; break;
        default:
            if (shift.Contains(ssCtrl) && !shift.Contains(ssAlt) && key >= 'A' && key <= 'Z')
                ch = static_cast<char>(key - 'A' + 1);
            break;
        }
        if (ch)
            if (TWinControl* now = Screen->ActiveControl()) now->DeliverChar(ch);
    });
    dirty_ = true;
}

void TSdlDisplay::Text(unsigned windowId, const char* utf8) {
    TCustomForm* form = FormOfWindow(windowId);
    if (!form && Screen) form = Screen->ActiveForm();
    if (!InputAllowed(form) || suppressText_) return;
    AnsiString bytes = Utf8ToAnsi(utf8, 0);
    Application->Deliver([&] {
        for (char ch : bytes)
            if (TWinControl* c = Screen->ActiveControl()) c->DeliverChar(ch);
    });
    dirty_ = true;
}

// ---- popup menus

namespace {

struct MenuLevel {
    const TMenuItem* Parent = nullptr;
    TMenuLayout Layout;
    SDL_Window* Handle = nullptr;
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Texture = nullptr;
    TBitmap Picture;
    int Hot = -1;
    TPoint Position;

    ~MenuLevel() {
        if (Texture) SDL_DestroyTexture(Texture);
        if (Renderer) SDL_DestroyRenderer(Renderer);
        if (Handle) SDL_DestroyWindow(Handle);
    }

    void Paint() {
        TCanvas& c = Picture.Canvas();
        if (Screen) c.SetFont(*Screen->MenuFont());
        PaintMenu(*Parent, Layout, c, Hot);
        SDL_UpdateTexture(Texture, nullptr, Picture.ScanLine(0), Picture.Stride());
        SDL_RenderClear(Renderer);
        SDL_RenderCopy(Renderer, Texture, nullptr, nullptr);
        SDL_RenderPresent(Renderer);
    }

    const TMenuItem* HotItem() const { return Hot >= 0 ? Parent->Items(Layout.Items[Hot]) : nullptr; }

    // Moves the highlight to the next enabled item in a direction.
    void Step(int direction) {
        int n = static_cast<int>(Layout.Items.size());
        for (int k = 1; k <= n; ++k) {
            int i = ((Hot < 0 ? (direction > 0 ? -1 : 0) : Hot) + direction * k + n * 2) % n;
            const TMenuItem* item = Parent->Items(Layout.Items[i]);
            if (!item->IsLine()) {
                Hot = i;
                return;
            }
        }
    }
};

std::unique_ptr<MenuLevel> OpenLevel(const TMenuItem& parent, int x, int y) {
    auto level = std::make_unique<MenuLevel>();
    level->Parent = &parent;
    TCanvas& c = level->Picture.Canvas();
    if (Screen) c.SetFont(*Screen->MenuFont());
    level->Layout = LayoutMenu(parent, c);
    TSize size = level->Layout.Size;
    if (Screen) {
        x = std::max(0, std::min(x, Screen->Width() - size.cx));
        y = std::max(0, std::min(y, Screen->Height() - size.cy));
    }
    level->Position = {x, y};
    level->Picture.SetSize(size.cx, size.cy);
    level->Handle = SDL_CreateWindow("", x, y, size.cx, size.cy,
                                     SDL_WINDOW_SHOWN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_POPUP_MENU |
                                         SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR);
    if (!level->Handle) throw Exception(AnsiString("Cannot show a menu: ") + SDL_GetError());
    level->Renderer = SDL_CreateRenderer(level->Handle, -1, SDL_RENDERER_SOFTWARE);
    if (!level->Renderer) throw Exception(AnsiString("Cannot draw a menu: ") + SDL_GetError());
    level->Texture = SDL_CreateTexture(level->Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                       size.cx, size.cy);
    return level;
}

} // namespace

TMenuItem* TSdlDisplay::TrackPopup(const TMenuItem& items, int x, int y) {
    std::vector<std::unique_ptr<MenuLevel>> levels;
    levels.push_back(OpenLevel(items, x, y));
    if (levels.back()->Layout.Items.empty()) return nullptr;
    const TMenuItem* chosen = nullptr;
    bool done = false;
    auto levelOf = [&](unsigned windowId) -> int {
        for (std::size_t i = 0; i < levels.size(); ++i)
            if (SDL_GetWindowID(levels[i]->Handle) == windowId) return static_cast<int>(i);
        return -1;
    };
    auto openSub = [&](int depth) {
        levels.resize(depth + 1);
        MenuLevel& l = *levels[depth];
        const TMenuItem* hot = l.HotItem();
        if (!hot || !hot->Enabled() || hot->Count() == 0) return;
        TRect r = l.Layout.Rects[l.Hot];
        levels.push_back(OpenLevel(*hot, l.Position.X + l.Layout.Size.cx - 3, l.Position.Y + r.Top - 2));
    };
    auto activate = [&](int depth) {
        const TMenuItem* hot = levels[depth]->HotItem();
        if (!hot || !hot->Enabled()) return;
        if (hot->Count() > 0) {
            openSub(depth);
            if (static_cast<int>(levels.size()) > depth + 1) levels.back()->Step(1);
        } else {
            chosen = hot;
            done = true;
        }
    };
    while (!done) {
        for (auto& l : levels) l->Paint();
        SDL_Event e;
        if (!SDL_WaitEventTimeout(&e, 50)) continue;
        switch (e.type) {
        case SDL_QUIT:
            SDL_PushEvent(&e);
            done = true;
            break;
        case SDL_MOUSEMOTION: {
            int d = levelOf(e.motion.windowID);
            if (d < 0) break;
            MenuLevel& l = *levels[d];
            int hot = l.Layout.ItemAt({e.motion.x, e.motion.y}, *l.Parent);
            if (hot != l.Hot) {
                l.Hot = hot;
                levels.resize(d + 1);
                openSub(d);
            }
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
            if (levelOf(e.button.windowID) < 0) done = true; // a click elsewhere dismisses the menu
            break;
        case SDL_MOUSEBUTTONUP: {
            int d = levelOf(e.button.windowID);
            if (d < 0) break;
            MenuLevel& l = *levels[d];
            l.Hot = l.Layout.ItemAt({e.button.x, e.button.y}, *l.Parent);
            activate(d);
            break;
        }
        case SDL_KEYDOWN: {
            MenuLevel& l = *levels.back();
            int depth = static_cast<int>(levels.size()) - 1;
            switch (e.key.keysym.sym) {
            case SDLK_ESCAPE:
                if (depth == 0)
                    done = true;
                else
                    levels.pop_back();
                break;
            case SDLK_UP: l.Step(-1); break;
            case SDLK_DOWN: l.Step(1); break;
            case SDLK_RIGHT:
                openSub(depth);
                if (static_cast<int>(levels.size()) > depth + 1) levels.back()->Step(1);
                break;
            case SDLK_LEFT:
                if (depth > 0) levels.pop_back();
                break;
            case SDLK_RETURN:
            case SDLK_KP_ENTER: activate(depth); break;
            default: break;
            }
            break;
        }
        default: break;
        }
    }
    levels.clear();
    dirty_ = true;
    return const_cast<TMenuItem*>(chosen);
}

// ---- keys and choice of backend

namespace {

struct TSdlKey {
    int Sdl;
    Word Key;
};

// Keys other than letters, digits, function keys and the keypad digits; the first of two SDL keys
// for one virtual key is the one scripted input uses.
constexpr TSdlKey kSdlKeys[] = {
    {SDLK_RETURN, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN}, {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_BACKSPACE, VK_BACK},
    {SDLK_TAB, VK_TAB},       {SDLK_SPACE, VK_SPACE},     {SDLK_PAGEUP, VK_PRIOR},  {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},       {SDLK_HOME, VK_HOME},       {SDLK_LEFT, VK_LEFT},     {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},   {SDLK_DOWN, VK_DOWN},       {SDLK_INSERT, VK_INSERT}, {SDLK_DELETE, VK_DELETE},
    {SDLK_LSHIFT, VK_SHIFT},  {SDLK_RSHIFT, VK_SHIFT},    {SDLK_LCTRL, VK_CONTROL}, {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},     {SDLK_RALT, VK_MENU},       {SDLK_KP_0, 0x60},        {SDLK_KP_MULTIPLY, 0x6A},
    {SDLK_KP_PLUS, 0x6B},     {SDLK_KP_MINUS, 0x6D},      {SDLK_KP_PERIOD, 0x6E},   {SDLK_KP_DIVIDE, 0x6F},
    {SDLK_SEMICOLON, 0xBA},   {SDLK_EQUALS, 0xBB},        {SDLK_COMMA, 0xBC},       {SDLK_MINUS, 0xBD},
    {SDLK_PERIOD, 0xBE},      {SDLK_SLASH, 0xBF},         {SDLK_BACKQUOTE, 0xC0},   {SDLK_LEFTBRACKET, 0xDB},
    {SDLK_BACKSLASH, 0xDC},   {SDLK_RIGHTBRACKET, 0xDD},  {SDLK_QUOTE, 0xDE},
};

Uint16 ModFromShift(TShiftState shift) {
    Uint16 mod = KMOD_NONE;
    if (shift.Contains(ssShift)) mod |= KMOD_LSHIFT;
    if (shift.Contains(ssCtrl)) mod |= KMOD_LCTRL;
    if (shift.Contains(ssAlt)) mod |= KMOD_LALT;
    return mod;
}

} // namespace

Word VirtualKeyFromSdl(int k) {
    if (k >= SDLK_a && k <= SDLK_z) return static_cast<Word>('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9) return static_cast<Word>(k);
    if (k >= SDLK_F1 && k <= SDLK_F12) return static_cast<Word>(VK_F1 + (k - SDLK_F1));
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return static_cast<Word>(0x61 + (k - SDLK_KP_1));
    for (const TSdlKey& e : kSdlKeys)
        if (e.Sdl == k) return e.Key;
    return 0;
}

int SdlKeyFromVirtual(Word key) {
    if (key >= 'A' && key <= 'Z') return SDLK_a + (key - 'A');
    if (key >= '0' && key <= '9') return key;
    if (key >= VK_F1 && key <= VK_F12) return SDLK_F1 + (key - VK_F1);
    if (key >= 0x61 && key <= 0x69) return SDLK_KP_1 + (key - 0x61);
    for (const TSdlKey& e : kSdlKeys)
        if (e.Key == key) return e.Sdl;
    return 0;
}

// ---- scripted input

void TSdlDisplay::InputKey(TCustomForm& form, Word key, TShiftState shift, char ch) {
    unsigned id = WindowId(&form);
    int sym = SdlKeyFromVirtual(key);
    if (!id || !sym) {
        TDisplayBackend::InputKey(form, key, shift, ch);
        return;
    }
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = id;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = ModFromShift(shift);
    Handle(&e);
    // A key that types a printable character gives its text as a keyboard does.
    if (static_cast<unsigned char>(ch) >= 0x20 && ch != 0x7F && !shift.Contains(ssCtrl) &&
        !shift.Contains(ssAlt))
        InputText(form, AnsiString(1, ch));
    e.type = SDL_KEYUP;
    e.key.state = SDL_RELEASED;
    Handle(&e);
}

void TSdlDisplay::InputText(TCustomForm& form, const AnsiString& chars) {
    unsigned id = WindowId(&form);
    if (!id) {
        TDisplayBackend::InputText(form, chars);
        return;
    }
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = id;
    AnsiString utf8 = AnsiToUtf8(chars);
    if (utf8.size() >= sizeof(e.text.text)) utf8.resize(sizeof(e.text.text) - 1);
    std::copy(utf8.begin(), utf8.end(), e.text.text);
    Handle(&e);
}

void TSdlDisplay::InputClick(TCustomForm& form, TControl& control, TPoint at) {
    unsigned id = WindowId(&form);
    if (!id) {
        TDisplayBackend::InputClick(form, control, at);
        return;
    }
    TPoint offset = OffsetInForm(&control);
    int x = offset.X + at.X, y = offset.Y + at.Y;
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = id;
    e.motion.x = x;
    e.motion.y = y;
    Handle(&e);
    e = SDL_Event{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.windowID = id;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = SDL_PRESSED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    Handle(&e);
    // The press may have closed the form or its window.
    if (WindowId(&form) != id) return;
    e.type = SDL_MOUSEBUTTONUP;
    e.button.state = SDL_RELEASED;
    Handle(&e);
}

void TSdlDisplay::Pause(int ms) {
    Uint32 until = SDL_GetTicks() + static_cast<Uint32>(ms);
    while (!Application->Terminated()) {
        Sint32 left = static_cast<Sint32>(until - SDL_GetTicks());
        if (left <= 0) break;
        ProcessEvents(std::min<Sint32>(left, 20));
        Application->ProcessMessages();
    }
}

void TSdlDisplay::Frame() {
    ProcessEvents(0);
}

AnsiString DisplayNameFromEnvironment() {
    const char* env = std::getenv("QZ_DISPLAY");
    if (env && *env) return LowerCase(Trim(env));
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland) ? "sdl" : "headless";
}

void TSdlDisplay::RequestQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

std::unique_ptr<TDisplayBackend> CreateSdlDisplay() {
    return std::make_unique<TSdlDisplay>();
}

} // namespace qz
