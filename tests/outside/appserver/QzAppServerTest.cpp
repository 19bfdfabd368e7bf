// The daemon as a user runs it: started with a port, serving objects from the class registry to
// clients over loopback, stopped with SIGTERM.
#include "doubles/AppServerDaemon.h"
#include "platform/core/Exceptions.h"
#include "platform/data/SocketConnection.h"
#include "platform/os/System.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qz;

namespace {

TEST(QzAppServer, ServesRegistryObjectsOverLoopbackAndStopsOnSigterm) {
    std::string registry = CreateTempFile("qzreg");
    std::ofstream(registry) << "[HKEY_CLASSES_ROOT\\Test.Echo]\nLibrary=" QZ_BIN_DIR "/QzEchoServer.so\n";
    test::AppServerDaemon daemon(QZ_BIN_DIR "/qzappserver", registry);
    ASSERT_GT(daemon.Port(), 0);

    TSocketConnection a, b;
    for (TSocketConnection* c : {&a, &b}) {
        c->Address = "localhost";
        c->Port = daemon.Port();
        c->ServerName = "Test.Echo";
        c->Open();
    }
    Variant rows = a.AppServer().Call("Echo", {VarArrayOf({Variant::FromDate(45292), AnsiString("x")})});
    EXPECT_EQ(rows[0].Type(), varDate);
    Variant filled;
    EXPECT_TRUE(b.AppServer().Call("Fill", {VarRef(filled)}).AsBoolean());
    EXPECT_EQ(filled[0].AsString(), "filled");
    try {
        a.AppServer().Call("Fail");
        ADD_FAILURE() << "no exception";
    } catch (const EOleError& e) {
        EXPECT_STREQ(e.what(), "no such plan");
    }

    TSocketConnection unknown;
    unknown.Address = "localhost";
    unknown.Port = daemon.Port();
    unknown.ServerName = "No.Such.Class";
    EXPECT_THROW(unknown.Open(), EOleError);

    std::string last;
    EXPECT_EQ(daemon.Stop(&last), 0);
    EXPECT_EQ(last.rfind("qzappserver stopped", 0), 0u) << last;
    EXPECT_THROW(a.AppServer().Call("Echo", {1}), Exception);
    std::remove(registry.c_str());
}

} // namespace
