#include "platform/os/Registry.h"
#include "TempDir.h"
#include "platform/core/Exceptions.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace qz;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = dir_.Write("registry.ini", "[HKEY_LOCAL_MACHINE\\Software\\Qz\\Corvane]\n"
                                           "ClientPath=/opt/qz/client\n"
                                           "ProfileType=0\n"
                                           "[hkey_local_machine\\software\\orvik\\halbrek\\sub]\n"
                                           "Port=80\n"
                                           "[HKEY_CLASSES_ROOT\\Demo.Object]\n"
                                           "Library=Demo.dll\n");
        setenv("QZ_REGISTRY", file_.c_str(), 1);
    }
    void TearDown() override { unsetenv("QZ_REGISTRY"); }

    TempDir dir_;
    std::string file_;
};

TEST_F(RegistryTest, ReadsValuesOfAnOpenedKey) {
    EXPECT_EQ(RegistryFileName(), file_);
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Qz\\Corvane"));
    EXPECT_EQ(reg.ReadString("clientpath"), "/opt/qz/client");
    EXPECT_TRUE(reg.ValueExists("ProfileType"));
    EXPECT_EQ(reg.ReadString("ServerPath"), "");
    EXPECT_FALSE(reg.ValueExists("ServerPath"));
    EXPECT_EQ(reg.ReadInteger("ProfileType"), 0);
    EXPECT_THROW(reg.ReadInteger("ClientPath"), EOSError);
    reg.CloseKey();
    EXPECT_EQ(reg.ReadString("ClientPath"), "");
}

TEST_F(RegistryTest, KeysIgnoreCaseAndParentsOfKeysExist) {
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    EXPECT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\Orvik\\Halbrek\\Sub"));
    EXPECT_EQ(reg.ReadString("PORT"), "80");
    EXPECT_TRUE(reg.OpenKeyReadOnly("Software\\Orvik\\Halbrek"));
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\Orvik\\Halb"));
    reg.RootKey = HKEY_CURRENT_USER;
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\Qz\\Corvane"));
    reg.RootKey = HKEY_CLASSES_ROOT;
    EXPECT_TRUE(reg.OpenKeyReadOnly("demo.object"));
    EXPECT_EQ(reg.ReadString("Library"), "Demo.dll");
}

TEST_F(RegistryTest, MissingFileHasNoKeys) {
    setenv("QZ_REGISTRY", (dir_.path() + "none.ini").c_str(), 1);
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\Qz\\Corvane"));
}

} // namespace
