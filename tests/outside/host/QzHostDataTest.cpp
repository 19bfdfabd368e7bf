// The reference host's company database as a user's run makes it: in the installation's data folder,
// or where QZ_COMPANY_DB names it, with the host's output as usual.
#include "HostRun.h"
#include "doubles/TestInstallation.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

TEST(QzHostData, TheCompanyDatabaseIsMadeBesideTheClientFolderOrWhereTheEnvironmentSays) {
    struct Case {
        const char* environment;
        const char* file; // in the installation
    } cases[] = {{"", "Data/company.db"}, {"QZ_COMPANY_DB=elsewhere/demo.db", "elsewhere/demo.db"}};
    for (const Case& c : cases) {
        TestInstallation installation;
        HostRun run =
            RunHost(installation.Dir(),
                    std::string(c.environment) + " QZ_REGISTRY=" + installation.Registry(), "--headless");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.output,
                  "notify 0x100\nnotify 0x110\nnotify 0x120\nnotify 0x130\nResultCode=2\nResultValue=\n");
        EXPECT_TRUE(std::filesystem::is_regular_file(installation.Dir() + "/" + c.file)) << c.file;
        EXPECT_EQ(std::filesystem::exists(installation.Dir() + "/Data/company.db"), *c.environment == 0);
    }
}

} // namespace
} // namespace qz::test
