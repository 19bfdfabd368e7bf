// The server object's job queue and rights in-process: job numbers by day, unique when many callers
// submit at once; what is stored of each kind of job; malformed requests; the rights of GetPower.
#include "JobRequests.h"
#include "outside/appserver/TinsleyServer.h"
#include "outside/appserver/TinsleyStore.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/data/Wire.h"
#include "platform/os/System.h"
#include "platform/variant/Dispatch.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <sqlite3.h>
#include <thread>

namespace qz::test {
namespace {

const TDateTime kDay = 46366; // 2026-12-10

class TinsleyJobs : public ::testing::Test {
protected:
    TinsleyJobs() : db(CreateTempFile("tinsley")), server(CreateTinsleyServer(db)) {
        SetClock([] { return kDay + 10.0 / 24; });
    }
    ~TinsleyJobs() override {
        SetClock(nullptr);
        server.Clear();
        std::remove(db.c_str());
    }

    AnsiString Submit(const Variant& request) { return server.Call("Request", {request}).AsString(); }

    // Runs SQL on the database file as another program would.
    void Sql(const char* sql) {
        sqlite3* handle = nullptr;
        ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(handle, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(handle);
    }

    std::string db;
    Variant server;
};

TEST_F(TinsleyJobs, AJobNumberIsTheDayAndItsSequence) {
    EXPECT_EQ(Submit(JobRequest()), "202612100001");
    EXPECT_EQ(server.Call("Request1", {JobRequest(), "PC1"}).AsString(), "202612100002");
    SetClock([] { return kDay + 1 + 0.1; });
    EXPECT_EQ(Submit(JobRequest()), "202612110001");
    // A job submitted under the clock of an earlier day still follows that day's last number.
    SetClock([] { return kDay + 0.9; });
    EXPECT_EQ(Submit(JobRequest()), "202612100003");
}

TEST_F(TinsleyJobs, AStoreOfTheOldNumberingKeepsItsJobsAndNumbersNewOnesByDay) {
    server.Clear();
    Sql("CREATE TABLE JOBS (JOBNO INTEGER PRIMARY KEY AUTOINCREMENT, PROGRAMME BLOB NOT NULL, CREATOR BLOB "
        "NOT NULL, JOBKIND BLOB NOT NULL, RUNMODE INTEGER NOT NULL, REQUEST BLOB NOT NULL, COMPUTER BLOB NOT "
        "NULL, STATE BLOB NOT NULL, SUBMITTED REAL NOT NULL, START_TIME REAL NOT NULL, UPDATED REAL NOT "
        "NULL, "
        "MESSAGE BLOB NOT NULL);"
        "INSERT INTO JOBS VALUES (7, 'ROVANC', 'U1', 'R', 0, x'', '', 'Queued', 1, 1, 1, '');");
    server = Variant(CreateTinsleyServer(db));
    EXPECT_EQ(Submit(JobRequest()), "202612100001");
    server.Clear();
    TinsleyStore store(db);
    std::vector<JobRecord> jobs = store.Jobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].JobNo, 7);
    EXPECT_EQ(jobs[0].CodePage, 936);
    EXPECT_TRUE(jobs[0].Schedule.empty());
    EXPECT_EQ(jobs[1].JobNo, 202612100001);
}

TEST_F(TinsleyJobs, ADayWithoutNumbersLeftRefusesTheJob) {
    ASSERT_EQ(Submit(JobRequest()), "202612100001");
    Sql("UPDATE JOBS SET JOBNO = 202612109999");
    EXPECT_EQ(Submit(JobRequest()), "ERROR");
    AnsiString why = server.Call("ErrorDescript").AsString();
    EXPECT_NE(why.find("No job number is left for 20261210"), std::string::npos) << why;
    SetClock([] { return kDay + 1; });
    EXPECT_EQ(Submit(JobRequest()), "202612110001");
}

TEST_F(TinsleyJobs, EachKindOfJobIsStoredWithItsStateStartAndSchedule) {
    const TDateTime start = kDay + 2 + 14.5 / 24;
    struct Case {
        const char* what;
        Variant request;
        const char* computer; // Request1 when given
        const char* state;
        int runMode;
        TDateTime start;
        bool schedule;
    } cases[] = {
        {"queue", JobRequest("U1", 0, kDay + 0.4), nullptr, "Queued", 0, kDay + 0.4, false},
        {"real time", JobRequest("U1", 1, kDay + 0.4), nullptr, "Immediate", 1, kDay + 0.4, false},
        {"at a given time", JobRequest("U2", 2, start), nullptr, "Scheduled", 2, start, false},
        {"periodic", PeriodicJobRequest(), nullptr, "Periodic", 2, 46366 + 8.5 / 24, true},
        {"in the client", JobRequest("U1", 1, kDay + 0.4), "HOST7", "Running in client", 1, kDay + 0.4,
         false},
    };
    std::vector<AnsiString> numbers;
    for (const Case& c : cases) {
        AnsiString no =
            c.computer ? server.Call("Request1", {c.request, c.computer}).AsString() : Submit(c.request);
        ASSERT_NE(no, "ERROR") << c.what << ": " << server.Call("ErrorDescript").AsString();
        numbers.push_back(no);
    }
    server.Call("UpdateStatus1", {numbers[4], VarArrayOf({GB("完成"), "2"}), Variant::FromDate(kDay + 0.5)});
    EXPECT_THROW(server.Call("UpdateStatus1", {"ERROR", "", Variant::FromDate(kDay)}), EOleError);
    EXPECT_THROW(server.Call("UpdateStatus1", {"99999", "", Variant::FromDate(kDay)}), EOleError);

    server.Clear();
    TinsleyStore store(db);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        auto job = store.Job(std::stoll(numbers[i]));
        ASSERT_TRUE(job) << c.what;
        EXPECT_EQ(job->State, i == 4 ? "Done" : c.state) << c.what;
        EXPECT_EQ(job->RunMode, c.runMode) << c.what;
        EXPECT_DOUBLE_EQ(job->StartTime, c.start) << c.what;
        EXPECT_DOUBLE_EQ(job->Submitted, kDay + 10.0 / 24) << c.what;
        EXPECT_EQ(job->Computer, c.computer ? c.computer : "") << c.what;
        EXPECT_EQ(job->Programme, "ROVANC") << c.what;
        // The whole request, as it came.
        Variant stored = WireReader(job->Request).Var();
        EXPECT_EQ(VarArrayHighBound(stored, 1), c.schedule ? 4 : 2) << c.what;
        EXPECT_EQ(stored[1][1][0].AsString(), GB("日期")) << c.what;
        EXPECT_EQ(stored[0][7].Type(), varDate) << c.what;
        EXPECT_EQ(job->Schedule.empty(), !c.schedule) << c.what;
    }
    EXPECT_EQ(store.Job(std::stoll(numbers[2]))->Creator, "U2");
    Variant schedule = WireReader(store.Job(std::stoll(numbers[3]))->Schedule).Var();
    EXPECT_EQ(schedule[1].AsString(), "08:30");
    EXPECT_EQ(schedule[3][0].AsString(), "20261210");
    auto done = store.Job(std::stoll(numbers[4]));
    EXPECT_EQ(done->Message, GB("完成") + "\r\n2\r\n");
    EXPECT_DOUBLE_EQ(done->Updated, kDay + 0.5);
}

