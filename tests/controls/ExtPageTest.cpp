#include "controls/ExtPage.h"
#include "platform/gfx/RecordingCanvas.h"
#include "platform/vcl/Forms.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

class ExtPageForm : public ::testing::Test {
public:
    void SetUp() override {
        form = new TForm(nullptr);
        pages = new TExtPageControl(form);
        pages->SetParent(form);
        for (const char* caption : {"Conditions", "Options", "Report"}) {
            auto* sheet = new TTabSheet(form);
            sheet->SetPageControl(pages);
            sheet->SetCaption(caption);
            sheets.push_back(sheet);
        }
        pages->SetActivePage(sheets[0]);
        pages->Font()->SetStyle({fsBold, fsItalic});
    }
    void TearDown() override { form->Free(); }
    std::vector<const TCanvasCall*> Texts() {
        canvas.Clear();
        pages->PaintTo(canvas);
        return canvas.Find("DrawText");
    }

    TForm* form;
    TExtPageControl* pages;
    std::vector<TTabSheet*> sheets;
    TRecordingCanvas canvas;
};

TEST_F(ExtPageForm, ActiveTabIsBoldInActiveCaptionColours) {
    EXPECT_TRUE(pages->OwnerDraw());
    EXPECT_EQ(pages->TabStyle() & 0x2000, 0x2000u);
    pages->SetActivePage(sheets[1]);
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 3u);
    auto fills = canvas.Find("FillRect");
    ASSERT_EQ(fills.size(), 4u); // the background, then one per tab
    for (int t = 0; t < 3; ++t) {
        SCOPED_TRACE(t);
        const bool active = t == 1;
        const TRect tab = pages->TabRect(t);
        EXPECT_EQ(texts[t]->Text, sheets[t]->Caption());
        EXPECT_EQ(texts[t]->FontStyle.Contains(fsBold), active);
        EXPECT_TRUE(texts[t]->FontStyle.Contains(fsItalic));
        EXPECT_EQ(texts[t]->FontColor, active ? clCaptionText : clInactiveCaptionText);
        EXPECT_EQ(texts[t]->Flags, unsigned(DT_SINGLELINE | DT_CENTER | DT_VCENTER));
        EXPECT_EQ(fills[t + 1]->BrushColor, active ? clActiveCaption : clInactiveCaption);
        // The active tab shrinks by 2 on every side; an inactive one keeps its rectangle, text 2 lower.
        EXPECT_EQ(fills[t + 1]->Rect, active ? InflateRect(tab, -2, -2) : tab);
        TRect text = active ? InflateRect(tab, -2, -2) : Rect(tab.Left, tab.Top + 2, tab.Right, tab.Bottom);
        EXPECT_EQ(texts[t]->Rect, text);
    }
}

TEST_F(ExtPageForm, HiddenPageShiftsTheCaptions) {
    sheets[1]->SetTabVisible(false);
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->Text, "Conditions");
    EXPECT_EQ(texts[1]->Text, "Report");
}

TEST_F(ExtPageForm, OnDrawTabDoesAllTheDrawing) {
    std::vector<std::pair<int, bool>> calls;
    pages->OnDrawTab = [&](TObject* control, int tab, const TRect& rect, bool active) {
        EXPECT_EQ(control, pages);
        calls.emplace_back(tab, active);
    };
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(calls, (std::vector<std::pair<int, bool>>{{0, true}, {1, false}, {2, false}}));
}

} // namespace
} // namespace qz
