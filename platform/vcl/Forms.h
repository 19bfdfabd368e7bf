#pragma once
// Forms (active control and focus order, key preview, dialog keys, show, modal show, close), the
// application (message queue, modal driver hook) and the screen.
#include "platform/vcl/Controls.h"
#include <deque>
#include <functional>

namespace qz {

QZ_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
        poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
QZ_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
QZ_SET(TBorderIcons, TBorderIcon)
QZ_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
QZ_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
QZ_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
QZ_ENUM(TFormStateItem, fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated)
QZ_SET(TFormState, TFormStateItem)

QZ_EVENT_TYPE(TCloseEvent, void(TObject* Sender, TCloseAction& Action))
QZ_EVENT_TYPE(TCloseQueryEvent, void(TObject* Sender, bool& CanClose))

class TCustomForm : public TWinControl {
    QZ_CLASS(TCustomForm)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    // Reads the form resources of the class and its ancestors, then runs OnCreate.
    void AfterConstruction() override;
    void BeforeDestruction() override;

    TWinControl* ActiveControl() const { return activeControl_; }
    // Raises EInvalidOperation for a control that cannot take the focus.
    void SetActiveControl(TWinControl* control);
    // The control holding the focus while the form is active.
    TWinControl* FocusedControl() const { return focusedControl_; }
    void FocusControl(TWinControl* control);
    // The focus change: the active control becomes control first; then OnExit of the controls left,
    // OnEnter of the controls entered. A handler that moves the focus elsewhere ends the change.
    bool SetFocusedControl(TWinControl* control);
    void DefocusControl(TWinControl* control, bool removing);
    bool Active() const { return active_; }

    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }

    void Show();
    void SetVisible(bool v) override;
    // Shows the form modally: the installed form host runs the modal loop; returns ModalResult.
    virtual TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the messages now queued are processed.
    void Release();
    TFormState FormState() const { return formState_; }
    bool IsModal() const { return formState_.Contains(fsModal); }

    TPosition Position() const { return position_; }
    void SetPosition(TPosition v) { position_ = v; }
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons v) { borderIcons_ = v; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState v);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle v) { formStyle_ = v; }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool v) { scaled_ = v; }
    TRect ClientRect() const override;
    TWinControl* ParentWindowControl() const { return nullptr; }
    bool CanFocus() const override;
    void SetFocus() override;
    bool Focused() const override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();
    void CloseModal();
    void VisibleChanged() override;

    void WMClose(TMessage& m);
    void CMDialogKeyForm(TMessage& m);
    void CMRelease(TMessage& m);
    void CMActivate(TMessage& m);
    void CMDeactivate(TMessage& m);

private:
    friend class TApplication;
    friend class TScreen;
    void SetActive(bool active);
    void PlaceOnShow();

    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    int focusCount_ = 0;
    bool active_ = false;
    bool keyPreview_ = false;
    TModalResult modalResult_ = mrNone;
    TFormState formState_;
    TPosition position_ = poDesigned;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TFormBorderStyle borderStyle_ = bsSizeable;
    TWindowState windowState_ = wsNormal;
    TFormStyle formStyle_ = fsNormal;
    bool scaled_ = true;
    bool created_ = false;
    bool destroyedEventDone_ = false;
};

