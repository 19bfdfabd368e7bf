// Scripted sessions of the reference host: a script fills the module's window as a person would,
// headless and on a real X display with the same output; bad scripts end with a clear line.
#include "HostRun.h"
#include "doubles/TestInstallation.h"
#include "doubles/XServer.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace qz::test {
namespace {

std::string Session(const std::string& name) {
    return std::string(std::getenv("QZ_TEST_DATA")) + "/sessions/" + name;
}

bool IsPng(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::string head(8, '\0');
    in.read(head.data(), 8);
    return in && head == "\x89PNG\r\n\x1a\n";
}

class QzHostScript : public ::testing::Test {
protected:
    HostRun Run(const std::string& args, const std::string& display = "QZ_DISPLAY=headless") {
        return RunHost(installation_.Dir(), display + " QZ_REGISTRY=" + installation_.Registry(), args);
    }
    TestInstallation installation_;
};

const char* const kLifeStart = "notify 0x100\nnotify 0x110\n";
const char* const kLifeEnd = "notify 0x120\nnotify 0x130\nResultCode=2\nResultValue=\n";

TEST_F(QzHostScript, FillsTheWindowAnswersADialogAndTakesAPicture) {
    HostRun run = Run("--script " + Session("print-date.qzs"));
    EXPECT_EQ(run.status, 0) << run.output;
    ASSERT_EQ(run.output.rfind(kLifeStart, 0), 0u) << run.output;
    std::string middle = run.output.substr(std::strlen(kLifeStart));
    ASSERT_GE(middle.size(), std::strlen(kLifeEnd)) << run.output;
    std::string dialog = middle.substr(0, middle.size() - std::strlen(kLifeEnd));
    EXPECT_EQ(middle.substr(dialog.size()), kLifeEnd);
    // One dialog, answered with its OK button.
    EXPECT_EQ(dialog.rfind("dialog \"", 0), 0u) << dialog;
    EXPECT_EQ(std::count(dialog.begin(), dialog.end(), '\n'), 1) << dialog;
    EXPECT_NE(dialog.find(" -> OK\n"), std::string::npos) << dialog;
    EXPECT_TRUE(IsPng(installation_.Dir() + "/window.png"));
}

TEST_F(QzHostScript, AFailedExpectationIsPrintedAndTheSessionEndsWith3) {
    std::ofstream(installation_.Dir() + "/s.qzs") << "click tsOption2\nexpect edPrintDate.Text \"月报\"\n";
    HostRun run = Run("--script s.qzs");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.output, std::string(kLifeStart) +
                              "expect failed: edPrintDate.Text is \"    /  /  \", not \"月报\"\n" + kLifeEnd);
}

TEST_F(QzHostScript, ALineThatCannotBeCarriedOutEndsTheScriptAndCancelsTheWindow) {
    struct Case {
        const char* script;
        const char* line;
    } cases[] = {
        {"click tsOption2\nfocus edNothing\nclick btnOk\n", "script line 2: no edNothing in frmRovan\n"},
        {"# hidden page\n\nfocus edPrintDate\n",
         "script line 3: edPrintDate is hidden (tsOption2 is hidden)\n"},
        {"set pgOption.Nothing 1\n", "script line 1: no property Nothing in pgOption\n"},
        {"click tsOption2\nfocus edPrintDate\nkey Ctrl+Hyper+A\n",
         "script line 3: unknown key prefix Hyper+ in Ctrl+Hyper+A\n"},
        {"answer OK\n", "script line 1: no dialog was shown for the answer OK\n"},
    };
    for (const Case& c : cases) {
        std::ofstream(installation_.Dir() + "/s.qzs") << c.script;
        HostRun run = Run("--script s.qzs");
        EXPECT_EQ(run.status, 3) << c.script;
        EXPECT_EQ(run.output, std::string(kLifeStart) + c.line + kLifeEnd) << c.script;
    }
}

TEST_F(QzHostScript, AScriptThatCannotBeReadOpensNoWindow) {
    std::ofstream(installation_.Dir() + "/open.qzs") << "click tsOption2\ntype \"abc\n";
    HostRun open = Run("--script open.qzs");
    EXPECT_EQ(open.status, 3);
    EXPECT_EQ(open.output, "script line 2: the quoted text is not closed\n");

    std::ofstream(installation_.Dir() + "/verb.qzs") << "dialog\n  press OK\nend\n";
    HostRun verb = Run("--script verb.qzs");
    EXPECT_EQ(verb.status, 3);
    EXPECT_EQ(verb.output, "script line 2: unknown verb press\n");

    HostRun missing = Run("--script /nonexistent/session.qzs");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.output, "");
}

TEST_F(QzHostScript, StandardInputHoldsTheScript) {
    HostRun run = Run("--script - < " + Session("print-date.qzs"));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(IsPng(installation_.Dir() + "/window.png"));
}

TEST_F(QzHostScript, OkSubmitsAJobTheServerKeeps) {
    HostRun run = Run("--script " + Session("submit.qzs"));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("\": [I;000004] "), std::string::npos) << run.output;
    HostRun list = RunProgram(QZ_BIN_DIR "/qzjobs list");
    EXPECT_EQ(list.status, 0);
    std::string job = list.output.substr(0, list.output.find('\t'));
    EXPECT_EQ(list.output.substr(job.size(), 8), "\tROVANC\t") << list.output;
    EXPECT_NE(run.output.find("notify 0x130\nResultCode=1\nResultValue=" + job + "\n"), std::string::npos)
        << run.output;
    HostRun show = RunProgram(QZ_BIN_DIR "/qzjobs show " + job);
    EXPECT_EQ(show.output.rfind("{\"lo\":0,\"items\":[{\"lo\":1,\"items\":[\"ROVANC\",14,", 0), 0u)
        << show.output;
}

TEST_F(QzHostScript, TheSameScriptOnARealDisplayGivesTheSameOutput) {
    TestXServer server;
    if (!server.Start()) GTEST_SKIP() << "Xvfb is not installed";
    HostRun headless = Run("--script " + Session("print-date.qzs"));
    std::filesystem::remove(installation_.Dir() + "/window.png");
    HostRun onX =
        Run("--script " + Session("print-date.qzs"), "DISPLAY=" + server.Display() + " QZ_DISPLAY=sdl");
    EXPECT_EQ(onX.status, 0) << onX.output;
    EXPECT_EQ(onX.output, headless.output);
    EXPECT_TRUE(IsPng(installation_.Dir() + "/window.png"));
}

} // namespace
} // namespace qz::test
