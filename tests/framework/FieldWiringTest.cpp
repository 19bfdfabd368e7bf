#include "RequestWindowFixture.h"
#include "controls/ExtPage.h"
#include "controls/SelectPnl.h"
#include "framework/BaseGeneU.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/StdCtrls.h"

namespace qz::test {
namespace {

constexpr TColor kRequired = 0x00AFFFFF;

class FieldWiringTest : public RequestWindowTest {
protected:
    void SetUp() override {
        RequestWindowTest::SetUp();
        host->On("GetMessage", [](DispArgs& a) { return Variant(a[0].AsString() + a[1].AsString()); });
        HeadlessDisplay()->SetModalDriver([this](TCustomForm& form) {
            if (auto* text = dynamic_cast<TLabel*>(form.FindComponent("Message")))
                shown.push_back(text->Caption());
            if (form.FindComponent("OK")) ClickControl(form, "OK");
        });
        w = NewTestWindow();
    }

    template <class T> T* Add(const char* name, TWinControl* parent, int tabOrder = -1) {
        auto* c = new T(w);
        c->SetName(name);
        c->SetParent(parent);
        if constexpr (std::is_base_of_v<TWinControl, T>)
            if (tabOrder >= 0) c->SetTabOrder(tabOrder);
        return c;
    }

    // Initialises the window with its date fields and shows it at the first page.
    void Ready(const AnsiString& dateFields = "") {
        w->ModuleDateFields = dateFields;
        ASSERT_TRUE(w->InitFromHost(HostParams(5)));
        w->Show();
        w->pgOption->SetActivePage(w->tsOption1);
        shown.clear();
    }

    TfrmTestGene* w = nullptr;
    std::vector<AnsiString> shown;
};

TEST_F(FieldWiringTest, DateFieldsAreReplacedByAListWithThePrintDateAndAddedToOtherwise) {
    auto* edA = Add<TMaskEdit>("edA", w->tsOption1);
    auto* edB = Add<TMaskEdit>("edB", w->tsOption1);
    auto* spDates = Add<TSelectPanel>("spDates", w->tsOption1);
    std::vector<TObject*> entered;
    edA->OnEnter = TNotifyEvent([&](TObject* s) { entered.push_back(s); });
    const TNotifyEvent ownEnter = edA->OnEnter;
    ASSERT_TRUE(w->InitFromHost(HostParams(5)));
    w->FSysInfo->SetValue("Sys001", "2");
    w->FSysInfo->SetValue("Sys002", "-");
    ASSERT_EQ(w->FDateFields, "edPrintDate");

    w->AddDateFields("edA,spDates");
    EXPECT_EQ(w->FDateFields, "edA,spDates,edPrintDate");
    EXPECT_TRUE(edA->OnEnter == w->OnDateFieldEnter());
    EXPECT_TRUE(edA->OnExit == w->OnDateFieldExit());
    EXPECT_EQ(spDates->ValueType(), vt_Date);
    EXPECT_EQ(spDates->DateType(), dt_MMDDYYYY);
    EXPECT_EQ(spDates->DateSign(), "-");
    int remembered = w->FSavedHandlers->Count();
    w->AddDateFields(" edA,spDates,edPrintDate ");
    EXPECT_EQ(w->FSavedHandlers->Count(), remembered); // the same list: hooked once

    w->AddDateFields("edB,edPrintDate");
    EXPECT_EQ(w->FDateFields, "edB,edPrintDate");
    EXPECT_TRUE(edA->OnEnter == ownEnter); // its own handler back
    EXPECT_FALSE(edA->OnExit);
    EXPECT_TRUE(spDates->OnExit == nullptr);
    EXPECT_TRUE(edB->OnEnter == w->OnDateFieldEnter());

    w->AddDateFields("edA");
    EXPECT_EQ(w->FDateFields, "edA,edB,edPrintDate");
    w->OnDateFieldEnter()(edA);
    ASSERT_EQ(entered.size(), 1u); // its own handler, once, after the mask
    EXPECT_EQ(entered[0], edA);
    AnsiString mask;
    w->GetDateMask(mask);
    EXPECT_EQ(edA->EditMask(), mask);
    EXPECT_EQ(mask, "99-99-9999;1; ");

    // A name listed twice is hooked once: the window's handler does not call itself back.
    auto* edC = Add<TEdit>("edC", w->tsOption1);
    w->AddDateFields("edC,edC");
    w->OnDateFieldEnter()(edC);
    w->OnDateFieldExit()(edC);
    EXPECT_EQ(edC->Text(), "  -  -    "); // the blank date of a plain edit
}

TEST_F(FieldWiringTest, LeavingADateFieldWithAWrongDateKeepsTheFocusThere) {
    auto* edFrom = Add<TMaskEdit>("edFrom", w->tsOption1, 0);
    auto* spDates = Add<TSelectPanel>("spDates", w->tsOption1, 1);
    auto* edNext = Add<TEdit>("edNext", w->tsOption1, 2);
    std::vector<TObject*> exits;
    edFrom->OnExit = TNotifyEvent([&](TObject* s) { exits.push_back(s); });
    Ready("edFrom,spDates");
    ASSERT_EQ(w->ActiveControl(), edFrom);
    EXPECT_EQ(edFrom->EditMask(), "9999\\/99\\/99;1; "); // given on entry

    Application->TypeText("20241345");
    EXPECT_EQ(edFrom->Text(), "2024/13/45");
    edNext->SetFocus();
    EXPECT_EQ(shown, std::vector<AnsiString>({"E000005"}));
    EXPECT_EQ(w->ActiveControl(), edFrom);
    EXPECT_TRUE(w->FInvalid);
    EXPECT_TRUE(exits.empty());
    // The page cannot be changed either; the message is shown during the change too.
    Application->PressKey(VK_TAB, TShiftState{ssCtrl});
    EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption1);
    EXPECT_EQ(shown.size(), 2u);

