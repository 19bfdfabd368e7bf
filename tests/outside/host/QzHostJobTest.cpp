// Jobs from the module's window in scripted sessions: submitted with OK, kept open for more, cancelled,
// and the three run modes, read back from the server with qzjobs.
#include "HostRun.h"
#include "doubles/TestInstallation.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qz::test {
namespace {

const char* const kStart = "notify 0x100\nnotify 0x110\n";
const char* const kWindow = "dialog \"转单失败报表[演示贸易有限公司]\": ";

std::string Submitted(const std::string& job) {
    return std::string(kWindow) + "[I;000004] 作业已提交,作业编号: " + job + " -> OK\n";
}

std::string Closed(int code, const std::string& value) {
    return "notify 0x120\nnotify 0x130\nResultCode=" + std::to_string(code) + "\nResultValue=" + value + "\n";
}

// The elements of an array as qzjobs writes it ({"lo":L,"items":[...]}), each as its JSON text.
std::vector<std::string> Items(const std::string& json) {
    std::vector<std::string> items;
    size_t at = json.find("\"items\":[");
    if (at == std::string::npos) return items;
    int depth = 0;
    bool text = false;
    std::string item;
    for (size_t i = at + 9; i < json.size(); ++i) {
        char c = json[i];
        if (text) {
            item += c;
            if (c == '\\')
                item += json[++i];
            else if (c == '"')
                text = false;
            continue;
        }
        if (depth == 0 && (c == ',' || c == ']')) {
            if (!item.empty()) items.push_back(item);
            item.clear();
            if (c == ']') break;
            continue;
        }
        if (c == '"') text = true;
        if (c == '{' || c == '[') ++depth;
        if (c == '}' || c == ']') --depth;
        item += c;
    }
    return items;
}

// A moment {"date":"YYYY-MM-DDThh:mm:ss.zzz"} in milliseconds of its day, and its date YYYYMMDD.
long long DayMilliseconds(const std::string& moment, std::string* ymd = nullptr) {
    int y, mo, d, h, mi, s, ms;
    if (std::sscanf(moment.c_str(), "{\"date\":\"%d-%d-%dT%d:%d:%d.%d\"}", &y, &mo, &d, &h, &mi, &s, &ms) !=
        7)
        return -1;
    if (ymd) {
        char text[16];
        std::snprintf(text, sizeof text, "%04d%02d%02d", y, mo, d);
        *ymd = text;
    }
    return ((h * 60LL + mi) * 60 + s) * 1000 + ms;
}

class QzHostJob : public ::testing::Test {
protected:
    HostRun Session(const std::string& name) {
        std::string script = std::string(std::getenv("QZ_TEST_DATA")) + "/sessions/" + name;
        return RunHost(installation_.Dir(), "QZ_DISPLAY=headless QZ_REGISTRY=" + installation_.Registry(),
                       "--script " + script);
    }
    // The numbers of the jobs the server keeps, oldest first.
    std::vector<std::string> Jobs() {
        std::vector<std::string> jobs;
        std::string list = RunProgram(QZ_BIN_DIR "/qzjobs list").output;
        for (size_t from = 0, end; (end = list.find('\n', from)) != std::string::npos; from = end + 1)
            jobs.push_back(list.substr(from, list.find('\t', from) - from));
        return jobs;
    }
    // The environment of a job's request; the request's own elements in request.
    std::vector<std::string> Environment(const std::string& job, std::vector<std::string>& request) {
        std::string shown = RunProgram(QZ_BIN_DIR "/qzjobs show " + job).output;
        EXPECT_EQ(shown.rfind("{\"lo\":0,", 0), 0u) << shown;
        request = Items(shown);
        if (request.empty()) return {};
        EXPECT_EQ(request[0].rfind("{\"lo\":1,", 0), 0u) << request[0];
        return Items(request[0]);
    }
    TestInstallation installation_;
};

TEST_F(QzHostJob, OkSubmitsTheDefaultWindowToTheQueueAndKeepsTheJobNumber) {
    HostRun run = Session("job-default.qzs");
    EXPECT_EQ(run.status, 0) << run.output;
    std::vector<std::string> jobs = Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    const std::string& job = jobs[0];
    EXPECT_EQ(run.output, kStart + Submitted(job) + Closed(1, job));

    std::vector<std::string> request;
    std::vector<std::string> env = Environment(job, request);
    EXPECT_EQ(request.size(), 3u); // environment, condition texts, condition values: 0..2
    ASSERT_EQ(env.size(), 14u);    // 1..14
    EXPECT_EQ(env[0], "\"ROVANC\"");
    EXPECT_EQ(env[1], "14");
    EXPECT_EQ(env[8], "\"R\"");
    EXPECT_EQ(env[9], "0");     // the job queue
    EXPECT_EQ(env[11], "\"\""); // no recipients
    // The number is the day of the request and its sequence.
    std::string day;
    ASSERT_GE(DayMilliseconds(env[6], &day), 0) << env[6];
    EXPECT_EQ(job, day + "0001");
}

TEST_F(QzHostJob, TheMenuKeepsTheWindowOpenForASecondJobAndCancelKeepsItsNumber) {
    HostRun run = Session("job-keep-open.qzs");
    EXPECT_EQ(run.status, 0) << run.output;
    std::vector<std::string> jobs = Jobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(std::stoll(jobs[1]), std::stoll(jobs[0]) + 1);
    EXPECT_EQ(run.output, kStart + Submitted(jobs[0]) + Submitted(jobs[1]) + Closed(2, jobs[1]));
}

TEST_F(QzHostJob, EachRunModeReachesTheServerWithItsStart) {
    struct Case {
        const char* session;
        const char* mode;  // element 10
        const char* start; // element 11; "" for the moment of the request
    } cases[] = {
        {"job-default.qzs", "0", ""},
        {"job-real-time.qzs", "1", ""},
        {"job-given-time.qzs", "2", "{\"date\":\"2026-12-24T14:30:05.000\"}"},
    };
    for (const Case& c : cases) {
        size_t before = Jobs().size();
        HostRun run = Session(c.session);
        EXPECT_EQ(run.status, 0) << run.output;
        std::vector<std::string> jobs = Jobs();
        ASSERT_EQ(jobs.size(), before + 1) << c.session;
        std::vector<std::string> request;
        std::vector<std::string> env = Environment(jobs.back(), request);
        ASSERT_EQ(env.size(), 14u) << c.session;
        EXPECT_EQ(env[9], c.mode) << c.session;
        if (*c.start) {
            EXPECT_EQ(env[10], c.start) << c.session;
        } else {
            long long built = DayMilliseconds(env[6]), start = DayMilliseconds(env[10]);
            ASSERT_GE(built, 0) << env[6];
            EXPECT_GE(start, built) << env[10];
            EXPECT_LT(start - built, 2000) << env[10];
        }
    }
}

TEST_F(QzHostJob, AGivenMomentWithoutADateSendsNothing) {
    HostRun run = Session("job-given-time-no-date.qzs");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.rfind(std::string(kStart) + kWindow + "[E;000037] ", 0), 0u) << run.output;
    EXPECT_TRUE(run.output.ends_with(" -> OK\n" + Closed(2, ""))) << run.output;
    EXPECT_TRUE(Jobs().empty());
}

} // namespace
} // namespace qz::test
