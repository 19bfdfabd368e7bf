// The module's conditions as a person fills them, in scripted sessions: defaults, lookups of the
// document kinds on the demo company database, and the checks that stop a submission.
#include "HostRun.h"
#include "doubles/TestInstallation.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

const char* const kStart = "notify 0x100\nnotify 0x110\n";
const char* const kCancelled = "notify 0x120\nnotify 0x130\nResultCode=2\nResultValue=\n";

class QzHostConditions : public ::testing::Test {
protected:
    HostRun Session(const std::string& name) {
        std::string script = std::string(std::getenv("QZ_TEST_DATA")) + "/sessions/" + name;
        return RunHost(installation_.Dir(), "QZ_DISPLAY=headless QZ_REGISTRY=" + installation_.Registry(),
                       "--script " + script);
    }
    std::string Jobs() { return RunProgram(QZ_BIN_DIR "/qzjobs list").output; }
    TestInstallation installation_;
};

TEST_F(QzHostConditions, DefaultsAndTheOrderLookupInBothFailedStates) {
    HostRun run = Session("conditions-defaults.qzs");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, std::string(kStart) + "dialog \"COPTC 26 [U,u] 订单\": -> btnOK\n" + kCancelled);
}

TEST_F(QzHostConditions, OnlyPurchasesLookPurchasesUpInTheChosenState) {
    HostRun run = Session("conditions-purchase.qzs");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, std::string(kStart) + "dialog \"PURTC 17 [U,U] 采购\": -> btnOK\n" + kCancelled);
}

TEST_F(QzHostConditions, AKindMustBeChosenAndOnlyOne) {
    HostRun two = Session("conditions-two-kinds.qzs");
    EXPECT_EQ(two.status, 0);
    EXPECT_EQ(two.output,
              std::string(kStart) +
                  "dialog \"转单失败报表[演示贸易有限公司]\": [E;100781] 选择类型 只能选择一项! -> OK\n" +
                  kCancelled);
    HostRun none = Session("conditions-no-kind.qzs");
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.output,
              std::string(kStart) +
                  "dialog \"转单失败报表[演示贸易有限公司]\": [E;000003] 选择类型 至少要选择一项! -> OK\n" +
                  kCancelled);
    EXPECT_EQ(Jobs(), ""); // nothing reached the server
}

TEST_F(QzHostConditions, ADateThatDoesNotExistKeepsTheFocusOnItsEdit) {
    HostRun run = Session("conditions-bad-date.qzs");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              std::string(kStart) +
                  "dialog \"转单失败报表[演示贸易有限公司]\": [E;000005] 输入的资料不正确,请检查:  -> OK\n" +
                  kCancelled);
}

TEST_F(QzHostConditions, ARequiredFieldLeftEmptyStopsOk) {
    HostRun run = Session("conditions-required.qzs");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              std::string(kStart) +
                  "dialog \"转单失败报表[演示贸易有限公司]\": [E;000037] 此栏位必须输入资料! -> OK\n" +
                  kCancelled);
    EXPECT_EQ(Jobs(), "");
}

// The request as qzjobs shows it, with its moments left out.
std::string WithoutMoments(std::string json) {
    for (size_t at = json.find("{\"date\":\""); at != std::string::npos;
         at = json.find("{\"date\":\"", at + 1))
        json.replace(at, json.find('}', at) - at + 1, "DATE");
    return json;
}

TEST_F(QzHostConditions, TheWholeRequestOfTheDefaultWindowWithADateRangeInOrder) {
    HostRun run = Session("conditions-submit.qzs");
    EXPECT_EQ(run.status, 0) << run.output;
    std::string list = Jobs();
    ASSERT_EQ(std::count(list.begin(), list.end(), '\n'), 1) << list;
    std::string job = list.substr(0, list.find('\t'));
    EXPECT_NE(run.output.find("ResultCode=1\nResultValue=" + job + "\n"), std::string::npos) << run.output;
    EXPECT_EQ(
        WithoutMoments(RunProgram(QZ_BIN_DIR "/qzjobs show " + job).output),
        "{\"lo\":0,\"items\":["
        // The environment: program, its environment and condition counts, company, user, database,
        // the moment, the server-side library, the job kind, run mode and start, recipients, output
        // flags and extension name.
        "{\"lo\":1,\"items\":[\"ROVANC\",14,15,\"DEMO\",\"ADMIN\",\"DEMODB\",DATE,\"ROVANCS.Class1\",\"R\",0,"
        "DATE,\"\",1,\"\"]},"
        "{\"lo\":1,\"items\":[{\"lo\":0,\"items\":[\"订单\",\"chk01A\"]},{\"lo\":0,\"items\":[\"销货\","
        "\"chk01B\"]},"
        "{\"lo\":0,\"items\":[\"订单变更\",\"chk01C\"]},{\"lo\":0,\"items\":[\"销退\",\"chk01D\"]},"
        "{\"lo\":0,\"items\":[\"销售发票\",\"chk01E\"]},{\"lo\":0,\"items\":[\"采购\",\"chk01F\"]},"
        "{\"lo\":0,\"items\":[\"退货\",\"chk01G\"]},{\"lo\":0,\"items\":[\"采购变更\",\"chk01H\"]},"
        "{\"lo\":0,\"items\":[\"选择单别单号\",\"sp02\"]},{\"lo\":0,\"items\":[\"选择单据日期\",\"sp03\"]},"
        "{\"lo\":0,\"items\":[\"选择抛转状态\",\"cbo04\"]},{\"lo\":0,\"items\":[\"签核\",\"grpSignIn\"]},"
        "{\"lo\":0,\"items\":[\"页脚\",\"grpNote\"]},{\"lo\":0,\"items\":[\"日期类型\",\"cboDateType\"]},"
        "{\"lo\":0,\"items\":[\"制表日期\",\"edPrintDate\"]}]},"
        "{\"lo\":1,\"items\":[\"Y\",\"N\",\"N\",\"N\",\"N\",\"N\",\"N\",\"N\","
        "{\"lo\":0,\"items\":[\"\\u0004\",\"\",\"\"]},"
        "{\"lo\":0,\"items\":[\"\\u0004\",\"20240101\",\"20241231\"]},"
        "{\"lo\":0,\"items\":[3,\"A.全部\"]},"
        "{\"lo\":0,\"items\":[\"每页打印签核\",false,\"001\",\"制表：\",\"审核：\",\"核准：\"]},"
        "{\"lo\":0,\"items\":[\"每页打印页脚\",false,\"001\",\"本报表仅供公司内部使用\","
        "\"如有疑问请洽信息部\","
        "\"演示贸易有限公司\"]},"
        "{\"lo\":0,\"items\":[1,\"公历 YYYYMMDD\"]},\"\"]}]}\n");
}

} // namespace
} // namespace qz::test
