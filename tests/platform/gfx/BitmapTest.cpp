#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace qz;

namespace {

// A BMP file: headers, palette (BGRA quads), and rows (already padded) in file order.
std::vector<Byte> Bmp(int width, int height, int bpp, const std::vector<std::uint32_t>& palette,
                      const std::vector<Byte>& rows, unsigned compression = 0,
                      const std::vector<std::uint32_t>& masks = {}) {
    std::vector<Byte> out;
    auto u16 = [&](unsigned v) {
        out.push_back(Byte(v));
        out.push_back(Byte(v >> 8));
    };
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(Byte(v >> (8 * i)));
    };
    std::uint32_t off = 14 + 40 + 4 * static_cast<std::uint32_t>(masks.size() + palette.size());
    u16(0x4D42);
    u32(off + static_cast<std::uint32_t>(rows.size()));
    u32(0);
    u32(off);
    u32(40);
    u32(static_cast<std::uint32_t>(width));
    u32(static_cast<std::uint32_t>(height));
    u16(1);
    u16(static_cast<unsigned>(bpp));
    u32(compression);
    u32(static_cast<std::uint32_t>(rows.size()));
    u32(0);
    u32(0);
    u32(static_cast<std::uint32_t>(palette.size()));
    u32(0);
    for (std::uint32_t m : masks) u32(m);
    for (std::uint32_t p : palette) u32(p);
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

TEST(Bitmap, ReadsPalettedAndDirectColourFiles) {
    // 3 x 2, four bits: bottom row first; palette 0 black, 1 red, 2 white.
    std::vector<std::uint32_t> pal4 = {0x000000, 0xFF0000, 0xFFFFFF};
    TBitmap b;
    auto four = Bmp(3, 2, 4, pal4, {0x12, 0x00, 0, 0, 0x21, 0x10, 0, 0});
    b.LoadFromMemory(four.data(), four.size());
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.PixelFormat(), pf4bit);
    EXPECT_EQ(b.Pixel(0, 0), clWhite); // top row = last in the file
    EXPECT_EQ(b.Pixel(1, 0), clRed);
    EXPECT_EQ(b.Pixel(2, 0), clRed);
    EXPECT_EQ(b.Pixel(0, 1), clRed);
    EXPECT_EQ(b.Pixel(1, 1), clWhite);
    EXPECT_EQ(b.Pixel(2, 1), clBlack);

    // One bit, black and white palette: a monochrome bitmap.
    auto one = Bmp(9, 1, 1, {0x000000, 0xFFFFFF}, {0xA0, 0x80, 0, 0});
    b.LoadFromMemory(one.data(), one.size());
    EXPECT_TRUE(b.Monochrome());
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    EXPECT_EQ(b.Pixel(1, 0), clBlack);
    EXPECT_EQ(b.Pixel(8, 0), clWhite);

    // 32 bits with bit fields, top-down (negative height).
    auto bf = Bmp(1, -2, 32, {}, {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0x00}, 3,
                  {0x00FF0000, 0x0000FF00, 0x000000FF});
    b.LoadFromMemory(bf.data(), bf.size());
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(0, 1), clBlue);

    // 16 bits, 5-5-5: pure green.
    auto sixteen = Bmp(1, 1, 16, {}, {0xE0, 0x03, 0, 0});
    b.LoadFromMemory(sixteen.data(), sixteen.size());
    EXPECT_EQ(b.Pixel(0, 0), clLime);
}

TEST(Bitmap, RejectsDamagedFiles) {
    std::vector<std::uint32_t> pal = {0, 0xFFFFFF};
    std::vector<std::vector<Byte>> bad = {
        {},
        {'B', 'M', 0, 0},
        Bmp(4, 4, 8, pal, {1, 2, 3, 4}),          // rows missing
        Bmp(1, 1, 8, pal, {7, 0, 0, 0}),          // colour index past the palette
        Bmp(1, 1, 8, pal, {0, 0, 0, 0}, 1),       // run-length compressed
        Bmp(1, 1, 12, {}, {0, 0, 0, 0}),          // no such depth
        Bmp(0x7FFFFFFF, 1, 24, {}, {0, 0, 0, 0}), // absurd width
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        TBitmap b(2, 2);
        EXPECT_THROW(b.LoadFromMemory(bad[i].data(), bad[i].size()), EInvalidGraphic) << i;
        EXPECT_EQ(b.Width(), 2) << i; // unchanged
    }
    TBitmap b;
    EXPECT_THROW(b.LoadFromFile("/nonexistent/x.bmp"), EInOutError);
}

TEST(Bitmap, SavesAndReadsBackThroughAFile) {
    TBitmap b(5, 3);
    b.Fill(clBtnFace);
    b.SetPixel(4, 0, clRed);
    b.SetPixel(0, 2, clNavy);
    char name[] = "/tmp/qzbmpXXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    b.SaveToFile(name);
    TBitmap c;
    c.LoadFromFile(name);
    std::remove(name);
    ASSERT_EQ(c.Width(), 5);
    ASSERT_EQ(c.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(c.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(c.PixelFormat(), pf24bit);
}

TEST(Bitmap, ResizingKeepsTheTopLeftAndReportsChanges) {
    TBitmap b(2, 2);
    b.Fill(clRed);
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.SetSize(3, 1);
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(2, 0), clWhite);
    EXPECT_EQ(b.Pixel(0, 1), -1);
    EXPECT_EQ(changes, 1);
    b.Canvas().Brush().SetColor(clBlue);
    b.Canvas().FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(changes, 2);

    TBitmap copy = b;
    EXPECT_EQ(copy.Pixel(0, 0), clBlue);
    copy.SetPixel(0, 0, clRed);
    EXPECT_EQ(b.Pixel(0, 0), clBlue); // the copy has its own pixels
}

TEST(Bitmap, MonochromeAndMaskReduceToBlackAndWhite) {
    TBitmap b(3, 1);
    b.SetPixel(0, 0, clWhite);
    b.SetPixel(1, 0, clOlive);
    b.SetPixel(2, 0, clRed);
    TBitmap mask = b;
    mask.Mask(clOlive);
    EXPECT_EQ(mask.Pixel(0, 0), clBlack);
    EXPECT_EQ(mask.Pixel(1, 0), clWhite);
    EXPECT_EQ(mask.Pixel(2, 0), clBlack);

    b.SetMonochrome(true);
    EXPECT_EQ(b.PixelFormat(), pf1bit);
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    EXPECT_EQ(b.Pixel(1, 0), clBlack);
    b.Canvas().Brush().SetColor(clYellow);
    b.Canvas().FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(b.Pixel(0, 0), clBlack); // drawing on a monochrome bitmap stays black and white
}

} // namespace
