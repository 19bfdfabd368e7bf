#include "platform/data/AppServer.h"
#include "platform/core/Exceptions.h"
#include "platform/data/SocketConnection.h"
#include "platform/variant/Dispatch.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace qz;

namespace {

std::atomic<int> g_liveObjects{0};

// A server object of the tests: echoes, computes, writes a by-reference result, fails on demand.
class TestServer : public TAutoObject {
public:
    TestServer() {
        ++g_liveObjects;
        RegisterMethod("Echo", [](DispArgs& a) { return a[0]; });
        RegisterMethod("NextDay", [](DispArgs& a) { return Variant::FromDate(a[0].AsDateTime() + 1); });
        RegisterMethod("QueryData", [](DispArgs& a) {
            a[1] = VarArrayOf({a[0], AnsiString("row")});
            return Variant(true);
        });
        RegisterMethod("Fail", [](DispArgs&) -> Variant { throw Exception("disk full"); });
        RegisterMethod("Count", [this](DispArgs&) { return Variant(++calls_); });
        RegisterProperty(
            "BaseLimited", [this] { return limits_; }, [this](const Variant& v) { limits_ = v; });
    }
    ~TestServer() override { --g_liveObjects; }

private:
    int calls_ = 0;
    Variant limits_;
};

class AppServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        listener_.Start("127.0.0.1", 0);
        connection_.Address = "localhost"; // not the local address: a real socket
        connection_.Port = listener_.Port();
        connection_.ServerName = "Test.Server";
    }

    static Variant Make(const AnsiString& progId) {
        if (progId != "Test.Server") throw EOleError("Invalid class string");
        return Variant(static_cast<IDispatchObject*>(new TestServer));
    }

    // The server ends a session on its own thread; give it a bounded while.
    bool WaitForSessions(int count) {
        for (int i = 0; i < 500 && listener_.SessionCount() != count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return listener_.SessionCount() == count;
    }

    TAppServerListener listener_{&AppServerTest::Make};
    TSocketConnection connection_;
};

TEST_F(AppServerTest, CallsByNameWithArraysDatesAndByReferenceResults) {
    connection_.Open();
    ASSERT_TRUE(connection_.Connected());
    Variant server = connection_.AppServer();

    Variant rows = server.Call("echo", {VarArrayOf({1, AnsiString("\xB6\xA9"), VarArrayOf({2.5})})});
    EXPECT_EQ(rows[1].AsString(), "\xB6\xA9");
    EXPECT_DOUBLE_EQ(rows[2][0].AsDouble(), 2.5);

    Variant next = server.Call("NextDay", {Variant::FromDate(45351)});
    EXPECT_EQ(next.Type(), varDate);
    EXPECT_DOUBLE_EQ(next.AsDateTime(), 45352);

    Variant result;
    EXPECT_TRUE(server.Call("QueryData", {AnsiString("ADMMB"), VarRef(result)}).AsBoolean());
    EXPECT_EQ(result[0].AsString(), "ADMMB");
    EXPECT_EQ(result[1].AsString(), "row");

    server.Set("BaseLimited", AnsiString("limits"));
    EXPECT_EQ(server.Get("BaseLimited").AsString(), "limits");
}

TEST_F(AppServerTest, ServerErrorsComeBackWithTheirMessage) {
    connection_.Open();
    Variant server = connection_.AppServer();
    try {
        server.Call("Fail");
        FAIL() << "no exception";
    } catch (const EOleError& e) {
        EXPECT_STREQ(e.what(), "disk full");
    }
    try {
        server.Call("NoSuchMethod");
        FAIL() << "no exception";
    } catch (const EOleError& e) {
        EXPECT_STREQ(e.what(), "Unknown name: NoSuchMethod");
    }
    EXPECT_EQ(server.Call("Count").AsInteger(), 1); // the session goes on after errors
}

TEST_F(AppServerTest, UnknownServerNameAndRefusedConnection) {
    connection_.ServerName = "No.Such.Server";
    try {
        connection_.Open();
        FAIL() << "no exception";
    } catch (const EOleError& e) {
        EXPECT_STREQ(e.what(), "Invalid class string");
    }
    EXPECT_FALSE(connection_.Connected());

    TSocketConnection refused;
    refused.Address = "localhost";
    int port = 0;
    {
        TAppServerListener closed;
        closed.Start("127.0.0.1", 0);
        port = closed.Port();
    }
    refused.Port = port;
    refused.ServerName = "Test.Server";
    EXPECT_THROW(refused.Open(), EOSError);
    EXPECT_FALSE(refused.Connected());
}

TEST_F(AppServerTest, ClientsHaveTheirOwnObjectsAndReleaseThem) {
    TSocketConnection second;
    second.Address = "localhost";
    second.Port = listener_.Port();
    second.ServerName = "Test.Server";
    connection_.Open();
    second.Open();
    EXPECT_EQ(connection_.AppServer().Call("Count").AsInteger(), 1);
    EXPECT_EQ(connection_.AppServer().Call("Count").AsInteger(), 2);
    EXPECT_EQ(second.AppServer().Call("Count").AsInteger(), 1);
    EXPECT_TRUE(WaitForSessions(2));

    Variant kept = connection_.AppServer();
    connection_.Close();
    second.Close();
    EXPECT_THROW(kept.Call("Count"), EOleError); // the connection is gone
    EXPECT_TRUE(WaitForSessions(0));
    EXPECT_EQ(g_liveObjects.load(), 0);
}

TEST_F(AppServerTest, LocalServerObjectNeedsNoSocket) {
    TSocketConnection local; // "127.0.0.1": the caller creates the object and hands it over
    local.SetAppServer(Make("Test.Server"));
    EXPECT_FALSE(local.Connected());
    EXPECT_EQ(local.AppServer().Call("Echo", {7}).AsInteger(), 7);
}

TEST_F(AppServerTest, StopEndsOpenSessions) {
    connection_.Open();
    EXPECT_TRUE(WaitForSessions(1));
    listener_.Stop();
    EXPECT_THROW(connection_.AppServer().Call("Count"), Exception);
    EXPECT_EQ(g_liveObjects.load(), 0);
}

} // namespace