class TForm : public TCustomForm {
    QZ_CLASS(TForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// Creates a form of class T the way the class library does: construction, form resources of the
// class chain in the loading state, Loaded, then OnCreate.
template <class T> T* CreateForm(TComponent* owner) {
    T* form = new T(owner);
    try {
        form->AfterConstruction();
    } catch (...) {
        form->Free();
        throw;
    }
    return form;
}

// What the display backend offers the forms: the modal loop and the showing of windows.
class TFormHost {
public:
    virtual ~TFormHost() = default;
    virtual void FormShown(TCustomForm* form) {}
    virtual void FormHidden(TCustomForm* form) {}
    virtual void FormDestroyed(TCustomForm* form) {}
    // One step of the modal loop of form (step counts from 0). The backend delivers input (or lets a
    // driver act); the application then processes its queue and checks the modal result. Returning
    // false abandons the loop: the form ends with mrCancel.
    virtual bool ModalStep(TCustomForm* form, int step) = 0;
    // The modal loop of form ended (its modal result is set, the form not yet hidden).
    virtual void ModalEnded(TCustomForm* form) {}
    virtual void Invalidate(TControl* control) {}
};

// The form host in force; without a display backend, a modal form that nobody answers ends at once
// with mrCancel and a line on standard error.
TFormHost* FormHost();
TFormHost* SetFormHost(TFormHost* host); // returns the previous host; nullptr restores the default

QZ_EVENT_TYPE(TExceptionEvent, void(TObject* Sender, const std::exception& E))

class TApplication : public TComponent {
    QZ_CLASS(TApplication)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    template <class T> void CreateForm(T*& reference) {
        reference = qz::CreateForm<T>(this);
        if (!mainForm_) mainForm_ = reference;
    }
    TCustomForm* MainForm() const { return mainForm_; }
    void SetMainForm(TCustomForm* form) { mainForm_ = form; }

    // Posted messages, processed in order by ProcessMessages (also by the modal loop). Messages for
    // windows that are gone are dropped.
    void PostMessage(HWND handle, Cardinal msg, WPARAM wParam, LPARAM lParam);
    void ProcessMessages();
    int QueuedMessageCount() const { return static_cast<int>(queue_.size()); }
    // Input entry: runs an input event, then the queue when it is the outermost event.
    void Deliver(const std::function<void()>& event);

    // Keys and clicks for the active form's focused control (the display backend, tests).
    void KeyDown(Word key, TShiftState shift = {});
    void KeyUp(Word key, TShiftState shift = {});
    void Char(char ch);
    // Key down, its character (unless a dialog key consumed it), key up.
    void PressKey(Word key, TShiftState shift = {});
    void TypeText(const AnsiString& text);
    // A left click at a client point of a control (its centre by default).
    void Click(TControl* control);
    void ClickAt(TControl* control, int x, int y);

    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    void ResetTerminated() { terminated_ = false; }
    // Shows the main form and processes messages until it closes or the application terminates.
    void Run();

    void HandleException(TObject* sender);
    void ShowException(const std::exception& e);
    TExceptionEvent OnException;

    const AnsiString& Title() const { return title_; }
    void SetTitle(const AnsiString& v) { title_ = v; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int v) { hintHidePause_ = v; }
    int HintPause() const { return hintPause_; }
    void SetHintPause(int v) { hintPause_ = v; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v) { showHint_ = v; }
    int ModalLevel() const { return modalLevel_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TCustomForm;
    struct Posted {
        HWND handle;
        TMessage message;
    };
    std::deque<Posted> queue_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    int deliverDepth_ = 0;
    int modalLevel_ = 0;
    AnsiString title_;
    int hintHidePause_ = 2500;
    int hintPause_ = 500;
    bool showHint_ = true;
};

class TScreen : public TComponent {
    QZ_CLASS(TScreen)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(index); }
    // The form that has the focus, and its focused control.
    TCustomForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const;
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height) {
        width_ = width;
        height_ = height;
    }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor v) { cursor_ = v; }
    TFont* IconFont() const { return iconFont_.get(); }
    TFont* HintFont() const { return hintFont_.get(); }
    TFont* MenuFont() const { return menuFont_.get(); }

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void FormActivated(TCustomForm* form);
    void FormHidden(TCustomForm* form);

    std::vector<TCustomForm*> forms_;
    std::vector<TCustomForm*> activation_; // most recently active last
    TCustomForm* activeForm_ = nullptr;
    int width_ = 1024, height_ = 768;
    TCursor cursor_ = crDefault;
    std::unique_ptr<TFont> iconFont_, hintFont_, menuFont_;
};

extern TApplication* Application;
extern TScreen* Screen;

} // namespace qz
