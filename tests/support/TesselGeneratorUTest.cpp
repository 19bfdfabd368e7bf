#include "support/TesselGeneratorU.h"
#include "SupportFixture.h"
#include "platform/core/CodePages.h"
#include "platform/core/Strings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace qz;
using ::testing::HasSubstr;

namespace {

class Passwords : public SupportFixture {
protected:
    Passwords() { SetRegistry("ClientPath=" + dir() + "\n"); }
    std::string LogFile() const { return dir() + "Log/Alert_TesselGenerator_20250305.log"; }
};

TEST_F(Passwords, ScrambledFormRoundTrips) {
    AnsiString allBytes;
    for (int c = 0; c < 256; ++c) allBytes += static_cast<char>(c);
    const AnsiString cases[] = {"", "sa", "P@ss w0rd", GB("中文密码"), AnsiString(300, 'a'), allBytes};
    for (const auto& password : cases) {
        AnsiString stored = ScramblePassword(password);
        EXPECT_EQ(UnscramblePassword(stored), password) << stored;
        EXPECT_EQ(UnscramblePassword(UpperCase(stored)), password) << stored;
        EXPECT_EQ(stored.find_first_not_of("0123456789abcdef"), AnsiString::npos) << stored;
        if (!password.empty()) {
            EXPECT_EQ(stored.size(), 2 * password.size());
        }
    }
    // The same character scrambles differently at each position; the empty password is a marker.
    AnsiString same = ScramblePassword("aaaa");
    EXPECT_NE(same.substr(0, 2), same.substr(2, 2));
    EXPECT_EQ(ScramblePassword(""), ScramblePassword("Qz_Say_NoPassWord_ThePassWordIsEmpty"));
    EXPECT_NE(ScramblePassword(""), "");
    EXPECT_FALSE(std::filesystem::exists(LogFile()));
}

TEST_F(Passwords, ShortAndOddStoredValues) {
    const AnsiString abc = ScramblePassword("abc");
    struct Case {
        AnsiString stored;
        AnsiString password;
    };
    const Case cases[] = {{"", ""}, {"7", ""}, {abc + "7", "abc"}, {abc.substr(0, 5), "ab"}};
    for (const auto& c : cases) EXPECT_EQ(UnscramblePassword(c.stored), c.password) << c.stored;
    EXPECT_FALSE(std::filesystem::exists(LogFile()));
}

TEST_F(Passwords, ANonHexadecimalPairGivesTheErrorMarkerAndOneReport) {
    const AnsiString cases[] = {ScramblePassword("ab") + "zz", "g0", " 1", "-1", "0x"};
    for (const auto& stored : cases) {
        std::filesystem::remove(LogFile());
        EXPECT_EQ(UnscramblePassword(stored), "Qz_Say_Password_Error") << stored;
        std::string log = Read(LogFile());
        const std::string separator =
            std::string(34, '-') + " on " + ScramblePassword("DecodeSQLSa") + " " + std::string(34, '-');
        EXPECT_THAT(log, HasSubstr(separator)) << stored;
        EXPECT_THAT(log, HasSubstr("Exception is EConvertError")) << stored;
        EXPECT_THAT(log, HasSubstr("] Programer Message: " + GB("解析 Sa 时发生错误!") + "\r\n")) << stored;
        EXPECT_EQ(log.find(separator), log.rfind(separator)) << stored; // one report
    }
}

} // namespace
