#pragma once
// The lookup button beside an edit: pressing it focuses the edit and asks the window to run the edit's
// F2 lookup, as if F2 had been pressed there.
#include "controls/GSpdBtn.h"

namespace qz {

// The open-window request: sent to a window with a control in the long parameter, handled as the F2
// key in that control.
constexpr Cardinal WM_OPENWINDOW = WM_USER + 10;

class TF2Button : public TGSpeedButton {
    QZ_CLASS(TF2Button)
public:
    explicit TF2Button(TComponent* owner);
    ~TF2Button() override;

    // The control the button serves. Another F2 button under the same parent serving it already
    // refuses the assignment with an error box.
    TWinControl* F2Control() const { return f2Control_; }
    void SetF2Control(TWinControl* v);
    // Keeps the button beside F2Control, Gap pixels to its right and as high as it.
    bool AutoAlign() const { return autoAlign_; }
    void SetAutoAlign(bool v);
    Byte Gap() const { return gap_; }
    void SetGap(Byte v);
    void AlignToControl();

    // OnClick, then F2Control takes the focus and its owner gets the open-window request.
    void Click() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TWinControl* f2Control_ = nullptr;
    bool autoAlign_ = true;
    Byte gap_ = 2;
};

} // namespace qz
