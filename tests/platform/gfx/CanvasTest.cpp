#include "platform/core/CodePages.h"
#include "platform/gfx/PixelCanvas.h"
#include "platform/gfx/RecordingCanvas.h"
#include "platform/gfx/TextEngine.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

// ---- recording canvas and text layout (fixed rule: 7 px per byte and 13 px lines at height -13)

class RecordingCanvasTest : public ::testing::Test {
protected:
    void SetUp() override { canvas.Font().SetHeight(-13); }
    TRecordingCanvas canvas;
};

TEST_F(RecordingCanvasTest, RecordsCallsWithTheToolsInForce) {
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(Rect(0, 0, 97, 17));
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(clGrayText);
    canvas.TextOut(20, 2, "abc");
    canvas.MoveTo(0, 16);
    canvas.LineTo(96, 16);
    TBitmap glyph(19, 14);
    canvas.BrushCopy(Bounds(0, 1, 19, 14), glyph, Rect(0, 0, 19, 14), clOlive);

    EXPECT_EQ(canvas.Descriptions(),
              (std::vector<AnsiString>{"FillRect(0,0,97,17)", "TextOut(20,2,'abc')", "MoveTo(0,16)",
                                       "LineTo(96,16)", "BrushCopy(0,1,19,15,0,0,19,14,$8080)"}));
    EXPECT_EQ(canvas.Calls[0].BrushColor, clBtnFace);
    EXPECT_EQ(canvas.Calls[0].BrushStyle, bsSolid);
    EXPECT_EQ(canvas.Calls[1].BrushStyle, bsClear);
    EXPECT_EQ(canvas.Calls[1].FontColor, clGrayText);
    EXPECT_EQ(canvas.Calls[3].Points, (std::vector<TPoint>{{0, 16}, {96, 16}}));
    EXPECT_EQ(canvas.Calls[4].Bitmap, &glyph);
    EXPECT_EQ(canvas.PenPos(), Point(96, 16));
}

TEST_F(RecordingCanvasTest, MeasuresByTheFixedRuleWhateverEngineIsInstalled) {
    struct WideEngine : TTextEngine {
        TSize Extent(const TFont&, const AnsiString& t) override { return {100 * int(t.size()), 50}; }
        void Draw(TBitmap&, int, int, const TFont&, const AnsiString&, const TRect&, int) override {}
    } wide;
    TTextEngine* previous = SetTextEngine(&wide);
    EXPECT_EQ(canvas.TextExtent("ab"), (TSize{14, 13}));
    EXPECT_EQ(canvas.TextHeight(""), 13);
    EXPECT_EQ(MeasureText(canvas.Font(), "ab"), (TSize{200, 50}));
    SetTextEngine(previous);
    canvas.TextOut(5, 5, "abcd");
    EXPECT_EQ(canvas.PenPos(), Point(5 + 28, 5));
}

TEST_F(RecordingCanvasTest, DrawTextRecordsTheCallAndCalcRectOnlyMeasures) {
    TRect r = Rect(0, 0, 100, 20);
    EXPECT_EQ(canvas.DrawText("abc", r, DT_SINGLELINE | DT_VCENTER | DT_CENTER), 13);
    ASSERT_EQ(canvas.Calls.size(), 1u);
    EXPECT_EQ(canvas.Calls[0].Describe(), "DrawText('abc',0,0,100,20,$25)");

    TRect calc = Rect(10, 10, 11, 11);
    EXPECT_EQ(canvas.DrawText("ab\r\ncdef", calc, DT_CALCRECT), 26);
    EXPECT_EQ(calc, Rect(10, 10, 10 + 28, 10 + 26));
    EXPECT_EQ(canvas.Calls.size(), 1u);
}

struct LayoutCase {
    const char* name;
    AnsiString text;
    TRect rect;
    unsigned flags;
    std::vector<AnsiString> lines;
    std::vector<TPoint> positions;
    int underline; // of the first line
};

