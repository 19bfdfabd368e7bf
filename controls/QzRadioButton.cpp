#include "controls/QzRadioButton.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Font.h"
#include <algorithm>
#include <vector>

namespace qz {

QZ_CLASS_INFO(TQzRadioButton, TCustomControl) {
    PublishColorAndFont(b);
    b.Property("Caption", &TQzRadioButton::Caption, &TQzRadioButton::SetCaption);
    b.Property("Alignment", &TQzRadioButton::Alignment, &TQzRadioButton::SetAlignment)
        .Default(taRightJustify);
    b.Property("Checked", &TQzRadioButton::Checked, &TQzRadioButton::SetChecked).Default(false);
    b.Property("Ctl3D", &TQzRadioButton::Ctl3D, &TQzRadioButton::SetCtl3D);
    b.Property("ParentCtl3D", &TQzRadioButton::ParentCtl3D, &TQzRadioButton::SetParentCtl3D).Default(true);
    b.Property("TabStop", &TQzRadioButton::TabStop, &TQzRadioButton::SetTabStop).Default(false);
    b.Message(CM_DIALOGCHAR, &TQzRadioButton::CMDialogCharRadio);
    b.Message(WM_KEYDOWN, &TQzRadioButton::WMKeyDownRadio);
    b.Message(WM_CHAR, &TQzRadioButton::WMCharRadio);
}

namespace {

bool IsArrow(Word key) {
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

} // namespace

TQzRadioButton::TQzRadioButton(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 113, 17);
    SetColor(clBtnFace);
}

int TQzRadioButton::CaptionOffset(int pointSize) {
    struct Step {
        int upTo;
        int offset;
    };
    static const Step steps[] = {{8, 17},  {15, 19}, {17, 20}, {23, 21}, {29, 23},
                                 {35, 25}, {41, 27}, {43, 29}, {60, 31}, {80, 39}};
    if (pointSize < 1) return 44;
    for (const Step& s : steps)
        if (pointSize <= s.upTo) return s.offset;
    return 44;
}

void TQzRadioButton::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    Invalidate();
}

void TQzRadioButton::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    SetTabStop(v);
    Invalidate();
    if (!v) return;
    if (TWinControl* parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TQzRadioButton*>(parent->Controls(i)); r && r != this)
                r->SetChecked(false);
    Changed();
    if (!clicksDisabled_ && !IsLoading()) Click();
}

void TQzRadioButton::SetCtl3D(bool v) {
    parentCtl3D_ = false;
    if (v == ctl3D_) return;
    ctl3D_ = v;
    Invalidate();
}

void TQzRadioButton::SetParentCtl3D(bool v) {
    parentCtl3D_ = v;
    if (!v || !Parent() || !IsPublishedProp(Parent(), "Ctl3D")) return;
    SetCtl3D(GetOrdProp(Parent(), "Ctl3D") != 0);
    parentCtl3D_ = true;
}

void TQzRadioButton::SetParent(TWinControl* parent) {
    TCustomControl::SetParent(parent);
    if (parentCtl3D_) SetParentCtl3D(true);
}

void TQzRadioButton::ButtonClicked() {
    SetChecked(true);
}

void TQzRadioButton::ButtonDoubleClicked() {
    TCustomControl::DblClick();
}

void TQzRadioButton::EnabledChanged() {
    TCustomControl::EnabledChanged();
    Invalidate();
}

void TQzRadioButton::CMDialogCharRadio(TMessage& m) {
    if (IsAccel(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        // Focusing a radio button by its accelerator checks it.
        if (Focused()) ButtonClicked();
        m.Result = 1;
    }
}

bool TQzRadioButton::WantsKey(Word key, TShiftState shift) const {
    return IsArrow(key) || TCustomControl::WantsKey(key, shift);
}

void TQzRadioButton::WMKeyDownRadio(TMessage& m) {
    InheritedMessage(TQzRadioButton::StaticClass(), m);
    const Word key = static_cast<Word>(m.WParam);
    if (IsArrow(key)) CheckNeighbour(key == VK_RIGHT || key == VK_DOWN);
}

void TQzRadioButton::WMCharRadio(TMessage& m) {
    InheritedMessage(TQzRadioButton::StaticClass(), m);
    if (m.WParam == ' ') ButtonClicked();
}

void TQzRadioButton::CheckNeighbour(bool forward) {
    TWinControl* parent = Parent();
    if (!parent) return;
    // The radio buttons of the parent in tab order, going round; this one when it is alone.
    std::vector<TWinControl*> order;
    parent->GetTabOrderList(order);
    std::vector<TQzRadioButton*> radios;
    for (TWinControl* c : order)
        if (auto* r = dynamic_cast<TQzRadioButton*>(c);
            r && r->Parent() == parent && (r == this || r->CanFocus()))
            radios.push_back(r);
    auto at = std::find(radios.begin(), radios.end(), this);
    if (at == radios.end()) return;
    const size_t n = radios.size(), i = static_cast<size_t>(at - radios.begin());
    TQzRadioButton* next = radios[forward ? (i + 1) % n : (i + n - 1) % n];
    if (next != this) next->SetFocus();
    if (next->Focused()) next->ButtonClicked();
}

void TQzRadioButton::Paint() {
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    // The button.
    const int size = 13;
    TRect mark = Bounds(alignment_ == taRightJustify ? 0 : client.Width() - size,
                        (client.Height() - size) / 2, size, size);
    c->Pen().SetColor(Enabled() ? clBtnShadow : clGrayText);
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(Enabled() ? clWindow : clBtnFace);
    c->Ellipse(mark);
    if (checked_) {
        c->Pen().SetColor(Enabled() ? clWindowText : clGrayText);
        c->Brush().SetColor(Enabled() ? clWindowText : clGrayText);
        c->Ellipse(InflateRect(mark, -4, -4));
    }

    // The caption area, painted over in the control's colour and font.
    TRect r = client;
    r.Left += CaptionOffset(Font()->Size());
    c->Brush().SetColor(Color());
    c->Brush().SetStyle(bsSolid);
    c->Pen().SetColor(Color());
    c->Pen().SetStyle(psSolid);
    c->Rectangle(InflateRect(r, 4, 4));
    c->Brush().SetStyle(bsClear);
    c->Font().Assign(*Font());
    c->DrawText(Caption(), r, DT_SINGLELINE | DT_VCENTER);
}

} // namespace qz