TEST_F(TinsleyJobs, AMalformedRequestAnswersErrorWithWhatIsWrong) {
    using Change = std::function<void(Variant&)>;
    struct Case {
        const char* wrong; // in ErrorDescript
        Change change;
    } cases[] = {
        {"the request must be an array", [](Variant& r) { r = "job"; }},
        {"the request must be an array", [](Variant& r) { VarArrayRedim(r, 3); }},
        {"element 0 (the environment)", [](Variant& r) { r[0] = "env"; }},
        {"element 0 (the environment)", [](Variant& r) { VarArrayRedim(r[0], 9); }},
        {"element 2 (its size)", [](Variant& r) { r[0][2] = 14; }},
        {"element 1 (the program code) is empty", [](Variant& r) { r[0][1] = " "; }},
        {"element 5 (the user code) is empty", [](Variant& r) { r[0][5] = Variant(); }},
        {"element 9 (the job kind) must be a text", [](Variant& r) { r[0][9] = 3; }},
        {"element 10 (the run mode) must be from 0 to 2", [](Variant& r) { r[0][10] = 3; }},
        {"element 10 (the run mode) must be a number", [](Variant& r) { r[0][10] = "soon"; }},
        {"element 11 (the start) must be a date", [](Variant& r) { r[0][11] = "20261210"; }},
        {"element 11 (the start) is outside the calendar", [](Variant& r) { r[0][11] = 1e9; }},
        {"element 12 (the recipients) must be a text", [](Variant& r) { r[0][12] = VarArrayOf({1}); }},
        {"element 1 (the condition texts)", [](Variant& r) { r[0][3] = 2; }},
        {"condition text 1 (its control name) is empty",
         [](Variant& r) {
             r[1][1] = VarArrayOf({"a", ""});
         }},
        {"condition text 1 must be an array", [](Variant& r) { r[1][1] = "edDate"; }},
    };
    for (const Case& c : cases) {
        Variant request = JobRequest();
        c.change(request);
        EXPECT_EQ(Submit(request), "ERROR") << c.wrong;
        AnsiString why = server.Call("ErrorDescript").AsString();
        EXPECT_EQ(why.rfind("Malformed request: ", 0), 0u) << why;
        EXPECT_NE(why.find(c.wrong), std::string::npos) << why;
        EXPECT_EQ(server.Call("Request1", {request, "PC"}).AsString(), "ERROR") << c.wrong;
    }
    server.Clear();
    EXPECT_TRUE(TinsleyStore(db).Jobs().empty());
}

