#include "controls/QzRadioGroup.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/RecordingCanvas.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

class RadioForm : public ::testing::Test {
public:
    void SetUp() override {
        form = new TForm(nullptr);
        panel = new TPanel(form);
        panel->SetParent(form);
        for (int i = 0; i < 3; ++i) {
            auto* r = new TQzRadioButton(form);
            r->SetParent(panel);
            r->SetCaption("Mode " + std::to_string(i));
            r->OnClick = [this, i](TObject*) { clicks[i]++; };
            radios.push_back(r);
        }
        outside = new TQzRadioButton(form);
        outside->SetParent(form);
        outside->SetChecked(true);
        form->Show();
    }
    void TearDown() override { form->Free(); }
    std::vector<bool> States() const {
        std::vector<bool> s;
        for (auto* r : radios) s.push_back(r->Checked());
        return s;
    }

    TForm* form;
    TPanel* panel;
    std::vector<TQzRadioButton*> radios;
    TQzRadioButton* outside;
    int clicks[3] = {0, 0, 0};
};

TEST_F(RadioForm, CheckingOneUnchecksItsSiblingsAndRaisesOneClick) {
    radios[0]->SetChecked(true);
    EXPECT_EQ(clicks[0], 1);
    Application->Click(radios[1]);
    EXPECT_EQ(States(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(clicks[1], 1);
    EXPECT_EQ(clicks[0], 1);
    EXPECT_EQ(clicks[2], 0);
    EXPECT_TRUE(radios[1]->TabStop());
    EXPECT_FALSE(radios[0]->TabStop());
    EXPECT_TRUE(outside->Checked()); // another parent

    // Checking again changes nothing; with clicks disabled no click is raised.
    radios[1]->SetChecked(true);
    EXPECT_EQ(clicks[1], 1);
    radios[2]->SetClicksDisabled(true);
    radios[2]->SetChecked(true);
    EXPECT_EQ(States(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(clicks[2], 0);
}

TEST_F(RadioForm, AcceleratorFocusesAndChecks) {
    radios[2]->SetCaption("&Queue");
    Application->KeyDown('Q', {ssAlt});
    EXPECT_TRUE(radios[2]->Focused());
    EXPECT_TRUE(radios[2]->Checked());
}

TEST_F(RadioForm, ArrowsMoveAndCheckAmongTheSiblingsAndSpaceChecksTheFocusedOne) {
    radios[0]->SetChecked(true);
    radios[0]->SetFocus();
    struct Step {
        Word key;
        int focused;
    };
    // Round the three, either way; the radio button of another parent takes no part.
    for (Step s : {Step{VK_DOWN, 1}, {VK_RIGHT, 2}, {VK_DOWN, 0}, {VK_UP, 2}, {VK_LEFT, 1}}) {
        Application->PressKey(s.key);
        EXPECT_TRUE(radios[s.focused]->Focused()) << s.key;
        std::vector<bool> expected(3, false);
        expected[s.focused] = true;
        EXPECT_EQ(States(), expected) << s.key;
    }
    EXPECT_EQ(clicks[1], 2);
    EXPECT_TRUE(outside->Checked());

    // A disabled one is passed over.
    radios[2]->SetEnabled(false);
    Application->PressKey(VK_DOWN);
    EXPECT_TRUE(radios[0]->Checked());

    // Space checks the focused button; a key handler that takes the key keeps it from the button.
    radios[1]->SetFocus();
    radios[1]->OnKeyPress = [](TObject*, char& k) { k = 0; };
    Application->PressKey(VK_SPACE);
    EXPECT_FALSE(radios[1]->Checked());
    radios[1]->OnKeyPress = nullptr;
    Application->PressKey(VK_SPACE);
    EXPECT_EQ(States(), (std::vector<bool>{false, true, false}));
}

TEST(QzRadioButton, CaptionAreaMovesRightWithTheFontSize) {
    const std::vector<std::pair<int, int>> offsets = {
        {1, 17},  {8, 17},  {9, 19},  {10, 19}, {15, 19}, {16, 20}, {17, 20},  {18, 21},
        {23, 21}, {24, 23}, {29, 23}, {30, 25}, {35, 25}, {36, 27}, {41, 27},  {42, 29},
        {43, 29}, {44, 31}, {60, 31}, {61, 39}, {80, 39}, {81, 44}, {100, 44}, {0, 44},
    };
    for (auto [size, offset] : offsets) EXPECT_EQ(TQzRadioButton::CaptionOffset(size), offset) << size;

    TQzRadioButton radio(nullptr);
    radio.SetCaption("Daily");
    radio.SetColor(clYellow);
    for (auto [size, offset] : {std::pair{10, 19}, {100, 44}}) {
        radio.Font()->SetSize(size);
        TRecordingCanvas rc;
        radio.PaintTo(rc);
        auto texts = rc.Find("DrawText");
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0]->Rect, Rect(offset, 0, 113, 17));
        EXPECT_EQ(texts[0]->Text, "Daily");
        EXPECT_EQ(texts[0]->Flags, unsigned(DT_SINGLELINE | DT_VCENTER));
        EXPECT_EQ(texts[0]->FontHeight, radio.Font()->Height());
        // The caption area widened by 4 is painted over in the control's colour before the text.
        auto fills = rc.Find("Rectangle");
        ASSERT_FALSE(fills.empty());
        EXPECT_EQ(fills.back()->Rect, Rect(offset - 4, -4, 117, 21));
        EXPECT_EQ(fills.back()->BrushColor, clYellow);
        EXPECT_EQ(fills.back()->PenColor, clYellow);
    }
}

class RadioGroup : public ::testing::Test {
public:
    void SetUp() override {
        form = new TForm(nullptr);
        group = new TQzRadioGroup(form);
        group->SetParent(form);
        group->OnClick = [this](TObject*) { clicks++; };
        form->Show();
    }
    void TearDown() override { form->Free(); }
    void SetItems(int n) {
        TStringList list;
        for (int i = 0; i < n; ++i) list.Add("Item " + std::to_string(i));
        group->SetItems(&list);
    }
    int CheckedButton() const {
        int found = -1;
        for (int i = 0; i < group->ButtonCount(); ++i)
            if (group->Buttons(i)->Checked()) {
                EXPECT_EQ(found, -1);
                found = i;
            }
        return found;
    }

    TForm* form;
    TQzRadioGroup* group;
    int clicks = 0;
};

TEST_F(RadioGroup, FiveItemsInTwoColumns) {
    EXPECT_EQ(group->BoundsRect(), Bounds(0, 0, 185, 105));
    SetItems(5);
    group->SetColumns(2);
    ASSERT_EQ(group->ButtonCount(), 5);
    // Text height 11: three rows of (105 - 11 - 5) / 3 = 29, from (89 mod 3) / 2 + 12 = 13; columns of
    // (185 - 10) / 2 = 87 from 8.
    const std::vector<TRect> expected = {Bounds(8, 13, 87, 29), Bounds(8, 42, 87, 29), Bounds(8, 71, 87, 29),
                                         Bounds(95, 13, 87, 29), Bounds(95, 42, 87, 29)};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(group->Buttons(i)->BoundsRect(), expected[i]) << i;
        EXPECT_TRUE(group->Buttons(i)->Visible());
        EXPECT_EQ(group->Buttons(i)->Caption(), "Item " + std::to_string(i));
        EXPECT_EQ(group->Buttons(i)->Parent(), group);
    }
    // A size change arranges again.
    group->SetWidth(305);
    EXPECT_EQ(group->Buttons(3)->BoundsRect(), Bounds(155, 13, 147, 29));
}

TEST_F(RadioGroup, ItemIndexAndColumnsAreClamped) {
    SetItems(3);
    struct Case {
        int set;
        int index;
    };
    for (Case c : {Case{7, 2}, {-5, -1}, {1, 1}, {3, 2}}) {
        group->SetItemIndex(c.set);
        EXPECT_EQ(group->ItemIndex(), c.index) << c.set;
        EXPECT_EQ(CheckedButton(), c.index) << c.set;
    }
    for (Case c : {Case{20, 16}, {0, 1}, {-3, 1}, {4, 4}}) {
        group->SetColumns(c.set);
        EXPECT_EQ(group->Columns(), c.index) << c.set;
    }
}

TEST_F(RadioGroup, ClicksAndItemChanges) {
    SetItems(3);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(CheckedButton(), -1);
    Application->Click(group->Buttons(1));
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    group->SetItemIndex(2);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(CheckedButton(), 2);

    // Fewer items cut the index; rebuilding the buttons raises no click.
    group->Items()->Delete(2);
    EXPECT_EQ(group->ButtonCount(), 2);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(CheckedButton(), 1);
    EXPECT_EQ(clicks, 2);
    group->Items()->Add("Later");
    EXPECT_EQ(group->Buttons(2)->Caption(), "Later");
    EXPECT_EQ(CheckedButton(), 1);
    EXPECT_EQ(clicks, 2);

    group->SetEnabled(false);
    for (int i = 0; i < group->ButtonCount(); ++i) EXPECT_FALSE(group->Buttons(i)->Enabled());
}

// A group that allows no changes (a read-only data-bound group).
class TLockedRadioGroup : public TQzRadioGroup {
public:
    using TQzRadioGroup::TQzRadioGroup;
    bool CanModify() const override { return false; }
};

TEST_F(RadioGroup, KeysChooseAnItemUnlessTheGroupAllowsNoChanges) {
    SetItems(3);
    group->SetItemIndex(0);
    clicks = 0;
    group->Buttons(0)->SetFocus();
    Application->PressKey(VK_DOWN);
    EXPECT_TRUE(group->Buttons(1)->Focused());
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    group->Buttons(2)->SetFocus();
    Application->PressKey(VK_SPACE);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(CheckedButton(), 2);
    EXPECT_EQ(clicks, 2);

    auto* locked = new TLockedRadioGroup(form);
    locked->SetParent(form);
    locked->Items()->Add("a");
    locked->Items()->Add("b");
    AnsiString groupKeys;
    locked->OnKeyPress = [&](TObject*, char& k) { groupKeys += k; };
    locked->Buttons(0)->SetFocus();
    Application->PressKey(VK_SPACE);
    Application->PressKey(VK_DOWN);
    EXPECT_TRUE(locked->Buttons(1)->Focused());
    EXPECT_EQ(locked->ItemIndex(), -1);
    EXPECT_FALSE(locked->Buttons(0)->Checked());
    EXPECT_FALSE(locked->Buttons(1)->Checked());
    EXPECT_EQ(groupKeys, " "); // the group saw the key before it was dropped
}

TEST(RadioGroupResource, ReadGroupChecksItsIndexWithoutAClick) {
    auto* f = new TForm(nullptr);
    ReadComponentResText(f, R"(
object frmPlan: TForm
  object rgMode: TQzRadioGroup
    Left = 8
    Top = 8
    Width = 185
    Height = 105
    Caption = 'Mode'
    Columns = 2
    ItemIndex = 1
    Items.Strings = (
      'Now'
      'Queue'
      'Later')
  end
end
)");
    auto* g = static_cast<TQzRadioGroup*>(f->FindComponent("rgMode"));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->ButtonCount(), 3);
    EXPECT_EQ(g->ItemIndex(), 1);
    EXPECT_TRUE(g->Buttons(1)->Checked());
    EXPECT_FALSE(g->Buttons(0)->Checked());
    EXPECT_EQ(g->Buttons(2)->Left(), 95);
    f->Free();
}

} // namespace
} // namespace qz
