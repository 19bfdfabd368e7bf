#include "platform/vcl/StdCtrls.h"
#include "platform/core/CodePages.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Font.h"
#include "platform/vcl/Forms.h"
#include <algorithm>

namespace qz {

// ---- TLabel ----

QZ_CLASS_INFO(TLabel, TGraphicControl) {
    PublishColorAndFont(b);
    b.Property("Caption", &TLabel::Caption, &TLabel::SetCaption);
    b.Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
    b.Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
    b.Property("Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
    b.Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
    b.Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false);
    b.Property("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
    b.Property("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
    b.Message(CM_DIALOGCHAR, &TLabel::CMDialogChar);
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
    SetAutoSize(true);
}

void TLabel::SetAlignment(TAlignment v) {
    alignment_ = v;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout v) {
    layout_ = v;
    Invalidate();
}

void TLabel::SetWordWrap(bool v) {
    wordWrap_ = v;
    AdjustSize();
}

void TLabel::SetShowAccelChar(bool v) {
    showAccelChar_ = v;
    AdjustSize();
}

void TLabel::SetFocusControl(TWinControl* v) {
    focusControl_ = v;
    if (v) v->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustSize();
}

void TLabel::AdjustSize() {
    if (!AutoSize() || IsLoading() || wordWrap_) return;
    AnsiString text = showAccelChar_ ? StripAccel(Caption()) : Caption();
    TSize size{0, 0};
    if (TCanvas* c = Canvas()) size = c->TextExtent(text.empty() ? AnsiString(" ") : text);
    int w = text.empty() ? 0 : size.cx;
    int left = Left();
    if (alignment_ == taRightJustify)
        left = Left() + Width() - w;
    else if (alignment_ == taCenter)
        left = Left() + (Width() - w) / 2;
    SetBounds(left, Top(), w, size.cy);
}

void TLabel::Paint() {
    TCanvas* c = Canvas();
    if (!c) return;
    if (!transparent_) {
        c->Brush().SetColor(Color());
        c->FillRect(ClientRect());
    }
    c->Brush().SetStyle(bsClear);
    AnsiString text = showAccelChar_ ? StripAccel(Caption()) : Caption();
    TSize size = c->TextExtent(text);
    int x = alignment_ == taLeftJustify    ? 0
            : alignment_ == taRightJustify ? Width() - size.cx
                                           : (Width() - size.cx) / 2;
    int y = layout_ == tlTop ? 0 : layout_ == tlBottom ? Height() - size.cy : (Height() - size.cy) / 2;
    if (!Enabled()) c->Font().SetColor(clGrayText);
    c->TextOut(x, y, text);
}

void TLabel::CMDialogChar(TMessage& m) {
    if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(static_cast<char>(m.WParam), Caption()) &&
        focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
    }
}

// ---- TCustomEdit ----

QZ_CLASS_INFO(TCustomEdit, TWinControl) {
    PublishColorAndFont(b);
    b.Property("Text", &TCustomEdit::Text, &TCustomEdit::SetText);
    b.Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0);
    b.Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false);
    b.Property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase).Default(ecNormal);
    b.Property("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar).Default(0);
    b.Property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
    b.Property("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle).Default(bsSingle);
    b.Event("OnChange", &TCustomEdit::OnChange);
}

QZ_CLASS_INFO(TEdit, TCustomEdit) {}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomEdit::SetText(const AnsiString& v) {
    AnsiString value = v;
    if (charCase_ == ecUpperCase)
        value = UpperCase(value);
    else if (charCase_ == ecLowerCase)
        value = LowerCase(value);
    if (value == TControl::Text()) return;
    TWinControl::SetText(value);
    selStart_ = std::min<int>(selStart_, static_cast<int>(value.size()));
    selLength_ = 0;
    if (!IsLoading()) Change();
}

void TCustomEdit::SetCharCase(TEditCharCase v) {
    charCase_ = v;
    if (v != ecNormal) SetText(Text());
}

void TCustomEdit::Change() {
    modified_ = true;
    if (OnChange) OnChange(this);
}

void TCustomEdit::Loaded() {
    TWinControl::Loaded();
}

void TCustomEdit::SetSelStart(int v) {
    selStart_ = std::clamp(v, 0, static_cast<int>(Text().size()));
    selLength_ = 0;
}

void TCustomEdit::SetSelLength(int v) {
    selLength_ = std::clamp(v, 0, static_cast<int>(Text().size()) - selStart_);
}

AnsiString TCustomEdit::SelText() const {
    return Text().substr(selStart_, selLength_);
}

void TCustomEdit::SetSelText(const AnsiString& v) {
    AnsiString t = Text();
    t.replace(selStart_, selLength_, v);
    int caret = selStart_ + static_cast<int>(v.size());
    SetText(t);
    selStart_ = std::min<int>(caret, static_cast<int>(Text().size()));
    selLength_ = 0;
}

void TCustomEdit::SelectAll() {
    selStart_ = 0;
    selLength_ = static_cast<int>(Text().size());
}

void TCustomEdit::DoEnter() {
    if (autoSelect_) SelectAll();
    TWinControl::DoEnter();
}

bool TCustomEdit::WantsKey(Word key, TShiftState) const {
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

void TCustomEdit::KeyDown(Word& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    int len = static_cast<int>(Text().size());
    switch (key) {
    case VK_LEFT:
        // Double-byte characters move as one.
        if (selStart_ > 0) {
            int p = 0, prev = 0;
            const AnsiString& t = Text();
            while (p < selStart_) {
                prev = p;
                p += IsDBCSLeadByte(static_cast<unsigned char>(t[p])) && p + 1 < len ? 2 : 1;
            }
            SetSelStart(prev);
        }
        break;
    case VK_RIGHT: {
        const AnsiString& t = Text();
        if (selStart_ < len)
            SetSelStart(
                selStart_ +
                (IsDBCSLeadByte(static_cast<unsigned char>(t[selStart_])) && selStart_ + 1 < len ? 2 : 1));
        break;
    }
    case VK_HOME: SetSelStart(0); break;
    case VK_END: SetSelStart(len); break;
    case VK_DELETE:
        if (!readOnly_) {
            if (selLength_ == 0 && selStart_ < len) selLength_ = 1;
            SetSelText("");
        }
        break;
    default: break;
    }
}

void TCustomEdit::KeyPress(char& key) {
    TWinControl::KeyPress(key);
    if (key == 0 || readOnly_) return;
    unsigned char ch = static_cast<unsigned char>(key);
    if (ch == 8) {
        if (selLength_ == 0 && selStart_ > 0) {
            --selStart_;
            selLength_ = 1;
        }
        SetSelText("");
        return;
    }
    if (ch < 32) return;
    if (maxLength_ > 0 && static_cast<int>(Text().size()) - selLength_ >= maxLength_) return;
    SetSelText(AnsiString(1, key));
}

// ---- TButton ----

QZ_CLASS_INFO(TButton, TWinControl) {
    PublishColorAndFont(b);
    b.Property("Caption", &TButton::Caption, &TButton::SetCaption);
    b.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
    b.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
    b.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
        .TypeName("TModalResult")
        .Default(0);
    b.Message(CM_DIALOGKEY, &TButton::CMDialogKeyButton);
    b.Message(CM_DIALOGCHAR, &TButton::CMDialogCharButton);
    b.Message(CM_FOCUSCHANGED, &TButton::CMFocusChangedButton);
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    SetColor(clBtnFace);
}

void TButton::SetDefault(bool v) {
    default_ = v;
    TCustomForm* f = GetParentForm(this);
    TWinControl* focused = f ? f->ActiveControl() : nullptr;
    if (!dynamic_cast<TButton*>(focused)) active_ = v;
}

void TButton::Click() {
    if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(modalResult_);
    TWinControl::Click();
}

void TButton::KeyUp(Word& key, TShiftState shift) {
    TWinControl::KeyUp(key, shift);
    if (key == VK_SPACE) Click();
}

void TButton::CMDialogKeyButton(TMessage& m) {
    TShiftState shift = KeyDataToShift(m.LParam);
    if (((m.WParam == VK_RETURN && active_) || (m.WParam == VK_ESCAPE && cancel_)) && shift.Empty() &&
        CanFocus()) {
        Click();
        m.Result = 1;
    }
}

void TButton::CMDialogCharButton(TMessage& m) {
    if (IsAccel(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
    }
}

void TButton::CMFocusChangedButton(TMessage& m) {
    auto* sender = reinterpret_cast<TWinControl*>(m.LParam);
    if (dynamic_cast<TButton*>(sender))
        active_ = sender == this;
    else
        active_ = default_;
}

// ---- TCheckBox ----

QZ_CLASS_INFO(TCheckBox, TWinControl) {
    PublishColorAndFont(b);
    b.Property("Caption", &TCheckBox::Caption, &TCheckBox::SetCaption);
    b.Property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment).Default(taRightJustify);
    b.Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
    b.Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(false);
    b.Property("State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
    b.Message(CM_DIALOGCHAR, &TCheckBox::CMDialogCharCheck);
}

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
    SetColor(clBtnFace);
}

void TCheckBox::SetState(TCheckBoxState v) {
    if (v == state_) return;
    state_ = v;
    Invalidate();
    if (!IsLoading()) Click();
}

void TCheckBox::Toggle() {
    switch (state_) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(allowGrayed_ ? cbGrayed : cbUnchecked); break;
    default: SetState(cbUnchecked); break;
    }
}

void TCheckBox::KeyUp(Word& key, TShiftState shift) {
    TWinControl::KeyUp(key, shift);
    if (key == VK_SPACE) Toggle();
}

void TCheckBox::CMDialogCharCheck(TMessage& m) {
    if (IsAccel(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        m.Result = 1;
    }
}

// ---- TRadioButton ----

QZ_CLASS_INFO(TRadioButton, TWinControl) {
    PublishColorAndFont(b);
    b.Property("Caption", &TRadioButton::Caption, &TRadioButton::SetCaption);
    b.Property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment).Default(taRightJustify);
    b.Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
    b.Message(CM_DIALOGCHAR, &TRadioButton::CMDialogCharRadio);
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 113, 17);
    SetColor(clBtnFace);
}