TEST_F(TinsleyJobs, APeriodicRequestNeedsItsScheduleAndTheGivenTimeMode) {
    using Change = std::function<void(Variant&)>;
    struct Case {
        const char* wrong;
        Change change;
    } cases[] = {
        {"run at a given time", [](Variant& r) { r[0][10] = 0; }},
        {"element 3 (the schedule)",
         [](Variant& r) {
             r[3] = VarArrayOf({1, 2});
         }},
        {"schedule element 0 must be \"Y\"", [](Variant& r) { r[3][0] = "N"; }},
        {"run time must be hh:nn", [](Variant& r) { r[3][1] = "24:00"; }},
        {"the cycle kind must be from 0 to 3",
         [](Variant& r) {
             r[3][2] = VarArrayOf({4, "1"});
         }},
        {"start date must be a date",
         [](Variant& r) {
             r[3][3] = VarArrayOf({"20261310", 0});
         }},
        {"the schedule's range must be an array from 0 to 2",
         [](Variant& r) {
             r[3][3] = VarArrayOf({"20261210", 1});
         }},
        {"end date must be a date",
         [](Variant& r) {
             r[3][3] = VarArrayOf({"20261210", 2, ""});
         }},
        {"element 4 (the dynamic dates)", [](Variant& r) { r[4] = Variant(); }},
        {"the number of dynamic dates", [](Variant& r) { r[4] = VarArrayOf({2}); }},
    };
    for (const Case& c : cases) {
        Variant request = PeriodicJobRequest();
        c.change(request);
        EXPECT_EQ(Submit(request), "ERROR") << c.wrong;
        AnsiString why = server.Call("ErrorDescript").AsString();
        EXPECT_NE(why.find(c.wrong), std::string::npos) << why;
    }
    Variant untilThreeRuns = PeriodicJobRequest();
    untilThreeRuns[3][3] = VarArrayOf({"20261210", 1, "3"});
    EXPECT_EQ(Submit(untilThreeRuns), "202612100001");
}

