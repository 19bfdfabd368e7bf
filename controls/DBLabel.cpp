#include "controls/DBLabel.h"
#include "controls/QzcEdit.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"

namespace qz {

const Cardinal WM_DBLABELREFRESH = 0xC0DB;

namespace {

// Passes the refresh posted to it on to its label.
class TLabelMessageWindow : public TWinControl {
public:
    explicit TLabelMessageWindow(TDBLabel* label) : TWinControl(nullptr), label_(label) {}
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_DBLABELREFRESH)
            m.Result = label_->Perform(m.Msg, m.WParam, m.LParam);
        else
            TWinControl::WndProc(m);
    }

private:
    TDBLabel* label_;
};

} // namespace

QZ_CLASS_INFO(TDBLabel, TLabel) {
    b.Property("FocusControl", &TDBLabel::FocusControl, &TDBLabel::SetFocusControl);
    b.Property("AutoAlign", &TDBLabel::AutoAlign, &TDBLabel::SetAutoAlign).Default(true);
    b.Property("AutoCaption", &TDBLabel::AutoCaption, &TDBLabel::SetAutoCaption).Default(true);
    b.Property("Pos", &TDBLabel::Pos, &TDBLabel::SetPos).Default(psLeft);
    b.Property("Gap", &TDBLabel::Gap, &TDBLabel::SetGap).Default(4);
    b.Message(WM_DBLABELREFRESH, &TDBLabel::WMRefresh);
}

TDBLabel::TDBLabel(TComponent* owner) : TLabel(owner) {
    SetCaption(GB("挂靠标签"));
    messageWindow_ = std::make_unique<TLabelMessageWindow>(this);
    PostMessage(messageWindow_->Handle(), WM_DBLABELREFRESH);
}

TDBLabel::~TDBLabel() = default;

void TDBLabel::SetFocusControl(TWinControl* v) {
    if (v && Parent()) {
        for (int i = 0; i < Parent()->ComponentCount(); ++i) {
            auto* other = dynamic_cast<TDBLabel*>(Parent()->Components(i));
            if (other && other->FocusControl() == v) {
                MessageDlg(GB("不能同时有两个 DBLabel 指到同一个 Control."), mtError, {mbOK}, 0);
                return;
            }
        }
    }
    if (TWinControl* old = FocusControl()) old->RemoveFreeNotification(this);
    TLabel::SetFocusControl(v);
    RefreshLabel();
}

void TDBLabel::SetAutoAlign(bool v) {
    autoAlign_ = v;
    RefreshLabel();
}

void TDBLabel::SetAutoCaption(bool v) {
    autoCaption_ = v;
    RefreshLabel();
}

void TDBLabel::SetPos(TPos v) {
    if (v == pos_) return;
    pos_ = v;
    RefreshLabel();
}

void TDBLabel::SetGap(Byte v) {
    if (v == gap_) return;
    gap_ = v;
    RefreshLabel();
}

void TDBLabel::RefreshLabel() {
    UpdateCaption();
    AlignToControl();
}

void TDBLabel::WMRefresh(TMessage&) {
    RefreshLabel();
}

void TDBLabel::UpdateCaption() {
    TWinControl* control = FocusControl();
    if (!autoCaption_ || !control) return;
    try {
        const TPropInfo* prop = GetPropInfo(control, "DataSource");
        if (!prop || prop->Kind() != tkClass) return;
        auto* source = dynamic_cast<TFieldDataSource*>(GetObjectProp(control, "DataSource"));
        if (!source || !source->DataSet()) return;
        AnsiString displayLabel;
        if (source->DataSet()->FieldDisplayLabel(GetStrProp(control, "DataField"), displayLabel))
            SetCaption(displayLabel);
    } catch (const std::exception&) {
        // The caption stays.
    }
}

void TDBLabel::AlignToControl() {
    const TWinControl* c = FocusControl();
    if (!autoAlign_ || !c) return;
    const int g = gap_;
    int left = c->Left(), top = c->Top();
    switch (pos_) {
    case psTop: top = c->Top() - Height() - g; break;
    case psBottom: top = c->Top() + c->Height() + g; break;
    case psLeft:
    case psRight:
        top = c->Height() == Height() ? c->Top() : c->Top() + c->Height() / 2 - Height() / 2;
        left = pos_ == psLeft ? c->Left() - Width() - g : c->Left() + c->Width() + g;
        break;
    }
    SetBounds(left < 0 ? 0 : left, top < 0 ? 0 : top, Width(), Height());
}

} // namespace qz
