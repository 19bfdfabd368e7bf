#pragma once
// Job requests as the job-options window builds them, for tests of the server object.
#include "platform/core/CodePages.h"
#include "platform/variant/Variant.h"

namespace qz::test {

// One condition (a date), environment 1..12; runMode 2 starts at start.
inline Variant JobRequest(const AnsiString& user = "U1", int runMode = 0, TDateTime start = 45001.25,
                          const AnsiString& jobKind = "R") {
    Variant env = VarArrayCreate({1, 12}, varVariant);
    env[1] = "ROVANC";
    env[2] = 12;
    env[3] = 1;
    env[4] = "C01";
    env[5] = user;
    env[6] = "db";
    env[7] = Variant::FromDate(45000.5);
    env[8] = "ROVANCS.Class1";
    env[9] = jobKind;
    env[10] = runMode;
    env[11] = Variant::FromDate(start);
    env[12] = "";
    Variant texts = VarArrayCreate({1, 1}, varVariant);
    texts[1] = VarArrayOf({GB("日期"), "edDate"});
    Variant values = VarArrayCreate({1, 1}, varVariant);
    values[1] = "20240105";
    return VarArrayOf({env, texts, values});
}

// A daily job at 08:30 from 2026-12-10, with no end and no dynamic dates.
inline Variant PeriodicJobRequest() {
    Variant request = JobRequest("U1", 2, 46366 + 8.5 / 24, "r");
    VarArrayRedim(request, 4);
    request[3] = VarArrayOf({"Y", "08:30", VarArrayOf({0, "1"}), VarArrayOf({"20261210", 0})});
    request[4] = VarArrayOf({0});
    return request;
}

} // namespace qz::test
