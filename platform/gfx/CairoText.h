#pragma once
// The text engine over pango and cairo: 8-bit text is decoded by the font's character set (GB2312 as
// code page 936, BIG5 as 950, every other set as the process code page) and drawn with the fonts of
// the project's fontconfig file, which maps the families the windows name to installed fonts.
#include "platform/gfx/TextEngine.h"
#include <memory>

namespace qz {

class TCairoTextEngine : public TTextEngine {
public:
    TCairoTextEngine();
    ~TCairoTextEngine() override;
    TCairoTextEngine(const TCairoTextEngine&) = delete;
    TCairoTextEngine& operator=(const TCairoTextEngine&) = delete;

    // The logical extent of the line with hinted metrics and rounded glyph positions.
    TSize Extent(const TFont& font, const AnsiString& text) override;
    void Draw(TBitmap& target, int x, int y, const TFont& font, const AnsiString& text, const TRect& clip,
              int underline) override;

    // The family fontconfig gives for a font name (for checks of the font mapping).
    AnsiString ResolvedFamily(const AnsiString& fontName);

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// The engine of the process, created on first use.
TCairoTextEngine& CairoTextEngine();
// Makes the cairo engine the current one; returns the engine in force before.
TTextEngine* UseCairoText();

// The project's font configuration file: QZ_FONTS_CONF when set, else the file of the source tree
// when it exists; "" when neither (the built-in copy is used then).
AnsiString FontConfigFile();

// The text of the font as UTF-8, decoded by the font's character set.
AnsiString FontTextToUtf8(const TFont& font, const AnsiString& text);

} // namespace qz
