#pragma once
// A canvas drawing into the pixels of a bitmap: shapes, lines, hatched brushes, pen modes, bitmap
// copies. Text goes through the current text engine (TextEngine.h).
#include "platform/gfx/Canvas.h"

namespace qz {

class TPixelCanvas : public TCanvas {
public:
    explicit TPixelCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}

    TRect ClipRect() const override;
    void FillRect(const TRect& rect) override;
    void FrameRect(const TRect& rect) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    using TCanvas::Rectangle;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    using TCanvas::Ellipse;
    void LineTo(int x, int y) override;
    void Polyline(const std::vector<TPoint>& points) override;
    void Polygon(const std::vector<TPoint>& points) override;
    TColor Pixel(int x, int y) const override;
    void SetPixel(int x, int y, TColor color) override;
    void TextRect(const TRect& rect, int x, int y, const AnsiString& text) override;
    TSize TextExtent(const AnsiString& text) override;
    void DrawFocusRect(const TRect& rect) override;
    void Draw(int x, int y, const TBitmap& bitmap) override;
    void StretchDraw(const TRect& dest, const TBitmap& bitmap) override;
    void CopyBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                    TCopyMode rop) override;
    void BrushCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                   TColor transparentColor) override;
    TBitmap* Surface() override { return &bitmap_; }

protected:
    void DoTextOut(int x, int y, const AnsiString& text) override;
    void DrawTextLine(const TTextLine& line, const TRect* clip) override;

private:
    // The device clip: the bitmap intersected with the clip rectangle.
    TRect DeviceClip() const;
    TRect ToDevice(const TRect& r) const { return OffsetRect(r, Origin().X, Origin().Y); }
    // Fills a device rectangle with the brush (hatches for hatched styles) combined by the pen mode.
    void FillDevice(const TRect& r, bool useMode);
    void PlotBrush(int x, int y, bool useMode);
    void PlotPen(int x, int y);
    void Line(TPoint from, TPoint to, int& patternPos);
    void DrawText8(int x, int y, const AnsiString& text, const TRect& clip, int underline);
    void Blit(const TRect& dest, const TBitmap& source, const TRect& sourceRect, int mode, TCopyMode rop,
              TColor key);

    TBitmap& bitmap_;
};

} // namespace qz
