#include "platform/display/Paint.h"
#include "platform/core/CodePages.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/CairoText.h"
#include "platform/gfx/Canvas.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Spin.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/StdCtrlsEx.h"
#include <gtest/gtest.h>

// Font, X and GL libraries keep allocations for the life of the process (leak checks of the
// sanitized build).
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libX11\nleak:libxcb\nleak:libSDL2\nleak:libGLX\nleak:libGL\nleak:libEGL\nleak:libgallium\n"
           "leak:libLLVM\nleak:swrast\nleak:libdbus\nleak:libfontconfig\nleak:libpango\nleak:libcairo\n"
           "leak:libglib\nleak:libgobject\nleak:libharfbuzz\n";
}

namespace qz {
namespace {

int Luma(TColor c) {
    return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
}

// Pixels of the rectangle for which the predicate holds.
template <class Pred> int CountPixels(const TBitmap& b, const TRect& r, Pred pred) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (pred(b.Pixel(x, y))) ++n;
    return n;
}

class PaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSystemCodePage(936);
        previous = UseCairoText();
        form = CreateForm<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        form->Font()->SetName(GB("宋体"));
        form->Font()->SetHeight(-12);
        form->Font()->SetCharset(GB2312_CHARSET);
    }
    void TearDown() override {
        form->Free();
        SetTextEngine(previous);
        SetSystemCodePage(0);
    }
    // The client area of the form as painted.
    TBitmap Paint() {
        TBitmap b;
        PaintFormClient(*form, b);
        return b;
    }
    template <class T> T* Add(int left, int top, int width, int height) {
        auto* c = new T(form);
        c->SetParent(form);
        c->SetBounds(left, top, width, height);
        return c;
    }

    TTextEngine* previous = nullptr;
    TForm* form = nullptr;
};

TEST_F(PaintTest, WindowFamiliesMapToTheInstalledFonts) {
    struct Case {
        const char* name;
        const char* family;
    } cases[] = {
        {"宋体", "WenQuanYi Zen Hei Mono"},
        {"SimSun", "WenQuanYi Zen Hei Mono"},
        {"MingLiU", "WenQuanYi Zen Hei Mono"},
        {"細明體", "WenQuanYi Zen Hei Mono"},
        {"Tahoma", "DejaVu Sans"},
        {"MS Sans Serif", "DejaVu Sans"},
    };
    for (const Case& c : cases) EXPECT_EQ(CairoTextEngine().ResolvedFamily(GB(c.name)), c.family) << c.name;
}

TEST_F(PaintTest, ChineseCharactersAreFullWidthAndLatinHalfWidth) {
    TFont font;
    font.SetName(GB("宋体"));
    font.SetHeight(-13);
    TSize chinese = MeasureText(font, GB("基本选项"));
    TSize latin = MeasureText(font, "ABCDEFGH");
    EXPECT_EQ(chinese.cx, 4 * 13);
    EXPECT_NEAR(latin.cx, chinese.cx, 8); // half-width, hinted to whole pixels
    EXPECT_GE(chinese.cy, 13);
    EXPECT_EQ(MeasureText(font, "").cy, chinese.cy);
}

TEST_F(PaintTest, ChineseTextIsDrawnAndBig5DecodesLikeGb) {
    // The same words as GB bytes in a GB2312 font and as BIG5 bytes in a BIG5 font.
    AnsiString gb = GB("系統選項");
    AnsiString big5 = ConvertCodePage(gb, CP_GB, CP_BIG5);
    ASSERT_NE(gb, big5);
    auto draw = [](const AnsiString& text, TFontCharset charset) {
        TBitmap b(120, 30);
        b.Fill(clWhite);
        TCanvas& c = b.Canvas();
        c.Font().SetName(GB("宋体"));
        c.Font().SetHeight(-13);
        c.Font().SetCharset(charset);
        c.TextOut(4, 4, text);
        return b;
    };
    TBitmap a = draw(gb, GB2312_CHARSET), b = draw(big5, CHINESEBIG5_CHARSET);
    auto dark = [](TColor c) { return Luma(c) < 128; };
    int inBox = CountPixels(a, Bounds(4, 4, 52, 20), dark);
    EXPECT_GT(inBox, 60);
    EXPECT_EQ(CountPixels(a, Rect(0, 0, 120, 30), dark), inBox); // nothing outside its box
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
}

