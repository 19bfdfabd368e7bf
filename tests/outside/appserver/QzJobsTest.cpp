// qzjobs reads back what the server object stored: jobs as lines and requests in the fixed JSON form,
// plans, and clear errors without creating a store.
#include "outside/appserver/TinsleyServer.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/data/Wire.h"
#include "platform/os/System.h"
#include "platform/variant/Dispatch.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>

using namespace qz;

namespace {

struct JobsRun {
    std::string out;
    int status = -1;
};

JobsRun Jobs(const std::string& args) {
    JobsRun run;
    FILE* pipe = popen((QZ_BIN_DIR "/qzjobs " + args + " 2>&1").c_str(), "r");
    if (!pipe) return run;
    std::array<char, 512> buf{};
    while (fgets(buf.data(), buf.size(), pipe)) run.out += buf.data();
    int status = pclose(pipe);
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    return run;
}

class QzJobs : public ::testing::Test {
protected:
    QzJobs() : dir_(CreateTempFile("qzjobs")) {
        std::filesystem::remove(dir_);
        std::filesystem::create_directories(dir_);
        db_ = dir_ + "/tinsley.db";
        server_ = CreateTinsleyServer(db_);
    }
    ~QzJobs() override {
        server_.Clear();
        std::filesystem::remove_all(dir_);
    }
    JobsRun Jobs(const std::string& args) { return ::Jobs("--db " + db_ + " " + args); }

    std::string dir_, db_;
    Variant server_;
};

TEST_F(QzJobs, ShowsAStoredRequestInTheFixedForm) {
    SetClock([] { return 46367.25; }); // submitted 2026-12-11
    Variant env = VarArrayCreate({1, 12}, varVariant);
    env[1] = "ROVANC";
    env[2] = 12;
    env[3] = 3;
    env[5] = "U1";
    env[6] = Null();
    env[7] = 0.25;
    env[9] = "f";
    env[10] = 2;
    env[11] = Variant::FromDate(46367.5); // 2026-12-11 12:00
    env[12] = "";
    Variant texts = VarArrayCreate({1, 3}, varVariant);
    texts[1] = VarArrayOf({GB("单据日期"), "sp02\t\"q\"\\"});
    texts[2] = VarArrayOf({"flag", "chk01"});
    texts[3] = VarArrayOf({"grid", "sg01"});
    Variant grid = VarArrayCreate({0, 1, 1, 2}, varVariant);
    grid.PutElement({0, 1}, 1);
    grid.PutElement({0, 2}, "a");
    grid.PutElement({1, 1}, 2);
    grid.PutElement({1, 2}, "b");
    Variant values = VarArrayCreate({1, 3}, varVariant);
    values[1] = VarArrayOf({AnsiString(1, '\x04'), "20261201", ""});
    values[2] = true;
    values[3] = grid;
    AnsiString no = server_.Call("Request", {VarArrayOf({env, texts, values})}).AsString();
    SetClock(nullptr);
    ASSERT_EQ(no, "202612110001") << server_.Call("ErrorDescript").AsString();

    JobsRun list = Jobs("list");
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "202612110001\tROVANC\tf\t2\t2026-12-11 12:00:00\tScheduled\n");

    JobsRun show = Jobs("show 202612110001");
    EXPECT_EQ(show.status, 0);
    EXPECT_EQ(
        show.out,
        "{\"lo\":0,\"items\":["
        "{\"lo\":1,\"items\":[\"ROVANC\",12,3,{\"empty\":true},\"U1\",null,0.25,{\"empty\":true},\"f\",2,"
        "{\"date\":\"2026-12-11T12:00:00.000\"},\"\"]},"
        "{\"lo\":1,\"items\":[{\"lo\":0,\"items\":[\"单据日期\",\"sp02\\u0009\\\"q\\\"\\\\\"]},"
        "{\"lo\":0,\"items\":[\"flag\",\"chk01\"]},{\"lo\":0,\"items\":[\"grid\",\"sg01\"]}]},"
        "{\"lo\":1,\"items\":[{\"lo\":0,\"items\":[\"\\u0004\",\"20261201\",\"\"]},true,"
        "{\"lo\":[0,1],\"items\":[[1,\"a\"],[2,\"b\"]]}]}]}\n");
}

