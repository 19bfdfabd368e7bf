#include "support/AlertLog.h"
#include "SupportFixture.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/os/System.h"
#include "support/LibStrs.h"
#include "support/QzDownLoadNewFileU.h"
#include "support/TesselGeneratorU.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using namespace qz;

namespace {

class AlertLog : public SupportFixture {
protected:
    AlertLog() { SetRegistry("ClientPath=" + dir() + "client\n"); }
    std::string LogDir() const { return dir() + "client/Log/"; }
};

TEST_F(AlertLog, FileNamesByPeriodAndByANameHoldingADot) {
    struct Case {
        const char* name;
        const char* period;
        const char* file;
    };
    const Case cases[] = {
        {"libstrs", "D", "Alert_libstrs_20250305.log"}, {"libstrs", "M", "Alert_libstrs_202503.log"},
        {"libstrs", "Y", "Alert_libstrs_2025.log"},     {"libstrs", "d", "Alert_libstrs_20250305.log"},
        {"libstrs", "", "Alert_libstrs_20250305.log"},  {"a.txt", "D", "Alert_a.txt_20250305"},
        {"a.txt", "M", "Alert_a.txt_202503"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(LogDir());
        EXPECT_TRUE(WriteAlertLog(c.name, "x", c.period)) << c.file;
        EXPECT_TRUE(std::filesystem::exists(LogDir() + c.file)) << c.file;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(LogDir()), {}), 1) << c.file;
    }
}

TEST_F(AlertLog, LinesAreAppendedWithAFixedTimeStamp) {
    const char savedDate = DateSeparator, savedTime = TimeSeparator;
    DateSeparator = '-';
    TimeSeparator = '.';
    EXPECT_TRUE(WriteAlertLog("libstrs", "first 100%", "D"));
    SetClock([] { return EncodeDate(2025, 3, 5) + EncodeTime(9, 0, 1, 2); });
    EXPECT_TRUE(WriteAlertLog("libstrs", "two\r\nlines", "D"));
    DateSeparator = savedDate;
    TimeSeparator = savedTime;
    EXPECT_EQ(Read(LogDir() + "Alert_libstrs_20250305.log"), "[2025/03/05 14:07:09:045] first 100%\r\n"
                                                             "[2025/03/05 09:00:01:002] two\r\nlines\r\n");
}

TEST_F(AlertLog, InstallPathFromClientPathElseServerPath) {
    struct Case {
        const char* registry;
        const char* path;
    };
    const Case cases[] = {
        {"ClientPath=/opt/c\nServerPath=/opt/s\n", "/opt/c"},
        {"ClientPath=\nServerPath=/opt/s\n", "/opt/s"},
        {"ServerPath=/opt/s\n", "/opt/s"},
        {"ProfileType=0\n", ""},
    };
    for (const auto& c : cases) {
        SetRegistry(c.registry);
        EXPECT_EQ(GetInstallPath(), c.path) << c.registry;
        EXPECT_EQ(GetLogBaseDir(), *c.path ? c.path : GetTempPath()) << c.registry;
    }
    SetRegistry("");
    EXPECT_EQ(GetInstallPath(), "");
    EXPECT_EQ(GetLogBaseDir(), GetTempPath());
}

TEST_F(AlertLog, WritersFailQuietlyAndFollowNoLinkPlantedAsTheFile) {
    // A log folder that cannot be made.
    Write("client", "a file where the installation folder should be");
    EXPECT_FALSE(WriteAlertLog("libstrs", "x", "D"));

    // A link in place of the log file, to a file or to nothing.
    SetRegistry("ClientPath=" + dir() + "other\n");
    std::string target = Write("target.txt", "keep");
    std::filesystem::create_directories(dir() + "other/Log");
    std::filesystem::create_symlink(target, dir() + "other/Log/Alert_libstrs_20250305.log");
    EXPECT_FALSE(WriteAlertLog("libstrs", "x", "D"));
    std::filesystem::create_symlink(dir() + "missing.txt", dir() + "other/Log/Alert_libstrs_202503.log");
    EXPECT_FALSE(WriteAlertLog("libstrs", "x", "M"));
    EXPECT_EQ(Read(target), "keep");
    EXPECT_FALSE(std::filesystem::exists(dir() + "missing.txt"));

    // A name is never a path.
    SetRegistry("ClientPath=" + dir() + "fourth\n");
    EXPECT_FALSE(WriteAlertLog("../escape", "x", "D"));
    EXPECT_FALSE(std::filesystem::exists(dir() + "fourth/escape_20250305.log"));
}

