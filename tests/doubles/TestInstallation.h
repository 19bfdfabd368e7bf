#pragma once
// A client installation in a temporary folder for one test: the registry file naming it (and the
// libraries of the module's server object and of the host application object of a run without a host), its
// client settings, and the server object's database (QZ_TINSLEY_DB, set for the process and the programs it
// starts); removed at the end.
#include "platform/os/System.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace qz::test {

class TestInstallation {
public:
    // clientSettings: the text of CorvaneC.ini; by default the in-process application server.
    explicit TestInstallation(
        const std::string& clientSettings = "[Server Information]\nComputerName=127.0.0.1\n") {
        dir_ = CreateTempFile("qzinst");
        std::filesystem::remove(dir_);
        std::filesystem::create_directories(dir_ + "/client");
        WriteClientSettings(clientSettings);
        std::ofstream(Registry())
            << "[HKEY_LOCAL_MACHINE\\Software\\Qz\\Corvane]\nClientPath=" << dir_
            << "/client\nProfileType=0\n"
            << "[HKEY_CLASSES_ROOT\\TinsleyS.dmTinsley]\nLibrary=TinsleyS.so\n"
            << "[HKEY_CLASSES_ROOT\\PraxaWorkCenter.Manager]\nLibrary=PraxaWorkCenter.so\n";
        setenv("QZ_TINSLEY_DB", (dir_ + "/tinsley.db").c_str(), 1);
    }
    ~TestInstallation() {
        unsetenv("QZ_TINSLEY_DB");
        std::filesystem::remove_all(dir_);
    }
    TestInstallation(const TestInstallation&) = delete;
    TestInstallation& operator=(const TestInstallation&) = delete;

    void WriteClientSettings(const std::string& text) const {
        std::ofstream(dir_ + "/client/CorvaneC.ini") << text;
    }
    std::string Registry() const { return dir_ + "/registry.ini"; }
    const std::string& Dir() const { return dir_; }

private:
    std::string dir_;
};

} // namespace qz::test
