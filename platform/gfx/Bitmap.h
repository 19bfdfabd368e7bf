#pragma once
// Bitmaps with 32-bit pixels (0xFFRRGGBB words, rows top-down, no padding), drawn on through their
// canvas. Plain BMP files of 1, 4, 8, 16, 24 and 32 bits per pixel are read; 24-bit ones are written.
#include "platform/core/Exceptions.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qz {

class TCanvas;

QZ_EXCEPTION_CLASS(EInvalidGraphic, Exception); // unreadable picture data

QZ_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)
// tmAuto: the transparent colour is the bottom-left pixel; tmFixed: the one set.
QZ_ENUM(TTransparentMode, tmAuto, tmFixed)

// Pixel words and colours.
constexpr std::uint32_t PixelFromRGB(TColor rgb) {
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(rgb)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(rgb)) << 8) | static_cast<std::uint32_t>(GetBValue(rgb));
}
constexpr TColor RGBFromPixel(std::uint32_t px) {
    return RGB(static_cast<int>((px >> 16) & 0xFF), static_cast<int>((px >> 8) & 0xFF),
               static_cast<int>(px & 0xFF));
}

class TBitmap : public TGraphicsObject {
public:
    TBitmap();
    TBitmap(int width, int height);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap() override;

    // Copies the picture and its settings (not the canvas) and reports one change.
    void Assign(const TBitmap& source);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Resizing keeps the top-left part of the picture; new pixels are white.
    void SetWidth(int value) { SetSize(value, height_); }
    void SetHeight(int value) { SetSize(width_, value); }
    void SetSize(int width, int height);
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // Releases the picture (0 x 0).
    void Clear() { SetSize(0, 0); }

    // The canvas drawing on this bitmap, created on first use by the canvas factory.
    TCanvas& Canvas();
    // Replaces the factory of bitmap canvases (the pixel canvas by default); returns the previous one.
    using CanvasFactory = std::function<std::unique_ptr<TCanvas>(TBitmap&)>;
    static CanvasFactory SetCanvasFactory(CanvasFactory factory);

    // The RGB colour of a pixel; -1 outside the picture.
    TColor Pixel(int x, int y) const;
    // Sets a pixel to a colour (system colours resolved); outside the picture nothing happens.
    void SetPixel(int x, int y, TColor color);
    std::uint32_t* ScanLine(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* ScanLine(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    // Bytes from one row to the next.
    int Stride() const { return width_ * 4; }
    // Fills the whole picture with a colour.
    void Fill(TColor color);

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    TColor TransparentColor() const;
    // Setting a colour makes the mode fixed.
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode value);

    TPixelFormat PixelFormat() const { return pixelFormat_; }
    // pf1bit makes the bitmap monochrome; other formats only record the depth.
    void SetPixelFormat(TPixelFormat value);
    // A monochrome bitmap holds black and white only: turning it on makes white pixels white and every
    // other pixel black; pixels drawn later are reduced the same way.
    bool Monochrome() const { return pixelFormat_ == pf1bit; }
    void SetMonochrome(bool value);
    // Makes the bitmap a monochrome mask: the colour becomes white, every other pixel black.
    void Mask(TColor transparentColor);

    void LoadFromFile(const AnsiString& fileName);
    void LoadFromMemory(const void* data, std::size_t size);
    void SaveToFile(const AnsiString& fileName) const;
    std::vector<Byte> SaveToMemory() const;

    // Called by canvases after drawing: reduces a monochrome picture and reports the change.
    void Modified();

    // Type information, installed by the layer that publishes the properties.
    static inline const TMetaClass* StaticClassInfo = nullptr;
    const TMetaClass* ClassInfo() const override { return StaticClassInfo; }

private:
    void CopyFrom(const TBitmap& other);
    void ReduceToMonochrome();

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    bool transparent_ = false;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
    TPixelFormat pixelFormat_ = pfDevice;
    std::unique_ptr<TCanvas> canvas_;
};

// A picture holder (a bitmap only), as picture properties of images use it.
class TPicture : public TGraphicsObject {
public:
    TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;
    TBitmap& Bitmap() { return bitmap_; }
    const TBitmap& Bitmap() const { return bitmap_; }
    void SetBitmap(const TBitmap& value) { bitmap_.Assign(value); }
    void Assign(const TPicture& source) { bitmap_.Assign(source.bitmap_); }
    int Width() const { return bitmap_.Width(); }
    int Height() const { return bitmap_.Height(); }
    void LoadFromFile(const AnsiString& fileName) { bitmap_.LoadFromFile(fileName); }

    // Type information, installed by the layer that publishes the properties.
    static inline const TMetaClass* StaticClassInfo = nullptr;
    const TMetaClass* ClassInfo() const override { return StaticClassInfo; }

private:
    TBitmap bitmap_;
};

} // namespace qz
