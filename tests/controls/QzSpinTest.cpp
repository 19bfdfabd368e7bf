#include "controls/QzSpin.h"
#include "controls/QzControls.h"
#include "platform/vcl/Forms.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(QzSpinEdit, SignsAfterTheFirstPlaceCutTheText) {
    struct Case {
        AnsiString text;
        AnsiString shown;
        std::vector<AnsiString> notified;
    };
    // The last character goes until no sign follows the first place; blanks notify nobody.
    const std::vector<Case> cases = {
        {"12+", "12", {"12"}}, {"12-", "12", {"12"}}, {"12+3", "12", {"12"}}, {"1-2+", "1", {"1"}},
        {"-5", "-5", {"-5"}},  {"+5", "+5", {"+5"}},  {"-", "-", {"-"}},      {"   ", "   ", {}},
        {"", "", {}},          {" +", " ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TQzSpinEdit spin(nullptr);
        spin.SetText("7");
        std::vector<AnsiString> notified;
        spin.OnChange = [&](TObject*) { notified.push_back(spin.Text()); };
        spin.SetText(c.text);
        EXPECT_EQ(spin.Text(), c.shown);
        EXPECT_EQ(notified, c.notified);
    }
}

TEST(QzSpinEdit, TypedPlusAtTheEndLeavesTheNumber) {
    RegisterQzControls();
    EXPECT_NE(GetClass("TQzSpinEdit"), nullptr);
    auto* form = new TForm(nullptr);
    auto* spin = new TQzSpinEdit(form);
    spin->SetParent(form);
    spin->SetValue(12);
    form->Show();
    spin->SetFocus();
    spin->SetSelStart(2);
    int changes = 0;
    spin->OnChange = [&](TObject*) { ++changes; };
    Application->TypeText("+");
    EXPECT_EQ(spin->Text(), "12");
    EXPECT_EQ(spin->Value(), 12);
    EXPECT_EQ(changes, 1);
    Application->TypeText("5");
    EXPECT_EQ(spin->Text(), "125");
    form->Free();
}

} // namespace
} // namespace qz
