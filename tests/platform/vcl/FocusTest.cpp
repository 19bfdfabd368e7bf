#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include <gtest/gtest.h>

namespace qz {
namespace {

// edA | pnl: edB, edC | grp: edD, edE | btnOk, btnCancel, in that tab order.
class FocusForm : public ::testing::Test {
public:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetName("frmFocus");
        edA = Edit("edA", form);
        pnl = new TPanel(form);
        pnl->SetName("pnl");
        pnl->SetParent(form);
        edB = Edit("edB", pnl);
        edC = Edit("edC", pnl);
        grp = new TGroupBox(form);
        grp->SetName("grp");
        grp->SetParent(form);
        edD = Edit("edD", grp);
        edE = Edit("edE", grp);
        btnOk = new TButton(form);
        btnOk->SetName("btnOk");
        btnOk->SetParent(form);
        btnCancel = new TButton(form);
        btnCancel->SetName("btnCancel");
        btnCancel->SetParent(form);
        for (TWinControl* c :
             {static_cast<TWinControl*>(edA), static_cast<TWinControl*>(pnl), static_cast<TWinControl*>(edB),
              static_cast<TWinControl*>(edC), static_cast<TWinControl*>(grp), static_cast<TWinControl*>(edD),
              static_cast<TWinControl*>(edE)}) {
            c->OnEnter = [this](TObject* s) { log += "enter " + static_cast<TComponent*>(s)->Name() + ";"; };
            c->OnExit = [this](TObject* s) { log += "exit " + static_cast<TComponent*>(s)->Name() + ";"; };
        }
        form->Show();
        log.clear();
    }
    void TearDown() override { form->Free(); }

    TEdit* Edit(const char* name, TWinControl* parent) {
        auto* e = new TEdit(form);
        e->SetName(name);
        e->SetParent(parent);
        return e;
    }