void TRadioButton::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    SetTabStop(v);
    Invalidate();
    if (!v) return;
    if (Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); r && r != this)
                r->SetChecked(false);
    if (!IsLoading()) Click();
}

void TRadioButton::CMDialogCharRadio(TMessage& m) {
    if (IsAccel(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) SetChecked(true);
        m.Result = 1;
    }
}

// ---- TGroupBox ----

QZ_CLASS_INFO(TGroupBox, TCustomControl) {
    PublishColorAndFont(b);
    b.Property("Caption", &TGroupBox::Caption, &TGroupBox::SetCaption);
}

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 185, 105);
    SetColor(clBtnFace);
}

void TGroupBox::AlignControls(TControl* control, TRect& rect) {
    // The caption line and the frame are outside the area children align in.
    int captionHeight = Font() ? Font()->PixelHeight() + 2 : 15;
    rect.Top += captionHeight;
    rect = InflateRect(rect, -2, -2);
    TCustomControl::AlignControls(control, rect);
}

void TGroupBox::Paint() {
    TCanvas* c = Canvas();
    if (!c) return;
    c->Brush().SetColor(Color());
    c->FillRect(ClientRect());
    int h = c->TextExtent("0").cy;
    c->Brush().SetStyle(bsClear);
    c->Pen().SetColor(clBtnShadow);
    c->FrameRect(Rect(0, h / 2, Width(), Height()));
    if (!Caption().empty()) {
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(Color());
        c->TextOut(8, 0, StripAccel(Caption()));
    }
}

} // namespace qz
