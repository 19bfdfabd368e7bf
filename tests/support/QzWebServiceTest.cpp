#include "support/QzWebService.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/os/System.h"
#include "tests/outside/wsbridge/LocalWebService.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace qz;

namespace {

// A temporary folder of its own (TMPDIR), the bridge from the build and a fixed clock.
class WebService : public ::testing::Test {
protected:
    WebService() {
        const char* old = std::getenv("TMPDIR");
        if (old) oldTmp_ = old;
        dir_ = CreateTempFile("qzws");
        std::filesystem::remove(dir_);
        std::filesystem::create_directory(dir_);
        setenv("TMPDIR", dir_.c_str(), 1);
        SetWebServiceLibraryName(QZ_LIB_DIR "/WsBridge.dll");
        SetClock([] { return EncodeDate(2025, 3, 5) + EncodeTime(14, 7, 9, 45); });
    }
    ~WebService() override {
        SetClock({});
        SetWebServiceLibraryName("");
        if (oldTmp_.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", oldTmp_.c_str(), 1);
        std::filesystem::remove_all(dir_);
    }
    size_t FilesLeft() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir_), {}));
    }

    std::string dir_, oldTmp_;
};

TEST_F(WebService, AnswerFileIsNamedAfterTheTimeAndCreatedOnlyOnce) {
    const AnsiString a = NewAnswerFileName(), b = NewAnswerFileName();
    const AnsiString stem = dir_ + "/~Tessel_20250305140709045_";
    EXPECT_EQ(a.rfind(stem, 0), 0u) << a;
    EXPECT_EQ(a.substr(a.size() - 4), ".tmp");
    EXPECT_NE(a, b);
    EXPECT_TRUE(std::filesystem::is_regular_file(a));
    EXPECT_EQ(std::filesystem::file_size(a), 0u);
}

TEST_F(WebService, TheAnswerComesBackAsLinesEachEndedByCrLf) {
    LocalWebService service(200, "text/xml; charset=utf-8", "<Root>\n<Status code=\"0\"/>\r\n</Root>");
    AnsiString response = "old";
    InvokeWebService(service.Url(), "PORTAL.getAllUser", "<Request/>", response);

    EXPECT_EQ(response, "<Root>\r\n<Status code=\"0\"/>\r\n</Root>\r\n");
    ASSERT_EQ(service.Requests().size(), 1u);
    EXPECT_NE(service.Requests()[0].head.find("PORTAL.getAllUser"), std::string::npos);
    EXPECT_EQ(service.Requests()[0].body, "<Request/>");
    EXPECT_EQ(FilesLeft(), 0u);
}

TEST_F(WebService, AnEmptyAnswerIsAnEmptyResponse) {
    LocalWebService service(200, "text/xml", "");
    AnsiString response = "old";
    InvokeWebService(service.Url(), "Op", "<r/>", response);
    EXPECT_EQ(response, "");
    EXPECT_EQ(FilesLeft(), 0u);
}

TEST_F(WebService, AMissingLibraryOrEntryGivesAnEmptyResponse) {
    for (const AnsiString& library :
         {AnsiString(dir_ + "/absent/WsBridge.dll"), AnsiString(QZ_LIB_DIR "/Qzlanguage.dll")}) {
        SCOPED_TRACE(library);
        SetWebServiceLibraryName(library);
        AnsiString response = "old";
        EXPECT_NO_THROW(InvokeWebService(LocalWebService::UnusedUrl(), "Op", "<r/>", response));
        EXPECT_EQ(response, "");
        EXPECT_EQ(FilesLeft(), 0u);
    }
}

TEST_F(WebService, AFailingServiceRaisesTheReadErrorAndLeavesNoFile) {
    struct Case {
        const char* what;
        int status; // 0: nobody listens
    };
    for (const Case& c : {Case{"server error", 500}, Case{"no service", 0}}) {
        SCOPED_TRACE(c.what);
        AnsiString response = "old";
        if (c.status) {
            LocalWebService service(c.status, "text/xml", "<Fault/>");
            EXPECT_THROW(InvokeWebService(service.Url(), "Op", "<r/>", response), EInOutError);
        } else {
            EXPECT_THROW(InvokeWebService(LocalWebService::UnusedUrl(), "Op", "<r/>", response), EInOutError);
        }
        EXPECT_EQ(response, "");
        EXPECT_EQ(FilesLeft(), 0u);
    }
}

} // namespace
