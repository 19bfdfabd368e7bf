#pragma once
// A label attached to a control: it places itself beside the control and can take its caption from the
// display label of the control's data field.
#include "platform/vcl/StdCtrls.h"
#include <memory>

namespace qz {

QZ_ENUM(TPos, psTop, psLeft, psRight, psBottom)

// The label's private refresh message.
extern const Cardinal WM_DBLABELREFRESH;

class TDBLabel : public TLabel {
    QZ_CLASS(TDBLabel)
public:
    explicit TDBLabel(TComponent* owner);
    ~TDBLabel() override;

    // The control the label belongs to. A control that another TDBLabel among the components owned
    // by the label's parent serves already (or this one) is refused with an error box.
    TWinControl* FocusControl() const { return TLabel::FocusControl(); }
    void SetFocusControl(TWinControl* v);
    bool AutoAlign() const { return autoAlign_; }
    void SetAutoAlign(bool v);
    bool AutoCaption() const { return autoCaption_; }
    void SetAutoCaption(bool v);
    TPos Pos() const { return pos_; }
    void SetPos(TPos v);
    Byte Gap() const { return gap_; }
    void SetGap(Byte v);

    // The caption from the control's data field (with AutoCaption), then the place beside the
    // control (with AutoAlign).
    void RefreshLabel();

protected:
    void WMRefresh(TMessage& m);

private:
    void UpdateCaption();
    void AlignToControl();

    bool autoAlign_ = true;
    bool autoCaption_ = true;
    TPos pos_ = psLeft;
    Byte gap_ = 4;
    // A window of the label's own, so that the refresh can be posted to it.
    std::unique_ptr<TWinControl> messageWindow_;
};

} // namespace qz