TEST_F(QzJobs, ReadsAStoreOfTheOldNumberingAsItIs) {
    server_.Clear();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(db_.c_str(), &db), SQLITE_OK);
    WireWriter w;
    w.Var(VarArrayOf({1}));
    std::string request = w.Data();
    ASSERT_EQ(
        sqlite3_exec(db,
                     "CREATE TABLE PLANS (NCONDITION BLOB, CREATOR BLOB, PROGRAMME BLOB, CREATE_DATE BLOB, "
                     "SCONDITION BLOB, VCONDITION BLOB);"
                     "CREATE TABLE JOBS (JOBNO INTEGER PRIMARY KEY AUTOINCREMENT, PROGRAMME BLOB, CREATOR "
                     "BLOB, JOBKIND BLOB, RUNMODE INTEGER, REQUEST BLOB, COMPUTER BLOB, STATE BLOB, "
                     "SUBMITTED REAL, START_TIME REAL, UPDATED REAL, MESSAGE BLOB);",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(
        db, "INSERT INTO JOBS VALUES (7, 'ROVANC', 'U1', 'R', 0, ?, '', 'Queued', 0, 46367.5, 0, '')", -1,
        &insert, nullptr);
    sqlite3_bind_blob(insert, 1, request.data(), static_cast<int>(request.size()), SQLITE_TRANSIENT);
    EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_finalize(insert);
    sqlite3_close(db);

    EXPECT_EQ(Jobs("list").out, "7\tROVANC\tR\t0\t2026-12-11 12:00:00\tQueued\n");
    EXPECT_EQ(Jobs("show 7").out, "{\"lo\":0,\"items\":[1]}\n");
}

TEST_F(QzJobs, ListsPlansAndShowsOne) {
    ASSERT_EQ(server_
                  .Call("InsertConTable", {VarArrayOf({GB("月报"), "U1", "20261211", "ROVANC", "sp02.range;",
                                                       AnsiString("a\x04z\r\n"), false})})
                  .AsString(),
              "");
    JobsRun plans = Jobs("plans");
    EXPECT_EQ(plans.status, 0);
    EXPECT_EQ(plans.out, "U1\tROVANC\t月报\t20261211\n");
    JobsRun plan = Jobs("plan U1 ROVANC 月报");
    EXPECT_EQ(plan.status, 0);
    EXPECT_EQ(plan.out, "{\"lo\":0,\"items\":[\"月报\",\"U1\",\"ROVANC\",\"20261211\",\"sp02.range;\","
                        "\"a\\u0004z\\u000d\\u000a\"]}\n");
}

TEST_F(QzJobs, BadRequestsGiveOneLineAndStatus1) {
    ASSERT_EQ(server_.Call("InsertConTable", {VarArrayOf({"p", "U1", "20261211", "ROVANC", "", "", false})})
                  .AsString(),
              "");
    struct Case {
        std::string args;
        std::string out;
    } cases[] = {
        {"show 202612110001", "qzjobs: there is no job 202612110001\n"},
        {"show x", "qzjobs: 'x' is no job number\n"},
        {"plan U1 ROVANC nothing", "qzjobs: there is no plan 'nothing' of U1 for ROVANC\n"},
        {"frobnicate", "qzjobs: unknown command frobnicate\n"},
    };
    for (const Case& c : cases) {
        JobsRun run = Jobs(c.args);
        EXPECT_EQ(run.status, 1) << c.args;
        EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1), c.out) << c.args;
    }
}

TEST_F(QzJobs, AStoreThatDoesNotExistIsNeverCreated) {
    std::string missing = dir_ + "/none.db";
    JobsRun run = ::Jobs("--db " + missing + " list");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "qzjobs: Cannot open the plan and job store " + missing + ": unable to open database file\n");
    EXPECT_FALSE(std::filesystem::exists(missing));

    setenv("QZ_TINSLEY_DB", missing.c_str(), 1);
    JobsRun fromEnvironment = ::Jobs("show 202612110001");
    unsetenv("QZ_TINSLEY_DB");
    EXPECT_EQ(fromEnvironment.status, 1);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

} // namespace