TEST_F(PaintTest, CheckBoxShowsItsMarkByState) {
    auto* box = Add<TCheckBox>(10, 10, 120, 17);
    box->SetCaption("Option");
    TRect square = Bounds(10, 12, 13, 13);
    struct Case {
        TCheckBoxState state;
        TColor mark, background;
    } cases[] = {{cbUnchecked, clNone, clWindow},
                 {cbChecked, clWindowText, clWindow},
                 {cbGrayed, clBtnShadow, clBtnFace}};
    box->SetAllowGrayed(true);
    for (const Case& c : cases) {
        box->SetState(c.state);
        TBitmap b = Paint();
        TRect inside = InflateRect(square, -2, -2);
        int marks = c.mark == clNone ? 0 : 21;
        EXPECT_EQ(
            CountPixels(b, inside, [&](TColor p) { return c.mark != clNone && p == ColorToRGB(c.mark); }),
            marks)
            << c.state;
        EXPECT_EQ(CountPixels(b, inside, [&](TColor p) { return p == ColorToRGB(c.background); }), 81 - marks)
            << c.state;
        // The sunken border: shadow on the top edge, highlight on the bottom edge.
        EXPECT_EQ(b.Pixel(square.Left + 5, square.Top), ColorToRGB(clBtnShadow));
        EXPECT_EQ(b.Pixel(square.Left + 5, square.Bottom - 1), ColorToRGB(clBtnHighlight));
    }
}

TEST_F(PaintTest, DisabledCaptionIsGrayAndEmbossed) {
    auto* on = Add<TLabel>(10, 10, 100, 20);
    on->SetCaption(GB("名称 Name"));
    auto* off = Add<TLabel>(10, 40, 100, 20);
    off->SetCaption(GB("名称 Name"));
    off->SetEnabled(false);
    TBitmap b = Paint();
    auto darkest = [&](const TRect& r) {
        int d = 255;
        CountPixels(b, r, [&](TColor p) { return d = std::min(d, Luma(p)), false; });
        return d;
    };
    EXPECT_LT(darkest(Bounds(10, 10, 100, 20)), 40);
    int gray = darkest(Bounds(10, 40, 100, 20));
    EXPECT_GE(gray, 120);
    EXPECT_LE(gray, 135);
    int face = Luma(ColorToRGB(clBtnFace));
    EXPECT_GT(CountPixels(b, Bounds(10, 40, 100, 20), [&](TColor p) { return Luma(p) > face + 15; }), 10);
}

