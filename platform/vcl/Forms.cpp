#include "platform/vcl/Forms.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Font.h"
#include "platform/vcl/FormReader.h"
#include <algorithm>
#include <cstdio>

namespace qz {

namespace {

// Without a display backend: a modal form nobody answers ends at once with mrCancel.
class TDefaultFormHost : public TFormHost {
public:
    bool ModalStep(TCustomForm* form, int step) override {
        if (step == 0 && form->ModalResult() == mrNone) {
            std::fprintf(stderr, "qz: modal form %s (%s) was not answered; cancelled\n", form->Name().c_str(),
                         ClassNameOf(form).c_str());
            form->SetModalResult(mrCancel);
        }
        return step == 0;
    }
};

TDefaultFormHost defaultHost;
TFormHost* currentHost = &defaultHost;

void FrameOf(TFormBorderStyle style, int& frame, int& caption) {
    switch (style) {
    case bsNone: frame = 0, caption = 0; break;
    case bsSingle:
    case bsDialog: frame = 3, caption = 19; break;
    case bsToolWindow: frame = 3, caption = 16; break;
    case bsSizeToolWin: frame = 4, caption = 16; break;
    default: frame = 4, caption = 19; break;
    }
}

} // namespace

TFormHost* FormHost() {
    return currentHost;
}

TFormHost* SetFormHost(TFormHost* host) {
    TFormHost* old = currentHost == &defaultHost ? nullptr : currentHost;
    currentHost = host ? host : &defaultHost;
    return old;
}

// ---- TCustomForm ----

QZ_CLASS_INFO(TCustomForm, TWinControl) {
    PublishColorAndFont(b);
    b.Property("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption);
    b.Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
    b.Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false);
    b.Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDesigned);
    b.Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons);
    b.Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle).Default(bsSizeable);
    b.Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState).Default(wsNormal);
    b.Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
    b.Property("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult)
        .TypeName("TModalResult")
        .NotStored();
    b.Property("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled).Default(true);
    b.Event("OnCreate", &TCustomForm::OnCreate);
    b.Event("OnDestroy", &TCustomForm::OnDestroy);
    b.Event("OnShow", &TCustomForm::OnShow);
    b.Event("OnHide", &TCustomForm::OnHide);
    b.Event("OnClose", &TCustomForm::OnClose);
    b.Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
    b.Event("OnActivate", &TCustomForm::OnActivate);
    b.Event("OnDeactivate", &TCustomForm::OnDeactivate);
    b.Event("OnPaint", &TCustomForm::OnPaint);
    b.Message(WM_CLOSE, &TCustomForm::WMClose);
    b.Message(CM_DIALOGKEY, &TCustomForm::CMDialogKeyForm);
    b.Message(CM_RELEASE, &TCustomForm::CMRelease);
    b.Message(CM_ACTIVATE, &TCustomForm::CMActivate);
    b.Message(CM_DEACTIVATE, &TCustomForm::CMDeactivate);
}

QZ_CLASS_INFO(TForm, TCustomForm) {}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    TControl::SetVisible(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    if (Screen) Screen->RemoveForm(this);
    FormHost()->FormDestroyed(this);
    if (Application && Application->mainForm_ == this) Application->mainForm_ = nullptr;
}

void TCustomForm::AfterConstruction() {
    if (created_) return;
    created_ = true;
    formState_ << fsCreating;
    try {
        InitInheritedComponent(this, TForm::StaticClass());
    } catch (...) {
        formState_ >> fsCreating;
        throw;
    }
    formState_ >> fsCreating;
    DoCreate();
    if (formState_.Contains(fsVisible)) Show();
}

void TCustomForm::BeforeDestruction() {
    Destroying();
    if (Screen) Screen->RemoveForm(this);
    if (Visible()) Hide();
    if (!destroyedEventDone_) {
        destroyedEventDone_ = true;
        DoDestroy();
    }
    TWinControl::BeforeDestruction();
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy() {
    if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (activeControl_ == control) return;
    if (control &&
        !(control != this && GetParentForm(control) == this && (IsLoading() || control->CanFocus())))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    activeControl_ = control;
    if (!IsLoading() && active_) {
        TWinControl* target = activeControl_ ? activeControl_ : this;
        target->Perform(WM_SETFOCUS);
    }
}

void TCustomForm::FocusControl(TWinControl* control) {
    bool wasActive = active_;
    SetActiveControl(control);
    if (!wasActive && Visible() && Enabled()) SetFocus();
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
    ++focusCount_;
    activeControl_ = control != this ? control : nullptr;
    if (Screen) Screen->FormActivated(this);
    if (!active_) return false;
    if (!focusedControl_) focusedControl_ = this;
    if (focusedControl_ == control) return true;
    // Exit from the controls that do not contain the new one, innermost first.
    while (focusedControl_ && !focusedControl_->ContainsControl(control)) {
        int count = focusCount_;
        focusedControl_->Perform(CM_EXIT);
        if (count != focusCount_) return false;
        focusedControl_ = focusedControl_->Parent();
    }
    // Enter the containers down to the new control.
    while (focusedControl_ != control) {
        TWinControl* next = control;
        while (next->Parent() && next->Parent() != focusedControl_) next = next->Parent();
        if (next->Parent() != focusedControl_) break;
        focusedControl_ = next;
        int count = focusCount_;
        next->Perform(CM_ENTER);
        if (count != focusCount_) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    if (removing && control->ContainsControl(focusedControl_)) focusedControl_ = control->Parent();
    if (control->ContainsControl(activeControl_)) SetActiveControl(nullptr);
}

bool TCustomForm::CanFocus() const {
    return Visible() && Enabled();
}

void TCustomForm::SetFocus() {
    if (!Visible() || !Enabled()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    if (Screen) Screen->FormActivated(this);
    TWinControl* target = activeControl_ ? activeControl_ : this;
    target->Perform(WM_SETFOCUS);
}

bool TCustomForm::Focused() const {
    return active_ && (focusedControl_ == this || !focusedControl_);
}

void TCustomForm::SetActive(bool active) {
    if (active_ == active) return;
    active_ = active;
    if (!active) {
        Deactivate();
        return;
    }
    Activate();
    if (!active_) return;
    if (!activeControl_) SelectFirst();
    TWinControl* target = activeControl_ ? activeControl_ : this;
    target->Perform(WM_SETFOCUS);
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::SetVisible(bool v) {
    if (formState_.Contains(fsCreating)) {
        if (v)
            formState_ << fsVisible;
        else
            formState_ >> fsVisible;
        return;
    }
    if (v == Visible()) return;
    if (v) {
        PlaceOnShow();
        TControl::SetVisible(true);
        formState_ << fsShowing;
        try {
            DoShow();
        } catch (...) {
            formState_ >> fsShowing;
            throw;
        }
        formState_ >> fsShowing;
        if (!Visible()) return; // hidden again by OnShow
        FormHost()->FormShown(this);
        if (Screen) Screen->FormActivated(this);
    } else {
        DoHide();
        TControl::SetVisible(false);
        FormHost()->FormHidden(this);
        if (Screen) Screen->FormHidden(this);
    }
}

void TCustomForm::VisibleChanged() {}

void TCustomForm::PlaceOnShow() {
    const TCustomForm* center = nullptr;
    switch (position_) {
    case poMainFormCenter: center = Application ? Application->MainForm() : nullptr; break;
    case poOwnerFormCenter: center = dynamic_cast<TCustomForm*>(Owner()); break;
    default: break;
    }
    if (center == this) center = nullptr;
    if (center) {
        SetBounds(center->Left() + (center->Width() - Width()) / 2,
                  center->Top() + (center->Height() - Height()) / 2, Width(), Height());
    } else if (position_ == poScreenCenter || position_ == poDesktopCenter || position_ == poMainFormCenter ||
               position_ == poOwnerFormCenter) {
        SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
    }
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || IsModal() || formStyle_ == fsMDIChild)
        throw EInvalidOperation("Cannot make a visible window modal");
    formState_ << fsModal;
    ++Application->modalLevel_;
    TModalResult result = mrNone;
    try {
        Show();
        modalResult_ = mrNone;
        for (int step = 0;; ++step) {
            bool goOn = FormHost()->ModalStep(this, step);
            Application->ProcessMessages();
            if (Application->Terminated())
                modalResult_ = mrCancel;
            else if (modalResult_ != mrNone)
                CloseModal();
            if (modalResult_ != mrNone) break;
            if (!goOn) {
                modalResult_ = mrCancel;
                break;
            }
        }
        result = modalResult_;
        FormHost()->ModalEnded(this);
        Hide();
    } catch (...) {
        FormHost()->ModalEnded(this);
        formState_ >> fsModal;
        --Application->modalLevel_;
        if (Visible()) Hide();
        throw;
    }
    formState_ >> fsModal;
    --Application->modalLevel_;
    return result;
}

void TCustomForm::CloseModal() {
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            DoClose(action);
        }
        if (action == caNone)
            modalResult_ = mrNone;
        else if (action == caFree)
            Release();
    } catch (...) {
        modalResult_ = mrNone;
        Application->HandleException(this);
    }
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (IsModal()) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = formStyle_ == fsMDIChild ? caMinimize : caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TCustomForm::Release() {
    Application->PostMessage(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
    if (v == borderStyle_) return;
    TRect c = ClientRect();
    borderStyle_ = v;
    if (!IsLoading()) Realign();
    (void)c;
}

void TCustomForm::SetWindowState(TWindowState v) {
    windowState_ = v;
}

TRect TCustomForm::ClientRect() const {
    int frame = 0, caption = 0;
    FrameOf(borderStyle_, frame, caption);
    return Rect(0, 0, std::max(0, Width() - 2 * frame), std::max(0, Height() - caption - 2 * frame));
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove) {
        if (component == activeControl_) activeControl_ = nullptr;
        if (component == focusedControl_) focusedControl_ = nullptr;
    }
}

void TCustomForm::WMClose(TMessage&) {
    Close();
}

void TCustomForm::CMDialogKeyForm(TMessage& m) {
    TShiftState shift = KeyDataToShift(m.LParam);
    if (!shift.Contains(ssAlt)) {
        switch (m.WParam) {
        case VK_TAB:
            if (!shift.Contains(ssCtrl)) {
                SelectNext(activeControl_, !shift.Contains(ssShift), true);
                m.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (activeControl_ && activeControl_->Parent()) {
                activeControl_->Parent()->SelectNext(activeControl_,
                                                     m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
                m.Result = 1;
            }
            return;
        default: break;
        }
    }
    InheritedMessage(TCustomForm::StaticClass(), m);
}

void TCustomForm::CMRelease(TMessage&) {
    Free();
}
void TCustomForm::CMActivate(TMessage&) {
    SetActive(true);
}
void TCustomForm::CMDeactivate(TMessage&) {
    SetActive(false);
}

// ---- TApplication ----

QZ_CLASS_INFO(TApplication, TComponent) {
    b.Property("Title", &TApplication::Title, &TApplication::SetTitle);
    b.Property("HintHidePause", &TApplication::HintHidePause, &TApplication::SetHintHidePause);
    b.Property("HintPause", &TApplication::HintPause, &TApplication::SetHintPause);
    b.Property("ShowHint", &TApplication::ShowHint, &TApplication::SetShowHint);
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}
TApplication::~TApplication() = default;

void TApplication::PostMessage(HWND handle, Cardinal msg, WPARAM wParam, LPARAM lParam) {
    queue_.push_back(Posted{handle, TMessage{msg, wParam, lParam, 0}});
}

void TApplication::ProcessMessages() {
    // Messages posted while processing are processed too; a runaway loop stops after many rounds.
    for (int guard = 0; !queue_.empty() && guard < 100000; ++guard) {
        Posted p = queue_.front();
        queue_.pop_front();
        TWinControl* target = FindControl(p.handle);
        if (!target) continue;
        ++deliverDepth_;
        try {
            target->Perform(p.message.Msg, p.message.WParam, p.message.LParam);
        } catch (...) {
            HandleException(target);
        }
        --deliverDepth_;
    }
}

void TApplication::Deliver(const std::function<void()>& event) {
    ++deliverDepth_;
    try {
        event();
    } catch (...) {
        --deliverDepth_;
        HandleException(this);
        if (deliverDepth_ == 0) ProcessMessages();
        return;
    }
    --deliverDepth_;
    if (deliverDepth_ == 0) ProcessMessages();
}

void TApplication::KeyDown(Word key, TShiftState shift) {
    Deliver([&] {
        if (TWinControl* c = Screen->ActiveControl()) c->DeliverKeyDown(key, shift);
    });
}

void TApplication::KeyUp(Word key, TShiftState shift) {
    Deliver([&] {
        if (TWinControl* c = Screen->ActiveControl()) c->DeliverKeyUp(key, shift);
    });
}

void TApplication::Char(char ch) {
    Deliver([&] {
        if (TWinControl* c = Screen->ActiveControl()) c->DeliverChar(ch);
    });
}

void TApplication::PressKey(Word key, TShiftState shift) {
    Deliver([&] {
        TWinControl* c = Screen->ActiveControl();
        if (!c) return;
        bool consumed = c->DeliverKeyDown(key, shift);
        char ch = KeyToChar(key, shift);
        if (!consumed && ch) {
            if (TWinControl* now = Screen->ActiveControl()) now->DeliverChar(ch);
        }
        if (TWinControl* now = Screen->ActiveControl()) now->DeliverKeyUp(key, shift);
    });
}

void TApplication::TypeText(const AnsiString& text) {
    for (char ch : text) Char(ch);
}

void TApplication::Click(TControl* control) {
    ClickAt(control, control->Width() / 2, control->Height() / 2);
}

void TApplication::ClickAt(TControl* control, int x, int y) {
    Deliver([&] {
        control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(x, y));
        control->Perform(WM_LBUTTONUP, 0, MakeLParam(x, y));
    });
}

void TApplication::Run() {
    if (mainForm_ && !mainForm_->Visible()) mainForm_->Show();
    ProcessMessages();
}

void TApplication::HandleException(TObject* sender) {
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        if (OnException)
            OnException(sender, e);
        else
            ShowException(e);
    } catch (...) {
        std::fprintf(stderr, "qz: unknown exception\n");
    }
}

void TApplication::ShowException(const std::exception& e) {
    std::fprintf(stderr, "qz: %s\n", e.what());
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == mainForm_) mainForm_ = nullptr;
}

// ---- TScreen ----

QZ_CLASS_INFO(TScreen, TComponent) {}

TScreen::TScreen(TComponent* owner)
    : TComponent(owner), iconFont_(std::make_unique<TFont>()), hintFont_(std::make_unique<TFont>()),
      menuFont_(std::make_unique<TFont>()) {}

TScreen::~TScreen() = default;

TWinControl* TScreen::ActiveControl() const {
    if (!activeForm_) return nullptr;
    return activeForm_->focusedControl_ ? activeForm_->focusedControl_ : activeForm_;
}

void TScreen::AddForm(TCustomForm* form) {
    forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    activation_.erase(std::remove(activation_.begin(), activation_.end(), form), activation_.end());
    if (activeForm_ == form) {
        activeForm_ = nullptr;
        for (auto it = activation_.rbegin(); it != activation_.rend(); ++it)
            if ((*it)->Visible()) {
                FormActivated(*it);
                break;
            }
    }
}

void TScreen::FormActivated(TCustomForm* form) {
    activation_.erase(std::remove(activation_.begin(), activation_.end(), form), activation_.end());
    activation_.push_back(form);
    if (activeForm_ == form) return;
    TCustomForm* old = activeForm_;
    activeForm_ = form;
    if (old) old->SetActive(false);
    form->SetActive(true);
}

void TScreen::FormHidden(TCustomForm* form) {
    activation_.erase(std::remove(activation_.begin(), activation_.end(), form), activation_.end());
    if (activeForm_ != form) return;
    activeForm_ = nullptr;
    form->SetActive(false);
    for (auto it = activation_.rbegin(); it != activation_.rend(); ++it)
        if ((*it)->Visible()) {
            FormActivated(*it);
            break;
        }
}

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

} // namespace qz