    TForm* form;
    TEdit *edA, *edB, *edC, *edD, *edE;
    TPanel* pnl;
    TGroupBox* grp;
    TButton *btnOk, *btnCancel;
    AnsiString log;
};

TEST_F(FocusForm, ShownFormFocusesTheFirstControl) {
    EXPECT_EQ(form->ActiveControl(), edA);
    EXPECT_TRUE(edA->Focused());
    EXPECT_EQ(Screen->ActiveControl(), edA);
}

TEST_F(FocusForm, OnExitSeesTheNewActiveControlAndContainersAreLeftAndEntered) {
    TWinControl* seen = nullptr;
    edB->SetFocus();
    log.clear();
    edB->OnExit = [&](TObject*) {
        seen = form->ActiveControl();
        log += "exit edB;";
    };
    edE->SetFocus();
    EXPECT_EQ(seen, edE);
    EXPECT_EQ(log, "exit edB;exit pnl;enter grp;enter edE;");
    EXPECT_TRUE(edE->Focused());
}

TEST_F(FocusForm, OnExitThatRefocusesKeepsTheFocus) {
    edA->OnExit = [&](TObject*) {
        log += "exit edA;";
        edA->SetFocus();
    };
    edB->SetFocus();
    EXPECT_EQ(form->ActiveControl(), edA);
    EXPECT_TRUE(edA->Focused());
    EXPECT_EQ(log, "exit edA;"); // neither the panel nor edB was entered
}

TEST_F(FocusForm, CannotFocusHiddenOrDisabledControls) {
    edC->SetEnabled(false);
    EXPECT_FALSE(edC->CanFocus());
    EXPECT_THROW(edC->SetFocus(), EInvalidOperation);
    pnl->SetVisible(false);
    EXPECT_FALSE(edB->CanFocus());
    // Disabling the focused control moves the focus off it.
    edE->SetFocus();
    edE->SetEnabled(false);
    EXPECT_NE(form->ActiveControl(), edE);
}

TEST_F(FocusForm, TabOrderAcrossContainersSkipsDisabledAndInvisible) {
    struct Case {
        const char* name;
        std::function<void(FocusForm&)> setup;
        TShiftState shift;
        std::vector<const char*> expected; // focus after each Tab, starting at edA
    };
    const Case cases[] = {
        {"all", [](FocusForm&) {}, {}, {"edB", "edC", "edD", "edE", "btnOk", "btnCancel", "edA"}},
        {"disabled and invisible",
         [](FocusForm& f) {
             f.edC->SetEnabled(false);
             f.edD->SetVisible(false);
         },
         {},
         {"edB", "edE", "btnOk", "btnCancel", "edA"}},
        {"disabled container", [](FocusForm& f) { f.pnl->SetEnabled(false); }, {}, {"edD", "edE", "btnOk"}},
        {"tab order changed",
         [](FocusForm& f) {
             f.grp->SetTabOrder(0);
             f.edE->SetTabOrder(0);
         },
         {},
         {"edB", "edC", "btnOk", "btnCancel", "edE", "edD", "edA"}},
        {"backwards",
         [](FocusForm& f) { f.edD->SetTabStop(false); },
         TShiftState{ssShift},
         {"btnCancel", "btnOk", "edE", "edC"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.setup(*this);
        edA->SetFocus();
        for (const char* expected : c.expected) {
            Application->PressKey(VK_TAB, c.shift);
            ASSERT_TRUE(form->ActiveControl());
            EXPECT_EQ(form->ActiveControl()->Name(), expected);
        }
    }
}

TEST_F(FocusForm, KeyPreviewGivesTheFormTheKeyFirst) {
    struct Case {
        bool preview;
        bool formEatsKey;
        const char* expected;
    };
    const Case cases[] = {
        {false, false, "edA down;edA press;edA up;"},
        {true, false, "form down;edA down;form press;edA press;form up;edA up;"},
        {true, true, "form down;form press;edA press;form up;edA up;"},
    };
    for (const auto& c : cases) {
        log.clear();
        form->SetKeyPreview(c.preview);
        form->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
            log += "form down;";
            if (c.formEatsKey) key = 0;
        };
        form->OnKeyPress = [&](TObject*, char&) { log += "form press;"; };
        form->OnKeyUp = [&](TObject*, Word&, TShiftState) { log += "form up;"; };
        edA->OnKeyDown = [&](TObject*, Word&, TShiftState) { log += "edA down;"; };
        edA->OnKeyPress = [&](TObject*, char&) { log += "edA press;"; };
        edA->OnKeyUp = [&](TObject*, Word&, TShiftState) { log += "edA up;"; };
        edA->SetFocus();
        Application->PressKey('X');
        EXPECT_EQ(log, c.expected) << c.preview << c.formEatsKey;
    }
    // Characters typed into the edit.
    edA->SetText("");
    Application->TypeText("ab");
    Application->PressKey(VK_BACK);
    Application->TypeText("c");
    EXPECT_EQ(edA->Text(), "ac");
}

TEST_F(FocusForm, DialogKeysAndAccelerators) {
    AnsiString clicked;
    btnOk->OnClick = [&](TObject*) { clicked += "ok;"; };
    btnCancel->OnClick = [&](TObject*) { clicked += "cancel;"; };
    btnOk->SetDefault(true);
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(mrCancel);
    AnsiString typed;
    edA->OnKeyPress = [&](TObject*, char& k) { typed += k; };

    edA->SetFocus();
    Application->PressKey(VK_RETURN);
    EXPECT_EQ(clicked, "ok;");
    EXPECT_EQ(typed, ""); // a dialog key produces no character
    Application->PressKey(VK_ESCAPE);
    EXPECT_EQ(clicked, "ok;cancel;");
    EXPECT_EQ(form->ModalResult(), mrCancel);

    // Enter on a focused button clicks that button, not the default one.
    btnCancel->SetFocus();
    Application->PressKey(VK_RETURN);
    EXPECT_EQ(clicked, "ok;cancel;cancel;");

    btnOk->SetCaption("&Save");
    edA->SetFocus();
    Application->PressKey('S', {ssAlt});
    EXPECT_EQ(clicked, "ok;cancel;cancel;ok;");
    btnOk->SetEnabled(false);
    Application->PressKey('S', {ssAlt});
    Application->PressKey(VK_RETURN);
    EXPECT_EQ(clicked, "ok;cancel;cancel;ok;");
}

// Records, when it is freed, the controls the form still remembers.
class TFocusProbe : public TComponent {
public:
    TFocusProbe(TComponent* owner, TCustomForm* form, std::vector<TWinControl*>& seen)
        : TComponent(owner), form_(form), seen_(seen) {}
    ~TFocusProbe() override {
        seen_.push_back(form_->ActiveControl());
        seen_.push_back(form_->FocusedControl());
    }

private:
    TCustomForm* form_;
    std::vector<TWinControl*>& seen_;
};

TEST_F(FocusForm, FreeingAContainerThatOwnsTheFocusedControlLeavesNoReferenceToIt) {
    // A panel in grp that owns its controls, as composite controls do; the edit directly in it or in
    // an inner panel it owns too.
    for (bool nested : {false, true}) {
        SCOPED_TRACE(nested ? "nested" : "direct");
        auto* owning = new TPanel(form);
        owning->SetParent(grp);
        std::vector<TWinControl*> seen;
        new TFocusProbe(owning, form, seen); // freed after the controls made below
        TWinControl* holder = owning;
        if (nested) {
            holder = new TPanel(owning);
            holder->SetParent(owning);
        }
        auto* edit = new TEdit(owning);
        edit->SetParent(holder);
        int dyingExits = 0;
        owning->OnExit = [&](TObject*) { ++dyingExits; };
        edit->OnExit = owning->OnExit;
        edit->SetFocus();
        ASSERT_TRUE(edit->Focused());
        log.clear();

        owning->Free();
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_NE(seen[0], edit);
        EXPECT_NE(seen[1], edit);
        EXPECT_EQ(form->ActiveControl(), nullptr);
        EXPECT_EQ(form->FocusedControl(), form);
        // The dying controls hear of no exit; the group box, left for the form, does.
        EXPECT_EQ(dyingExits, 0);
        EXPECT_EQ(log, "exit grp;");
        // Keys go to the form now.
        Application->PressKey(VK_TAB);
        EXPECT_EQ(form->ActiveControl(), edA);
    }
}

// A form host that remembers a control, as a display remembers the control under a pressed button.
class TRememberingHost : public TFormHost {
public:
    bool ModalStep(TCustomForm*, int) override { return false; }
    void Invalidate(TControl* control) override {
        if (control == remembered && control->IsDestroying()) remembered = nullptr;
    }
    TControl* remembered = nullptr;
};

TEST_F(FocusForm, TheFormHostIsToldOfAFreedControl) {
    TRememberingHost host;
    TFormHost* previous = SetFormHost(&host);
    auto* owning = new TPanel(form);
    owning->SetParent(form);
    auto* button = new TButton(owning);
    button->SetParent(owning);
    host.remembered = button;
    owning->Free();
    SetFormHost(previous);
    EXPECT_EQ(host.remembered, nullptr);
}

} // namespace
} // namespace qz