// Tabs drawn by their control: the active one bold in the active-caption colours.
class DrawnTabs : public TPageControl {
public:
    using TPageControl::TPageControl;

protected:
    void DrawTab(int tabIndex, const TRect& rect, bool active) override {
        TCanvas* c = Canvas();
        TRect r = active ? InflateRect(rect, -2, -2) : rect;
        c->Font().SetColor(active ? clCaptionText : clInactiveCaptionText);
        c->Font().SetStyle(active ? TFontStyles{fsBold} : TFontStyles{});
        c->Brush().SetColor(active ? clActiveCaption : clInactiveCaption);
        c->FillRect(r);
        if (!active) r.Top += 2;
        c->DrawText(PageOfTab(tabIndex)->Caption(), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
};

TEST_F(PaintTest, DrawnActiveTabIsBoldAndStandsAboveTheOthers) {
    auto* pages = Add<DrawnTabs>(0, 0, 280, 150);
    for (int i = 0; i < 2; ++i) {
        auto* sheet = new TTabSheet(form);
        sheet->SetPageControl(pages);
        sheet->SetCaption(GB("选项"));
    }
    pages->SetActivePageIndex(0);
    TBitmap b = Paint();
    TRect active = pages->TabRect(0), inactive = pages->TabRect(1);
    // Pixels nearer the text colour than the tab's own colour.
    auto textPixels = [&](const TRect& r, TColor fg, TColor bg) {
        int f = Luma(ColorToRGB(fg)), g = Luma(ColorToRGB(bg));
        return CountPixels(b, r, [&](TColor p) { return std::abs(Luma(p) - f) < std::abs(Luma(p) - g); });
    };
    EXPECT_GT(CountPixels(b, active, [](TColor p) { return p == ColorToRGB(clActiveCaption); }), 100);
    int bold = textPixels(InflateRect(active, -2, -2), clCaptionText, clActiveCaption);
    int plain = textPixels(InflateRect(inactive, -2, -2), clInactiveCaptionText, clInactiveCaption);
    EXPECT_GT(plain, 20);
    EXPECT_GT(bold, plain * 5 / 4);
    // The active tab's frame rises two pixels above the row of tabs.
    EXPECT_EQ(b.Pixel(active.Left + 4, active.Top - 2), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(b.Pixel(inactive.Left + 4, inactive.Top - 2), ColorToRGB(clBtnFace));
}

TEST_F(PaintTest, DefaultButtonHasADarkFrameAndPressedButtonsSink) {
    auto* ok = Add<TButton>(10, 10, 75, 25);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    auto* cancel = Add<TButton>(100, 10, 75, 25);
    cancel->SetCaption("Cancel");
    TBitmap b = Paint();
    EXPECT_EQ(b.Pixel(10, 20), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(b.Pixel(100, 20), ColorToRGB(clBtnHighlight));
    PaintState().Pressed = cancel;
    PaintState().PressedInside = true;
    b = Paint();
    PaintState() = {};
    EXPECT_EQ(b.Pixel(100, 20), ColorToRGB(cl3DDkShadow));
}

TEST_F(PaintTest, ComboAndSpinButtonsAreRaisedWithArrows) {
    form->SetBounds(0, 0, 420, 330);
    auto* combo = Add<TComboBox>(10, 10, 150, 21);
    combo->Items()->Add(GB("日报"));
    combo->SetItemIndex(0);
    auto* spin = Add<TSpinEdit>(180, 10, 80, 21);
    spin->SetValue(12);
    auto* memo = Add<TMemo>(280, 10, 120, 60);
    memo->SetText(GB("第一行\r\n第二行"));
    auto* list = Add<TListView>(10, 80, 250, 100);
    list->SetViewStyle(vsReport);
    list->SetGridLines(true);
    const char* columns[] = {"名称", "数量"};
    for (const char* caption : columns) {
        TListColumn* col = list->Columns()->Add();
        col->SetCaption(GB(caption));
        col->SetWidth(100);
    }
    TListItem* item = list->Items()->Add();
    item->SetCaption(GB("方案一"));
    item->SubItems()->Add("3");
    auto* grid = Add<TStringGrid>(10, 190, 250, 100);
    grid->SetCells(1, 0, GB("日期"));
    grid->SetCells(1, 1, "2024-01-31");
    TBitmap b = Paint();
    for (const TControl* c : std::vector<const TControl*>{combo, spin}) {
        TRect button = c == combo ? ComboButtonRect(*combo) : SpinButtonRect(*spin, true);
        TRect r = OffsetRect(button, c->Left(), c->Top());
        EXPECT_EQ(b.Pixel(r.Left, r.Top + 1), ColorToRGB(clBtnHighlight));
        EXPECT_EQ(b.Pixel(r.Right - 1, r.Top + 1), ColorToRGB(cl3DDkShadow));
        EXPECT_GT(CountPixels(b, InflateRect(r, -2, -2), [](TColor p) { return p == ColorToRGB(clBtnText); }),
                  3);
    }
    // The memo shows both lines; the list view's header is a raised face.
    auto dark = [](TColor p) { return Luma(p) < 100; };
    int lineH = MeasureText(*memo->Font(), "Wg").cy;
    EXPECT_GT(CountPixels(b, Bounds(282, 12, 100, lineH), dark), 20);
    EXPECT_GT(CountPixels(b, Bounds(282, 12 + lineH, 100, lineH), dark), 20);
    EXPECT_EQ(b.Pixel(10 + 2 + 50, 80 + 2), ColorToRGB(clBtnHighlight));
}

TEST_F(PaintTest, MenuLayoutSkipsHiddenItemsAndSeparatorsTakeNoClicks) {
    TPopupMenu menu(nullptr);
    const char* captions[] = {"&Open", "-", "Hidden", "Save"};
    for (const char* caption : captions) {
        auto* item = new TMenuItem(&menu);
        item->SetCaption(caption);
        menu.Items()->Add(item);
    }
    menu.Items()->Items(2)->SetVisible(false);
    menu.Items()->Items(3)->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
    TBitmap b(1, 1);
    TMenuLayout layout = LayoutMenu(*menu.Items(), b.Canvas());
    ASSERT_EQ(layout.Items, (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(layout.ItemAt({10, layout.Rects[0].Top + 2}, *menu.Items()), 0);
    EXPECT_EQ(layout.ItemAt({10, layout.Rects[1].Top + 2}, *menu.Items()), -1);
    EXPECT_EQ(layout.ItemAt({10, layout.Rects[2].Top + 2}, *menu.Items()), 2);
    EXPECT_GT(layout.Size.cx, b.Canvas().TextWidth("Save") + b.Canvas().TextWidth("Ctrl+S"));
    b.SetSize(layout.Size.cx, layout.Size.cy);
    PaintMenu(*menu.Items(), layout, b.Canvas(), 2);
    EXPECT_EQ(b.Pixel(layout.Rects[2].Left + 2, layout.Rects[2].Top + 1), ColorToRGB(clHighlight));
}

TEST(ShortCutText, NamesModifiersAndKeys) {
    struct Case {
        Word key;
        TShiftState shift;
        const char* text;
    } cases[] = {{'S', {ssCtrl}, "Ctrl+S"},
                 {VK_F2, {}, "F2"},
                 {VK_DELETE, {ssShift}, "Shift+Del"},
                 {'1', {ssCtrl, ssAlt}, "Ctrl+Alt+1"},
                 {0x5D, {}, ""}};
    for (const Case& c : cases) EXPECT_EQ(ShortCutToText(ShortCut(c.key, c.shift)), c.text);
}

} // namespace
} // namespace qz