TEST_F(RecordingCanvasTest, LaysOutTextByTheFlags) {
    const AnsiString zhong = "\xD6\xD0", wen = "\xCE\xC4"; // two GB characters, 14 px each
    const std::vector<LayoutCase> cases = {
        {"left top", "abc", Rect(0, 0, 100, 30), DT_LEFT, {"abc"}, {{0, 0}}, -1},
        {"centred",
         "abcd",
         Rect(0, 0, 100, 33),
         DT_SINGLELINE | DT_CENTER | DT_VCENTER,
         {"abcd"},
         {{36, 10}},
         -1},
        {"right bottom",
         "ab",
         Rect(0, 0, 50, 30),
         DT_SINGLELINE | DT_RIGHT | DT_BOTTOM,
         {"ab"},
         {{36, 17}},
         -1},
        {"vcenter needs single line", "ab", Rect(0, 0, 50, 30), DT_VCENTER, {"ab"}, {{0, 0}}, -1},
        {"line breaks",
         "ab\ncd\r\n\re",
         Rect(0, 0, 50, 30),
         0,
         {"ab", "cd", "", "e"},
         {{0, 0}, {0, 13}, {0, 26}, {0, 39}},
         -1},
        {"single line keeps breaks", "a\nb", Rect(0, 0, 50, 30), DT_SINGLELINE, {"a\nb"}, {{0, 0}}, -1},
        {"word break", "aa bb cc", Rect(0, 0, 40, 60), DT_WORDBREAK, {"aa bb", "cc"}, {{0, 0}, {0, 13}}, -1},
        {"long word stays whole",
         "abcdefgh ij",
         Rect(0, 0, 30, 60),
         DT_WORDBREAK,
         {"abcdefgh", "ij"},
         {{0, 0}, {0, 13}},
         -1},
        {"breaks between double-byte characters",
         zhong + wen + zhong,
         Rect(0, 0, 30, 60),
         DT_WORDBREAK,
         {zhong + wen, zhong},
         {{0, 0}, {0, 13}},
         -1},
        {"centred wrapped lines",
         "aa bbbb",
         Rect(0, 0, 40, 60),
         DT_WORDBREAK | DT_CENTER,
         {"aa", "bbbb"},
         {{13, 0}, {6, 13}},
         -1},
        {"accelerator", "&Save && go", Rect(0, 0, 200, 20), DT_SINGLELINE, {"Save & go"}, {{0, 0}}, 0},
        {"no prefix", "&Save", Rect(0, 0, 200, 20), DT_SINGLELINE | DT_NOPREFIX, {"&Save"}, {{0, 0}}, -1},
        {"end ellipsis",
         "abcdefghij",
         Rect(0, 0, 50, 20),
         DT_SINGLELINE | DT_END_ELLIPSIS,
         {"abcd..."},
         {{0, 0}},
         -1},
        {"ellipsis keeps double-byte characters whole",
         "a" + zhong + wen,
         Rect(0, 0, 34, 20),
         DT_SINGLELINE | DT_END_ELLIPSIS,
         {"a..."},
         {{0, 0}},
         -1},
        {"empty", "", Rect(0, 0, 50, 20), 0, {}, {}, -1},
    };
    SetSystemCodePage(936);
    canvas.Font().SetCharset(GB2312_CHARSET);
    for (const LayoutCase& c : cases) {
        TTextBlock layout = canvas.LayoutText(c.text, c.rect, c.flags);
        std::vector<AnsiString> lines;
        std::vector<TPoint> positions;
        for (const TTextLine& l : layout.Lines) {
            lines.push_back(l.Text);
            positions.push_back({l.X, l.Y});
        }
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(positions, c.positions) << c.name;
        if (!layout.Lines.empty()) {
            EXPECT_EQ(layout.Lines[0].Underline, c.underline) << c.name;
        }
        EXPECT_EQ(layout.Height, 13 * static_cast<int>(c.lines.size())) << c.name;
    }
    SetSystemCodePage(0);
}

