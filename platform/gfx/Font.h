#pragma once
// Fonts, and the base of the drawing tools (font, pen, brush) that tell their owner when they change.
#include "platform/core/Types.h"
#include "platform/gfx/Colors.h"
#include "platform/rtti/ClassBuilder.h"
#include <functional>
#include <initializer_list>

namespace qz {

// Base of the drawing tools: Changed() calls OnChange.
class TGraphicsObject : public TObject {
public:
    std::function<void(TObject* sender)> OnChange;

protected:
    void Changed();
};

QZ_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
QZ_SET(TFontStyles, TFontStyle)

QZ_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)

using TFontCharset = Byte;
enum : TFontCharset {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    GB2312_CHARSET = 134,
    CHINESEBIG5_CHARSET = 136,
    OEM_CHARSET = 255
};

// The code page 8-bit text of a character set is written in: GB2312 936, BIG5 950, the process code
// page for every other set.
int CharsetCodePage(TFontCharset charset);

// Screen resolution the point sizes are converted with.
constexpr int ScreenPixelsPerInch = 96;

// Published: Charset, Color, Height, Name, Pitch, Size (not stored), Style.
class TFont : public TGraphicsObject {
public:
    TFont() = default;
    TFont(const TFont& other) : TGraphicsObject() { CopyValues(other); }
    TFont& operator=(const TFont& other) {
        Assign(other);
        return *this;
    }

    // Copies every value and reports one change.
    void Assign(const TFont& source);

    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& value);
    // Points; Size = -Height * 72 / 96 rounded, Height = -Size * 96 / 72 rounded.
    int Size() const;
    void SetSize(int value);
    // Negative: the pixel height of the characters; positive: the height of the character cell.
    int Height() const { return height_; }
    void SetHeight(int value);
    // Pixel height of the characters (the absolute value of Height).
    int PixelHeight() const { return height_ < 0 ? -height_ : height_; }
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch value);

    // Code page of the font's 8-bit text.
    int CodePage() const { return CharsetCodePage(charset_); }
    bool SameValues(const TFont& other) const;

    // Type information, installed by the layer that publishes the properties.
    static inline const TMetaClass* StaticClassInfo = nullptr;
    const TMetaClass* ClassInfo() const override { return StaticClassInfo; }

private:
    void CopyValues(const TFont& other);

    AnsiString name_ = "MS Sans Serif";
    int height_ = -11; // 8 points
    TFontCharset charset_ = DEFAULT_CHARSET;
    TColor color_ = clWindowText;
    TFontStyles style_;
    TFontPitch pitch_ = fpDefault;
};

} // namespace qz
