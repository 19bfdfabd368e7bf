#include "platform/os/Library.h"
#include "platform/os/System.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

using AnswerFn = int (*)();

TEST(Library, DllNamesLoadTheSharedObjectBesideTheCaller) {
    AnsiString expected = ExtractFilePath(GetHostFileName()) + "QzSample.so";
    EXPECT_EQ(ResolveLibraryName("QzSample.dll"), expected);
    EXPECT_EQ(ResolveLibraryName("QzSample.DLL"), expected);
    EXPECT_EQ(ResolveLibraryName("Absent.dll"), "Absent.so");
    EXPECT_EQ(ResolveLibraryName("dir\\x.dll"), "dir/x.so");

    HMODULE lib = LoadLibrary("QzSample.dll");
    ASSERT_NE(lib, nullptr) << LastLibraryError();
    auto answer = reinterpret_cast<AnswerFn>(GetProcAddress(lib, "QzSampleAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(GetProcAddress(lib, "NoSuchEntry"), nullptr);
    EXPECT_TRUE(FreeLibrary(lib));
}

TEST(Library, MissingLibraryReportsWhy) {
    EXPECT_EQ(LoadLibrary("NoSuchLibrary.dll"), nullptr);
    EXPECT_NE(LastLibraryError().find("NoSuchLibrary.so"), AnsiString::npos);
    EXPECT_EQ(LoadLibrary(""), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "x"), nullptr);
}

} // namespace
