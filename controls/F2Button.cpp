#include "controls/F2Button.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/Dialogs.h"

namespace qz {

QZ_CLASS_INFO(TF2Button, TGSpeedButton) {
    b.Property("F2Control", &TF2Button::F2Control, &TF2Button::SetF2Control);
    b.Property("AutoAlign", &TF2Button::AutoAlign, &TF2Button::SetAutoAlign).Default(true);
    b.Property("Gap", &TF2Button::Gap, &TF2Button::SetGap).Default(2);
}

TF2Button::TF2Button(TComponent* owner) : TGSpeedButton(owner) {
    SetFlat(true);
    SetGlyphIndex(8);
}

TF2Button::~TF2Button() {
    if (f2Control_) f2Control_->RemoveFreeNotification(this);
}

void TF2Button::SetF2Control(TWinControl* v) {
    if (v && Parent()) {
        for (int i = 0; i < Parent()->ComponentCount(); ++i) {
            auto* other = dynamic_cast<TF2Button*>(Parent()->Components(i));
            if (!other || other->f2Control_ != v) continue;
            if (other != this) MessageDlg(GB("不能同时有两个 F2Button 指到同一个 Edit."), mtError, {mbOK}, 0);
            return;
        }
    }
    if (f2Control_) f2Control_->RemoveFreeNotification(this);
    f2Control_ = v;
    if (v) {
        v->FreeNotification(this);
        AlignToControl();
    }
}

void TF2Button::SetAutoAlign(bool v) {
    autoAlign_ = v;
    AlignToControl();
}

void TF2Button::SetGap(Byte v) {
    if (v == gap_) return;
    gap_ = v;
    AlignToControl();
}

void TF2Button::AlignToControl() {
    if (!f2Control_ || !autoAlign_) return;
    int h = f2Control_->Height();
    SetBounds(f2Control_->Left() + f2Control_->Width() + gap_, f2Control_->Top(), h, h);
}

void TF2Button::Click() {
    TGSpeedButton::Click();
    TWinControl* target = f2Control_;
    if (!target || !target->Enabled()) return;
    if (target->CanFocus()) target->SetFocus();
    if (!target->Focused()) return;
    if (auto* window = dynamic_cast<TWinControl*>(target->Owner()))
        SendMessage(window->Handle(), WM_OPENWINDOW, 0, reinterpret_cast<LPARAM>(target));
}

void TF2Button::Notification(TComponent* component, TOperation operation) {
    TGSpeedButton::Notification(component, operation);
    if (operation == opRemove && component == f2Control_) f2Control_ = nullptr;
}

} // namespace qz