// ---- pixel canvas

class PixelCanvasTest : public ::testing::Test {
protected:
    PixelCanvasTest() : bmp(12, 10), canvas(bmp.Canvas()) { bmp.Fill(clWhite); }
    // The picture as rows of characters: '.' white, '#' black, 'r' red, 'b' blue, '?' other.
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int y = 0; y < bmp.Height(); ++y) {
            std::string row;
            for (int x = 0; x < bmp.Width(); ++x) {
                TColor c = bmp.Pixel(x, y);
                row += c == clWhite ? '.' : c == clBlack ? '#' : c == clRed ? 'r' : c == clBlue ? 'b' : '?';
            }
            rows.push_back(row);
        }
        return rows;
    }
    int Count(TColor color) const {
        int n = 0;
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x) n += bmp.Pixel(x, y) == color;
        return n;
    }
    TBitmap bmp;
    TCanvas& canvas;
};

TEST_F(PixelCanvasTest, FillsAndFramesExcludeRightAndBottomEdges) {
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(Rect(1, 1, 4, 3));
    canvas.Brush().SetColor(clBlue);
    canvas.FrameRect(Rect(6, 1, 10, 5));
    canvas.Brush().SetStyle(bsClear);
    canvas.FillRect(Rect(0, 6, 12, 10)); // a clear brush fills nothing
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "............",
                          ".rrr..bbbb..",
                          ".rrr..b..b..",
                          "......b..b..",
                          "......bbbb..",
                          "............",
                          "............",
                          "............",
                          "............",
                          "............",
                      }));
}

TEST_F(PixelCanvasTest, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    canvas.Pen().SetColor(clBlack);
    canvas.Brush().SetColor(clRed);
    canvas.Rectangle(0, 0, 5, 4);
    canvas.Pen().SetStyle(psClear);
    canvas.Brush().SetColor(clBlue);
    canvas.Rectangle(6, 0, 10, 4); // without pen: one pixel less on the right and bottom
    canvas.Pen().SetStyle(psSolid);
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(0, 5, 4, 9);
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "#####.bbb...",
                          "#rrr#.bbb...",
                          "#rrr#.bbb...",
                          "#####.......",
                          "............",
                          "####........",
                          "#..#........",
                          "#..#........",
                          "####........",
                          "............",
                      }));
}

TEST_F(PixelCanvasTest, LinesLeaveOutTheirEndPointAndMoveThePen) {
    canvas.MoveTo(0, 0);
    canvas.LineTo(4, 0);
    canvas.LineTo(4, 3);
    EXPECT_EQ(canvas.PenPos(), Point(4, 3));
    canvas.Polyline({{6, 0}, {9, 3}});
    EXPECT_EQ(Rows()[0], "#####.#.....");
    EXPECT_EQ(Rows()[1], "....#..#....");
    EXPECT_EQ(Rows()[2], "....#...#...");
    EXPECT_EQ(Rows()[3], "............");
}

TEST_F(PixelCanvasTest, OriginAndClipRectangleShiftAndLimitDrawing) {
    canvas.SetOrigin({2, 1});
    canvas.SetClipRect(Rect(0, 0, 3, 2));
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(Rect(-5, -5, 50, 50));
    EXPECT_EQ(Count(clRed), 6);
    EXPECT_EQ(bmp.Pixel(2, 1), clRed);
    EXPECT_EQ(bmp.Pixel(4, 2), clRed);
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 3, 2));
    EXPECT_EQ(canvas.Pixel(0, 0), clRed);
    EXPECT_EQ(canvas.Pixel(5, 5), -1);
    canvas.ResetClip();
    canvas.SetOrigin({0, 0});
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 12, 10));
}

