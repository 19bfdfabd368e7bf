#include "platform/gfx/RecordingCanvas.h"
#include "platform/gfx/TextEngine.h"
#include <cstdio>

namespace qz {

namespace {

AnsiString Num(long long v) {
    return std::to_string(v);
}
AnsiString RectText(const TRect& r) {
    return Num(r.Left) + "," + Num(r.Top) + "," + Num(r.Right) + "," + Num(r.Bottom);
}
AnsiString Hex(unsigned v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%X", v);
    return buf;
}
AnsiString PointsText(const std::vector<TPoint>& pts) {
    AnsiString s;
    for (std::size_t i = 0; i < pts.size(); ++i) s += (i ? "," : "") + Num(pts[i].X) + "," + Num(pts[i].Y);
    return s;
}

} // namespace

AnsiString TCanvasCall::Describe() const {
    AnsiString args;
    if (Op == "FillRect" || Op == "FrameRect" || Op == "Rectangle" || Op == "Ellipse" ||
        Op == "DrawFocusRect")
        args = RectText(Rect);
    else if (Op == "MoveTo" || Op == "LineTo")
        args = Num(Pt.X) + "," + Num(Pt.Y);
    else if (Op == "Polyline" || Op == "Polygon")
        args = PointsText(Points);
    else if (Op == "SetPixel")
        args = Num(Pt.X) + "," + Num(Pt.Y) + "," + Hex(static_cast<unsigned>(Color));
    else if (Op == "TextOut")
        args = Num(Pt.X) + "," + Num(Pt.Y) + ",'" + Text + "'";
    else if (Op == "TextRect")
        args = RectText(Rect) + "," + Num(Pt.X) + "," + Num(Pt.Y) + ",'" + Text + "'";
    else if (Op == "DrawText")
        args = "'" + Text + "'," + RectText(Rect) + "," + Hex(Flags);
    else if (Op == "Draw")
        args = Num(Pt.X) + "," + Num(Pt.Y) + "," + Num(BitmapSize.cx) + "x" + Num(BitmapSize.cy);
    else if (Op == "StretchDraw")
        args = RectText(Rect) + "," + Num(BitmapSize.cx) + "x" + Num(BitmapSize.cy);
    else if (Op == "CopyRect" || Op == "CopyBitmap")
        args = RectText(Rect) + "," + RectText(Source) + "," + Hex(Flags);
    else if (Op == "BrushCopy")
        args = RectText(Rect) + "," + RectText(Source) + "," + Hex(static_cast<unsigned>(Color));
    return Op + "(" + args + ")";
}

std::vector<AnsiString> TRecordingCanvas::Descriptions() const {
    std::vector<AnsiString> r;
    for (const TCanvasCall& c : Calls) r.push_back(c.Describe());
    return r;
}

std::vector<const TCanvasCall*> TRecordingCanvas::Find(const AnsiString& op) const {
    std::vector<const TCanvasCall*> r;
    for (const TCanvasCall& c : Calls)
        if (c.Op == op) r.push_back(&c);
    return r;
}

TCanvasCall& TRecordingCanvas::Record(const char* op) {
    TCanvasCall& c = Calls.emplace_back();
    c.Op = op;
    c.BrushColor = Brush().Color();
    c.BrushStyle = Brush().Style();
    c.PenColor = Pen().Color();
    c.PenWidth = Pen().Width();
    c.PenStyle = Pen().Style();
    c.PenMode = Pen().Mode();
    c.FontColor = Font().Color();
    c.FontStyle = Font().Style();
    c.FontName = Font().Name();
    c.FontHeight = Font().Height();
    return c;
}

void TRecordingCanvas::FillRect(const TRect& rect) {
    Record("FillRect").Rect = rect;
}
void TRecordingCanvas::FrameRect(const TRect& rect) {
    Record("FrameRect").Rect = rect;
}
void TRecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Record("Rectangle").Rect = {x1, y1, x2, y2};
}
void TRecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Record("Ellipse").Rect = {x1, y1, x2, y2};
}

void TRecordingCanvas::MoveTo(int x, int y) {
    Record("MoveTo").Pt = {x, y};
    TCanvas::MoveTo(x, y);
}

void TRecordingCanvas::LineTo(int x, int y) {
    TCanvasCall& c = Record("LineTo");
    c.Pt = {x, y};
    c.Points = {PenPos(), {x, y}};
    SetPenPos({x, y});
}

void TRecordingCanvas::Polyline(const std::vector<TPoint>& points) {
    Record("Polyline").Points = points;
}
void TRecordingCanvas::Polygon(const std::vector<TPoint>& points) {
    Record("Polygon").Points = points;
}

void TRecordingCanvas::SetPixel(int x, int y, TColor color) {
    TCanvasCall& c = Record("SetPixel");
    c.Pt = {x, y};
    c.Color = color;
}

void TRecordingCanvas::DoTextOut(int x, int y, const AnsiString& text) {
    TCanvasCall& c = Record("TextOut");
    c.Pt = {x, y};
    c.Text = text;
}

void TRecordingCanvas::TextRect(const TRect& rect, int x, int y, const AnsiString& text) {
    TCanvasCall& c = Record("TextRect");
    c.Rect = rect;
    c.Pt = {x, y};
    c.Text = text;
}

void TRecordingCanvas::DoDrawText(const AnsiString& text, const TRect& rect, unsigned flags,
                                  const TTextBlock&) {
    TCanvasCall& c = Record("DrawText");
    c.Text = text;
    c.Rect = rect;
    c.Flags = flags;
}

TSize TRecordingCanvas::TextExtent(const AnsiString& text) {
    static TFixedTextEngine fixed;
    return fixed.Extent(Font(), text);
}

void TRecordingCanvas::DrawFocusRect(const TRect& rect) {
    Record("DrawFocusRect").Rect = rect;
}

void TRecordingCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    TCanvasCall& c = Record("Draw");
    c.Pt = {x, y};
    c.Bitmap = &bitmap;
    c.BitmapSize = {bitmap.Width(), bitmap.Height()};
    if (bitmap.Transparent()) c.Color = bitmap.TransparentColor();
}

void TRecordingCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
    TCanvasCall& c = Record("StretchDraw");
    c.Rect = dest;
    c.Bitmap = &bitmap;
    c.BitmapSize = {bitmap.Width(), bitmap.Height()};
}

void TRecordingCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    TCanvasCall& c = Record("CopyRect");
    c.Rect = dest;
    c.Source = sourceRect;
    c.Flags = CopyMode();
    c.Bitmap = source.Surface();
}

void TRecordingCanvas::CopyBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                                  TCopyMode rop) {
    TCanvasCall& c = Record("CopyBitmap");
    c.Rect = dest;
    c.Source = sourceRect;
    c.Flags = rop;
    c.Bitmap = &source;
    c.BitmapSize = {source.Width(), source.Height()};
}

void TRecordingCanvas::BrushCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                                 TColor transparentColor) {
    TCanvasCall& c = Record("BrushCopy");
    c.Rect = dest;
    c.Source = sourceRect;
    c.Color = transparentColor;
    c.Bitmap = &source;
    c.BitmapSize = {source.Width(), source.Height()};
}

} // namespace qz
