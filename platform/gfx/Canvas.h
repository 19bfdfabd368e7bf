#pragma once
// The drawing surface every control paints on: pen, brush and font, shapes, text with alignment
// flags, and bitmap copies (plain, stretched, with a transparent colour, with a raster operation).
// TCanvas keeps the tools and lays out text; a descendant draws: TPixelCanvas into a bitmap,
// TRecordingCanvas into a list of calls for tests.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include <vector>

namespace qz {

class TTextEngine;

QZ_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
// How the pen colour P combines with the pixel D: 0, 1, D, not D, P, not P, P or not D, P and not D,
// not P or D, not P and D, P or D, not (P or D), P and D, not (P and D), P xor D, not (P xor D).
QZ_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
        pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)

class TPen : public TGraphicsObject {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int Width() const { return width_; }
    void SetWidth(int value);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle value);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode value);
    void Assign(const TPen& source);

    // Type information, installed by the layer that publishes the properties.
    static inline const TMetaClass* StaticClassInfo = nullptr;
    const TMetaClass* ClassInfo() const override { return StaticClassInfo; }

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

QZ_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
        bsDiagCross)

class TBrush : public TGraphicsObject {
public:
    TColor Color() const { return color_; }
    // Setting a colour on a clear brush makes it solid.
    void SetColor(TColor value);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle value);
    void Assign(const TBrush& source);

    // Type information, installed by the layer that publishes the properties.
    static inline const TMetaClass* StaticClassInfo = nullptr;
    const TMetaClass* ClassInfo() const override { return StaticClassInfo; }

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

// Text drawing flags.
enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4, // single line only
    DT_BOTTOM = 0x8,  // single line only
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400, // measures: sets the rectangle's right and bottom edges, draws nothing
    DT_NOPREFIX = 0x800, // "&" is not an accelerator prefix
    DT_EDITCONTROL = 0x2000,
    DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000,
    DT_WORD_ELLIPSIS = 0x40000
};

// Raster operations: the result of a copy from the source S, the brush P and the destination D.
// The code's third byte is the truth table (bit index P*4 + S*2 + D), so every ternary code works.
using TCopyMode = Cardinal;
enum : TCopyMode {
    BLACKNESS = 0x00000042,
    NOTSRCERASE = 0x001100A6, // not (S or D)
    NOTSRCCOPY = 0x00330008,  // not S
    SRCERASE = 0x00440328,    // S and not D
    DSTINVERT = 0x00550009,   // not D
    PATINVERT = 0x005A0049,   // P xor D
    SRCINVERT = 0x00660046,   // S xor D
    SRCAND = 0x008800C6,      // S and D
    MERGEPAINT = 0x00BB0226,  // not S or D
    MERGECOPY = 0x00C000CA,   // P and S
    SRCCOPY = 0x00CC0020,     // S
    SRCPAINT = 0x00EE0086,    // S or D
    PATCOPY = 0x00F00021,     // P
    PATPAINT = 0x00FB0A09,    // P or not S or D
    WHITENESS = 0x00FF0062,
    // The mask operation: the brush where the source is black, the destination where it is white
    // (black pixels of a mask are its set bits, as a monochrome mask copied with text colour black and
    // background white gives them).
    ROP_DSPDxax = 0x00E20746
};
constexpr TCopyMode cmBlackness = BLACKNESS, cmDstInvert = DSTINVERT, cmMergeCopy = MERGECOPY,
                    cmMergePaint = MERGEPAINT, cmNotSrcCopy = NOTSRCCOPY, cmNotSrcErase = NOTSRCERASE,
                    cmPatCopy = PATCOPY, cmPatInvert = PATINVERT, cmPatPaint = PATPAINT, cmSrcAnd = SRCAND,
                    cmSrcCopy = SRCCOPY, cmSrcErase = SRCERASE, cmSrcInvert = SRCINVERT,
                    cmSrcPaint = SRCPAINT, cmWhiteness = WHITENESS;

// Applies a ternary raster operation to 32-bit pixel words (the mask operation as described above).
std::uint32_t ApplyRop3(TCopyMode rop, std::uint32_t pattern, std::uint32_t source, std::uint32_t dest);

// One line of laid-out text: its bytes (prefix characters removed), its position, and the byte index
// of the character to underline (-1 for none).
struct TTextLine {
    AnsiString Text;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Underline = -1;
};

