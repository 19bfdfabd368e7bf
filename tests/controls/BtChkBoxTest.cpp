#include "controls/BtChkBox.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/RecordingCanvas.h"
#include "platform/vcl/Forms.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

class CheckBoxForm : public ::testing::Test {
public:
    void SetUp() override {
        form = new TForm(nullptr);
        edit = new TEdit(form);
        edit->SetParent(form);
        box = new TBitCheckBox(form);
        box->SetName("chk01A");
        box->SetParent(form);
        box->SetCaption("Print");
        box->OnClick = [this](TObject*) { clicks++; };
        form->Show();
    }
    void TearDown() override { form->Free(); }

    // The drawing calls of one paint.
    TRecordingCanvas& Paint() {
        canvas.Clear();
        box->PaintTo(canvas);
        return canvas;
    }
    std::vector<const TCanvasCall*> Texts() { return Paint().Find("DrawText"); }

    TForm* form;
    TEdit* edit;
    TBitCheckBox* box;
    TRecordingCanvas canvas;
    int clicks = 0;
};

TEST_F(CheckBoxForm, ClicksToggleRaiseOnClickAndTakeTheFocus) {
    box->SetAllowGrayed(true);
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        Application->Click(box);
        seen.push_back(box->State());
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    EXPECT_EQ(clicks, 3);
    EXPECT_TRUE(box->Focused());

    // Without grayed: unchecked and checked alternate; the space key clicks too.
    box->SetAllowGrayed(false);
    Application->PressKey(VK_SPACE);
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(clicks, 4);
    box->SetState(cbGrayed);
    box->Toggle();
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(clicks, 4); // neither setting the state nor Toggle raises OnClick
}

TEST_F(CheckBoxForm, CheckedSetsCheckedOrUnchecked) {
    box->SetState(cbGrayed);
    box->SetChecked(true);
    EXPECT_EQ(box->State(), cbChecked);
    box->SetState(cbGrayed);
    box->SetChecked(false);
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_FALSE(box->Checked());
}

TEST_F(CheckBoxForm, AcceleratorFocusesAndTogglesWithoutOnClick) {
    box->SetCaption("&Print");
    edit->SetFocus();
    Application->KeyDown('P', {ssAlt});
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(clicks, 0);

    box->SetEnabled(false);
    edit->SetFocus();
    Application->KeyDown('P', {ssAlt});
    EXPECT_EQ(box->State(), cbChecked);
}

TEST_F(CheckBoxForm, GlyphsSetTheirImageCountFromTheirShape) {
    struct Case {
        int width, height;
        int startCount;
        int count;
    };
    const std::vector<Case> cases = {
        {38, 19, 1, 2}, // two square images
        {19, 14, 2, 2}, // not a whole multiple: unchanged
        {19, 19, 2, 1}, // one image
        {57, 19, 1, 2}, // three images, clamped
    };
    for (const Case& c : cases) {
        box->SetCheckedNumGlyphs(c.startCount);
        TBitmap bm(c.width, c.height);
        box->SetCheckedGlyph(&bm);
        EXPECT_EQ(box->CheckedNumGlyphs(), c.count) << c.width << "x" << c.height;
        EXPECT_EQ(box->CheckedGlyph()->Width(), c.width);
        EXPECT_NE(box->CheckedGlyph(), &bm); // a copy
    }
    box->SetUncheckedNumGlyphs(0);
    EXPECT_EQ(box->UncheckedNumGlyphs(), 1);
    box->SetUncheckedNumGlyphs(3);
    EXPECT_EQ(box->UncheckedNumGlyphs(), 2);

    // nullptr brings the built-in picture back.
    box->SetCheckedGlyph(nullptr);
    EXPECT_EQ(box->CheckedGlyph()->Width(), 19);
    EXPECT_EQ(box->CheckedGlyph()->Height(), 14);
}

TEST(CheckBoxGlyphs, BuiltInPicturesAre19By14In16Colours) {
    std::vector<std::vector<TColor>> pixels;
    for (const char* name : {"CHECKED", "GRAYED", "UNCHECKED"}) {
        TBitmap bm;
        ASSERT_TRUE(LoadCheckBoxGlyph(name, bm)) << name;
        EXPECT_EQ(bm.Width(), 19);
        EXPECT_EQ(bm.Height(), 14);
        EXPECT_EQ(bm.PixelFormat(), pf4bit);
        std::vector<TColor> p;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 19; ++x) p.push_back(bm.Pixel(x, y));
        pixels.push_back(p);
    }
    EXPECT_NE(pixels[0], pixels[1]);
    EXPECT_NE(pixels[1], pixels[2]);
    EXPECT_NE(pixels[0], pixels[2]);
    TBitmap bm;
    EXPECT_FALSE(LoadCheckBoxGlyph("checked", bm));

    // A new box starts with them, one image each, 97 x 17.
    TBitCheckBox box(nullptr);
    EXPECT_EQ(box.Width(), 97);
    EXPECT_EQ(box.Height(), 17);
    EXPECT_TRUE(box.TabStop());
    EXPECT_EQ(box.GrayedGlyph()->Width(), 19);
    EXPECT_EQ(box.GrayedNumGlyphs(), 1);
}

