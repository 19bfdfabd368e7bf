// The plan window's round trip through a client data set: in-process (the local address) and through
// qzappserver on loopback, where the server object comes from TinsleyS.so; jobs of two clients of the
// daemon at once.
#include "JobRequests.h"
#include "doubles/AppServerDaemon.h"
#include "outside/appserver/TinsleyServer.h"
#include "platform/core/CodePages.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/SocketConnection.h"
#include "platform/os/System.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace qz;

namespace {

Variant Key(const AnsiString& name) {
    return VarArrayOf({name, "U1", "ROVANC"});
}

// What the plan panel does: save, list through the data set, locate, rename, delete.
void PlanRoundTrip(TSocketConnection& a, TSocketConnection& b) {
    Variant server = a.AppServer();
    for (const char* name : {"zeta", "alpha"})
        ASSERT_EQ(server
                      .Call("InsertConTable", {VarArrayOf({GB(name), "U1", "20240105", "ROVANC",
                                                           "edCode.text;", GB("值") + "\r\n", false})})
                      .AsString(),
                  "");
    ASSERT_NE(server
                  .Call("InsertConTable",
                        {VarArrayOf({"alpha", "U1", "20240105", "ROVANC", "edCode.text;", "x\r\n", false})})
                  .AsString(),
              "");
    ASSERT_EQ(
        server.Call("InsertConTable", {VarArrayOf({"other", "U2", "20240105", "ROVANC", "", "", false})})
            .AsString(),
        "");

    // The second client lists the first one's plans.
    TClientDataSet ds;
    ds.SetRemoteServer(&b);
    ds.ProviderName = "pvdConSave";
    ds.SetIndexFieldNames("NCONDITION;CREATOR;PROGRAMME");
    b.AppServer().Call("LoadTable", {VarArrayOf({"U1", "ROVANC"})});
    ds.Open();
    ASSERT_EQ(ds.RecordCount(), 2);
    EXPECT_EQ(ds.FieldByName("NCONDITION")->AsString(), "alpha");
    ds.Next();
    EXPECT_EQ(ds.FieldByName("NCONDITION")->AsString(), "zeta");
    EXPECT_EQ(ds.FieldByName("VCONDITION")->AsString(), GB("值") + "\r\n");
    EXPECT_EQ(ds.FieldByName("CREATE_DATE")->AsString(), "20240105");

    // Renaming: on the server, then in the local copy.
    EXPECT_EQ(b.AppServer().Call("ChangeConName", {Key("zeta"), Key(GB("月报"))}).AsString(), "");
    ASSERT_TRUE(ds.Locate("NCONDITION;CREATOR;PROGRAMME", Key("zeta")));
    ds.Edit();
    ds.FieldByName("NCONDITION")->SetAsString(GB("月报"));
    ds.Post();
    EXPECT_FALSE(ds.Locate("NCONDITION;CREATOR;PROGRAMME", Key("zeta")));
    EXPECT_TRUE(ds.Locate("NCONDITION;CREATOR;PROGRAMME", Key(GB("月报"))));

    EXPECT_EQ(server.Call("DeleteConTable", {Key("alpha")}).AsString(), "");
    b.AppServer().Call("LoadTable", {VarArrayOf({"U1", "ROVANC"})});
    ds.Close();
    ds.Open();
    ASSERT_EQ(ds.RecordCount(), 1);
    EXPECT_EQ(ds.FieldByName("NCONDITION")->AsString(), GB("月报"));

    AnsiString job =
        server.Call("Request1", {VarArrayOf({VarArrayOf({}), VarArrayOf({}), VarArrayOf({})}), "PC"})
            .AsString();
    EXPECT_EQ(job, "ERROR"); // an environment of the wrong size
    EXPECT_FALSE(server.Call("ErrorDescript").AsString().empty());
}

class TinsleyRoundTrip : public ::testing::Test {
protected:
    TinsleyRoundTrip() : db(CreateTempFile("tinsley")) {}
    ~TinsleyRoundTrip() override { std::remove(db.c_str()); }
    std::string db;
};

TEST_F(TinsleyRoundTrip, InProcessForTheLocalAddress) {
    TSocketConnection a, b;
    a.SetAppServer(Variant(CreateTinsleyServer(db)));
    b.SetAppServer(Variant(CreateTinsleyServer(db)));
    PlanRoundTrip(a, b);
}

// qzappserver serving TinsleyS.so on the test's database.
class TinsleyDaemon : public TinsleyRoundTrip {
protected:
    TinsleyDaemon() : registry(CreateTempFile("qzreg")) {
        std::ofstream(registry) << "[HKEY_CLASSES_ROOT\\TinsleyS.dmTinsley]\nLibrary=" QZ_LIB_DIR
                                   "/TinsleyS.so\n";
        daemon = std::make_unique<test::AppServerDaemon>(QZ_BIN_DIR "/qzappserver", registry, db);
    }
    ~TinsleyDaemon() override {
        daemon.reset();
        std::remove(registry.c_str());
    }
    void Connect(TSocketConnection& c) {
        c.Address = "127.0.0.1";
        c.Port = daemon->Port();
        c.ServerName = TinsleyProgId;
        c.Open();
    }
    std::string registry;
    std::unique_ptr<test::AppServerDaemon> daemon;
};

TEST_F(TinsleyDaemon, ThroughQzappserverOnLoopback) {
    ASSERT_GT(daemon->Port(), 0);
    TSocketConnection a, b;
    Connect(a);
    Connect(b);
    PlanRoundTrip(a, b);
}

TEST_F(TinsleyDaemon, TwoClientsSubmittingAtOnceGetDistinctJobNumbers) {
    ASSERT_GT(daemon->Port(), 0);
    constexpr int kJobs = 25;
    std::mutex mutex;
    std::vector<AnsiString> numbers;
    auto client = [&] {
        TSocketConnection c;
        Connect(c);
        Variant server = c.AppServer();
        for (int i = 0; i < kJobs; ++i) {
            AnsiString no = server.Call("Request", {test::JobRequest()}).AsString();
            std::lock_guard lock(mutex);
            numbers.push_back(no);
        }
    };
    std::thread first(client), second(client);
    first.join();
    second.join();
    std::set<AnsiString> distinct(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers.size(), size_t(2 * kJobs));
    EXPECT_EQ(distinct.size(), numbers.size());
    for (const AnsiString& no : distinct) EXPECT_EQ(no.size(), 12u) << no; // YYYYMMDD and the sequence
    EXPECT_EQ(distinct.count("ERROR"), 0u);
}

} // namespace