TEST_F(AlertLog, ASharedLogFolderTakesTheLinesOfEveryProgram) {
    const mode_t savedMask = umask(022);
    // A Log folder that is a link to the folder the installation shares.
    std::filesystem::create_directories(dir() + "shared");
    chmod((dir() + "shared").c_str(), 01777);
    std::filesystem::create_directories(dir() + "client");
    std::filesystem::create_symlink(dir() + "shared", dir() + "client/Log");
    EXPECT_TRUE(WriteAlertLog("libstrs", "first", "D"));
    const std::string file = dir() + "shared/Alert_libstrs_20250305.log";
    EXPECT_EQ(Read(file), "[2025/03/05 14:07:09:045] first\r\n");
    // Made so that the other programs (users of the group) may append, and nobody else.
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0664u);
    umask(savedMask);

    // Our own file, but linked twice: in a folder anybody may write to, it is not trusted.
    std::filesystem::create_hard_link(file, dir() + "shared/hardlink");
    EXPECT_FALSE(WriteAlertLog("libstrs", "linked", "D"));
    std::filesystem::remove(dir() + "shared/hardlink");

    // The day's file (and the folder) of another user of the installation.
    if (geteuid() != 0) GTEST_SKIP() << "giving files to another user needs root";
    const uid_t other = 65534;
    ASSERT_EQ(chown(file.c_str(), other, other), 0);
    EXPECT_TRUE(WriteAlertLog("libstrs", "second", "D"));
    ASSERT_EQ(chown((dir() + "shared").c_str(), other, other), 0);
    chmod((dir() + "shared").c_str(), 0777);
    EXPECT_TRUE(WriteAlertLog("libstrs", "third", "D"));
    EXPECT_EQ(Read(file), "[2025/03/05 14:07:09:045] first\r\n"
                          "[2025/03/05 14:07:09:045] second\r\n"
                          "[2025/03/05 14:07:09:045] third\r\n");
}

TEST_F(AlertLog, DownloadLogLivesBesideTheHostProgram) {
    const std::string file =
        ExtractFilePath(GetHostFileName()) + "Log/Alert_test_support_download_20250305.log";
    std::filesystem::remove(file);
    EXPECT_TRUE(WriteDownloadLog("test_support_download", "no registry key", "D"));
    EXPECT_EQ(Read(file), "[2025/03/05 14:07:09:045] no registry key\r\n");
    std::filesystem::remove(file);
    std::error_code ignored;
    std::filesystem::remove(ExtractFilePath(file), ignored); // only when nothing else is logged there
}

// ---- Exception reports of the generator log

class GeneratorLog : public AlertLog {
protected:
    std::string Log() const { return Read(LogDir() + "Alert_TesselGenerator_20250305.log"); }
    static std::string Line(const std::string& text) { return "[2025/03/05 14:07:09] " + text + "\r\n"; }
};

TEST_F(GeneratorLog, LinesUseTheShortDateAndLongTimeFormats) {
    const AnsiString savedDate = ShortDateFormat;
    const char savedSep = DateSeparator;
    ShortDateFormat = "dd/mm/yyyy";
    DateSeparator = '-';
    EXPECT_TRUE(WriteGeneratorLog("a"));
    ShortDateFormat = savedDate;
    DateSeparator = savedSep;
    EXPECT_TRUE(WriteGeneratorLog("b"));
    EXPECT_EQ(Log(), "[05/03/2025 14:07:09] a\r\n" + Line("b"));
}

TEST_F(GeneratorLog, ExceptionReports) {
    const std::string dashes(34, '-');
    const std::string info = GB("讯息信息:");
    EConvertError convert("50% done");
    EOSError os("No such file");
    EInOutError io("Disk full");
    std::runtime_error plain("plain");
    struct Case {
        const std::exception* e;
        const char* where;
        const char* message;
        std::string expected;
    };
    const Case cases[] = {
        {nullptr, "abc", "x", Line(dashes + " on abc " + dashes) + Line("Programer Message: x")},
        {nullptr, "  ", " ", Line(dashes + dashes)},
        {&convert, "", "",
         Line(dashes + dashes) + Line(info) + Line("Exception is EConvertError\r\nMessage 01: 50% done") +
             Line("ErrorMessage Count: 1")},
        {&os, "", " m ",
         Line(dashes + dashes) + Line(info) + Line("EWin32Error Error 01: Code: 0, Message: No such file") +
             Line("ErrorMessage Count: 1") + Line("Programer Message:  m ")},
        {&io, "", "",
         Line(dashes + dashes) + Line(info) + Line("EInOutError Error 01: Code: 0, Message: Disk full") +
             Line("ErrorMessage Count: 1")},
        {&plain, "", "",
         Line(dashes + dashes) + Line(info) + Line("Exception is runtime_error\r\nMessage 01: plain") +
             Line("ErrorMessage Count: 1")},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(LogDir());
        LogException(c.e, c.where, c.message);
        EXPECT_EQ(Log(), c.expected) << c.where << "/" << c.message;
    }
}

} // namespace
