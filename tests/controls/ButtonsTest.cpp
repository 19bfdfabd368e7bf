#include "controls/F2Button.h"
#include "outside/pictures/PxResD5.h"
#include "platform/core/CodePages.h"
#include "platform/core/Strings.h"
#include "platform/display/Display.h"
#include "platform/gfx/Bitmap.h"
#include "platform/vcl/Forms.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

// Answers the next message boxes with OK and keeps their texts.
class MessageBoxes {
public:
    MessageBoxes() {
        HeadlessDisplay()->SetModalDriver([this](TCustomForm& form) {
            texts.push_back(static_cast<TControl*>(form.FindComponent("Message"))->Caption());
            captions.push_back(form.Caption());
            ClickControl(form, "OK");
        });
    }
    ~MessageBoxes() { HeadlessDisplay()->ClearModalDrivers(); }
    std::vector<AnsiString> texts;
    std::vector<AnsiString> captions;
};

TEST(GSpeedButton, GlyphIndexLoadsThePictureOrShowsTheNumber) {
    struct Case {
        int index;
        int width, height; // 0 x 0: no picture
        int numGlyphs;
        AnsiString caption;
    };
    const int above = GetMaxBmpID() + 1;
    const std::vector<Case> cases = {
        {bmpDatePicker, 16, 16, 1, ""},
        {bmpClearList, 32, 16, 2, ""},
        {above, 0, 0, 2, IntToStr(above)}, // the picture is released, the count stays
        {bmpLookup, 16, 16, 1, ""},
        {0, 0, 0, 1, "0"},
        {5, 0, 0, 1, "5"}, // a number the library has no picture for
    };
    TGSpeedButton button(nullptr);
    EXPECT_EQ(button.GlyphIndex(), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        button.SetGlyphIndex(c.index);
        EXPECT_EQ(button.GlyphIndex(), c.index);
        EXPECT_EQ(button.Glyph()->Width(), c.width);
        EXPECT_EQ(button.Glyph()->Height(), c.height);
        EXPECT_EQ(button.NumGlyphs(), c.numGlyphs);
        EXPECT_EQ(button.Caption(), c.caption);
    }
    // The same number again changes nothing.
    button.SetCaption("kept");
    button.SetGlyphIndex(5);
    EXPECT_EQ(button.Caption(), "kept");
}

// A library of one 48 x 16 picture (number 3) whose number 2 cannot be read.
int FakeMax() {
    return 3;
}
bool FakeLoad(TBitmap* bitmap, int id) {
    if (id == 2) throw EInvalidGraphic("broken");
    if (id != 3) return false;
    bitmap->SetSize(48, 16);
    return true;
}

TEST(GSpeedButton, PictureOfThreeSquaresAndReadErrors) {
    TPictureLibrary old = SetPictureLibrary({&FakeMax, &FakeLoad});
    MessageBoxes boxes;
    TGSpeedButton button(nullptr);
    button.SetGlyphIndex(3);
    EXPECT_EQ(button.NumGlyphs(), 3);
    EXPECT_EQ(button.Caption(), "");

    button.SetGlyphIndex(2);
    EXPECT_EQ(boxes.texts, std::vector<AnsiString>{GB("读取 BMP 发生错误")});
    EXPECT_EQ(boxes.captions, std::vector<AnsiString>{"Error"});
    EXPECT_EQ(button.GlyphIndex(), 2);
    EXPECT_EQ(button.Caption(), "2");
    SetPictureLibrary({});
    (void)old;
}

// A window that records the open-window requests it receives.
class TLookupForm : public TForm {
public:
    explicit TLookupForm(TComponent* owner) : TForm(owner) {}
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_OPENWINDOW) {
            requests.push_back(reinterpret_cast<TWinControl*>(m.LParam));
            focusedThen = FocusedControl();
        }
        TForm::WndProc(m);
    }
    std::vector<TWinControl*> requests;
    TWinControl* focusedThen = nullptr;
};

class F2ButtonForm : public ::testing::Test {
public:
    void SetUp() override {
        form = new TLookupForm(nullptr);
        other = new TEdit(form);
        other->SetParent(form);
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 5, 100, 21);
        button = new TF2Button(form);
        button->SetParent(form);
        button->OnClick = [this](TObject*) { clicks++; };
        form->Show();
        other->SetFocus();
    }
    void TearDown() override { form->Free(); }

    TLookupForm* form;
    TEdit *edit, *other;
    TF2Button* button;
    int clicks = 0;
};

TEST_F(F2ButtonForm, NewButtonIsFlatWithTheLookupPicture) {
    EXPECT_TRUE(button->Flat());
    EXPECT_EQ(button->GlyphIndex(), 8);
    EXPECT_FALSE(button->Glyph()->Empty());
    EXPECT_TRUE(button->AutoAlign());
    EXPECT_EQ(button->Gap(), 2);
    EXPECT_EQ(button->F2Control(), nullptr);
}

TEST_F(F2ButtonForm, ButtonSitsBesideItsEdit) {
    button->SetF2Control(edit);
    EXPECT_EQ(button->BoundsRect(), Bounds(112, 5, 21, 21));
    button->SetGap(5);
    EXPECT_EQ(button->Left(), 115);

    // At run time only property changes align: a moved edit leaves the button until then.
    edit->SetBounds(20, 40, 80, 25);
    EXPECT_EQ(button->Left(), 115);
    button->SetAutoAlign(false);
    button->SetGap(2);
    EXPECT_EQ(button->Left(), 115);
    button->SetAutoAlign(true);
    EXPECT_EQ(button->BoundsRect(), Bounds(102, 40, 25, 25));
}

TEST_F(F2ButtonForm, ClickFocusesTheEditAndSendsTheOpenWindowRequest) {
    button->SetF2Control(edit);
    Application->Click(button);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(edit->Focused());
    ASSERT_EQ(form->requests.size(), 1u);
    EXPECT_EQ(form->requests[0], edit);
    EXPECT_EQ(form->focusedThen, edit);
    EXPECT_EQ(WM_OPENWINDOW, 1034u);

    // A disabled edit: OnClick only.
    other->SetFocus();
    edit->SetEnabled(false);
    Application->Click(button);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(form->requests.size(), 1u);
    EXPECT_TRUE(other->Focused());

    // No edit: OnClick only.
    button->SetF2Control(nullptr);
    Application->Click(button);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(form->requests.size(), 1u);
}

TEST_F(F2ButtonForm, SecondButtonForTheSameEditIsRefused) {
    MessageBoxes boxes;
    button->SetF2Control(edit);
    auto* second = new TF2Button(form);
    second->SetParent(form);
    second->SetF2Control(edit);
    EXPECT_EQ(second->F2Control(), nullptr);
    EXPECT_EQ(button->F2Control(), edit);
    EXPECT_EQ(boxes.texts, std::vector<AnsiString>{GB("不能同时有两个 F2Button 指到同一个 Edit.")});

    // The button already serving the edit keeps it without a message; another edit is fine.
    button->SetF2Control(edit);
    second->SetF2Control(other);
    EXPECT_EQ(second->F2Control(), other);
    EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST_F(F2ButtonForm, DestroyedEditIsForgotten) {
    button->SetF2Control(edit);
    edit->Free();
    EXPECT_EQ(button->F2Control(), nullptr);
    Application->Click(button);
    EXPECT_EQ(clicks, 1);
}

} // namespace
} // namespace qz
