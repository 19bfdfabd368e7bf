#include "controls/BtChkBox.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include <algorithm>

namespace qz {

namespace {

// The built-in pictures: a sunken 13 x 13 box on a 19 x 14 olive ground.
void DrawBox(TBitmap& bm, TCheckBoxState state) {
    bm.SetSize(19, 14);
    bm.Fill(clOlive);
    auto hline = [&](int x1, int x2, int y, TColor c) {
        for (int x = x1; x <= x2; ++x) bm.SetPixel(x, y, c);
    };
    auto vline = [&](int x, int y1, int y2, TColor c) {
        for (int y = y1; y <= y2; ++y) bm.SetPixel(x, y, c);
    };
    hline(1, 13, 0, clGray);
    vline(1, 0, 12, clGray);
    hline(2, 12, 1, clBlack);
    vline(2, 1, 11, clBlack);
    hline(1, 13, 12, clWhite);
    vline(13, 0, 12, clWhite);
    hline(2, 12, 11, clSilver);
    vline(12, 1, 11, clSilver);
    TColor inside = state == cbGrayed ? clSilver : clWhite;
    for (int y = 2; y <= 10; ++y) hline(3, 11, y, inside);
    if (state == cbUnchecked) return;
    TColor mark = state == cbGrayed ? clGray : clBlack;
    // A check mark two pixels thick: down from (4, 5) to (6, 7), up to (10, 3).
    for (int d = 0; d < 2; ++d) {
        for (int i = 0; i <= 2; ++i) bm.SetPixel(4 + i, 5 + i + d, mark);
        for (int i = 1; i <= 4; ++i) bm.SetPixel(6 + i, 7 - i + d, mark);
    }
}

const char* const kGlyphNames[3] = {"UNCHECKED", "CHECKED", "GRAYED"};

} // namespace

bool LoadCheckBoxGlyph(const AnsiString& name, TBitmap& bitmap) {
    for (int s = cbUnchecked; s <= cbGrayed; ++s) {
        if (name != kGlyphNames[s]) continue;
        TBitmap bm;
        DrawBox(bm, static_cast<TCheckBoxState>(s));
        bm.SetPixelFormat(pf4bit);
        bm.SetTransparentMode(tmAuto);
        bitmap.Assign(bm);
        return true;
    }
    return false;
}

// ---- TBitCheckBox ----

QZ_CLASS_INFO(TBitCheckBox, TCustomControl) {
    PublishColorAndFont(b);
    b.Property("Caption", &TBitCheckBox::Caption, &TBitCheckBox::SetCaption);
    b.Property("Ctl3D", &TBitCheckBox::Ctl3D, &TBitCheckBox::SetCtl3D);
    b.Property("ParentCtl3D", &TBitCheckBox::ParentCtl3D, &TBitCheckBox::SetParentCtl3D).Default(true);
    b.Property("Alignment", &TBitCheckBox::Alignment, &TBitCheckBox::SetAlignment).Default(taRightJustify);
    b.Property("AllowGrayed", &TBitCheckBox::AllowGrayed, &TBitCheckBox::SetAllowGrayed).Default(false);
    b.Property("State", &TBitCheckBox::State, &TBitCheckBox::SetState).Default(cbUnchecked);
    b.Property("Checked", &TBitCheckBox::Checked, &TBitCheckBox::SetChecked).Default(false);
    b.Property("CheckedGlyph", &TBitCheckBox::CheckedGlyph, &TBitCheckBox::SetCheckedGlyph);
    b.Property("GrayedGlyph", &TBitCheckBox::GrayedGlyph, &TBitCheckBox::SetGrayedGlyph);
    b.Property("UncheckedGlyph", &TBitCheckBox::UncheckedGlyph, &TBitCheckBox::SetUncheckedGlyph);
    b.Property("CheckedNumGlyphs", &TBitCheckBox::CheckedNumGlyphs, &TBitCheckBox::SetCheckedNumGlyphs)
        .Default(1);
    b.Property("GrayedNumGlyphs", &TBitCheckBox::GrayedNumGlyphs, &TBitCheckBox::SetGrayedNumGlyphs)
        .Default(1);
    b.Property("UncheckedNumGlyphs", &TBitCheckBox::UncheckedNumGlyphs, &TBitCheckBox::SetUncheckedNumGlyphs)
        .Default(1);
    b.Message(CM_DIALOGCHAR, &TBitCheckBox::CMDialogCharBox);
}

TBitCheckBox::TBitCheckBox(TComponent* owner) : TCustomControl(owner) {
    for (auto& g : glyphs_) g = std::make_unique<TBitmap>();
    for (int s = cbUnchecked; s <= cbGrayed; ++s) LoadCheckBoxGlyph(kGlyphNames[s], *glyphs_[s]);
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
    SetColor(clBtnFace);
}

TBitCheckBox::~TBitCheckBox() = default;

void TBitCheckBox::SetState(TCheckBoxState v) {
    if (v == state_) return;
    state_ = v;
    Invalidate();
}

void TBitCheckBox::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    Invalidate();
}

void TBitCheckBox::SetCtl3D(bool v) {
    parentCtl3D_ = false;
    if (v == ctl3D_) return;
    ctl3D_ = v;
    Realign();
    Invalidate();
}

