// When a job starts: the run mode and start moment of the environment, the cycle of a periodic job and
// its first run date.
#include "controls/PropUtils.h"
#include "controls/QzRadioButton.h"
#include "framework/BaseOpt.h"
#include "platform/core/DateTime.h"
#include "platform/core/Format.h"
#include "platform/core/Strings.h"
#include "platform/vcl/MaskEdit.h"
#include "platform/vcl/Spin.h"
#include "support/LibStrs.h"

namespace qz {

namespace {

constexpr int kHourlyCycle = 3;

// Year, month and day of a "YYYYMMDD" date; false for a text that is none.
bool SplitYMD(const AnsiString& ymd, int& year, int& month, int& day) {
    if (ymd.size() != 8 || !IsValidYMD(ymd)) return false;
    year = StrToInt(ymd.substr(0, 4));
    month = StrToInt(ymd.substr(4, 2));
    day = StrToInt(ymd.substr(6, 2));
    return true;
}

AnsiString YMD(TDateTime date) {
    return FormatDateTime("yyyymmdd", date);
}

// The first day of the month k months after the start's.
TDateTime MonthStart(const AnsiString& start, int k) {
    int year, month, day;
    SplitYMD(ShiftDate(Variant(start), "M", k), year, month, day);
    return EncodeDate(year, month, 1);
}

// The q-th (0..3, 4 the last) weekday t (1 Sunday .. 7 Saturday) of the month starting at first.
TDateTime WeekdayOfMonth(TDateTime first, int q, int t) {
    if (q == 4) {
        Word year, month, day;
        DecodeDate(first, year, month, day);
        TDateTime last = EncodeDate(year, month, DaysOfMonth(year, month));
        int e = DayOfWeek(last) - t;
        return e >= 0 ? last - e : last - e - 7;
    }
    int c = t - DayOfWeek(first);
    return c >= 0 ? first + c + 7 * q : first + c + 7 * (q + 1);
}

bool Checked(const TComponent* c) {
    return c && GetOrdPropByName(c, "Checked") != 0;
}

} // namespace

AnsiString FirstRunDate(const AnsiString& Start, const Variant& Cycle) {
    int year, month, day;
    if (!SplitYMD(Start, year, month, day)) return "";
    TDateTime start = EncodeDate(year, month, day);
    switch (Cycle[0].AsInteger()) {
    case 0: return Start;
    case 1: {
        int n = Cycle[1][0].AsInteger(), t = Cycle[1][1].AsInteger() + 1, b = DayOfWeek(start);
        int k = t < b ? n : n - 1;
        return YMD(start + 7 * k + (t - b));
    }
    case 2: {
        const Variant& monthly = Cycle[1];
        int m = monthly[1].AsInteger();
        if (monthly[0].AsInteger() == 0) {
            int d = monthly[2].AsInteger();
            int y, mo, ignored;
            SplitYMD(ShiftDate(Variant(Start), "M", d >= day ? m - 1 : m), y, mo, ignored);
            return Format("%.4d%.2d%.2d", {y, mo, IsValidDate(y, mo, d) ? d : DaysOfMonth(y, mo)});
        }
        int q = monthly[2].AsInteger(), t = monthly[3].AsInteger() + 1;
        TDateTime run = WeekdayOfMonth(MonthStart(Start, m - 1), q, t);
        if (run < start) run = WeekdayOfMonth(MonthStart(Start, m), q, t);
        return YMD(run);
    }
    default: return "";
    }
}

void TfrmBaseOpt::BuildCycle() {
    FCycle = VarArrayCreate({0, 1}, varVariant);
    auto find = [this](const char* name) { return FindComponent(name); };
    auto text = [&](const char* name) { return Variant(GetStrPropByName(find(name), "Text")); };
    auto index = [&](const char* name) {
        return Variant(static_cast<int>(GetOrdPropByName(find(name), "ItemIndex")));
    };
    try {
        if (Checked(find("rdoEveryday"))) {
            FCycle[0] = 0;
            FCycle[1] = text("meDay");
        } else if (Checked(find("rdoEveryWeek"))) {
            FCycle[0] = 1;
            FCycle[1] = VarArrayOf({text("meWeek"), index("cboDayofWeek")});
        } else if (Checked(find("rdoEveryMonth"))) {
            FCycle[0] = 2;
            if (Checked(find("rdomonth_1")))
                FCycle[1] = VarArrayOf({0, text("meMonth_M1"), text("meMonth_D")});
            else
                FCycle[1] = VarArrayOf({1, text("meMonth_M2"), index("cbo1Month_M2"), index("cbo2Month_M2")});
        } else {
            FCycle[0] = kHourlyCycle;
            FCycle[1] = StrToFloatDefault(Trim(text("edEveryHour").AsString()), 0);
        }
    } catch (const std::exception&) {
        // What could not be read stays out of the cycle.
    }
}

bool TfrmBaseOpt::StartMoment(TDateTime& Start) {
    TDateTime date = 0;
    bool hourly = false;
    if (IsPeriodic()) {
        BuildCycle();
        AnsiString first;
        DateToParam(GetStrPropByName(FindComponent("meStartDate"), "Text"), first);
        hourly = FCycle[0].AsInteger() == kHourlyCycle;
        FFirstRunDate = FirstRunDate(first, FCycle);
        date = YMDToDate(FFirstRunDate);
        edHour->SetText(GetStrPropByName(FindComponent("sePeriodHour"), "Text"));
        edMin->SetText(GetStrPropByName(FindComponent("sePeriodMin"), "Text"));
        edSec->SetText("00");
    } else {
        AnsiString separator;
        GetDateSeparator(separator);
        date = TextToDate(edDate->Text(), GetDateStyle(), separator);
    }
    TDateTime time = EncodeTime(StrToInt(Trim(edHour->Text())), StrToInt(Trim(edMin->Text())),
                                StrToInt(Trim(edSec->Text())), 0);
    if (hourly) {
        Start = Now();
        return true;
    }
    // A date that reads as none would start the job at the beginning of the calendar.
    if (date == 0) return false;
    Start = date + time;
    return true;
}

bool TfrmBaseOpt::GetEnvironment(Variant& Env, int Count) {
    if (!TfrmBaseGene::GetEnvironment(Env, Count)) return false;
    ShortDateFormat = "yyyy/mm/dd";
    if (IsPeriodic()) Env[9] = LowerCase(FJobKind);
    Env[11] = VarFromDateTime(Now());
    if (rdoQueue->Checked()) {
        Env[10] = 0;
    } else if (rdoRealTime->Checked()) {
        Env[10] = 1;
    } else {
        Env[10] = 2;
        TDateTime start = 0;
        bool read = false;
        try {
            read = StartMoment(start);
        } catch (const std::exception&) {
            read = false;
        }
        if (!read) {
            Env[10] = 0;
            AnsiString date, time;
            GetMessageText("I", "000009", date);
            GetMessageText("I", "000010", time);
            ReportMessages("E;000005;" + date + time);
            return false;
        }
        Env[11] = VarFromDateTime(start);
    }
    TComponent* notify = FindComponent("chkNotify");
    Env[12] = Checked(notify) ? FNotifyXml : AnsiString();
    return true;
}

} // namespace qz
