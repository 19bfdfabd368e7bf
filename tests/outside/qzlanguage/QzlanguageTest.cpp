#include "platform/core/CodePages.h"
#include "platform/os/Library.h"

#include <gtest/gtest.h>
#include <thread>

using namespace qz;

namespace {

using ConvertFn = const char* (*)(const char*);

class Qzlanguage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        lib_ = LoadLibrary(QZ_LIB_DIR "/Qzlanguage.dll");
        ASSERT_NE(lib_, nullptr) << LastLibraryError();
        toBig5_ = reinterpret_cast<ConvertFn>(GetProcAddress(lib_, "GBtoBIG5"));
        toGb_ = reinterpret_cast<ConvertFn>(GetProcAddress(lib_, "BIG5toGB"));
    }
    static AnsiString Big5(const char* utf8) { return ConvertCodePage(utf8, CP_UTF8, CP_BIG5); }

    static inline HMODULE lib_ = nullptr;
    static inline ConvertFn toBig5_ = nullptr;
    static inline ConvertFn toGb_ = nullptr;
};

TEST_F(Qzlanguage, ConvertsSimplifiedGbToTraditionalBig5AndBack) {
    ASSERT_TRUE(toBig5_ && toGb_);
    struct Case {
        const char* simplified;
        const char* traditional;
    };
    const Case cases[] = {
        {"订单变更 选择单据日期", "訂單變更 選擇單據日期"},
        {"销货退回", "銷貨退回"},
        {"ABC 123", "ABC 123"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AnsiString(toBig5_(GB(c.simplified).c_str())), Big5(c.traditional)) << c.simplified;
        EXPECT_EQ(AnsiString(toGb_(Big5(c.traditional).c_str())), GB(c.simplified)) << c.simplified;
    }
}

TEST_F(Qzlanguage, CharacterWithoutCounterpartBecomesQuestionMark) {
    // The pinyin letter and the kana are in GB but not in BIG5.
    EXPECT_EQ(AnsiString(toBig5_(GB("aǎbぁ").c_str())), "a?b?");
    // An invalid GB sequence is no character at all.
    EXPECT_EQ(AnsiString(toBig5_("x\xFF")), "x?");
}

TEST_F(Qzlanguage, LongTextsAndBuffersPerThread) {
    AnsiString longText;
    for (int i = 0; i < 20000; ++i) longText += GB("单据");
    const char* converted = toBig5_(longText.c_str());
    EXPECT_EQ(AnsiString(converted).size(), longText.size());

    AnsiString fromOtherThread;
    std::thread([&] { fromOtherThread = toGb_(Big5("訂單").c_str()); }).join();
    EXPECT_EQ(fromOtherThread, GB("订单"));
    EXPECT_EQ(AnsiString(converted).substr(0, 4), Big5("單據")); // untouched by the other thread
}

} // namespace
