#include "platform/gfx/PixelCanvas.h"
#include "platform/gfx/TextEngine.h"
#include <cmath>

namespace qz {

namespace {

std::uint32_t Px(TColor color) {
    return PixelFromRGB(ColorToRGB(color));
}

std::uint32_t ApplyPenMode(TPenMode mode, std::uint32_t p, std::uint32_t d) {
    std::uint32_t r;
    switch (mode) {
    case pmBlack: r = 0; break;
    case pmWhite: r = 0xFFFFFF; break;
    case pmNop: r = d; break;
    case pmNot: r = ~d; break;
    case pmCopy: r = p; break;
    case pmNotCopy: r = ~p; break;
    case pmMergePenNot: r = p | ~d; break;
    case pmMaskPenNot: r = p & ~d; break;
    case pmMergeNotPen: r = ~p | d; break;
    case pmMaskNotPen: r = ~p & d; break;
    case pmMerge: r = p | d; break;
    case pmNotMerge: r = ~(p | d); break;
    case pmMask: r = p & d; break;
    case pmNotMask: r = ~(p & d); break;
    case pmXor: r = p ^ d; break;
    case pmNotXor: r = ~(p ^ d); break;
    default: r = p; break;
    }
    return 0xFF000000u | (r & 0xFFFFFF);
}

bool HatchHit(TBrushStyle style, int x, int y) {
    bool h = (y & 7) == 0, v = (x & 7) == 0, f = ((x - y) & 7) == 0, b = ((x + y) & 7) == 0;
    switch (style) {
    case bsHorizontal: return h;
    case bsVertical: return v;
    case bsFDiagonal: return f;
    case bsBDiagonal: return b;
    case bsCross: return h || v;
    case bsDiagCross: return f || b;
    default: return true;
    }
}

// On and off runs of the cosmetic pen styles.
const std::vector<int>& DashPattern(TPenStyle style) {
    static const std::vector<int> solid{}, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
        dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return solid;
    }
}

bool PatternOn(const std::vector<int>& pattern, int pos) {
    if (pattern.empty()) return true;
    int total = 0;
    for (int n : pattern) total += n;
    pos %= total;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pos < pattern[i]) return i % 2 == 0;
        pos -= pattern[i];
    }
    return true;
}

} // namespace

TRect TPixelCanvas::DeviceClip() const {
    TRect all{0, 0, bitmap_.Width(), bitmap_.Height()};
    return Clipped() ? IntersectRect(all, ToDevice(TCanvas::ClipRect())) : all;
}

TRect TPixelCanvas::ClipRect() const {
    return OffsetRect(DeviceClip(), -Origin().X, -Origin().Y);
}

void TPixelCanvas::PlotBrush(int x, int y, bool useMode) {
    const TBrush& b = Brush();
    if (b.Style() == bsClear || !HatchHit(b.Style(), x, y)) return;
    std::uint32_t& d = bitmap_.ScanLine(y)[x];
    d = useMode ? ApplyPenMode(Pen().Mode(), Px(b.Color()), d) : Px(b.Color());
}

void TPixelCanvas::FillDevice(const TRect& r, bool useMode) {
    TRect c = IntersectRect(r, DeviceClip());
    for (int y = c.Top; y < c.Bottom; ++y)
        for (int x = c.Left; x < c.Right; ++x) PlotBrush(x, y, useMode);
}

void TPixelCanvas::PlotPen(int x, int y) {
    int w = Pen().Width();
    int x0 = x - (w - 1) / 2, y0 = y - (w - 1) / 2;
    TRect c = IntersectRect(Bounds(x0, y0, w, w), DeviceClip());
    std::uint32_t p = Px(Pen().Color());
    for (int yy = c.Top; yy < c.Bottom; ++yy)
        for (int xx = c.Left; xx < c.Right; ++xx) {
            std::uint32_t& d = bitmap_.ScanLine(yy)[xx];
            d = ApplyPenMode(Pen().Mode(), p, d);
        }
}

