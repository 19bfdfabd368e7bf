#pragma once
// Labels, edits, buttons, check boxes, radio buttons and group boxes.
#include "platform/vcl/Controls.h"

namespace qz {

QZ_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)
QZ_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)
QZ_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)

class TLabel : public TGraphicControl {
    QZ_CLASS(TLabel)
public:
    explicit TLabel(TComponent* owner);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { transparent_ = v; }
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    // The control an accelerator of the caption focuses.
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* v);

protected:
    // The size of the caption read from a form resource.
    void Loaded() override;
    void AdjustSize() override;
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CMDialogChar(TMessage& m);

private:
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

// A single-line edit: text with a caret and a selection, typed characters, maximum length, read-only.
class TCustomEdit : public TWinControl {
    QZ_CLASS(TCustomEdit)
public:
    explicit TCustomEdit(TComponent* owner);
    void SetText(const AnsiString& v) override;
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v) { maxLength_ = v; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase v);
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char v) { passwordChar_ = v; }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool v) { autoSelect_ = v; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v) { borderStyle_ = v; }
    bool Modified() const { return modified_; }
    void SetModified(bool v) { modified_ = v; }

    // Caret and selection in bytes from 0.
    int SelStart() const { return selStart_; }
    void SetSelStart(int v);
    int SelLength() const { return selLength_; }
    void SetSelLength(int v);
    AnsiString SelText() const;
    void SetSelText(const AnsiString& v);
    void SelectAll();
    void Clear() { SetText(""); }

    TNotifyEvent OnChange;

    bool WantsKey(Word key, TShiftState shift) const override;

protected:
    virtual void Change();
    void DoEnter() override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void Loaded() override;

private:
    int maxLength_ = 0;
    bool readOnly_ = false;
    TEditCharCase charCase_ = ecNormal;
    char passwordChar_ = 0;
    bool autoSelect_ = true;
    TFormBorderStyle borderStyle_ = bsSingle;
    bool modified_ = false;
    int selStart_ = 0;
    int selLength_ = 0;
};

class TEdit : public TCustomEdit {
    QZ_CLASS(TEdit)
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

// A push button: Default answers Enter, Cancel answers Esc, ModalResult is given to the form on click.
class TButton : public TWinControl {
    QZ_CLASS(TButton)
public:
    explicit TButton(TComponent* owner);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }
    void Click() override;
    // The button Enter clicks now: the focused button, or the default one when no button is focused.
    bool IsActiveDefault() const { return active_; }

protected:
    void KeyUp(Word& key, TShiftState shift) override;
    void CMDialogKeyButton(TMessage& m);
    void CMDialogCharButton(TMessage& m);
    void CMFocusChangedButton(TMessage& m);

private:
    bool default_ = false;
    bool cancel_ = false;
    bool active_ = false;
    TModalResult modalResult_ = mrNone;
};

class TCheckBox : public TWinControl {
    QZ_CLASS(TCheckBox)
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    // A change of state raises OnClick (also when set by code, except while loading).
    virtual void SetState(TCheckBoxState v);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v) { allowGrayed_ = v; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v) { alignment_ = v; }
    // The user's toggle: unchecked -> checked -> grayed (when allowed) -> unchecked.
    virtual void Toggle();

protected:
    void MouseClick() override { Toggle(); }
    void KeyUp(Word& key, TShiftState shift) override;
    void CMDialogCharCheck(TMessage& m);

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
};

// Checking a radio button unchecks the radio buttons beside it (same parent).
class TRadioButton : public TWinControl {
    QZ_CLASS(TRadioButton)
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const { return checked_; }
    virtual void SetChecked(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v) { alignment_ = v; }

protected:
    void MouseClick() override { SetChecked(true); }
    void CMDialogCharRadio(TMessage& m);

private:
    bool checked_ = false;
    TAlignment alignment_ = taRightJustify;
};

class TGroupBox : public TCustomControl {
    QZ_CLASS(TGroupBox)
public:
    explicit TGroupBox(TComponent* owner);
    void AlignControls(TControl* control, TRect& rect) override;

protected:
    void Paint() override;
};

} // namespace qz