// Fixed text measure: font height 11, so every byte is 6 pixels wide and a line 11 high.
TEST_F(CheckBoxForm, PaintPlacesCaptionAndPictureByStateAndAlignment) {
    TBitmap twoImages(38, 19);
    struct Case {
        const char* name;
        TCheckBoxState state;
        TAlignment alignment;
        bool enabled;
        bool ctl3D;
        bool twoImageGrayed;
        TRect caption;
        std::vector<TColor> textColors;
        TRect dest;
        TRect source;
    };
    const std::vector<Case> cases = {
        {"unchecked",
         cbUnchecked,
         taRightJustify,
         true,
         true,
         false,
         Rect(23, 1, 53, 15),
         {clWindowText},
         Bounds(0, 1, 19, 14),
         Bounds(0, 0, 19, 14)},
        {"checked, left",
         cbChecked,
         taLeftJustify,
         true,
         true,
         false,
         Rect(1, 1, 31, 15),
         {clWindowText},
         Bounds(78, 1, 19, 14),
         Bounds(0, 0, 19, 14)},
        {"grayed, disabled, two images",
         cbGrayed,
         taRightJustify,
         false,
         true,
         true,
         Rect(23, 1, 53, 15),
         {clBtnHighlight, clGrayText},
         Bounds(0, -1, 19, 19),
         Bounds(19, 0, 19, 19)},
        {"disabled flat, one image",
         cbChecked,
         taRightJustify,
         false,
         false,
         false,
         Rect(23, 1, 53, 15),
         {clGrayText},
         Bounds(0, 1, 19, 14),
         Bounds(0, 0, 19, 14)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        box->SetState(c.state);
        box->SetAlignment(c.alignment);
        box->SetEnabled(c.enabled);
        box->SetCtl3D(c.ctl3D);
        box->SetGrayedGlyph(c.twoImageGrayed ? &twoImages : nullptr);
        TRecordingCanvas& rc = Paint();
        ASSERT_FALSE(rc.Calls.empty());
        EXPECT_EQ(rc.Calls[0].Describe(), "FillRect(0,0,97,17)");
        auto texts = rc.Find("DrawText");
        ASSERT_EQ(texts.size(), c.textColors.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i]->FontColor, c.textColors[i]);
            EXPECT_EQ(texts[i]->Text, "Print");
            EXPECT_EQ(texts[i]->BrushStyle, bsClear);
            EXPECT_EQ(texts[i]->Flags, unsigned(DT_SINGLELINE | DT_VCENTER));
        }
        // The highlight copy lies one pixel right and down of the caption.
        EXPECT_EQ(texts.back()->Rect, c.caption);
        if (texts.size() == 2) {
            EXPECT_EQ(texts[0]->Rect, OffsetRect(c.caption, 1, 1));
        }
        auto copies = rc.Find("BrushCopy");
        ASSERT_EQ(copies.size(), 1u);
        const TBitmap* expected = c.state == cbChecked  ? box->CheckedGlyph()
                                  : c.state == cbGrayed ? box->GrayedGlyph()
                                                        : box->UncheckedGlyph();
        EXPECT_EQ(copies[0]->Bitmap, expected);
        EXPECT_EQ(copies[0]->Rect, c.dest);
        EXPECT_EQ(copies[0]->Source, c.source);
        EXPECT_EQ(copies[0]->BrushColor, clBtnFace);
        EXPECT_EQ(copies[0]->BrushStyle, bsSolid);
        EXPECT_TRUE(rc.Find("DrawFocusRect").empty());
    }
}

TEST_F(CheckBoxForm, AmpersandNarrowsTheCaptionAndFocusWidensIt) {
    box->SetCaption("&Print");
    box->SetFocus();
    TRecordingCanvas& rc = Paint();
    auto texts = rc.Find("DrawText");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->Rect, Rect(23, 1, 53, 15)); // "&Print" is 36 wide, less 6 for "&"
    auto focus = rc.Find("DrawFocusRect");
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_EQ(focus[0]->Rect, Rect(22, 0, 54, 16));

    // A caption taller than the box is clipped to it, and the focus frame stays inside.
    box->SetHeight(10);
    texts = Texts();
    EXPECT_EQ(texts[0]->Rect, Rect(23, 0, 53, 10));
    EXPECT_EQ(canvas.Find("DrawFocusRect")[0]->Rect, Rect(22, 0, 54, 10));
}

} // namespace
} // namespace qz
