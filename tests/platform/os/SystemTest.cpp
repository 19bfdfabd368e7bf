#include "platform/os/System.h"
#include "TempDir.h"
#include "platform/core/Exceptions.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace qz;

namespace {

TEST(System, FileNameParts) {
    struct Case {
        const char* name;
        const char* path;
        const char* file;
        const char* ext;
    };
    const Case cases[] = {
        {"/opt/prod/RovanC.so", "/opt/prod/", "RovanC.so", ".so"},
        {"C:\\Prod\\Bin\\x.v1.dll", "C:\\Prod\\Bin\\", "x.v1.dll", ".dll"},
        {"plain", "", "plain", ""},
        {"/dir.x/file", "/dir.x/", "file", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
        EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
        EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
    }
    EXPECT_EQ(ChangeFileExt("/a/b.dll", ".so"), "/a/b.so");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
}

TEST(System, ModuleHostComputerAndUser) {
    AnsiString host = GetHostFileName();
    EXPECT_EQ(ExtractFileName(host), "test_os");
    EXPECT_EQ(GetModuleFileName(reinterpret_cast<const void*>(&GetHostFileName)), host);
    EXPECT_FALSE(GetComputerName().empty());
    EXPECT_FALSE(GetUserName().empty());
}

TEST(System, TempFilesAreNewAndPrivate) {
    const char* saved = std::getenv("TMPDIR");
    TempDir dir;
    setenv("TMPDIR", dir.path().substr(0, dir.path().size() - 1).c_str(), 1);
    EXPECT_EQ(GetTempPath(), dir.path());
    AnsiString a = CreateTempFile("ws");
    AnsiString b = CreateTempFile("ws");
    EXPECT_NE(a, b);
    EXPECT_EQ(ExtractFilePath(a), dir.path());
    EXPECT_EQ(ExtractFileName(a).rfind("ws", 0), 0u);
    struct stat st {};
    ASSERT_EQ(stat(a.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
    EXPECT_EQ(st.st_mode & 077, 0u);
    EXPECT_THROW(CreateTempFile("x", dir.path() + "missing/"), EOSError);
    if (saved)
        setenv("TMPDIR", saved, 1);
    else
        unsetenv("TMPDIR");
}

TEST(System, ForceDirectoriesMakesEveryLevel) {
    TempDir dir;
    AnsiString deep = dir.path() + "a/b\\c";
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(dir.path() + "a/b/c"));
    EXPECT_FALSE(FileExists(dir.path() + "a"));
}

TEST(System, StartProcessRunsWithoutAShell) {
    EXPECT_GT(StartProcess("true", {"; rm -rf /"}), 0);
    EXPECT_EQ(StartProcess("/no/such/program", {}), -1);
}

} // namespace
