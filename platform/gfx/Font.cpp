#include "platform/gfx/Font.h"
#include "platform/core/CodePages.h"

namespace qz {

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

int CharsetCodePage(TFontCharset charset) {
    switch (charset) {
    case GB2312_CHARSET: return CP_GB;
    case CHINESEBIG5_CHARSET: return CP_BIG5;
    default: return SystemCodePage();
    }
}

namespace {
// a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c) {
    long long p = static_cast<long long>(a) * b;
    long long half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : (p - half) / c);
}
} // namespace

void TFont::CopyValues(const TFont& o) {
    name_ = o.name_;
    height_ = o.height_;
    charset_ = o.charset_;
    color_ = o.color_;
    style_ = o.style_;
    pitch_ = o.pitch_;
}

bool TFont::SameValues(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && charset_ == o.charset_ && color_ == o.color_ &&
           style_ == o.style_ && pitch_ == o.pitch_;
}

void TFont::Assign(const TFont& source) {
    if (&source == this) return;
    CopyValues(source);
    Changed();
}

void TFont::SetName(const AnsiString& value) {
    if (value.empty() || value == name_) return;
    name_ = value;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(height_, 72, ScreenPixelsPerInch);
}

void TFont::SetSize(int value) {
    SetHeight(-MulDiv(value, ScreenPixelsPerInch, 72));
}

void TFont::SetHeight(int value) {
    if (value == height_) return;
    height_ = value;
    Changed();
}

void TFont::SetCharset(TFontCharset value) {
    if (value == charset_) return;
    charset_ = value;
    Changed();
}

void TFont::SetColor(TColor value) {
    if (value == color_) return;
    color_ = value;
    Changed();
}

void TFont::SetStyle(TFontStyles value) {
    if (value == style_) return;
    style_ = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value) {
    if (value == pitch_) return;
    pitch_ = value;
    Changed();
}

} // namespace qz
