#pragma once
// Measuring and drawing of 8-bit text in a font. The fixed engine measures by a simple rule and draws
// no glyphs; a real engine (cairo and pango) is installed in its place by the display layer.
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"

namespace qz {

class TBitmap;

class TTextEngine {
public:
    virtual ~TTextEngine() = default;
    // Width and height of the text as one line; the height is that of the font even for "".
    virtual TSize Extent(const TFont& font, const AnsiString& text) = 0;
    // Draws the glyphs (no background) with the top-left corner at (x, y) of the bitmap, clipped;
    // underline is the byte index of a character to underline, or -1.
    virtual void Draw(TBitmap& target, int x, int y, const TFont& font, const AnsiString& text,
                      const TRect& clip, int underline) = 0;
};

// The fixed rule: every byte is (h + 1) / 2 pixels wide and a line is h pixels high, h being the pixel
// height of the font (11 when the font has no height). A double-byte character is thus about square.
class TFixedTextEngine : public TTextEngine {
public:
    TSize Extent(const TFont& font, const AnsiString& text) override;
    void Draw(TBitmap&, int, int, const TFont&, const AnsiString&, const TRect&, int) override {}
    static int LineHeight(const TFont& font);
    static int ByteWidth(const TFont& font) { return (LineHeight(font) + 1) / 2; }
};

// The engine pixel canvases use; nullptr restores the fixed one. Returns the previous engine.
TTextEngine* SetTextEngine(TTextEngine* engine);
TTextEngine& CurrentTextEngine();
// Extent of one line of text in the font, by the current engine.
TSize MeasureText(const TFont& font, const AnsiString& text);

} // namespace qz
