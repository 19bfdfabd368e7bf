// The report options of the module's window in scripted sessions on the demo company database: the
// outputs, the footer and the sign-in as a person chooses them, and how they reach the server.
#include "HostRun.h"
#include "doubles/TestInstallation.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

const char* const kStart = "notify 0x100\nnotify 0x110\n";
const char* const kWindow = "dialog \"转单失败报表[演示贸易有限公司]\": ";

class QzHostReport : public ::testing::Test {
protected:
    HostRun Session(const std::string& name) {
        std::string script = std::string(std::getenv("QZ_TEST_DATA")) + "/sessions/" + name;
        return RunHost(installation_.Dir(), "QZ_DISPLAY=headless QZ_REGISTRY=" + installation_.Registry(),
                       "--script " + script);
    }
    // The only job: its number, and its request as qzjobs shows it.
    std::string OnlyJob(std::string& request) {
        std::string list = RunProgram(QZ_BIN_DIR "/qzjobs list").output;
        EXPECT_EQ(list.find('\n'), list.size() - 1) << list;
        std::string job = list.substr(0, list.find('\t'));
        request = RunProgram(QZ_BIN_DIR "/qzjobs show " + job).output;
        return job;
    }
    TestInstallation installation_;
};

// The environment's run mode, start, recipients, output flags and extension name.
std::string EnvironmentEnd(const std::string& request) {
    size_t end = request.find("]}");
    size_t from = request.rfind("\"R\",", end);
    if (end == std::string::npos || from == std::string::npos) return request;
    std::string tail = request.substr(from, end - from);
    size_t start = tail.find("{\"date\":");
    if (start != std::string::npos) tail.replace(start, tail.find('}', start) - start + 1, "DATE");
    return tail;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST_F(QzHostReport, TheDefaultWindowSendsTheReportFileAndTheProgramsFooterAndSignIn) {
    HostRun run = Session("report-defaults.qzs");
    EXPECT_EQ(run.status, 0) << run.output;
    std::string request;
    std::string job = OnlyJob(request);
    EXPECT_EQ(run.output, std::string(kStart) + kWindow + "[I;000004] 作业已提交,作业编号: " + job +
                              " -> OK\nnotify 0x120\nnotify 0x130\nResultCode=1\nResultValue=" + job + "\n");
    EXPECT_EQ(EnvironmentEnd(request), "\"R\",0,DATE,\"\",1,\"\"");
    // The texts end in the sign-in, the footer, the date type and the print date; so do the values.
    EXPECT_NE(request.find("{\"lo\":0,\"items\":[\"签核\",\"grpSignIn\"]},{\"lo\":0,\"items\":[\"页脚\","
                           "\"grpNote\"]},{\"lo\":0,\"items\":[\"日期类型\",\"cboDateType\"]},{\"lo\":0,"
                           "\"items\":[\"制表日期\",\"edPrintDate\"]}]},"),
              std::string::npos)
        << request;
    EXPECT_TRUE(EndsWith(request, "{\"lo\":0,\"items\":[\"每页打印签核\",false,\"001\",\"制表：\",\"审核：\","
                                  "\"核准：\"]},{\"lo\":0,\"items\":[\"每页打印页脚\",false,\"001\","
                                  "\"本报表仅供公司内部使用\",\"如有疑问请洽信息部\",\"演示贸易有限公司\"]},"
                                  "{\"lo\":0,\"items\":[1,\"公历 YYYYMMDD\"]},\"\"]}]}\n"))
        << request;
}

TEST_F(QzHostReport, ChosenOutputsFooterAndSignInReachTheServer) {
    HostRun run = Session("report-choices.qzs");
    EXPECT_EQ(run.status, 0) << run.output;
    std::string request;
    std::string job = OnlyJob(request);
    EXPECT_EQ(run.output, std::string(kStart) + kWindow + "[I;000005] 请至少选择一种输出方式! -> OK\n" +
                              kWindow +
                              "[W;000004] 签核编号不存在,是否继续? -> OK\n"
                              "dialog \"CMSMS 01 [2] 页脚签核信息\": -> btnOK\n" +
                              kWindow + "[I;000004] 作业已提交,作业编号: " + job +
                              " -> OK\nnotify 0x120\nnotify 0x130\nResultCode=1\nResultValue=" + job + "\n");
    EXPECT_EQ(EnvironmentEnd(request), "\"R\",0,DATE,\"\",2,\"\""); // HTML only
    EXPECT_TRUE(EndsWith(request, "{\"lo\":0,\"items\":[\"每页打印签核\",false,\"002\",\"经办：\",\"主管：\","
                                  "\"\"]},{\"lo\":0,\"items\":[\"每页打印页脚\",true,\"002\","
                                  "\"本资料为机密文件，请妥善保管\",\"\",\"演示贸易有限公司 制\"]},"
                                  "{\"lo\":0,\"items\":[1,\"公历 YYYYMMDD\"]},\"\"]}]}\n"))
        << request;
}

} // namespace
} // namespace qz::test
