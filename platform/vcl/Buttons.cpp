#include "platform/vcl/Buttons.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/vcl/Forms.h"
#include <algorithm>

namespace qz {

// ---- glyphs ----

TButtonGlyph::TButtonGlyph() : glyph_(std::make_unique<TBitmap>()) {}
TButtonGlyph::~TButtonGlyph() = default;

void TButtonGlyph::SetGlyph(const TBitmap* v) {
    if (v)
        glyph_->Assign(*v);
    else
        glyph_->Clear();
    // A glyph as wide as a whole number of squares holds that many images.
    if (glyph_->Height() > 0 && glyph_->Width() % glyph_->Height() == 0) {
        int n = glyph_->Width() / glyph_->Height();
        if (n >= 1 && n <= 4) numGlyphs_ = n;
    }
}

void TButtonGlyph::SetNumGlyphs(int v) {
    numGlyphs_ = std::clamp(v, 1, 4);
}

TRect TButtonGlyph::ImageRect(TButtonState state) const {
    int w = numGlyphs_ > 0 ? glyph_->Width() / numGlyphs_ : glyph_->Width();
    int index = static_cast<int>(state) < numGlyphs_ ? static_cast<int>(state) : 0;
    return Bounds(index * w, 0, w, glyph_->Height());
}

// ---- TBitBtn ----

QZ_CLASS_INFO(TBitBtn, TButton) {
    b.Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
    b.Property("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs).Default(1);
    b.Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
    b.Property("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft);
    b.Property("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin).Default(-1);
    b.Property("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing).Default(4);
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}
TBitBtn::~TBitBtn() = default;

void TBitBtn::SetKind(TBitBtnKind v) {
    kind_ = v;
    struct KindInfo {
        const char* caption;
        TModalResult result;
    };
    static const KindInfo kinds[] = {{"", mrNone},          {"OK", mrOk},       {"Cancel", mrCancel},
                                     {"&Help", mrNone},     {"&Yes", mrYes},    {"&No", mrNo},
                                     {"&Close", mrNone},    {"Abort", mrAbort}, {"&Retry", mrRetry},
                                     {"&Ignore", mrIgnore}, {"&All", mrAll}};
    if (v == bkCustom || IsLoading()) {
        if (v != bkCustom && Caption().empty()) SetCaption(kinds[v].caption);
        if (v != bkCustom) SetModalResult(kinds[v].result);
        return;
    }
    SetCaption(kinds[v].caption);
    SetModalResult(kinds[v].result);
    if (v == bkOK || v == bkYes) SetDefault(true);
    if (v == bkCancel || v == bkNo) SetCancel(true);
}

void TBitBtn::Click() {
    if (kind_ == bkClose) {
        if (TCustomForm* f = GetParentForm(this)) {
            f->Close();
            TWinControl::Click();
            return;
        }
    }
    TButton::Click();
}

bool TBitBtn::ReadBinaryProperty(const AnsiString& name, const std::vector<Byte>& data) {
    if (name != "Glyph.Data") return false;
    TBitmap bm;
    bm.LoadFromMemory(data.data(), data.size());
    SetGlyph(&bm);
    return true;
}

// ---- TSpeedButton ----

QZ_CLASS_INFO(TSpeedButton, TGraphicControl) {
    PublishColorAndFont(b);
    b.Property("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption);
    b.Property("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
    b.Property("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
    b.Property("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
    b.Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
    b.Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false);
    b.Property("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
    b.Property("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
    b.Property("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1);
    b.Property("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4);
    b.Property("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent).Default(true);
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 23, 22);
    SetColor(clBtnFace);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetFlat(bool v) {
    flat_ = v;
    Invalidate();
}

void TSpeedButton::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;
    if (v == down_) return;
    if (down_ && !v && !allowAllUp_) {
        // The last pressed button of a group stays down unless all may be up.
        bool otherDown = false;
        if (Parent())
            for (int i = 0; i < Parent()->ControlCount(); ++i)
                if (auto* s = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
                    s && s != this && s->groupIndex_ == groupIndex_ && s->down_)
                    otherDown = true;
        if (!otherDown && !IsLoading()) return;
    }
    down_ = v;
    state_ = v ? bsExclusive : bsUp;
    if (v && Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* s = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
                s && s != this && s->groupIndex_ == groupIndex_ && s->down_) {
                s->down_ = false;
                s->state_ = bsUp;
                s->Invalidate();
            }
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button == mbLeft && Enabled() && !down_) state_ = bsDown;
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!down_ && state_ == bsDown) state_ = bsUp;
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::MouseClick() {
    if (groupIndex_ != 0) {
        if (down_ && allowAllUp_)
            SetDown(false);
        else if (!down_)
            SetDown(true);
    }
    Click();
}

void TSpeedButton::EnabledChanged() {
    state_ = Enabled() ? (down_ ? bsExclusive : bsUp) : bsDisabled;
}

bool TSpeedButton::ReadBinaryProperty(const AnsiString& name, const std::vector<Byte>& data) {
    if (name != "Glyph.Data") return false;
    TBitmap bm;
    bm.LoadFromMemory(data.data(), data.size());
    SetGlyph(&bm);
    return true;
}

void TSpeedButton::Paint() {
    TCanvas* c = Canvas();
    if (!c) return;
    if (!transparent_ || !flat_) {
        c->Brush().SetColor(Color());
        c->FillRect(ClientRect());
    }
    if (!glyph_.Glyph()->Empty()) {
        TRect src = glyph_.ImageRect(Enabled() ? state_ : bsDisabled);
        int x = (Width() - src.Width()) / 2, y = (Height() - src.Height()) / 2;
        c->Brush().SetStyle(bsClear);
        c->BrushCopy(Bounds(x, y, src.Width(), src.Height()), *glyph_.Glyph(), src,
                     glyph_.Glyph()->TransparentColor());
    }
    if (!Caption().empty()) {
        c->Brush().SetStyle(bsClear);
        TSize s = c->TextExtent(StripAccel(Caption()));
        c->TextOut((Width() - s.cx) / 2, (Height() - s.cy) / 2, StripAccel(Caption()));
    }
}

} // namespace qz
