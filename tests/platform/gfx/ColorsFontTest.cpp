#include "platform/core/CodePages.h"
#include "platform/core/Exceptions.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Font.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

TEST(Colors, SystemColoursResolveThroughTheScheme) {
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clNone), clWhite);
    EXPECT_EQ(ColorToRGB(clDefault), clWhite);
    SetSystemColor(COLOR_BTNFACE, clSilver);
    EXPECT_EQ(ColorToRGB(clBtnFace), clSilver);
    ResetSystemColors();
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
}

TEST(Colors, TextsOfColours) {
    struct Case {
        TColor color;
        const char* text;
    };
    for (Case c : {Case{clBtnFace, "clBtnFace"}, Case{clRed, "clRed"}, Case{clNone, "clNone"},
                   Case{0x00AFFFFF, "$00AFFFFF"}, Case{cl3DDkShadow, "cl3DDkShadow"}}) {
        EXPECT_EQ(ColorToString(c.color), c.text);
        EXPECT_EQ(StringToColor(c.text), c.color) << c.text;
    }
    EXPECT_EQ(StringToColor(" clbtnface "), clBtnFace);
    EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
}

TEST(Font, SizeAndHeightConvertAtNinetySixDotsPerInch) {
    struct Case {
        int size, height;
    };
    for (Case c : {Case{8, -11}, Case{9, -12}, Case{10, -13}, Case{12, -16}, Case{11, -15}}) {
        TFont f;
        f.SetSize(c.size);
        EXPECT_EQ(f.Height(), c.height) << c.size;
        EXPECT_EQ(f.Size(), c.size) << c.size;
    }
    TFont f;
    f.SetHeight(-13);
    EXPECT_EQ(f.Size(), 10);
    EXPECT_EQ(f.PixelHeight(), 13);
}

TEST(Font, ChangesAreReportedOnceAndOnlyForNewValues) {
    TFont f;
    int changes = 0;
    f.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &f);
        ++changes;
    };
    f.SetName("MS Sans Serif"); // the current name
    f.SetColor(f.Color());
    EXPECT_EQ(changes, 0);
    f.SetStyle({fsBold, fsUnderline});
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(f.Style().Contains(fsBold));
    EXPECT_FALSE(f.Style().Contains(fsItalic));

    TFont other;
    other.SetName("Tahoma");
    other.SetCharset(GB2312_CHARSET);
    other.SetHeight(-13);
    f.Assign(other);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(f.SameValues(other));
    EXPECT_FALSE(f.Style().Contains(fsBold));
    EXPECT_TRUE(static_cast<bool>(f.OnChange)); // the handler is not copied over
}

TEST(Font, CharsetSelectsTheCodePageOfText) {
    TFont f;
    f.SetCharset(GB2312_CHARSET);
    EXPECT_EQ(f.CodePage(), 936);
    f.SetCharset(CHINESEBIG5_CHARSET);
    EXPECT_EQ(f.CodePage(), 950);
    f.SetCharset(ANSI_CHARSET);
    EXPECT_EQ(f.CodePage(), SystemCodePage());
}

} // namespace
