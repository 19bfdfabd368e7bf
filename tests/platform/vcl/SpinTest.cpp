#include "platform/vcl/Spin.h"
#include "platform/core/Strings.h"
#include "platform/vcl/Forms.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

class SpinForm : public ::testing::Test {
public:
    void SetUp() override {
        form = new TForm(nullptr);
        spin = new TSpinEdit(form);
        spin->SetName("seHour");
        spin->SetParent(form);
        spin->OnChange = [this](TObject*) { log += "change " + spin->Text() + ";"; };
        next = new TEdit(form);
        next->SetParent(form);
        form->Show();
        log.clear();
    }
    void TearDown() override { form->Free(); }

    TForm* form;
    TSpinEdit* spin;
    TEdit* next;
    AnsiString log;
};

TEST_F(SpinForm, ValueIsKeptInRangeWhenWritten) {
    struct Case {
        int min, max, set, value;
    };
    const Case cases[] = {
        {0, 23, 30, 23},      {0, 23, -1, 0}, {0, 23, 5, 5},
        {-99, 99, -150, -99}, {0, 0, -7, -7}, // equal bounds: no range at all
        {5, 5, 9, 9},
    };
    for (const auto& c : cases) {
        spin->SetMinValue(c.min);
        spin->SetMaxValue(c.max);
        spin->SetValue(c.set);
        EXPECT_EQ(spin->Value(), c.value) << c.min << ".." << c.max << " := " << c.set;
        EXPECT_EQ(spin->Text(), IntToStr(c.value));
    }
    // Reading does not clamp; a text that is not a number reads as MinValue.
    spin->SetMinValue(1);
    spin->SetMaxValue(23);
    for (auto [text, value] : {std::pair{"42", 42}, {"", 1}, {"abc", 1}, {"12+", 1}, {"-3", -3}}) {
        spin->SetText(text);
        EXPECT_EQ(spin->Value(), value) << text;
    }
}

TEST_F(SpinForm, UpAndDownKeysStepWithinTheRange) {
    spin->SetMaxValue(10);
    spin->SetIncrement(3);
    spin->SetValue(8);
    log.clear();
    struct Step {
        Word key;
        int value;
    };
    for (auto [key, value] : {Step{VK_UP, 10}, Step{VK_UP, 10}, Step{VK_DOWN, 7}, Step{VK_DOWN, 4}}) {
        Application->PressKey(key);
        EXPECT_EQ(spin->Value(), value);
    }
    EXPECT_EQ(log, "change 10;change 7;change 4;");
    EXPECT_EQ(form->ActiveControl(), spin);

    spin->SetReadOnly(true);
    Application->PressKey(VK_UP);
    EXPECT_EQ(spin->Value(), 4);
}

TEST_F(SpinForm, LeavingBringsATypedValueIntoRangeAfterOnExit) {
    spin->SetMaxValue(23);
    AnsiString seenOnExit;
    spin->OnExit = [&](TObject*) { seenOnExit = spin->Text(); };
    spin->SelectAll();
    Application->TypeText("99");
    EXPECT_EQ(spin->Value(), 99);
    Application->PressKey(VK_TAB);
    EXPECT_EQ(form->ActiveControl(), next);
    EXPECT_EQ(seenOnExit, "99");
    EXPECT_EQ(spin->Text(), "23");
}

TEST_F(SpinForm, OnlyNumberCharactersCanBeTyped) {
    struct Case {
        bool editorEnabled;
        const char* typed;
        const char* text;
        const char* pressed; // what OnKeyPress saw
    };
    const Case cases[] = {
        {true, "12a", "12", "12"},
        {true, "-5x+", "-5+", "-5+"}, // signs anywhere: a descendant may refuse them
        {true, "1\r2", "12", "12"},
        {false, "34", "", ""},
    };
    for (const auto& c : cases) {
        spin->SetText("");
        spin->SetEditorEnabled(c.editorEnabled);
        AnsiString pressed;
        spin->OnKeyPress = [&](TObject*, char& k) { pressed += k; };
        Application->TypeText(c.typed);
        EXPECT_EQ(spin->Text(), c.text) << c.typed;
        EXPECT_EQ(pressed, c.pressed) << c.typed;
    }
    // Nor can anything be deleted with the editor off.
    spin->SetValue(7);
    spin->SetSelStart(0);
    Application->PressKey(VK_DELETE);
    EXPECT_EQ(spin->Text(), "7");
}

// A descendant cuts sign characters typed after the first position through its change handling.
class TSignlessSpin : public TSpinEdit {
public:
    using TSpinEdit::TSpinEdit;

protected:
    void Change() override {
        AnsiString t = Text();
        for (char sign : {'+', '-'})
            if (t.find(sign, 1) != AnsiString::npos) {
                SetText(t.substr(0, t.size() - 1));
                return;
            }
        TSpinEdit::Change();
    }
};

TEST(SpinEdit, ChangeIsTheHookOfDescendants) {
    auto* form = new TForm(nullptr);
    auto* spin = new TSignlessSpin(form);
    spin->SetParent(form);
    form->Show();
    spin->SetValue(12);
    spin->SetSelStart(2);
    Application->TypeText("+");
    EXPECT_EQ(spin->Text(), "12");
    EXPECT_EQ(spin->Value(), 12);
    form->Free();
}

} // namespace
} // namespace qz