TEST_F(PixelCanvasTest, FocusRectangleAndXorPenUndoThemselves) {
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(Rect(0, 0, 12, 10));
    canvas.DrawFocusRect(Rect(1, 1, 8, 6));
    EXPECT_GT(Count(RGB(0, 255, 255)), 0); // inverted red
    canvas.DrawFocusRect(Rect(1, 1, 8, 6));
    EXPECT_EQ(Count(clRed), 120);

    canvas.Pen().SetMode(pmXor);
    canvas.Pen().SetColor(clWhite);
    canvas.MoveTo(0, 5);
    canvas.LineTo(12, 5);
    EXPECT_EQ(bmp.Pixel(3, 5), RGB(0, 255, 255));
    canvas.MoveTo(0, 5);
    canvas.LineTo(12, 5);
    EXPECT_EQ(Count(clRed), 120);
}

TEST_F(PixelCanvasTest, EllipseAndPolygonStayInsideTheirBounds) {
    canvas.Pen().SetColor(clBlack);
    canvas.Brush().SetColor(clRed);
    canvas.Ellipse(0, 0, 9, 7);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            if (x >= 9 || y >= 7) {
                EXPECT_EQ(bmp.Pixel(x, y), clWhite) << x << "," << y;
            }
    EXPECT_EQ(bmp.Pixel(4, 3), clRed);   // centre
    EXPECT_EQ(bmp.Pixel(0, 0), clWhite); // corner outside the curve
    EXPECT_EQ(bmp.Pixel(0, 3), clBlack); // outline at the left

    bmp.Fill(clWhite);
    canvas.Pen().SetStyle(psClear);
    canvas.Polygon({{0, 0}, {8, 0}, {0, 8}});
    EXPECT_EQ(bmp.Pixel(1, 1), clRed);
    EXPECT_EQ(bmp.Pixel(6, 6), clWhite);
}

// ---- bitmap copies

TBitmap Picture(const std::vector<std::string>& rows) {
    TBitmap b(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            char c = rows[y][x];
            b.SetPixel(x, y,
                       c == '#'   ? clBlack
                       : c == 'r' ? clRed
                       : c == 'b' ? clBlue
                       : c == 'g' ? clOlive
                                  : clWhite);
        }
    return b;
}

TEST_F(PixelCanvasTest, TransparentColourIsLeftOutOrReplacedByTheBrush) {
    TBitmap glyph = Picture({"g#g", "#r#"});
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(Rect(0, 0, 12, 10));

    glyph.SetTransparent(true); // automatic colour: the bottom-left pixel (black)
    EXPECT_EQ(glyph.TransparentColor(), clBlack);
    glyph.SetTransparentColor(clOlive);
    canvas.Draw(0, 0, glyph);
    canvas.Brush().SetColor(clRed);
    canvas.BrushCopy(Bounds(4, 0, 3, 2), glyph, Rect(0, 0, 3, 2), clOlive);
    canvas.Brush().SetStyle(bsClear);
    canvas.BrushCopy(Bounds(8, 0, 3, 2), glyph, Rect(0, 0, 3, 2), clOlive);
    EXPECT_EQ(Rows()[0], "b#bbr#rbb#bb");
    EXPECT_EQ(Rows()[1], "#r#b#r#b#r#b");
}

TEST_F(PixelCanvasTest, StretchDrawScalesByNearestPixel) {
    TBitmap two = Picture({"#r", "b."});
    canvas.StretchDraw(Rect(0, 0, 4, 4), two);
    EXPECT_EQ(Rows()[0].substr(0, 4), "##rr");
    EXPECT_EQ(Rows()[3].substr(0, 4), "bb..");
}