TEST_F(TinsleyJobs, JobNumbersStayUniqueWhenManyCallersSubmitAtOnce) {
    // Threads sharing one object, and threads with an object each on the same database.
    constexpr int kThreads = 4, kJobs = 15; // 120 jobs
    std::vector<Variant> own;
    for (int i = 0; i < kThreads; ++i) own.emplace_back(CreateTinsleyServer(db));
    std::mutex mutex;
    std::vector<AnsiString> numbers;
    auto submit = [&](Variant object) {
        for (int j = 0; j < kJobs; ++j) {
            AnsiString no = object.Call("Request", {JobRequest()}).AsString();
            std::lock_guard lock(mutex);
            numbers.push_back(no);
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back(submit, server);
        threads.emplace_back(submit, own[i]);
    }
    for (std::thread& t : threads) t.join();
    own.clear();

    std::set<AnsiString> distinct(numbers.begin(), numbers.end());
    ASSERT_EQ(numbers.size(), size_t(2 * kThreads * kJobs));
    EXPECT_EQ(distinct.size(), numbers.size());
    EXPECT_EQ(*distinct.begin(), "202612100001");
    EXPECT_EQ(*distinct.rbegin(), "202612100120");
}

class TinsleyRights : public TinsleyJobs {
protected:
    Variant Power(const AnsiString& user, const AnsiString& program = "ROVANC") {
        return server.Call("GetPower", {VarArrayOf({"db", user, program, ""})});
    }
};

TEST_F(TinsleyRights, GetPowerAnswersTheUsersRightsAndDataLimitsFromTheStore) {
    {
        TinsleyStore store(db);
        store.SetRights({"U1", "ROVANC", "YYYYYYNY", "CUSTOMER", {"C01", "C02"}});
        store.SetRights({"U1", "*", "YYYYYYYY", "", {}});
        store.SetRights({"*", "OTHER", "YNYNYNYN", "", {}});
    }
    struct Case {
        const char* user;
        const char* program;
        const char* rights; // element 1
        const char* limitKind;
        std::vector<AnsiString> limits;
    } cases[] = {
        {"U1", "ROVANC", "1,0,0,YYYYYYNY", "CUSTOMER", {"C01", "C02"}},
        {"U1", "OTHER", "1,0,0,YYYYYYYY", "", {}}, // the user's for every program first
        {"U2", "OTHER", "1,0,0,YNYNYNYN", "", {}},
        {"U2", "ROVANC", "0,0,0,NNNNNNNNNN", "", {}}, // unknown: no rights
    };
    for (const Case& c : cases) {
        Variant power = Power(c.user, c.program);
        EXPECT_EQ(power[0].AsString(), "db");
        EXPECT_EQ(power[1].AsString(), c.rights) << c.user << " " << c.program;
        EXPECT_EQ(power[4].AsString(), c.limitKind) << c.user << " " << c.program;
        Variant limits = power[5];
        ASSERT_EQ(limits[0].AsInteger(), static_cast<int>(c.limits.size())) << c.user << " " << c.program;
        for (size_t i = 0; i < c.limits.size(); ++i)
            EXPECT_EQ(limits[static_cast<int>(i) + 1].AsString(), c.limits[i]);
    }
    EXPECT_EQ(server.Call("SQLType").AsInteger(), 0);
    EXPECT_THROW(server.Call("GetPower", {VarArrayOf({"db", "U1"})}), EOleError);
}

TEST_F(TinsleyRights, TheServerInstallationNamesRightsForTheStore) {
    std::string dir = CreateTempFile("tinsleysrv");
    std::filesystem::remove(dir);
    std::filesystem::create_directories(dir);
    std::string registry = dir + "/registry.ini";
    std::ofstream(registry) << "[HKEY_LOCAL_MACHINE\\Software\\Qz\\Corvane]\nServerPath=" << dir << "\n";
    std::ofstream(dir + "/TinsleyS.ini") << "[Rights]\n"
                                         << "ADMIN/*=YYYYYYYYYY\n"
                                         << "U1/ROVANC=YYYYYYNN;CUSTOMER;C01, C02\n"
                                         << "no program=YYYY\n";
    {
        TinsleyStore store(db);
        store.SetRights({"U1", "ROVANC", "NNNNNNNN", "", {}}); // replaced by the installation's line
    }
    setenv("QZ_REGISTRY", registry.c_str(), 1);
    server = Variant(CreateTinsleyServer(db));
    Variant admin = Power("ADMIN");
    Variant u1 = Power("U1");
    Variant other = Power("no program");
    unsetenv("QZ_REGISTRY");
    EXPECT_EQ(admin[1].AsString(), "1,0,0,YYYYYYYYYY");
    EXPECT_EQ(u1[1].AsString(), "1,0,0,YYYYYYNN");
    EXPECT_EQ(u1[4].AsString(), "CUSTOMER");
    EXPECT_EQ(u1[5][0].AsInteger(), 2);
    EXPECT_EQ(u1[5][2].AsString(), "C02");
    EXPECT_EQ(other[1].AsString(), "0,0,0,NNNNNNNNNN");
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace qz::test