void TBitCheckBox::SetParentCtl3D(bool v) {
    parentCtl3D_ = v;
    if (!v || !Parent()) return;
    if (IsPublishedProp(Parent(), "Ctl3D")) {
        SetCtl3D(GetOrdProp(Parent(), "Ctl3D") != 0);
        parentCtl3D_ = true;
    }
}

void TBitCheckBox::SetParent(TWinControl* parent) {
    TCustomControl::SetParent(parent);
    if (parentCtl3D_) SetParentCtl3D(true);
}

void TBitCheckBox::SetGlyph(TCheckBoxState state, const TBitmap* v) {
    TBitmap& g = *glyphs_[state];
    if (!v)
        LoadCheckBoxGlyph(kGlyphNames[state], g);
    else if (v != &g)
        g.Assign(*v);
    // A picture a whole number of heights wide holds that many images.
    if (g.Height() > 0 && g.Width() % g.Height() == 0) SetNumGlyphs(state, g.Width() / g.Height());
    Invalidate();
}

void TBitCheckBox::SetNumGlyphs(TCheckBoxState state, int v) {
    numGlyphs_[state] = std::clamp(v, 1, 2);
    Invalidate();
}

void TBitCheckBox::Toggle() {
    switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    default: SetState(cbChecked); break;
    }
}

void TBitCheckBox::Click() {
    Toggle();
    TCustomControl::Click();
    if (Showing() && CanFocus()) SetFocus();
}

void TBitCheckBox::KeyPress(char& key) {
    TCustomControl::KeyPress(key);
    if (key == ' ') Click();
}

void TBitCheckBox::CMDialogCharBox(TMessage& m) {
    if (IsAccel(static_cast<char>(m.WParam), Caption()) && Enabled() && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        m.Result = 1;
    }
}

void TBitCheckBox::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TBitCheckBox::DoExit() {
    Invalidate();
    TCustomControl::DoExit();
}

void TBitCheckBox::EnabledChanged() {
    TCustomControl::EnabledChanged();
    Invalidate();
}

void TBitCheckBox::TextChanged() {
    Invalidate();
}

void TBitCheckBox::FontChanged() {
    TCustomControl::FontChanged();
    Canvas()->SetFont(*Font());
    Invalidate();
}

bool TBitCheckBox::ReadBinaryProperty(const AnsiString& name, const std::vector<Byte>& data) {
    for (int s = cbUnchecked; s <= cbGrayed; ++s) {
        static const char* const props[3] = {"UncheckedGlyph.Data", "CheckedGlyph.Data", "GrayedGlyph.Data"};
        if (!SameText(name, props[s])) continue;
        TBitmap bm;
        bm.LoadFromMemory(data.data(), data.size());
        SetGlyph(static_cast<TCheckBoxState>(s), &bm);
        return true;
    }
    return TCustomControl::ReadBinaryProperty(name, data);
}

void TBitCheckBox::Paint() {
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    c->Brush().SetColor(Color());
    c->Brush().SetStyle(bsSolid);
    c->FillRect(client);
    c->Brush().SetStyle(bsClear);

    TCheckBoxState shown = state_ == cbUnchecked || state_ == cbChecked ? state_ : cbGrayed;
    const TBitmap& glyph = *glyphs_[shown];
    int images = numGlyphs_[shown];
    int imageWidth = glyph.Width() / images;

    // The caption rectangle, clipped to the client area.
    const AnsiString& caption = Caption();
    TSize extent = c->TextExtent(caption);
    TRect r;
    r.Left = alignment_ == taRightJustify ? imageWidth + 4 : 1;
    r.Right = r.Left + extent.cx;
    if (caption.find('&') != AnsiString::npos) r.Right -= c->TextWidth("&");
    r.Top = (client.Height() - extent.cy) / 2 - 2;
    r.Bottom = r.Top + extent.cy + 3;
    r.Left = std::max(r.Left, client.Left);
    r.Top = std::max(r.Top, client.Top);
    r.Right = std::min(r.Right, client.Right);
    r.Bottom = std::min(r.Bottom, client.Bottom);

    const unsigned flags = DT_SINGLELINE | DT_VCENTER;
    const TColor fontColor = c->Font().Color();
    if (Enabled()) {
        TRect t = r;
        c->DrawText(caption, t, flags);
    } else {
        if (ctl3D_) {
            TRect t = OffsetRect(r, 1, 1);
            c->Font().SetColor(clBtnHighlight);
            c->DrawText(caption, t, flags);
        }
        TRect t = r;
        c->Font().SetColor(clGrayText);
        c->DrawText(caption, t, flags);
    }
    c->Font().SetColor(fontColor);
    c->Brush().SetColor(Color());
    c->Brush().SetStyle(bsSolid);

    if (Focused()) {
        if (r.Left > 0) --r.Left;
        if (r.Top > 0) --r.Top;
        ++r.Right;
        if (r.Bottom < Height()) ++r.Bottom;
        c->DrawFocusRect(r);
    }

    TRect dest = Bounds(alignment_ == taRightJustify ? 0 : client.Width() - imageWidth,
                        (client.Height() - glyph.Height()) / 2, imageWidth, glyph.Height());
    int image = !Enabled() && images == 2 ? 1 : 0;
    c->BrushCopy(dest, glyph, Bounds(image * imageWidth, 0, imageWidth, glyph.Height()),
                 glyph.TransparentColor());
}

QZ_CLASS_INFO(TLumCheckBox, TBitCheckBox) {}

} // namespace qz