    edFrom->SetText("2024/03/05");
    edNext->SetFocus();
    EXPECT_EQ(w->ActiveControl(), edNext);
    EXPECT_FALSE(w->FInvalid);
    EXPECT_EQ(exits, std::vector<TObject*>({edFrom})); // its own handler, with itself as sender

    // A range (not ordered on exit here): the wrong edit of the two takes the focus.
    spDates->SetAutoChangeDateSite(false);
    spDates->BeginEdit->SetFocus();
    spDates->BeginEdit->SetText("2024/01/01");
    spDates->EndEdit->SetText("2024/02/30");
    edNext->SetFocus();
    EXPECT_EQ(w->ActiveControl(), spDates->EndEdit);
    EXPECT_EQ(shown.size(), 3u);

    // Cancel leaves without the message.
    bool destroyed = false;
    w->OnDestroy = TNotifyEvent([&](TObject*) { destroyed = true; });
    Application->Click(w->btnCancel);
    EXPECT_EQ(shown.size(), 3u);
    Application->ProcessMessages();
    EXPECT_TRUE(destroyed);
    Forget(w);
}

TEST_F(FieldWiringTest, AWrongDateThatCannotTakeTheFocusIsReportedOnce) {
    auto* spDates = Add<TSelectPanel>("spDates", w->tsOption1, 0);
    auto* edNext = Add<TEdit>("edNext", w->tsOption1, 1);
    spDates->SetStyle(sp_UserChoice);
    spDates->SetUserChoice(false); // the list is in use, the range edits are hidden
    spDates->BeginEdit->SetText("2024/13/01");
    Ready("spDates");
    ASSERT_EQ(w->ActiveControl(), spDates->ListView);
    edNext->SetFocus();
    EXPECT_EQ(shown, std::vector<AnsiString>({"E000005"}));
    EXPECT_TRUE(w->FInvalid);
}

TEST_F(FieldWiringTest, WhatARequiredFieldLacks) {
    struct Case {
        const char* entry;
        std::function<void(TfrmTestGene*)> fill;
        bool empty;
    };
    auto text = [](const char* name, const char* value) {
        return [=](TfrmTestGene* w) { static_cast<TControl*>(w->FindComponent(name))->SetText(value); };
    };
    auto range = [](const char* from, const char* to) {
        return [=](TfrmTestGene* w) {
            auto* panel = static_cast<TSelectPanel*>(w->FindComponent("spRange"));
            panel->BeginEdit->SetText(from);
            panel->EndEdit->SetText(to);
        };
    };
    auto nothing = [](TfrmTestGene*) {};
    const Case cases[] = {
        {"edPlain", nothing, true},
        {"edPlain", text("edPlain", "  "), true},
        {"edPlain", text("edPlain", "x"), false},
        {"edDue", nothing, true}, // only the literals of its mask
        {"edDue", text("edDue", "2024/03/05"), false},
        {"spRange", range("A", ""), true},
        {"spRange", range("", "B"), true},
        {"spRange", range("A", "B"), false},
        {"spDates", nothing, true}, // a date range shows its mask's literals
        {"spList", nothing, true},
        {"spList",
         [](TfrmTestGene* w) {
             static_cast<TSelectPanel*>(w->FindComponent("spList"))->ListView->AddRow({"c"});
         },
         false},
        {"chkFlag", nothing, false}, // nothing to be empty
        {"edPlain;N", nothing, false},
        {"edPlain;n;0", nothing, false},
        {"edPlain;2", nothing, false}, // a number is no flag to check
        {"edPlain;Y;1", nothing, true},
        {"edNothing", nothing, false},
    };
    for (const Case& c : cases) {
        w = NewTestWindow();
        Add<TEdit>("edPlain", w->tsOption1);
        Add<TMaskEdit>("edDue", w->tsOption1)->SetEditMask("9999/99/99;1;_");
        Add<TSelectPanel>("spRange", w->tsOption1);
        Add<TSelectPanel>("spDates", w->tsOption1)->SetEditMask("9999/99/99;1; ");
        Add<TSelectPanel>("spList", w->tsOption1)->SetStyle(sp_Discrete);
        Add<TCheckBox>("chkFlag", w->tsOption1);
        Ready();
        c.fill(w);
        EXPECT_EQ(w->CheckRequiredFields(c.entry), c.empty) << c.entry;
        EXPECT_EQ(w->FMessageItems.find("E;000037") != AnsiString::npos, c.empty) << c.entry;
        w->Hide();
    }
}

TEST_F(FieldWiringTest, AnEmptyRequiredFieldStopsOkAndIsShown) {
    auto* spRange = Add<TSelectPanel>("spRange", w->tsOption1, 0);
    auto* edNote = Add<TEdit>("edNote", w->tsOption1, 1);
    auto* btnQuery = Add<TButton>("btnQuery", w->Panel1); // no handler of its own
    TColor noteColor = edNote->Color(), beginColor = spRange->BeginEdit->Color();
    std::vector<TObject*> oks;
    w->btnOk->OnClick = TNotifyEvent([&](TObject* s) { oks.push_back(s); });
    const TNotifyEvent ownOk = w->btnOk->OnClick;
    Ready();
    w->pgOption->SetActivePage(w->tsOption2);

    w->SetRequiredFields("edNothing"); // names nothing: nothing is hooked, OK keeps its handler
    EXPECT_TRUE(w->btnOk->OnClick == ownOk);
    w->SetRequiredFields("spRange, edNote;N");
    for (TControl* c : {static_cast<TControl*>(spRange->BeginEdit), static_cast<TControl*>(spRange->EndEdit),
                        static_cast<TControl*>(spRange->ListView), static_cast<TControl*>(edNote)})
        EXPECT_EQ(c->Color(), kRequired) << c->Name(); // painted, checked or not
    EXPECT_TRUE(w->btnOk->OnClick == w->OnRequiredExit());

    spRange->BeginEdit->SetText("A01");
    Application->Click(w->btnOk);
    EXPECT_TRUE(oks.empty());
    EXPECT_EQ(shown, std::vector<AnsiString>({"E000037"}));
    EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption1);
    EXPECT_EQ(w->ActiveControl(), spRange->BeginEdit);

