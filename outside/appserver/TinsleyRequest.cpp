#include "outside/appserver/TinsleyRequest.h"

#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/data/Wire.h"
#include "platform/variant/Variant.h"

namespace qz {

namespace {

// The environment of a job window: program, counts, company, user, database, build time, server
// class, job kind, run mode, start, recipients; report windows add their own elements after these.
constexpr int kJobEnvironment = 12;

[[noreturn]] void Wrong(const AnsiString& what) {
    throw EOleError("Malformed request: " + what);
}

bool IsVector(const Variant& v) {
    return VarIsArray(v) && VarArrayDimCount(v) == 1;
}

// A one-dimensional array from low to high.
void CheckBounds(const Variant& v, int low, int high, const AnsiString& what) {
    if (!IsVector(v) || VarArrayLowBound(v, 1) != low || VarArrayHighBound(v, 1) != high)
        Wrong(what + " must be an array from " + IntToStr(low) + " to " + IntToStr(high));
}

AnsiString TextOf(const Variant& v, const AnsiString& what) {
    if (VarIsArray(v) || VarIsObject(v) || !(VarIsStr(v) || VarIsEmpty(v) || VarIsNull(v)))
        Wrong(what + " must be a text");
    return VarToStr(v);
}

AnsiString FilledText(const Variant& v, const AnsiString& what) {
    AnsiString text = TextOf(v, what);
    if (Trim(text).empty()) Wrong(what + " is empty");
    return text;
}

int IntegerOf(const Variant& v, const AnsiString& what, int low, int high) {
    if (VarIsArray(v) || VarIsObject(v) || VarIsEmpty(v) || VarIsNull(v)) Wrong(what + " must be a number");
    int n = 0;
    try {
        n = v.AsInteger();
    } catch (const std::exception&) {
        Wrong(what + " must be a number");
    }
    if (n < low || n > high) Wrong(what + " must be from " + IntToStr(low) + " to " + IntToStr(high));
    return n;
}

TDateTime MomentOf(const Variant& v, const AnsiString& what) {
    if (VarType(v) != varDate && !VarIsNumeric(v)) Wrong(what + " must be a date and time");
    Word year, month, day;
    TDateTime moment = v.AsDateTime();
    if (!TryDecodeDate(moment, year, month, day)) Wrong(what + " is outside the calendar");
    return moment;
}

// "YYYYMMDD" of a real date.
void CheckYMD(const Variant& v, const AnsiString& what) {
    AnsiString text = TextOf(v, what);
    int year, month, day;
    TDateTime date;
    bool digits = text.size() == 8 && text.find_first_not_of("0123456789") == AnsiString::npos;
    if (!digits || !TryStrToInt(text.substr(0, 4), year) || !TryStrToInt(text.substr(4, 2), month) ||
        !TryStrToInt(text.substr(6, 2), day) || !TryEncodeDate(year, month, day, date))
        Wrong(what + " must be a date YYYYMMDD");
}

// The conditions: n texts [caption, control name] and n values.
void CheckConditions(const Variant& texts, const Variant& values, int n) {
    CheckBounds(texts, 1, n, "element 1 (the condition texts)");
    CheckBounds(values, 1, n, "element 2 (the condition values)");
    for (int i = 1; i <= n; ++i) {
        AnsiString what = "condition text " + IntToStr(i);
        CheckBounds(texts[i], 0, 1, what);
        TextOf(texts[i][0], what + " (its caption)");
        FilledText(texts[i][1], what + " (its control name)");
    }
}

// ["Y", "hh:nn", cycle [kind 0..3, its values], range [start date, end kind 0..2, its value]].
void CheckSchedule(const Variant& schedule) {
    CheckBounds(schedule, 0, 3, "element 3 (the schedule)");
    if (TextOf(schedule[0], "schedule element 0") != "Y") Wrong("schedule element 0 must be \"Y\"");
    AnsiString time = TextOf(schedule[1], "the schedule's run time");
    int hour, minute;
    if (time.size() != 5 || time[2] != ':' || !TryStrToInt(time.substr(0, 2), hour) ||
        !TryStrToInt(time.substr(3, 2), minute) || hour < 0 || hour > 23 || minute < 0 || minute > 59)
        Wrong("the schedule's run time must be hh:nn");
    CheckBounds(schedule[2], 0, 1, "the schedule's cycle");
    IntegerOf(schedule[2][0], "the cycle kind", 0, 3);
    const Variant& range = schedule[3];
    if (!IsVector(range) || VarArrayLowBound(range, 1) != 0 || VarArrayHighBound(range, 1) < 1)
        Wrong("the schedule's range must be an array from 0");
    CheckYMD(range[0], "the schedule's start date");
    int end = IntegerOf(range[1], "the schedule's end kind", 0, 2);
    CheckBounds(range, 0, end == 0 ? 1 : 2, "the schedule's range");
    if (end == 2) CheckYMD(range[2], "the schedule's end date");
}

std::string Encoded(const Variant& v) {
    WireWriter w;
    w.Var(v);
    return w.Data();
}

} // namespace

JobRecord ReadJobRequest(const Variant& request) {
    if (!IsVector(request) || VarArrayLowBound(request, 1) != 0 ||
        (VarArrayHighBound(request, 1) != 2 && VarArrayHighBound(request, 1) != 4))
        Wrong("the request must be an array from 0 to 2, or to 4 for a periodic job");
    const bool periodic = VarArrayHighBound(request, 1) == 4;
    const Variant& env = request[0];
    if (!IsVector(env) || VarArrayLowBound(env, 1) != 1 || VarArrayHighBound(env, 1) < kJobEnvironment)
        Wrong("element 0 (the environment) must be an array from 1 to at least " + IntToStr(kJobEnvironment));
    int size = VarArrayHighBound(env, 1);
    IntegerOf(env[2], "environment element 2 (its size)", size, size);

    JobRecord job;
    job.Programme = FilledText(env[1], "environment element 1 (the program code)");
    int conditions = IntegerOf(env[3], "environment element 3 (the number of conditions)", 0, 1 << 20);
    TextOf(env[4], "environment element 4 (the company code)");
    job.Creator = FilledText(env[5], "environment element 5 (the user code)");
    TextOf(env[6], "environment element 6 (the database name)");
    MomentOf(env[7], "environment element 7 (the moment of the request)");
    TextOf(env[8], "environment element 8 (the server class)");
    job.JobKind = FilledText(env[9], "environment element 9 (the job kind)");
    job.RunMode = IntegerOf(env[10], "environment element 10 (the run mode)", 0, 2);
    job.StartTime = MomentOf(env[11], "environment element 11 (the start)");
    TextOf(env[12], "environment element 12 (the recipients)");
    CheckConditions(request[1], request[2], conditions);

    if (periodic) {
        if (job.RunMode != 2) Wrong("a periodic job must run at a given time (run mode 2)");
        CheckSchedule(request[3]);
        const Variant& dates = request[4];
        if (!IsVector(dates) || VarArrayLowBound(dates, 1) != 0)
            Wrong("element 4 (the dynamic dates) must be an array from 0");
        IntegerOf(dates[0], "the number of dynamic dates", 0, VarArrayHighBound(dates, 1));
        job.Schedule = Encoded(request[3]);
    }
    static const char* const states[] = {kStateQueued, kStateImmediate, kStateScheduled};
    job.State = periodic ? kStatePeriodic : states[job.RunMode];
    job.Request = Encoded(request);
    job.Submitted = Now();
    job.Updated = job.Submitted;
    return job;
}

} // namespace qz
