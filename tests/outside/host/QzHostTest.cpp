// The reference host as a user runs it: the module's window created, shown and closed, with the
// notifications, the dialogs and the outcome printed.
#include "HostRun.h"
#include "doubles/TestInstallation.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

class QzHost : public ::testing::Test {
protected:
    HostRun Run(const std::string& args) {
        return RunHost(installation_.Dir(), "QZ_REGISTRY=" + installation_.Registry(), "--headless " + args);
    }
    TestInstallation installation_;
};

TEST_F(QzHost, ShowsTheWindowAndReportsItsLifeAndOutcome) {
    HostRun run = Run("");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "notify 0x100\nnotify 0x110\nnotify 0x120\nnotify 0x130\nResultCode=2\nResultValue=\n");
}

TEST_F(QzHost, TooFewHostParametersAreReportedOnceAndStillEndCleanly) {
    HostRun run = Run("--params A,B,C");
    EXPECT_EQ(run.status, 0);
    // The catalogue's message, with its item, on standard output; initialised all the same.
    EXPECT_EQ(run.output, "notify 0x100\n"
                          "dialog \"frmRovan\": [E;000038] 主程序传入的参数不足,无法执行! -> OK\n"
                          "notify 0x110\nnotify 0x120\nnotify 0x130\nResultCode=2\nResultValue=\n");
}

TEST_F(QzHost, AMissingModuleIsAClearError) {
    HostRun run = Run("--module /nonexistent/RovanC.so");
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.output, "");
}

} // namespace
} // namespace qz::test