// Bresenham from one device point to another, the end point excluded.
void TPixelCanvas::Line(TPoint from, TPoint to, int& patternPos) {
    if (Pen().Style() == psClear) return;
    const std::vector<int>& pattern = Pen().Width() == 1 ? DashPattern(Pen().Style()) : DashPattern(psSolid);
    int x = from.X, y = from.Y;
    int dx = std::abs(to.X - x), dy = -std::abs(to.Y - y);
    int sx = x < to.X ? 1 : -1, sy = y < to.Y ? 1 : -1;
    int err = dx + dy;
    while (!(x == to.X && y == to.Y)) {
        if (PatternOn(pattern, patternPos)) PlotPen(x, y);
        ++patternPos;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void TPixelCanvas::FillRect(const TRect& rect) {
    FillDevice(ToDevice(rect), false);
    bitmap_.Modified();
}

void TPixelCanvas::FrameRect(const TRect& rect) {
    TRect r = ToDevice(rect);
    if (r.IsEmpty()) return;
    TRect clip = DeviceClip();
    std::uint32_t p = Px(Brush().Color());
    auto plot = [&](int x, int y) {
        if (clip.Contains({x, y})) bitmap_.ScanLine(y)[x] = p;
    };
    for (int x = r.Left; x < r.Right; ++x) {
        plot(x, r.Top);
        plot(x, r.Bottom - 1);
    }
    for (int y = r.Top; y < r.Bottom; ++y) {
        plot(r.Left, y);
        plot(r.Right - 1, y);
    }
    bitmap_.Modified();
}

void TPixelCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    TRect r = ToDevice(Rect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)));
    if (Pen().Style() == psClear) {
        FillDevice(Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1), true);
        bitmap_.Modified();
        return;
    }
    int w = Pen().Width();
    FillDevice(InflateRect(r, -w, -w), true);
    // The outline lies inside the rectangle, w pixels thick.
    TPen saved;
    saved.Assign(Pen());
    Pen().SetWidth(1);
    for (int i = 0; i < w && i * 2 < r.Width() && i * 2 < r.Height(); ++i) {
        int l = r.Left + i, t = r.Top + i, rr = r.Right - 1 - i, b = r.Bottom - 1 - i;
        int pos = 0;
        Line({l, t}, {rr, t}, pos);
        Line({rr, t}, {rr, b}, pos);
        Line({rr, b}, {l, b}, pos);
        Line({l, b}, {l, t}, pos);
    }
    Pen().Assign(saved);
    bitmap_.Modified();
}

void TPixelCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    TRect r = ToDevice(Rect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)));
    int w = r.Width() - 1, h = r.Height() - 1;
    if (w < 1 || h < 1) return;
    // Inside test on pixel centres; the outline is the inside pixels within pen-width of the outside.
    const double cx = r.Left + w / 2.0, cy = r.Top + h / 2.0, a = w / 2.0, b = h / 2.0;
    int gw = r.Width(), gh = r.Height();
    std::vector<int> depth(static_cast<std::size_t>(gw) * gh, 0); // 0 outside, else distance to outside
    auto inside = [&](int x, int y) {
        double dx = (x - cx) / a, dy = (y - cy) / b;
        return dx * dx + dy * dy <= 1.0 + 1e-9;
    };
    for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x) depth[y * gw + x] = inside(r.Left + x, r.Top + y) ? INT32_MAX : 0;
    auto at = [&](int x, int y) { return (x < 0 || y < 0 || x >= gw || y >= gh) ? 0 : depth[y * gw + x]; };
    int pw = Pen().Style() == psClear ? 0 : Pen().Width();
    for (int pass = 1; pass <= pw; ++pass)
        for (int y = 0; y < gh; ++y)
            for (int x = 0; x < gw; ++x)
                if (depth[y * gw + x] == INT32_MAX && (at(x - 1, y) < pass || at(x + 1, y) < pass ||
                                                       at(x, y - 1) < pass || at(x, y + 1) < pass))
                    depth[y * gw + x] = pass;
    TRect clip = DeviceClip();
    std::uint32_t pen = Px(Pen().Color());
    for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x) {
            int d = depth[y * gw + x];
            int X = r.Left + x, Y = r.Top + y;
            if (d == 0 || !clip.Contains({X, Y})) continue;
            if (d == INT32_MAX)
                PlotBrush(X, Y, true);
            else
                bitmap_.ScanLine(Y)[X] = ApplyPenMode(Pen().Mode(), pen, bitmap_.ScanLine(Y)[X]);
        }
    bitmap_.Modified();
}

