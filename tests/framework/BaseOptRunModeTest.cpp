// When a job runs: the three run modes with environment elements 10 and 11, the start moment of a
// periodic job and its first run date, the required list shared with the module, and the checks that
// stop a job whose start cannot be read.
#include "BaseOptTestWindow.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/QzRadioButton.h"
#include "platform/core/DateTime.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Spin.h"

namespace qz::test {
namespace {

constexpr TColor kRequired = 0x00AFFFFF;
const TDateTime kNow = EncodeDate(2026, 12, 9) + EncodeTime(9, 15, 0, 0);

class RunModeTest : public JobWindowTest {
protected:
    void SetUp() override {
        JobWindowTest::SetUp();
        SetClock([] { return kNow; });
        w = NewJobWindow();
        w->pgOption->SetActivePage(w->tsOption2);
    }
    void TearDown() override {
        SetClock(nullptr);
        JobWindowTest::TearDown();
    }

    // The environment as the window fills it; Empty when it refuses.
    Variant Environment() {
        Variant env = VarArrayCreate({1, 12}, varVariant);
        return w->GetEnvironment(env, 12) ? env : Variant();
    }

    template <class T> T* Add(const char* name, TWinControl* parent) {
        auto* c = new T(w);
        c->SetName(name);
        c->SetParent(parent);
        return c;
    }

    // The period page's controls a periodic start reads: a daily cycle from 2026/12/10 at 08:30, and
    // the period button down.
    void MakePeriodic() {
        auto* period = Add<TSpeedButton>("btnPeriod", w->Panel1);
        period->SetGroupIndex(2);
        period->SetAllowAllUp(true);
        period->SetDown(true);
        Add<TMaskEdit>("meStartDate", w->tsOption1)->SetText("2026/12/10");
        Add<TSpinEdit>("sePeriodHour", w->tsOption1)->SetText("08");
        Add<TSpinEdit>("sePeriodMin", w->tsOption1)->SetText("30");
        auto* cycles = Add<TPanel>("gbCycleStyle", w->tsOption1);
        Add<TQzRadioButton>("rdoEveryday", cycles)->SetChecked(true);
        Add<TQzRadioButton>("rbEveryHour", cycles);
        Add<TEdit>("meDay", w->tsOption1)->SetText("1");
        Add<TEdit>("edEveryHour", w->tsOption1)->SetText("1.5");
    }

