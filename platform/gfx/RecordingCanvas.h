#pragma once
// A canvas for tests: records every drawing call with its arguments and the pen, brush and font in
// force, and draws nothing. Text is measured by the fixed rule of TFixedTextEngine whatever engine is
// installed, so recorded positions do not depend on fonts.
#include "platform/gfx/Canvas.h"

namespace qz {

struct TCanvasCall {
    AnsiString Op; // "FillRect", "TextOut", "DrawText", ...
    TRect Rect;    // the rectangle argument (destination for copies)
    TRect Source;  // the source rectangle of copies
    TPoint Pt;     // the point argument (TextOut, LineTo, MoveTo, Draw, TextRect, SetPixel)
    std::vector<TPoint> Points;
    AnsiString Text;
    unsigned Flags = 0;              // DrawText flags, raster operation of copies
    TColor Color = clNone;           // SetPixel colour, transparent colour of BrushCopy and Draw
    const TBitmap* Bitmap = nullptr; // the bitmap drawn or copied from (valid while it lives)
    TSize BitmapSize;

    TColor BrushColor = clNone;
    TBrushStyle BrushStyle = bsSolid;
    TColor PenColor = clNone;
    int PenWidth = 1;
    TPenStyle PenStyle = psSolid;
    TPenMode PenMode = pmCopy;
    TColor FontColor = clNone;
    TFontStyles FontStyle;
    AnsiString FontName;
    int FontHeight = 0;

    // A compact text of the operation and its arguments, e.g. "FillRect(0,0,10,10)",
    // "TextOut(4,2,'abc')", "DrawText('abc',0,0,50,20,$25)".
    AnsiString Describe() const;
};

class TRecordingCanvas : public TCanvas {
public:
    std::vector<TCanvasCall> Calls;

    void Clear() { Calls.clear(); }
    // Describe() of every call, in order.
    std::vector<AnsiString> Descriptions() const;
    // The calls of one operation.
    std::vector<const TCanvasCall*> Find(const AnsiString& op) const;

    void FillRect(const TRect& rect) override;
    void FrameRect(const TRect& rect) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    using TCanvas::Rectangle;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    using TCanvas::Ellipse;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(const std::vector<TPoint>& points) override;
    void Polygon(const std::vector<TPoint>& points) override;
    TColor Pixel(int x, int y) const override { return clNone; }
    void SetPixel(int x, int y, TColor color) override;
    void TextRect(const TRect& rect, int x, int y, const AnsiString& text) override;
    TSize TextExtent(const AnsiString& text) override;
    void DrawFocusRect(const TRect& rect) override;
    void Draw(int x, int y, const TBitmap& bitmap) override;
    void StretchDraw(const TRect& dest, const TBitmap& bitmap) override;
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) override;
    void CopyBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                    TCopyMode rop) override;
    void BrushCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                   TColor transparentColor) override;

protected:
    void DoTextOut(int x, int y, const AnsiString& text) override;
    void DoDrawText(const AnsiString& text, const TRect& rect, unsigned flags,
                    const TTextBlock& layout) override;

private:
    TCanvasCall& Record(const char* op);
};

} // namespace qz
