#pragma once
// A scratch installation for one test: a folder, a registry file naming it (QZ_REGISTRY) and a fixed
// clock; all undone at the end.
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/os/System.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

class SupportFixture : public ::testing::Test {
protected:
    SupportFixture() {
        dir_ = qz::CreateTempFile("qzs");
        std::filesystem::remove(dir_);
        std::filesystem::create_directory(dir_);
        dir_ += "/";
        SetRegistry("");
        qz::SetClock([] { return qz::EncodeDate(2025, 3, 5) + qz::EncodeTime(14, 7, 9, 45); });
    }
    ~SupportFixture() override {
        unsetenv("QZ_REGISTRY");
        qz::SetClock({});
        qz::SetSystemCodePage(0);
        std::filesystem::remove_all(dir_);
    }

    // Replaces the registry with these lines under HKEY_LOCAL_MACHINE\Software\Qz\Corvane.
    void SetRegistry(const std::string& values) {
        std::string text = values.empty() ? "" : "[HKEY_LOCAL_MACHINE\\Software\\Qz\\Corvane]\n" + values;
        setenv("QZ_REGISTRY", Write("registry.ini", text).c_str(), 1);
    }
    std::string Write(const std::string& name, const std::string& text) const {
        std::filesystem::create_directories(std::filesystem::path(dir_ + name).parent_path());
        std::ofstream(dir_ + name, std::ios::binary) << text;
        return dir_ + name;
    }
    static std::string Read(const std::string& fileName) {
        std::ifstream in(fileName, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
};