void TPixelCanvas::LineTo(int x, int y) {
    int pos = 0;
    TPoint from = PenPos();
    Line({from.X + Origin().X, from.Y + Origin().Y}, {x + Origin().X, y + Origin().Y}, pos);
    SetPenPos({x, y});
    bitmap_.Modified();
}

void TPixelCanvas::Polyline(const std::vector<TPoint>& points) {
    int pos = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        Line({points[i - 1].X + Origin().X, points[i - 1].Y + Origin().Y},
             {points[i].X + Origin().X, points[i].Y + Origin().Y}, pos);
    bitmap_.Modified();
}

void TPixelCanvas::Polygon(const std::vector<TPoint>& points) {
    if (points.size() < 2) return;
    std::vector<TPoint> dev;
    int top = INT32_MAX, bottom = INT32_MIN;
    for (TPoint p : points) {
        dev.push_back({p.X + Origin().X, p.Y + Origin().Y});
        top = std::min(top, dev.back().Y);
        bottom = std::max(bottom, dev.back().Y);
    }
    // Even-odd fill on pixel centres.
    TRect clip = DeviceClip();
    for (int y = std::max(top, clip.Top); y < std::min(bottom, clip.Bottom); ++y) {
        double cy = y + 0.5;
        std::vector<double> xs;
        for (std::size_t i = 0; i < dev.size(); ++i) {
            TPoint a = dev[i], b = dev[(i + 1) % dev.size()];
            if ((a.Y <= cy) == (b.Y <= cy)) continue;
            xs.push_back(a.X + (cy - a.Y) * (b.X - a.X) / static_cast<double>(b.Y - a.Y));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
            int from = static_cast<int>(std::ceil(xs[i] - 0.5)),
                to = static_cast<int>(std::ceil(xs[i + 1] - 0.5));
            for (int x = std::max(from, clip.Left); x < std::min(to, clip.Right); ++x) PlotBrush(x, y, true);
        }
    }
    int pos = 0;
    for (std::size_t i = 0; i < dev.size(); ++i) Line(dev[i], dev[(i + 1) % dev.size()], pos);
    bitmap_.Modified();
}

TColor TPixelCanvas::Pixel(int x, int y) const {
    TPoint d{x + Origin().X, y + Origin().Y};
    if (!DeviceClip().Contains(d)) return -1;
    return bitmap_.Pixel(d.X, d.Y);
}

void TPixelCanvas::SetPixel(int x, int y, TColor color) {
    TPoint d{x + Origin().X, y + Origin().Y};
    if (!DeviceClip().Contains(d)) return;
    bitmap_.SetPixel(d.X, d.Y, color);
}

TSize TPixelCanvas::TextExtent(const AnsiString& text) {
    return CurrentTextEngine().Extent(Font(), text);
}

void TPixelCanvas::DrawText8(int x, int y, const AnsiString& text, const TRect& clip, int underline) {
    if (clip.IsEmpty()) return;
    CurrentTextEngine().Draw(bitmap_, x, y, Font(), text, clip, underline);
}

void TPixelCanvas::DoTextOut(int x, int y, const AnsiString& text) {
    TSize ext = TextExtent(text);
    TRect r = ToDevice(Bounds(x, y, ext.cx, ext.cy));
    if (Brush().Style() != bsClear) FillDevice(r, false);
    DrawText8(r.Left, r.Top, text, DeviceClip(), -1);
    bitmap_.Modified();
}

void TPixelCanvas::TextRect(const TRect& rect, int x, int y, const AnsiString& text) {
    TRect r = ToDevice(rect);
    TRect clip = IntersectRect(r, DeviceClip());
    if (Brush().Style() != bsClear) FillDevice(clip, false);
    DrawText8(x + Origin().X, y + Origin().Y, text, clip, -1);
    bitmap_.Modified();
}

