#include "platform/core/CodePages.h"
#include "platform/os/Library.h"
#include "platform/os/System.h"
#include "tests/outside/wsbridge/LocalWebService.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace qz;

namespace {

using TWsBridgeFx = void (*)(const char*, const char*, const char*, const char*);

class WsBridge : public ::testing::Test {
protected:
    WsBridge() {
        library_ = LoadLibrary(QZ_LIB_DIR "/WsBridge.dll");
        if (library_) call_ = reinterpret_cast<TWsBridgeFx>(GetProcAddress(library_, "WsBridgeFx"));
        answer_ = CreateTempFile("wsb");
    }
    ~WsBridge() override {
        std::filesystem::remove(answer_);
        if (library_) FreeLibrary(library_);
    }
    void Call(const std::string& url, const std::string& operation, const std::string& request) {
        ASSERT_NE(call_, nullptr) << LastLibraryError();
        call_(url.c_str(), operation.c_str(), request.c_str(), answer_.c_str());
    }
    std::string Answer() const {
        std::ifstream in(answer_, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    HMODULE library_ = nullptr;
    TWsBridgeFx call_ = nullptr;
    std::string answer_;
};

TEST_F(WsBridge, PostsTheRequestAsUtf8WithTheOperationAndWritesTheAnswerInTheProcessCodePage) {
    LocalWebService service(200, "text/xml; charset=utf-8", "<Result name=\"张三\"/>\n<End/>");
    Call(service.Url(), "PORTAL.getAllUser", GB("<Request user=\"李四\"/>"));

    EXPECT_EQ(Answer(), GB("<Result name=\"张三\"/>\n<End/>"));
    const auto& requests = service.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].head.rfind("POST /ws ", 0), 0u);
    EXPECT_NE(requests[0].head.find("SOAPAction: \"PORTAL.getAllUser\""), std::string::npos);
    EXPECT_NE(requests[0].head.find("text/xml; charset=UTF-8"), std::string::npos);
    EXPECT_EQ(requests[0].body, "<Request user=\"李四\"/>");
}

TEST_F(WsBridge, KeepsAGbAnswerAsItCame) {
    LocalWebService service(200, "text/xml; charset=GB2312", GB("<R n=\"王五\"/>"));
    Call(service.Url(), "Op", "<r/>");
    EXPECT_EQ(Answer(), GB("<R n=\"王五\"/>"));
}

// A failed call leaves no answer file, so the caller cannot read it as an empty answer.
TEST_F(WsBridge, AFailedCallRemovesTheAnswerFile) {
    struct Case {
        const char* what;
        int status; // 0: nobody listens
    };
    for (const Case& c : {Case{"server error", 500}, Case{"not found", 404}, Case{"no service", 0}}) {
        SCOPED_TRACE(c.what);
        std::ofstream(answer_) << "old";
        if (c.status) {
            LocalWebService service(c.status, "text/xml", "<Fault/>");
            Call(service.Url(), "Op", "<r/>");
        } else {
            Call(LocalWebService::UnusedUrl(), "Op", "<r/>");
        }
        EXPECT_FALSE(std::filesystem::exists(answer_));
    }
}

TEST_F(WsBridge, OnlySpeaksHttp) {
    std::ofstream(answer_) << "old";
    Call("file:///etc/hostname", "Op", "<r/>");
    EXPECT_FALSE(std::filesystem::exists(answer_));
}

} // namespace
