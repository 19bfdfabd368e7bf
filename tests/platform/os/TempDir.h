#pragma once
// A fresh folder for one test, removed with its files at the end.
#include "platform/os/System.h"

#include <filesystem>
#include <fstream>
#include <string>

class TempDir {
public:
    TempDir() {
        path_ = qz::CreateTempFile("qzt");
        std::filesystem::remove(path_);
        std::filesystem::create_directory(path_);
        path_ += "/";
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    const std::string& path() const { return path_; }
    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ + name, std::ios::binary) << text;
        return path_ + name;
    }

private:
    std::string path_;
};
