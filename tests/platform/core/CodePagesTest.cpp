#include "platform/core/CodePages.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

struct RoundTrip {
    const char* utf8;
    int codePage;
    const char* bytes;
};

TEST(CodePages, ConvertsBetweenUtf8AndDoubleByteCodePages) {
    const RoundTrip cases[] = {
        {"订单", CP_GB, "\xB6\xA9\xB5\xA5"},
        {"訂單", CP_BIG5, "\xAD\x71\xB3\xE6"},
        {"A中b", CP_GB,
         "A\xD6\xD0"
         "b"},
        {"Caf\xC3\xA9", CP_LATIN1, "Caf\xE9"},
        {"", CP_GB, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertCodePage(c.utf8, CP_UTF8, c.codePage), c.bytes) << c.utf8;
        EXPECT_EQ(ConvertCodePage(c.bytes, c.codePage, CP_UTF8), c.utf8) << c.utf8;
        EXPECT_EQ(WideToAnsi(AnsiToWide(c.bytes, c.codePage), c.codePage), c.bytes) << c.utf8;
    }
}

TEST(CodePages, CharacterOutsideTheTargetBecomesQuestionMark) {
    EXPECT_EQ(ConvertCodePage("a\xF0\x9F\x99\x82"
                              "b",
                              CP_UTF8, CP_GB),
              "a?b"); // an emoji
    EXPECT_EQ(ConvertCodePage("\xD6\xD0x", CP_GB, CP_LATIN1), "?x");
    EXPECT_EQ(ConvertCodePage("\xD6\xD0", CP_GB, CP_BIG5), "\xA4\xA4"); // same character in both
    AnsiString out;
    EXPECT_FALSE(TryConvertCodePage("\xD6\xD0", CP_GB, CP_LATIN1, out));
    EXPECT_TRUE(TryConvertCodePage("\xD6\xD0", CP_GB, CP_UTF8, out));
    EXPECT_EQ(out, "中");
}

TEST(CodePages, WideStringsAreUtf16) {
    EXPECT_EQ(Utf8ToWide("中a"), u"中a");
    EXPECT_EQ(WideToUtf8(u"訂單"), "訂單");
    EXPECT_EQ(WideToAnsi(u"\U0001F642", CP_GB), "?");
}

TEST(CodePages, SystemCodePageFollowsTheSetting) {
    SetSystemCodePage(CP_BIG5);
    EXPECT_EQ(SystemCodePageText(), "950");
    EXPECT_EQ(AnsiToUtf8("\xAD\x71"), "訂");
    SetSystemCodePage(CP_LATIN1);
    EXPECT_EQ(SystemCodePageText(), "437");
    EXPECT_FALSE(IsDBCSLeadByte(0xD6));
    SetSystemCodePage(CP_GB);
    EXPECT_EQ(SystemCodePageText(), "936");
    EXPECT_TRUE(IsDBCSLeadByte(0xD6));
    SetSystemCodePage(0);
}

TEST(CodePages, GbHelperCachesTheConvertedLiteral) {
    const AnsiString& first = GB("基本选项");
    EXPECT_EQ(first, ConvertCodePage("基本选项", CP_UTF8, CP_GB));
    EXPECT_EQ(&first, &GB("基本选项"));
    EXPECT_EQ(first.size(), 8u);
}

} // namespace
