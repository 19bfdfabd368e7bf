// The daemon as a user runs it: started with a port, serving objects from the class registry to
// clients over loopback, stopped with SIGTERM.
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

class Daemon {
public:
    explicit Daemon(const std::string& registry) {
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            close(out[0]);
            setenv("QZ_REGISTRY", registry.c_str(), 1);
            execl(QZ_BIN_DIR "/qzappserver", "qzappserver", "--port", "0", "--bind", "127.0.0.1", nullptr);
            _exit(127);
        }
        close(out[1]);
        stdout_ = fdopen(out[0], "r");
        char line[200] = {0};
        if (stdout_ && std::fgets(line, sizeof line, stdout_))
            std::sscanf(line, "qzappserver listening on port %d", &port_);
    }
    ~Daemon() {
        if (pid_ > 0 && !stopped_) Stop();
        if (stdout_) std::fclose(stdout_);
    }
    int Port() const { return port_; }
    // SIGTERM; returns the exit status and the last line printed.
    int Stop(std::string* lastLine = nullptr) {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        stopped_ = true;
        char line[200] = {0};
        if (stdout_ && std::fgets(line, sizeof line, stdout_) && lastLine) *lastLine = line;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    FILE* stdout_ = nullptr;
    int port_ = 0;
    bool stopped_ = false;
};

TEST(QzAppServer, ServesRegistryObjectsOverLoopbackAndStopsOnSigterm) {
    std::string registry = CreateTempFile("qzreg");
    std::ofstream(registry) << "[HKEY_CLASSES_ROOT\\Test.Echo]\nLibrary=" QZ_BIN_DIR "/QzEchoServer.so\n";
    Daemon daemon(registry);
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
