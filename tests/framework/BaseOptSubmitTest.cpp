// The job-options window as a whole: what it reads from the server when it starts, the system page,
// the submission with its outcome, the OK menu that keeps the window open, Cancel, the server's
// refusal, and the controls a plan keeps.
#include "BaseOptTestWindow.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/QzRadioButton.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/data/SocketConnection.h"
#include "platform/gfx/Bitmap.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Spin.h"
#include "platform/vcl/StdCtrlsEx.h"

namespace qz::test {
namespace {

class SubmitTest : public JobWindowTest {
protected:
    void SetUp() override {
        JobWindowTest::SetUp();
        HeadlessDisplay()->SetModalDriver([this](TCustomForm& form) {
            if (auto* text = dynamic_cast<TLabel*>(form.FindComponent("Message")))
                dialogs.push_back(text->Caption());
            if (form.FindComponent("OK")) ClickControl(form, "OK");
        });
    }

    static bool SameGlyph(TBitmap* a, TBitmap* b) {
        if (a->Width() != b->Width() || a->Height() != b->Height() || a->Empty()) return false;
        for (int y = 0; y < a->Height(); ++y)
            for (int x = 0; x < a->Width(); ++x)
                if (a->Pixel(x, y) != b->Pixel(x, y)) return false;
        return true;
    }

