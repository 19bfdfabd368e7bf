#include "platform/vcl/ExtCtrls.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Font.h"
#include <algorithm>

namespace qz {

// ---- TPanel ----

QZ_CLASS_INFO(TPanel, TCustomControl) {
    PublishColorAndFont(b);
    b.Property("Caption", &TPanel::Caption, &TPanel::SetCaption);
    b.Property("Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
    b.Property("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
    b.Property("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
    b.Property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
    b.Property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
    b.Property("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle).Default(bsNone);
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TPanel::SetAlignment(TAlignment v) {
    alignment_ = v;
    Invalidate();
}
void TPanel::SetBevelInner(TBevelCut v) {
    bevelInner_ = v;
    Realign();
}
void TPanel::SetBevelOuter(TBevelCut v) {
    bevelOuter_ = v;
    Realign();
}
void TPanel::SetBevelWidth(int v) {
    bevelWidth_ = v;
    Realign();
}
void TPanel::SetBorderWidth(int v) {
    borderWidth_ = v;
    Realign();
}
void TPanel::SetBorderStyle(TFormBorderStyle v) {
    borderStyle_ = v;
    Realign();
}

void TPanel::AlignControls(TControl* control, TRect& rect) {
    // Bevels and the border are outside the area children align in.
    int inset = borderWidth_ + (borderStyle_ == bsSingle ? 1 : 0);
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    rect = InflateRect(rect, -inset, -inset);
    TCustomControl::AlignControls(control, rect);
}

void TPanel::Paint() {
    TCanvas* c = Canvas();
    if (!c) return;
    TRect r = ClientRect();
    c->Brush().SetColor(Color());
    c->FillRect(r);
    auto frame = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        for (int i = 0; i < bevelWidth_; ++i) {
            c->Pen().SetColor(cut == bvRaised ? clBtnHighlight : clBtnShadow);
            c->MoveTo(r.Left, r.Bottom - 1);
            c->LineTo(r.Left, r.Top);
            c->LineTo(r.Right - 1, r.Top);
            c->Pen().SetColor(cut == bvRaised ? clBtnShadow : clBtnHighlight);
            c->LineTo(r.Right - 1, r.Bottom - 1);
            c->LineTo(r.Left, r.Bottom - 1);
            r = InflateRect(r, -1, -1);
        }
    };
    frame(bevelOuter_);
    r = InflateRect(r, -borderWidth_, -borderWidth_);
    frame(bevelInner_);
    if (!Caption().empty()) {
        c->Brush().SetStyle(bsClear);
        TSize s = c->TextExtent(Caption());
        int x = alignment_ == taLeftJustify    ? r.Left
                : alignment_ == taRightJustify ? r.Right - s.cx
                                               : (r.Left + r.Right - s.cx) / 2;
        c->TextOut(x, (r.Top + r.Bottom - s.cy) / 2, Caption());
    }
}

// ---- TImage ----

QZ_CLASS_INFO(TImage, TGraphicControl) {
    b.Property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).Default(false);
    b.Property("Picture", &TImage::Picture, &TImage::SetPicture);
    b.Property("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false);
    b.Property("Center", &TImage::Center, &TImage::SetCenter).Default(false);
    b.Property("Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(false);
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 105, 105);
    picture_->OnChange = [this](TObject*) {
        if (AutoSize()) AdjustSize();
        Invalidate();
    };
}

TImage::~TImage() {
    picture_->OnChange = nullptr;
}

void TImage::SetPicture(TPicture* v) {
    if (v) picture_->Assign(*v);
}
void TImage::SetStretch(bool v) {
    stretch_ = v;
    Invalidate();
}
void TImage::SetCenter(bool v) {
    center_ = v;
    Invalidate();
}
void TImage::SetTransparent(bool v) {
    transparent_ = v;
    Invalidate();
}

bool TImage::ReadBinaryProperty(const AnsiString& name, const std::vector<Byte>& data) {
    if (name != "Picture.Data" && name != "Picture.Bitmap") return false;
    picture_->Bitmap().LoadFromMemory(data.data(), data.size());
    return true;
}

void TImage::AdjustSize() {
    if (picture_->Width() > 0 && picture_->Height() > 0)
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
}

void TImage::Paint() {
    TCanvas* c = Canvas();
    if (!c || picture_->Bitmap().Empty()) return;
    TBitmap& bm = picture_->Bitmap();
    bm.SetTransparent(transparent_);
    if (stretch_)
        c->StretchDraw(ClientRect(), bm);
    else if (center_)
        c->Draw((Width() - bm.Width()) / 2, (Height() - bm.Height()) / 2, bm);
    else
        c->Draw(0, 0, bm);
}

// ---- TBevel ----

QZ_CLASS_INFO(TBevel, TGraphicControl) {
    b.Property("Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox);
    b.Property("Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape v) {
    shape_ = v;
    Invalidate();
}
void TBevel::SetStyle(TBevelStyle v) {
    style_ = v;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* c = Canvas();
    if (!c || shape_ == bsSpacer) return;
    TColor c1 = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor c2 = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    int w = Width(), h = Height();
    auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
        c->Pen().SetColor(color);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    switch (shape_) {
    case bsBox:
    case bsFrame:
        line(c1, 0, h - 1, 0, 0);
        line(c1, 0, 0, w - 1, 0);
        line(c2, w - 1, 0, w - 1, h - 1);
        line(c2, w - 1, h - 1, 0, h - 1);
        break;
    case bsTopLine:
        line(c1, 0, 0, w, 0);
        line(c2, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(c1, 0, h - 2, w, h - 2);
        line(c2, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(c1, 0, 0, 0, h);
        line(c2, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(c1, w - 2, 0, w - 2, h);
        line(c2, w - 1, 0, w - 1, h);
        break;
    default: break;
    }
}

// ---- TSplitter ----

QZ_CLASS_INFO(TSplitter, TGraphicControl) {
    PublishColorAndFont(b, false);
    b.Property("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
    b.Property("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled).Default(false);
    b.Property("ResizeStyle", &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle).Default(rsPattern);
    b.Event("OnMoved", &TSplitter::OnMoved);
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    SetCursor(crHSplit);
    SetParentColor(true);
}

TControl* TSplitter::FindControl() const {
    if (!Parent() || Align() == alNone || Align() == alClient) return nullptr;
    // The control whose edge touches the splitter on the side it is aligned to.
    TControl* best = nullptr;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        bool touches = false;
        switch (Align()) {
        case alLeft: touches = c->Left() + c->Width() == Left(); break;
        case alRight: touches = c->Left() == Left() + Width(); break;
        case alTop: touches = c->Top() + c->Height() == Top(); break;
        case alBottom: touches = c->Top() == Top() + Height(); break;
        default: break;
        }
        if (touches) best = c;
    }
    return best;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    target_ = FindControl();
    if (!target_) return;
    dragging_ = true;
    downPos_ = ClientToScreen({x, y});
    startSize_ = (Align() == alLeft || Align() == alRight) ? target_->Width() : target_->Height();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_ || !target_) return;
    TPoint p = ClientToScreen({x, y});
    int delta = 0;
    switch (Align()) {
    case alLeft: delta = p.X - downPos_.X; break;
    case alRight: delta = downPos_.X - p.X; break;
    case alTop: delta = p.Y - downPos_.Y; break;
    case alBottom: delta = downPos_.Y - p.Y; break;
    default: break;
    }
    int size = std::max(minSize_, startSize_ + delta);
    if (Align() == alLeft || Align() == alRight)
        target_->SetWidth(size);
    else
        target_->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    bool moved = dragging_;
    dragging_ = false;
    target_ = nullptr;
    TGraphicControl::MouseUp(button, shift, x, y);
    if (moved && OnMoved) OnMoved(this);
}

void TSplitter::Paint() {
    TCanvas* c = Canvas();
    if (!c) return;
    c->Brush().SetColor(Color());
    c->FillRect(ClientRect());
}

} // namespace qz
