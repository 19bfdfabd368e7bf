#pragma once
// Buttons with pictures: bit buttons (windowed, with kinds) and speed buttons (flat, grouped, down).
#include "platform/vcl/StdCtrls.h"

namespace qz {

class TBitmap;

QZ_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
QZ_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore,
        bkAll)
QZ_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive)

// The glyph of a picture button: one bitmap holding NumGlyphs images side by side (up, disabled,
// down, exclusive).
class TButtonGlyph {
public:
    TButtonGlyph();
    ~TButtonGlyph();
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(const TBitmap* v);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int v);
    // The image for a state: the state's own image when the glyph holds it, else the first.
    TRect ImageRect(TButtonState state) const;

private:
    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
};

class TBitBtn : public TButton {
    QZ_CLASS(TBitBtn)
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;
    TBitmap* Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(TBitmap* v) { glyph_.SetGlyph(v); }
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int v) { glyph_.SetNumGlyphs(v); }
    TBitBtnKind Kind() const { return kind_; }
    // A kind brings its caption, modal result and Default/Cancel setting.
    void SetKind(TBitBtnKind v);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v) { layout_ = v; }
    int Margin() const { return margin_; }
    void SetMargin(int v) { margin_ = v; }
    int Spacing() const { return spacing_; }
    void SetSpacing(int v) { spacing_ = v; }
    void Click() override;
    bool ReadBinaryProperty(const AnsiString& name, const std::vector<Byte>& data) override;

private:
    TButtonGlyph glyph_;
    TBitBtnKind kind_ = bkCustom;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
};

class TSpeedButton : public TGraphicControl {
    QZ_CLASS(TSpeedButton)
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;
    TBitmap* Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(TBitmap* v) { glyph_.SetGlyph(v); }
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int v) { glyph_.SetNumGlyphs(v); }
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    // Buttons of one group index (above 0) are exclusive: pressing one releases the others.
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v) { groupIndex_ = v; }
    bool Down() const { return down_; }
    void SetDown(bool v);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v) { allowAllUp_ = v; }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v) { layout_ = v; }
    int Margin() const { return margin_; }
    void SetMargin(int v) { margin_ = v; }
    int Spacing() const { return spacing_; }
    void SetSpacing(int v) { spacing_ = v; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { transparent_ = v; }
    TButtonState State() const { return state_; }
    bool ReadBinaryProperty(const AnsiString& name, const std::vector<Byte>& data) override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseClick() override;
    void Paint() override;
    void EnabledChanged() override;

private:
    TButtonGlyph glyph_;
    bool flat_ = false;
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool transparent_ = true;
    TButtonState state_ = bsUp;
};

} // namespace qz