    TfrmJobProbe* w = nullptr;
};

TEST_F(RunModeTest, EachModeGivesItsCodeAndStartMoment) {
    w->edDate->SetText("2026/12/10");
    w->edHour->SetText("14");
    w->edMin->SetText("5");
    w->edSec->SetText("9");
    struct Case {
        TQzRadioButton* button;
        int mode;
        TDateTime start;
        bool timeEnabled;
    } cases[] = {
        {w->rdoQueue, 0, kNow, false}, // the default
        {w->rdoExceptTime, 2, EncodeDate(2026, 12, 10) + EncodeTime(14, 5, 9, 0), true},
        {w->rdoRealTime, 1, kNow, false},
        {w->rdoQueue, 0, kNow, false},
    };
    EXPECT_TRUE(w->rdoQueue->Checked());
    for (const Case& c : cases) {
        Application->Click(c.button);
        ASSERT_TRUE(c.button->Checked()) << c.button->Name();
        EXPECT_EQ(w->pnlTime->Enabled(), c.timeEnabled) << c.button->Name();
        Variant env = Environment();
        ASSERT_FALSE(VarIsEmpty(env)) << c.button->Name();
        EXPECT_EQ(env[9].AsString(), "R");
        EXPECT_EQ(env[10].AsInteger(), c.mode) << c.button->Name();
        EXPECT_EQ(VarType(env[11]), varDate) << c.button->Name();
        EXPECT_DOUBLE_EQ(env[11].AsDouble(), c.start) << c.button->Name();
        EXPECT_EQ(env[12].AsString(), "") << c.button->Name(); // no recipients
    }
}

TEST_F(RunModeTest, APeriodicJobStartsAtItsFirstRunAtThePeriodTime) {
    MakePeriodic();
    Application->Click(w->rdoExceptTime);
    Variant env = Environment();
    ASSERT_FALSE(VarIsEmpty(env));
    EXPECT_EQ(env[9].AsString(), "r");
    EXPECT_EQ(env[10].AsInteger(), 2);
    EXPECT_DOUBLE_EQ(env[11].AsDouble(), EncodeDate(2026, 12, 10) + EncodeTime(8, 30, 0, 0));
    EXPECT_EQ(w->FFirstRunDate, "20261210");
    EXPECT_EQ(w->edSec->Text(), "00");

    // Hourly: the job starts when the request is built.
    dynamic_cast<TQzRadioButton*>(w->FindComponent("rbEveryHour"))->SetChecked(true);
    env = Environment();
    ASSERT_FALSE(VarIsEmpty(env));
    EXPECT_DOUBLE_EQ(env[11].AsDouble(), kNow);
    EXPECT_EQ(w->FCycle[0].AsInteger(), 3);
    EXPECT_DOUBLE_EQ(w->FCycle[1].AsDouble(), 1.5);
    EXPECT_EQ(w->FFirstRunDate, "");
}

TEST_F(RunModeTest, FirstRunDatesOfTheCycles) {
    struct Case {
        const char* start;
        Variant cycle;
        const char* first;
    } cases[] = {
        {"20261209", VarArrayOf({0, "1"}), "20261209"},
        // weekly, every week: Monday, Friday and Wednesday from Wednesday 2026/12/09
        {"20261209", VarArrayOf({1, VarArrayOf({"1", 1})}), "20261214"},
        {"20261209", VarArrayOf({1, VarArrayOf({"1", 5})}), "20261211"},
        {"20261209", VarArrayOf({1, VarArrayOf({"1", 3})}), "20261209"},
        {"20261209", VarArrayOf({1, VarArrayOf({"2", 1})}), "20261221"},
        // monthly on a day: the month's last day when it has no such day
        {"20261115", VarArrayOf({2, VarArrayOf({0, "1", "31"})}), "20261130"},
        {"20261231", VarArrayOf({2, VarArrayOf({0, "1", "15"})}), "20270115"},
        {"20270201", VarArrayOf({2, VarArrayOf({0, "1", "29"})}), "20270228"},
        // monthly on a weekday: the last Friday, the first Monday, the second Sunday of every 2 months
        {"20261228", VarArrayOf({2, VarArrayOf({1, "1", 4, 5})}), "20270129"},
        {"20261201", VarArrayOf({2, VarArrayOf({1, "1", 0, 1})}), "20261207"},
        {"20261215", VarArrayOf({2, VarArrayOf({1, "2", 1, 0})}), "20270110"},
        {"20261209", VarArrayOf({3, 1.5}), ""},
        {"", VarArrayOf({0, "1"}), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstRunDate(c.start, c.cycle), c.first) << c.start << " " << c.first;
}

TEST_F(RunModeTest, EachSideReplacesOnlyItsOwnRequiredEntries) {
    TColor dateColor = w->edDate->Color();
    w->SetRequiredFields("edCode;Y;2");
    Application->Click(w->rdoExceptTime);
    EXPECT_EQ(w->FRequiredFields, "edDate,edCode;Y;2");
    EXPECT_EQ(w->edDate->Color(), kRequired);
    // The module declares its conditions again: the run mode's date stays.
    w->SetRequiredFields("edCode;N");
    EXPECT_EQ(w->FRequiredFields, "edCode;N,edDate");
    // Back to the queue: the date goes, with its colour; the module's entry stays as it was given.
    Application->Click(w->rdoQueue);
    EXPECT_EQ(w->FRequiredFields, "edCode;N");
    EXPECT_EQ(w->edDate->Color(), dateColor);
    EXPECT_EQ(w->edCode->Color(), kRequired);
}

TEST_F(RunModeTest, AGivenTimeWithoutADateIsStoppedByTheRequiredCheck) {
    Application->Click(w->rdoExceptTime);
    w->ReportMessages("");
    Application->Click(w->btnOk);
    EXPECT_EQ(w->FMessageItems, "E;000037; ");
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption2);
    EXPECT_EQ(w->ActiveControl(), w->edDate);
}

TEST_F(RunModeTest, AStartThatCannotBeReadIsReportedAndNothingIsSent) {
    struct Case {
        const char* date;
        const char* hour;
    } cases[] = {{"2026/12/10", "x"}, {"2026/12/10", "24"}, {"abc", "8"}};
    jobNumbers = {"202612090001"};
    Application->Click(w->rdoExceptTime);
    for (const Case& c : cases) {
        w->edDate->SetText(c.date);
        w->edHour->SetText(c.hour);
        w->ReportMessages("");
        Application->Click(w->btnOk);
        EXPECT_EQ(w->FMessageItems, "E;000005;I000009[%s]I000010[%s]; ") << c.date << " " << c.hour;
        EXPECT_TRUE(requests.empty()) << c.date << " " << c.hour;
        EXPECT_EQ(w->FOutcomeCode, 0);
    }
    // Mended, the job goes.
    w->edHour->SetText("8");
    w->edDate->SetText("2026/12/10");
    Application->Click(w->btnOk);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0][0][10].AsInteger(), 2);
    EXPECT_TRUE(Freed(w));
}

TEST_F(RunModeTest, F2InTheStartDateOpensTheDatePicker) {
    w->edDate->SetText("2026/12/10");
    // Without the host's picker the date stays as it was.
    w->DoF2Key(113, w->edDate);
    EXPECT_EQ(w->edDate->Text(), "2026/12/10");

    TRecordingObject* lookup = nullptr;
    w->FLookupObject = MakeRecording(lookup);
    lookup->On("ShowInputDay", Variant(AnsiString("20261224")));
    w->DoF2Key(113, w->edDate);
    EXPECT_EQ(w->edDate->Text(), "2026/12/24");
    ASSERT_EQ(lookup->CallsTo("ShowInputDay").size(), 1u);
    EXPECT_EQ(lookup->CallsTo("ShowInputDay")[0].args[0][1].AsString(), "20261209"); // today
}

} // namespace
} // namespace qz::test