TEST_F(PixelCanvasTest, RasterOperationsCombineSourceBrushAndDestination) {
    struct Case {
        const char* name;
        TCopyMode rop;
        TColor source, dest, brush, expected;
    };
    const std::vector<Case> cases = {
        {"copy", SRCCOPY, 0x123456, 0xABCDEF, clBlack, 0x123456},
        {"and", SRCAND, 0x0F0F0F, 0x3C3C3C, clBlack, 0x0C0C0C},
        {"paint (or)", SRCPAINT, 0x0F0000, 0x00F000, clBlack, 0x0FF000},
        {"invert (xor)", SRCINVERT, 0xFFFFFF, 0x123456, clBlack, 0xEDCBA9},
        {"not source", NOTSRCCOPY, 0x000000, 0x123456, clBlack, 0xFFFFFF},
        {"pattern", PATCOPY, 0x000000, 0x123456, clRed, clRed},
        {"mask: black source takes the brush", ROP_DSPDxax, clBlack, clWhite, 0x808080, 0x808080},
        {"mask: white source keeps the destination", ROP_DSPDxax, clWhite, 0x123456, 0x808080, 0x123456},
        {"blackness", BLACKNESS, 0x123456, 0x123456, clWhite, clBlack},
    };
    for (const Case& c : cases) {
        TBitmap src(1, 1);
        src.SetPixel(0, 0, c.source);
        bmp.SetPixel(0, 0, c.dest);
        canvas.Brush().SetColor(c.brush);
        canvas.CopyBitmap(Rect(0, 0, 1, 1), src, Rect(0, 0, 1, 1), c.rop);
        EXPECT_EQ(bmp.Pixel(0, 0), c.expected) << c.name;
    }
}

TEST_F(PixelCanvasTest, CopyRectReadsAnotherCanvasWithTheCopyMode) {
    TBitmap other = Picture({"#r", "b#"});
    other.Canvas().SetOrigin({-1, 0}); // logical (1, 0) is pixel (0, 0)
    canvas.SetCopyMode(cmNotSrcCopy);
    canvas.CopyRect(Rect(0, 0, 2, 2), other.Canvas(), Rect(1, 0, 3, 2));
    EXPECT_EQ(bmp.Pixel(0, 0), clWhite);
    EXPECT_EQ(bmp.Pixel(1, 0), RGB(0, 255, 255));
    // Copying a canvas onto itself reads the pixels as they were.
    bmp.Fill(clWhite);
    bmp.SetPixel(0, 0, clRed);
    canvas.SetCopyMode(cmSrcCopy);
    canvas.CopyRect(Rect(1, 0, 4, 1), canvas, Rect(0, 0, 3, 1));
    EXPECT_EQ(Rows()[0].substr(0, 4), "rr..");
}

TEST_F(PixelCanvasTest, DisabledGlyphThroughAMonochromeMask) {
    // The two-pass mask copy of disabled pictures: highlight offset by one, then shadow in place.
    TBitmap mask = Picture({"#.", ".."});
    mask.SetMonochrome(true);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(Rect(0, 0, 12, 10));
    canvas.Brush().SetColor(clBtnHighlight);
    canvas.CopyBitmap(Bounds(1, 1, 2, 2), mask, Rect(0, 0, 2, 2), ROP_DSPDxax);
    canvas.Brush().SetColor(clBtnShadow);
    canvas.CopyBitmap(Bounds(0, 0, 2, 2), mask, Rect(0, 0, 2, 2), ROP_DSPDxax);
    EXPECT_EQ(bmp.Pixel(0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(bmp.Pixel(1, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(bmp.Pixel(1, 0), ColorToRGB(clBtnFace));
}

TEST_F(PixelCanvasTest, TextBackgroundFollowsTheBrush) {
    canvas.Font().SetHeight(-4); // fixed rule: 2 px per byte, 4 px high
    canvas.Brush().SetColor(clRed);
    canvas.TextOut(1, 1, "ab");
    EXPECT_EQ(Count(clRed), 16);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(6, 1, "ab");
    EXPECT_EQ(Count(clRed), 16);
    canvas.Brush().SetColor(clBlue); // a colour makes the brush solid again
    canvas.TextRect(Rect(6, 6, 8, 8), 6, 6, "abcdef");
    EXPECT_EQ(Count(clBlue), 4);
}

} // namespace
