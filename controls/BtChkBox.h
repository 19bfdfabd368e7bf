#pragma once
// The check box of the windows: a painted control showing one picture per state (unchecked, checked,
// grayed) with its caption beside it.
#include "platform/vcl/StdCtrls.h"
#include <memory>

namespace qz {

class TBitmap;

// Loads one of the check box's built-in pictures ("CHECKED", "GRAYED", "UNCHECKED", 19 x 14, 16
// colours) into bitmap; false for another name.
bool LoadCheckBoxGlyph(const AnsiString& name, TBitmap& bitmap);

class TBitCheckBox : public TCustomControl {
    QZ_CLASS(TBitCheckBox)
public:
    explicit TBitCheckBox(TComponent* owner);
    ~TBitCheckBox() override;

    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState v);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v) { allowGrayed_ = v; }
    // taRightJustify: picture at the left edge, caption to its right; taLeftJustify: the other way.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool v);
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool v);
    void SetParent(TWinControl* parent) override;

    // The pictures are owned copies; assigning nullptr restores the built-in picture.
    TBitmap* CheckedGlyph() const { return glyphs_[cbChecked].get(); }
    void SetCheckedGlyph(TBitmap* v) { SetGlyph(cbChecked, v); }
    TBitmap* GrayedGlyph() const { return glyphs_[cbGrayed].get(); }
    void SetGrayedGlyph(TBitmap* v) { SetGlyph(cbGrayed, v); }
    TBitmap* UncheckedGlyph() const { return glyphs_[cbUnchecked].get(); }
    void SetUncheckedGlyph(TBitmap* v) { SetGlyph(cbUnchecked, v); }
    // Images side by side in a picture (1..2): image 0 enabled, image 1 disabled.
    int CheckedNumGlyphs() const { return numGlyphs_[cbChecked]; }
    void SetCheckedNumGlyphs(int v) { SetNumGlyphs(cbChecked, v); }
    int GrayedNumGlyphs() const { return numGlyphs_[cbGrayed]; }
    void SetGrayedNumGlyphs(int v) { SetNumGlyphs(cbGrayed, v); }
    int UncheckedNumGlyphs() const { return numGlyphs_[cbUnchecked]; }
    void SetUncheckedNumGlyphs(int v) { SetNumGlyphs(cbUnchecked, v); }

    // The state change of one click.
    virtual void Toggle();
    // Toggle, OnClick, then the focus.
    void Click() override;
    bool ReadBinaryProperty(const AnsiString& name, const std::vector<Byte>& data) override;

protected:
    void Paint() override;
    void KeyPress(char& key) override;
    void DoEnter() override;
    void DoExit() override;
    void EnabledChanged() override;
    void TextChanged() override;
    void FontChanged() override;
    void CMDialogCharBox(TMessage& m);

private:
    void SetGlyph(TCheckBoxState state, const TBitmap* v);
    void SetNumGlyphs(TCheckBoxState state, int v);

    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
    std::unique_ptr<TBitmap> glyphs_[3]; // by TCheckBoxState
    int numGlyphs_[3] = {1, 1, 1};
};

// The check box of the selection panel.
class TLumCheckBox : public TBitCheckBox {
    QZ_CLASS(TLumCheckBox)
public:
    explicit TLumCheckBox(TComponent* owner) : TBitCheckBox(owner) {}
};

} // namespace qz