void TPixelCanvas::DrawTextLine(const TTextLine& line, const TRect* clipRect) {
    TRect clip = clipRect ? IntersectRect(ToDevice(*clipRect), DeviceClip()) : DeviceClip();
    TRect r = ToDevice(Bounds(line.X, line.Y, line.Width, TextExtent(line.Text).cy));
    if (Brush().Style() != bsClear) {
        TRect fill = IntersectRect(r, clip);
        for (int y = fill.Top; y < fill.Bottom; ++y)
            for (int x = fill.Left; x < fill.Right; ++x) bitmap_.ScanLine(y)[x] = Px(Brush().Color());
    }
    DrawText8(r.Left, r.Top, line.Text, clip, line.Underline);
    bitmap_.Modified();
}

void TPixelCanvas::DrawFocusRect(const TRect& rect) {
    TRect r = ToDevice(rect);
    if (r.IsEmpty()) return;
    TRect clip = DeviceClip();
    auto flip = [&](int x, int y) {
        if (((x + y) & 1) == 0 && clip.Contains({x, y})) bitmap_.ScanLine(y)[x] ^= 0xFFFFFF;
    };
    for (int x = r.Left; x < r.Right; ++x) {
        flip(x, r.Top);
        if (r.Bottom - 1 != r.Top) flip(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        flip(r.Left, y);
        if (r.Right - 1 != r.Left) flip(r.Right - 1, y);
    }
    bitmap_.Modified();
}

// mode 0: raster operation; 1: the key colour left out; 2: the key colour replaced by the brush.
void TPixelCanvas::Blit(const TRect& destLogical, const TBitmap& source, const TRect& src, int mode,
                        TCopyMode rop, TColor key) {
    TRect dest = ToDevice(destLogical);
    if (dest.IsEmpty() || src.IsEmpty() || source.Empty()) return;
    // A copy of the source when it is this canvas's own bitmap, so overlapping copies read old pixels.
    TBitmap copy;
    const TBitmap* s = &source;
    if (&source == &bitmap_) {
        copy = source;
        s = &copy;
    }
    TRect clip = IntersectRect(dest, DeviceClip());
    const std::uint32_t keyPx = mode == 0 ? 0 : PixelFromRGB(ColorToRGB(key));
    const std::uint32_t brush = Px(Brush().Color());
    const bool clearBrush = Brush().Style() == bsClear;
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        int sy =
            src.Top + static_cast<int>(static_cast<long long>(y - dest.Top) * src.Height() / dest.Height());
        if (sy < 0 || sy >= s->Height()) continue;
        const std::uint32_t* srow = s->ScanLine(sy);
        std::uint32_t* drow = bitmap_.ScanLine(y);
        for (int x = clip.Left; x < clip.Right; ++x) {
            int sx = src.Left +
                     static_cast<int>(static_cast<long long>(x - dest.Left) * src.Width() / dest.Width());
            if (sx < 0 || sx >= s->Width()) continue;
            std::uint32_t sp = srow[sx] | 0xFF000000u;
            switch (mode) {
            case 0: drow[x] = ApplyRop3(rop, brush, sp, drow[x]); break;
            case 1:
                if (sp != keyPx) drow[x] = sp;
                break;
            default:
                if (sp != keyPx)
                    drow[x] = sp;
                else if (!clearBrush)
                    drow[x] = brush;
                break;
            }
        }
    }
    bitmap_.Modified();
}

void TPixelCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    TRect all{0, 0, bitmap.Width(), bitmap.Height()};
    if (bitmap.Transparent())
        Blit(Bounds(x, y, all.Right, all.Bottom), bitmap, all, 1, 0, bitmap.TransparentColor());
    else
        Blit(Bounds(x, y, all.Right, all.Bottom), bitmap, all, 0, SRCCOPY, 0);
}

void TPixelCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
    TRect all{0, 0, bitmap.Width(), bitmap.Height()};
    if (bitmap.Transparent())
        Blit(dest, bitmap, all, 1, 0, bitmap.TransparentColor());
    else
        Blit(dest, bitmap, all, 0, SRCCOPY, 0);
}

void TPixelCanvas::CopyBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                              TCopyMode rop) {
    Blit(dest, source, sourceRect, 0, rop, 0);
}

void TPixelCanvas::BrushCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                             TColor transparentColor) {
    Blit(dest, source, sourceRect, 2, 0, transparentColor);
}

} // namespace qz
