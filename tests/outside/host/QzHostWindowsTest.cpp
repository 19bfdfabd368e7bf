// The reference host's own windows in a scripted session: the module asks the host for a date, and
// the session's lines answer the host's window as they answer the module's dialogs, headless and on a
// real X display, where the host's display and the module's share the screen.
#include "HostRun.h"
#include "doubles/TestInstallation.h"
#include "doubles/XServer.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

HostRun RunDateSession(const std::string& display) {
    TestInstallation installation;
    std::string session = std::string(std::getenv("QZ_TEST_DATA")) + "/sessions/host-date.qzs";
    return RunHost(installation.Dir(), display + " QZ_REGISTRY=" + installation.Registry(),
                   "--script " + session);
}

const char* const kDateSession = "notify 0x100\nnotify 0x110\n"
                                 "dialog \"选择日期\": -> btnOK\n"
                                 "dialog \"选择日期\": -> btnCancel\n"
                                 "notify 0x120\nnotify 0x130\nResultCode=2\nResultValue=\n";

TEST(QzHostWindows, TheDateWindowIsAnsweredFromTheSession) {
    HostRun run = RunDateSession("QZ_DISPLAY=headless");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, kDateSession);
}

TEST(QzHostWindows, TheDateWindowIsAnsweredFromTheSessionOnARealDisplay) {
    TestXServer server;
    if (!server.Start()) GTEST_SKIP() << "Xvfb is not installed";
    HostRun run = RunDateSession("DISPLAY=" + server.Display() + " QZ_DISPLAY=sdl");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, kDateSession);
}

} // namespace
} // namespace qz::test
