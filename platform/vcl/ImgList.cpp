#include "platform/vcl/ImgList.h"
#include "platform/core/Strings.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

namespace qz {

QZ_CLASS_INFO(TCustomImageList, TComponent) {
    b.Property("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth).Default(16);
    b.Property("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight).Default(16);
    b.Property("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked).Default(true);
    b.Property("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor).TypeName("TColor");
    b.Property("AllocBy", &TCustomImageList::AllocBy, &TCustomImageList::SetAllocBy).Default(4);
    b.Event("OnChange", &TCustomImageList::OnChange);
}

QZ_CLASS_INFO(TImageList, TCustomImageList) {}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}
TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::SetWidth(int v) {
    if (v == width_) return;
    width_ = v;
    Clear();
}

void TCustomImageList::SetHeight(int v) {
    if (v == height_) return;
    height_ = v;
    Clear();
}

void TCustomImageList::Change() {
    if (OnChange) OnChange(this);
}

int TCustomImageList::Add(const TBitmap& image, const TBitmap* mask) {
    TColor transparent = clNone;
    if (mask && !mask->Empty()) transparent = image.TransparentColor();
    int first = Count();
    int pieces = width_ > 0 ? std::max(1, image.Width() / width_) : 1;
    for (int i = 0; i < pieces; ++i) {
        auto bm = std::make_unique<TBitmap>(width_, height_);
        bm->Fill(clWhite);
        for (int y = 0; y < height_ && y < image.Height(); ++y)
            for (int x = 0; x < width_ && i * width_ + x < image.Width(); ++x)
                bm->SetPixel(x, y, image.Pixel(i * width_ + x, y));
        images_.push_back(Image{std::move(bm), transparent});
    }
    Change();
    return first;
}

int TCustomImageList::AddMasked(const TBitmap& image, TColor maskColor) {
    int first = Add(image);
    TColor t = maskColor == clDefault ? image.TransparentColor() : maskColor;
    for (int i = first; i < Count(); ++i) images_[i].transparent = t;
    return first;
}

void TCustomImageList::Replace(int index, const TBitmap& image) {
    if (index < 0 || index >= Count()) throw EListError("Invalid image index " + IntToStr(index));
    images_[index].bitmap->Assign(image);
    images_[index].bitmap->SetSize(width_, height_);
    Change();
}

void TCustomImageList::Delete(int index) {
    if (index < 0 || index >= Count()) throw EListError("Invalid image index " + IntToStr(index));
    images_.erase(images_.begin() + index);
    Change();
}

void TCustomImageList::Clear() {
    if (images_.empty()) return;
    images_.clear();
    Change();
}

void TCustomImageList::GetBitmap(int index, TBitmap& bitmap) const {
    if (index < 0 || index >= Count()) return;
    bitmap.Assign(*images_[index].bitmap);
    if (images_[index].transparent != clNone) {
        bitmap.SetTransparentColor(images_[index].transparent);
        bitmap.SetTransparent(true);
    }
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count()) return;
    const Image& im = images_[index];
    TRect src = Rect(0, 0, width_, height_);
    TBrushStyle saved = canvas.Brush().Style();
    canvas.Brush().SetStyle(bsClear);
    if (enabled) {
        TColor t = masked_ && im.transparent != clNone ? im.transparent : im.bitmap->TransparentColor();
        canvas.BrushCopy(Bounds(x, y, width_, height_), *im.bitmap, src, t);
    } else {
        // Greyed: the picture's dark pixels in the shadow colour.
        TBitmap grey(width_, height_);
        grey.Fill(clWhite);
        TColor t = im.transparent != clNone ? im.transparent : im.bitmap->TransparentColor();
        for (int py = 0; py < height_; ++py)
            for (int px = 0; px < width_; ++px) {
                TColor c = im.bitmap->Pixel(px, py);
                if (c == ColorToRGB(t)) continue;
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 384) grey.SetPixel(px, py, clBtnShadow);
            }
        canvas.BrushCopy(Bounds(x, y, width_, height_), grey, src, clWhite);
    }
    canvas.Brush().SetStyle(saved);
}

bool TCustomImageList::ReadBinaryProperty(const AnsiString& name, const std::vector<Byte>& data) {
    if (name != "Bitmap") return false;
    // A strip of images in one bitmap file.
    TBitmap strip;
    strip.LoadFromMemory(data.data(), data.size());
    Clear();
    if (!strip.Empty()) AddMasked(strip, clDefault);
    return true;
}

} // namespace qz