struct TTextBlock {
    std::vector<TTextLine> Lines;
    TRect Bounds; // the rectangle DT_CALCRECT reports
    int Height = 0;
};

class TCanvas : public TObject {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }
    const TPen& Pen() const { return pen_; }
    const TBrush& Brush() const { return brush_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& value) { font_.Assign(value); }
    void SetPen(const TPen& value) { pen_.Assign(value); }
    void SetBrush(const TBrush& value) { brush_.Assign(value); }
    TPoint PenPos() const { return penPos_; }
    void SetPenPos(TPoint value) { penPos_ = value; }
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode value) { copyMode_ = value; }

    // Logical point (0, 0) lies at Origin of the surface; drawing is clipped to ClipRect (logical).
    TPoint Origin() const { return origin_; }
    void SetOrigin(TPoint value) { origin_ = value; }
    // The clipping rectangle (logical); without one, the whole surface.
    virtual TRect ClipRect() const;
    void SetClipRect(const TRect& value);
    void ResetClip() { clipped_ = false; }

    // Fills with the brush (hatch lines only for a hatched one, nothing for a clear one), right and
    // bottom edges excluded.
    virtual void FillRect(const TRect& rect) = 0;
    // A one-pixel frame in the brush colour.
    virtual void FrameRect(const TRect& rect) = 0;
    // Outline with the pen (unless clear) and interior with the brush (unless clear).
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    virtual void MoveTo(int x, int y) { penPos_ = {x, y}; }
    // A line from the pen position to (x, y), the end point excluded; the pen moves there.
    virtual void LineTo(int x, int y) = 0;
    virtual void Polyline(const std::vector<TPoint>& points) = 0;
    // Closed and filled with the brush.
    virtual void Polygon(const std::vector<TPoint>& points) = 0;
    virtual TColor Pixel(int x, int y) const = 0;
    virtual void SetPixel(int x, int y, TColor color) = 0;

    // Text at (x, y) (top-left), the background filled unless the brush is clear; the pen moves to
    // the end of the text.
    void TextOut(int x, int y, const AnsiString& text);
    // Text at (x, y), clipped to the rectangle, whose background is filled unless the brush is clear.
    virtual void TextRect(const TRect& rect, int x, int y, const AnsiString& text) = 0;
    // Text laid out in the rectangle by the DT_ flags; returns the height of the text.
    int DrawText(const AnsiString& text, TRect& rect, unsigned flags);
    TTextBlock LayoutText(const AnsiString& text, const TRect& rect, unsigned flags);
    virtual TSize TextExtent(const AnsiString& text) = 0;
    int TextWidth(const AnsiString& text) { return TextExtent(text).cx; }
    int TextHeight(const AnsiString& text) { return TextExtent(text).cy; }
    // A dotted frame combined with xor (drawing it twice removes it).
    virtual void DrawFocusRect(const TRect& rect) = 0;

    // The bitmap at (x, y); a transparent bitmap leaves its transparent colour out.
    virtual void Draw(int x, int y, const TBitmap& bitmap) = 0;
    // The bitmap scaled into the rectangle (nearest pixel); transparency as Draw.
    virtual void StretchDraw(const TRect& dest, const TBitmap& bitmap) = 0;
    // Copies part of another canvas's surface with CopyMode (scaled when the sizes differ).
    virtual void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
    // Copies part of a bitmap with a raster operation (scaled when the sizes differ).
    virtual void CopyBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                            TCopyMode rop) = 0;
    // Copies part of a bitmap, its pixels of the transparent colour replaced by the brush; with a clear
    // brush those pixels leave the surface unchanged.
    virtual void BrushCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                           TColor transparentColor) = 0;

    // The bitmap this canvas draws on, when it has one.
    virtual TBitmap* Surface() { return nullptr; }

protected:
    virtual void DoTextOut(int x, int y, const AnsiString& text) = 0;
    // Draws laid-out text: the default draws each line with DrawTextLine.
    virtual void DoDrawText(const AnsiString& text, const TRect& rect, unsigned flags,
                            const TTextBlock& layout);
    virtual void DrawTextLine(const TTextLine& line, const TRect* clip) {}
    bool Clipped() const { return clipped_; }

private:
    TPen pen_;
    TBrush brush_;
    TFont font_;
    TPoint penPos_;
    TCopyMode copyMode_ = SRCCOPY;
    TPoint origin_;
    TRect clip_;
    bool clipped_ = false;
};

} // namespace qz
