#include "platform/os/System.h"
#include "TempDir.h"
#include "platform/core/DateTime.h"
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

TEST(System, ShellPropertiesOfAFile) {
    TFileProperties p;
    AnsiString library = ExtractFilePath(GetHostFileName()) + "QzSample.so";
    ASSERT_TRUE(ShellProperties(library, p));
    struct stat st {};
    ASSERT_EQ(stat(library.c_str(), &st), 0);
    EXPECT_EQ(p.Name, "QzSample.so");
    EXPECT_EQ(p.Size, st.st_size);
    EXPECT_EQ(p.Version, "1.2.3-sample");
    struct tm local {};
    localtime_r(&st.st_mtime, &local);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", p.Time),
              FormatDateTime("yyyy-mm-dd hh:nn:ss",
                             EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
                                 EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, 0)));

    // A program without a recorded version, a file that is no object, a missing file.
    ASSERT_TRUE(ShellProperties(GetHostFileName(), p));
    EXPECT_EQ(p.Version, "");
    TempDir dir;
    ASSERT_TRUE(ShellProperties(dir.Write("notes.txt", "\x7f"
                                                       "ELF but not really"),
                                p));
    EXPECT_EQ(p.Name, "notes.txt");
    EXPECT_EQ(p.Size, 19);
    EXPECT_EQ(p.Version, "");
    EXPECT_FALSE(ShellProperties(dir.path() + "absent.so", p));
}

TEST(System, LocaleDateSeparator) {
    // A locale of its own, compiled into the test's folder.
    TempDir dir;
    std::string compile = "localedef -i de_DE -f UTF-8 " + dir.path() + "de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(compile.c_str()) != 0) GTEST_SKIP() << "localedef cannot compile de_DE";
    const char* savedAll = std::getenv("LC_ALL");
    std::string saved = savedAll ? savedAll : "";
    setenv("LOCPATH", dir.path().c_str(), 1);
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    EXPECT_EQ(GetLocaleDateSeparator(), ".");
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(GetLocaleDateSeparator(), "/");
    unsetenv("LOCPATH");
    if (savedAll)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

} // namespace
