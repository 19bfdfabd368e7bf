#pragma once
// The radio button of the windows: after the button itself is drawn, its caption area is painted again
// in the control's colour and font.
#include "platform/vcl/Controls.h"

namespace qz {

class TQzRadioButton : public TCustomControl {
    QZ_CLASS(TQzRadioButton)
public:
    explicit TQzRadioButton(TComponent* owner);

    // taRightJustify: caption right of the button.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    // Checking unchecks every other radio button of the same parent and raises OnClick (unless clicks
    // are disabled).
    bool Checked() const { return checked_; }
    virtual void SetChecked(bool v);
    bool ClicksDisabled() const { return clicksDisabled_; }
    void SetClicksDisabled(bool v) { clicksDisabled_ = v; }
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool v);
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool v);
    void SetParent(TWinControl* parent) override;

    // The distance of the caption area from the client's left edge for a font size in points.
    static int CaptionOffset(int pointSize);

    // The button's notifications: a click checks it, a double click raises OnDblClick.
    virtual void ButtonClicked();
    virtual void ButtonDoubleClicked();

    // The arrows move among the radio buttons of the parent instead of through the dialog.
    bool WantsKey(Word key, TShiftState shift) const override;

protected:
    void Paint() override;
    void MouseClick() override { ButtonClicked(); }
    void DblClick() override { ButtonDoubleClicked(); }
    void EnabledChanged() override;
    // A change of the checked state, reported to the form's designer.
    virtual void Changed() {}
    void CMDialogCharRadio(TMessage& m);
    // What the key handlers leave of a key acts as on the system's radio button: Space checks the
    // button, an arrow focuses and checks the next or previous radio button of the same parent.
    void WMKeyDownRadio(TMessage& m);
    void WMCharRadio(TMessage& m);

private:
    void CheckNeighbour(bool forward);

    TAlignment alignment_ = taRightJustify;
    bool checked_ = false;
    bool clicksDisabled_ = false;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
};

} // namespace qz