    spRange->EndEdit->SetText("A09");
    Application->Click(w->btnOk);
    EXPECT_EQ(oks, std::vector<TObject*>({w->btnOk})); // edNote is not checked
    Application->Click(btnQuery);                      // checked, and nothing of its own to call
    EXPECT_EQ(shown.size(), 1u);

    // A new list puts the old colours back first.
    w->SetRequiredFields("spRange;;2");
    EXPECT_EQ(edNote->Color(), noteColor);
    EXPECT_EQ(spRange->BeginEdit->Color(), beginColor);
    EXPECT_EQ(spRange->EndEdit->Color(), kRequired);
    w->SetRequiredFields("");
    EXPECT_TRUE(w->btnOk->OnClick == ownOk);
    EXPECT_TRUE(btnQuery->OnClick == nullptr);
}

TEST_F(FieldWiringTest, APeriodicJobWithAnEmptyFieldLosesItsPeriodPage) {
    struct Case {
        bool onLastPage; // the field lies on the last page
        bool releasesPeriod;
    };
    for (Case c : {Case{false, true}, Case{true, false}}) {
        w = NewTestWindow();
        auto* period = Add<TSpeedButton>("btnPeriod", w->Panel1);
        period->SetGroupIndex(1);
        period->SetAllowAllUp(true);
        int periodClicks = 0;
        period->OnClick = TNotifyEvent([&](TObject*) { ++periodClicks; });
        Add<TEdit>("edNeeded", c.onLastPage ? w->tsOption2 : w->tsOption1);
        Ready();
        w->SetRequiredFields("edNeeded");

        period->Click(); // up: not a periodic job, nothing checked
        EXPECT_EQ(periodClicks, 1);
        EXPECT_TRUE(shown.empty());

        period->SetDown(true);
        Application->Click(w->btnOk);
        EXPECT_EQ(shown, std::vector<AnsiString>({"E000037"})) << c.onLastPage;
        EXPECT_EQ(period->Down(), !c.releasesPeriod) << c.onLastPage;
        EXPECT_EQ(w->tsOption2->TabVisible(), !c.releasesPeriod) << c.onLastPage;
        w->Hide();
    }
}

} // namespace
} // namespace qz::test
