// The reference host as a user runs it: the module's window created, shown and closed, with the
// notifications and the outcome printed.
#include "doubles/TestInstallation.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

struct HostRun {
    std::string output;
    int status = -1;
};

HostRun RunHost(const std::string& registry, const std::string& args) {
    std::string command =
        "QZ_REGISTRY=" + registry + " " QZ_BIN_DIR "/qzhost --headless " + args + " 2>/dev/null";
    HostRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 512> buf{};
    while (fgets(buf.data(), buf.size(), pipe)) run.output += buf.data();
    run.status = pclose(pipe);
    return run;
}

class QzHost : public ::testing::Test {
protected:
    qz::test::TestInstallation installation_;
    std::string registry_ = installation_.Registry();
};

TEST_F(QzHost, ShowsTheWindowAndReportsItsLifeAndOutcome) {
    HostRun run = RunHost(registry_, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "notify 0x100\nnotify 0x110\nnotify 0x120\nnotify 0x130\nResultCode=0\nResultValue=\n");
}

TEST_F(QzHost, TooFewHostParametersStillEndCleanly) {
    HostRun run = RunHost(registry_, "--params A,B,C");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find("CreateForm="), std::string::npos) << run.output; // initialised all the same
    EXPECT_NE(run.output.find("notify 0x130\nResultCode=0\n"), std::string::npos) << run.output;
}

TEST_F(QzHost, AMissingModuleIsAClearError) {
    HostRun run = RunHost(registry_, "--module /nonexistent/RovanC.so");
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.output, "");
}

} // namespace
