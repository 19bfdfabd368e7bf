#include "platform/display/Display.h"
#include "platform/vcl/StdCtrls.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

// A dialog with a name field, OK and Cancel.
TForm* NewDialog(const char* name) {
    auto* f = CreateForm<TForm>(nullptr);
    f->SetName(name);
    auto* ed = new TEdit(f);
    ed->SetName("edName");
    ed->SetParent(f);
    auto* ok = new TButton(f);
    ok->SetName("btnOk");
    ok->SetParent(f);
    ok->SetModalResult(mrOk);
    auto* cancel = new TButton(f);
    cancel->SetName("btnCancel");
    cancel->SetParent(f);
    cancel->SetModalResult(mrCancel);
    return f;
}

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        display = HeadlessDisplay();
        display->ClearModalDrivers();
        display->ClearUnanswered();
    }
    void TearDown() override { display->ClearModalDrivers(); }
    THeadlessDisplay* display;
};

TEST_F(DisplayTest, ModalDialogAnsweredByADriver) {
    TForm* dialog = NewDialog("dlgName");
    display->QueueModalDriver([](TCustomForm& f) {
        EXPECT_TRUE(f.Visible());
        EXPECT_TRUE(f.IsModal());
        SetControlText(f, "edName", "Alice");
        ClickControl(f, "btnOk");
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(static_cast<TEdit*>(dialog->FindComponent("edName"))->Text(), "Alice");
    EXPECT_FALSE(dialog->Visible());
    EXPECT_TRUE(display->Unanswered().empty());
    EXPECT_TRUE(display->VisibleForms().empty());
    dialog->Free();
}

TEST_F(DisplayTest, NestedModalFormsTakeTheQueuedDriversInOrder) {
    TForm* outer = NewDialog("dlgOuter");
    TForm* inner = NewDialog("dlgInner");
    TModalResult innerResult = mrNone;
    static_cast<TButton*>(outer->FindComponent("btnOk"))->OnClick = [&](TObject*) {
        innerResult = inner->ShowModal();
    };
    display->QueueModalDriver([](TCustomForm& f) { ClickControl(f, "btnOk"); });
    display->QueueModalDriver([](TCustomForm& f) {
        EXPECT_EQ(f.Name(), "dlgInner");
        EXPECT_EQ(Screen->ActiveForm(), &f);
        ClickControl(f, "btnCancel");
    });
    EXPECT_EQ(outer->ShowModal(), mrOk);
    EXPECT_EQ(innerResult, mrCancel);
    EXPECT_EQ(display->QueuedDriverCount(), 0);
    inner->Free();
    outer->Free();
}

TEST_F(DisplayTest, UnansweredModalFormEndsWithCancelAndIsReported) {
    struct Case {
        const char* name;
        THeadlessDisplay::TModalDriver driver;
    };
    const Case cases[] = {
        {"no driver", nullptr},
        {"driver that does nothing", [](TCustomForm&) {}},
        {"driver whose answer the form refuses",
         [](TCustomForm& f) {
             f.OnCloseQuery = [](TObject*, bool& can) { can = false; };
             ClickControl(f, "btnOk");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        display->ClearUnanswered();
        display->SetModalDriver(c.driver);
        TForm* dialog = NewDialog("dlgLonely");
        EXPECT_EQ(dialog->ShowModal(), mrCancel);
        ASSERT_EQ(display->Unanswered().size(), 1u);
        EXPECT_EQ(display->Unanswered()[0], "dlgLonely (TForm)");
        dialog->Free();
    }
}

TEST_F(DisplayTest, StandingDriverAndVisibleForms) {
    int calls = 0;
    display->SetModalDriver([&](TCustomForm& f) {
        ++calls;
        EXPECT_EQ(display->VisibleForms().back(), &f);
        f.Close(); // Close of a modal form answers mrCancel
    });
    TForm* a = NewDialog("dlgA");
    EXPECT_EQ(a->ShowModal(), mrCancel);
    EXPECT_EQ(a->ShowModal(), mrCancel);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(display->Unanswered().empty());
    a->Show();
    EXPECT_EQ(display->VisibleForms().size(), 1u);
    a->Free();
    EXPECT_TRUE(display->VisibleForms().empty());
    TForm* b = NewDialog("dlgB");
    EXPECT_THROW(ControlByName(*b, "missing"), EComponentError);
    b->Free();
}

} // namespace
} // namespace qz