    std::vector<AnsiString> dialogs;
};

TEST_F(SubmitTest, StartingReadsTheServersKindAndTheUsersRights) {
    power = VarArrayOf({AnsiString("DB01"), AnsiString("1,0,0,YYYYYYNY"), AnsiString(), AnsiString(),
                        AnsiString("CUSTOMER"), VarArrayOf({1, AnsiString("C01")})});
    TfrmJobProbe* w = NewJobWindow();
    EXPECT_EQ(w->MainMidas->ServerName, "TinsleyS.dmTinsley");
    EXPECT_EQ(w->FSqlType, 3);
    auto asked = server->CallsTo("GetPower");
    ASSERT_EQ(asked.size(), 1u);
    const Variant& args = asked[0].args[0];
    EXPECT_EQ(args[0].AsString(), "DB01");
    EXPECT_EQ(args[1].AsString(), "U01");
    EXPECT_EQ(args[2].AsString(), "ROVANC");
    EXPECT_EQ(args[3].AsString(), "");
    EXPECT_FALSE(w->FLookupRight7);
    EXPECT_TRUE(w->FLookupRight8);
    EXPECT_EQ(w->FDataLimits, AnsiToWide("CUSTOMER\x03"
                                         "1\x03"
                                         "C01\x03"));
    EXPECT_EQ(w->FEnvCount, 12);
    EXPECT_EQ(w->FModuleFlags, 4);
    EXPECT_NE(w->FDateFields.find("edDate,meStartDate,meEndDate"), AnsiString::npos);
    EXPECT_TRUE(w->rdoQueue->Checked());
    EXPECT_FALSE(w->pnlTime->Enabled());
    EXPECT_EQ(w->edDate->Text(), "");

    // A server that cannot answer leaves the default rights, and the window works.
    {
        RegisterOleFactory("TinsleyS.dmTinsley", [this]() -> IDispatchObject* {
            server = new TRecordingObject;
            server->On("LoadTable", Variant()).On("AS_GetRecords", PlanPacket(plans));
            server->Fail("SQLType", "the server is gone");
            return server;
        });
        TfrmJobProbe* failing = NewJobWindow();
        EXPECT_TRUE(failing->FLookupRight7);
        EXPECT_EQ(failing->FMessageItems, "");
        EXPECT_TRUE(failing->Visible());
    }
}

TEST_F(SubmitTest, TheSystemPageIsLaidOutWhenFirstShown) {
    TfrmJobProbe* w = NewJobWindow();
    w->SetBounds(w->Left(), w->Top(), 300, 200);
    w->pgOption->SetActivePage(w->tsOption2);
    EXPECT_GE(w->Height(), 275);
    EXPECT_GE(w->Width(), 340);
    struct Case {
        TControl* control;
        int left, top, width, height; // -1: as designed
        int tabOrder;                 // -1: not checked
    } cases[] = {
        {w->edPrintDate, 60, 8, 85, -1, 0},   {w->grpGenTime, 8, 41, 220, 115, 1},
        {w->rdoRealTime, 5, 12, -1, -1, 0},   {w->rdoQueue, 5, 28, -1, -1, 1},
        {w->rdoExceptTime, 5, 43, -1, -1, 2}, {w->pnlTime, 15, 60, 200, 50, 3},
        {w->edDate, 1, 1, -1, -1, -1},        {w->edHour, 1, 27, -1, -1, -1},
        {w->edMin, 64, 27, -1, -1, -1},       {w->edSec, 130, 27, -1, -1, -1},
        {w->lblHour, 36, 32, -1, -1, -1},     {w->lblMin, 100, 32, -1, -1, -1},
        {w->lblSec, 165, 32, -1, -1, -1},
    };
    for (const Case& c : cases) {
        const AnsiString& name = c.control->Name();
        EXPECT_EQ(c.control->Left(), c.left) << name;
        EXPECT_EQ(c.control->Top(), c.top) << name;
        if (c.width >= 0) {
            EXPECT_EQ(c.control->Width(), c.width) << name;
        }
        if (c.height >= 0) {
            EXPECT_EQ(c.control->Height(), c.height) << name;
        }
        if (c.tabOrder >= 0) {
            EXPECT_EQ(dynamic_cast<TWinControl*>(c.control)->TabOrder(), c.tabOrder) << name;
        }
    }
    EXPECT_EQ(w->btnDate->Left(), w->edDate->Left() + w->edDate->Width() + 2);
    // The menu button stands right beside OK, as high as OK.
    EXPECT_TRUE(w->btnSpd->Visible());
    EXPECT_EQ(w->btnSpd->Left(), w->btnOk->Left() + w->btnOk->Width());
    EXPECT_EQ(w->btnSpd->Top(), w->btnOk->Top());
    EXPECT_EQ(w->btnSpd->Height(), w->btnOk->Height());
    EXPECT_EQ(w->btnSpd->Width(), 11);
    EXPECT_TRUE(SameGlyph(dynamic_cast<TBitBtn*>(w->btnOk)->Glyph(), w->btnOK02->Glyph()));
}

TEST_F(SubmitTest, OkSendsTheRequestReportsTheJobAndCloses) {
    struct Case {
        bool confirm;
        const char* item;
        size_t dialogs;
    } cases[] = {{true, "I;000004;202612090001; ", 1}, {false, "I;-000004;202612090001; ", 0}};
    for (const Case& c : cases) {
        jobNumbers = {"202612090001"};
        dialogs.clear();
        requests.clear();
        TfrmJobProbe* w = NewJobWindow();
        w->FShowConfirmation = c.confirm;
        w->edCode->SetText("A1");
        w->ReportMessages("");
        Application->Click(w->btnOk);
        ASSERT_EQ(requests.size(), 1u);
        Variant request = requests[0];
        EXPECT_EQ(VarArrayLowBound(request, 1), 0);
        EXPECT_EQ(VarArrayHighBound(request, 1), 2);
        EXPECT_EQ(VarArrayLowBound(request[0], 1), 1);
        EXPECT_EQ(VarArrayHighBound(request[0], 1), 12);
        EXPECT_EQ(request[0][10].AsInteger(), 0);
        EXPECT_EQ(request[1][1][1].AsString(), "edCode");
        EXPECT_EQ(request[2][1].AsString(), "A1");
        EXPECT_TRUE(Freed(w)) << c.item;
        TOutcome outcome = OutcomeOf(w);
        EXPECT_EQ(outcome.MessageItems, c.item);
        EXPECT_EQ(dialogs.size(), c.dialogs);
        EXPECT_EQ(outcome.Code, 1);
        EXPECT_EQ(outcome.Value.AsString(), "202612090001");
    }
}

TEST_F(SubmitTest, TheMenuKeepsTheWindowOpenForMoreJobsAndCancelKeepsTheLast) {
    jobNumbers = {"202612090001", "202612090002"};
    TfrmJobProbe* w = NewJobWindow();
    std::vector<TPoint> shownAt;
    TPopupMenu::PopupHost previous = TPopupMenu::SetPopupHost([&](TPopupMenu& menu, int x, int y) {
        shownAt.push_back({x, y});
        menu.Items()->Items(1)->Click(); // miOKNoExit
    });
    Application->Click(w->btnSpd);
    TPopupMenu::SetPopupHost(previous);
    ASSERT_EQ(shownAt.size(), 1u);
    TPoint corner = w->btnOk->ClientToScreen(TPoint{0, w->btnOk->Height()});
    EXPECT_EQ(shownAt[0].X, corner.X);
    EXPECT_EQ(shownAt[0].Y, corner.Y);
    EXPECT_FALSE(w->FCloseAfterOk);
    EXPECT_EQ(w->FOutcomeValue.AsString(), "202612090001");

    w->miOKNoExit->Click();
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_EQ(w->FOutcomeCode, 1);
    EXPECT_EQ(w->FOutcomeValue.AsString(), "202612090002");
    EXPECT_FALSE(Freed(w));

    Application->Click(w->btnCancel);
    EXPECT_TRUE(Freed(w));
    EXPECT_EQ(OutcomeOf(w).Code, 2);
    EXPECT_EQ(OutcomeOf(w).Value.AsString(), "202612090002");
}

TEST_F(SubmitTest, AServerThatRefusesOrFailsIsReportedAndTheWindowStaysOpen) {
    struct Case {
        const char* what;
        bool raises;
        const char* answer;
    } cases[] = {{"error in lower case", false, "error"}, {"a call that raises", true, ""}};
    for (const Case& c : cases) {
        TfrmJobProbe* w = NewJobWindow();
        if (c.raises)
            server->Fail("Request", "the connection broke");
        else
            jobNumbers = {c.answer};
        w->ReportMessages("");
        Application->Click(w->btnOk);
        EXPECT_EQ(server->CallsTo("Request").size(), 1u) << c.what;
        EXPECT_EQ(w->FMessageItems, "E;000013;the queue is full; ") << c.what;
        EXPECT_EQ(w->FOutcomeCode, 0) << c.what;
        EXPECT_FALSE(Freed(w)) << c.what;
    }
}

TEST_F(SubmitTest, APlanKeepsTheNamedControlsOfTheModulesPagesInTabOrder) {
    TfrmJobProbe* w = NewJobWindow();
    EXPECT_EQ(w->FPlanProps, "edCode.text;");
    EXPECT_TRUE(w->pnlCondition->Visible());

    auto add = [&](TWinControl* c, const char* name, int tabOrder) {
        c->SetName(name);
        c->SetParent(w->tsOption1);
        c->SetTabOrder(tabOrder);
    };
    add(new TCheckBox(w), "chk01", 0);
    add(new TMemo(w), "meNote", 1);
    add(new TComboBox(w), "cbo01", 2);
    add(new TQzRadioButton(w), "rdo01", 3);
    add(new TEdit(w), "", 4);
    add(new TRadioButton(w), "rb01", 5);
    w->FPlanProps.clear();
    w->AfterLoadJob();
    EXPECT_EQ(w->FPlanProps, "chk01.checked;cbo01.itemindex;rb01.checked;edCode.text;");

    // Nothing to keep: no plans.
    w->edCode->Free();
    for (const char* name : {"chk01", "cbo01", "rb01"}) w->FindComponent(name)->Free();
    w->FPlanProps.clear();
    w->AfterLoadJob();
    EXPECT_EQ(w->FPlanProps, "");
    EXPECT_FALSE(w->pnlCondition->Visible());
}

} // namespace
} // namespace qz::test
