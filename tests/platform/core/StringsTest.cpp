#include "platform/core/Strings.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

TEST(Strings, TrimRemovesBlanksAndControlCharacters) {
    EXPECT_EQ(Trim(" \t\x01"
                   "a b\r\n\x03"),
              "a b");
    EXPECT_EQ(TrimLeft("\x04 x "), "x ");
    EXPECT_EQ(TrimRight(" x\x1F"), " x");
    EXPECT_EQ(Trim(" \x02 "), "");
}

TEST(Strings, CaseLeavesDoubleByteCharactersAlone) {
    // The GB character 0x81 0x61 has a trail byte that looks like "a".
    EXPECT_EQ(UpperCase("ab\x81"
                        "ac"),
              "AB\x81"
              "aC");
    EXPECT_EQ(LowerCase("X\xD6\xD0Y"), "x\xD6\xD0y");
    EXPECT_TRUE(SameText("Sys007", "SYS007"));
    EXPECT_FALSE(SameText("abc", "abd"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("abcd", "ABC"), 0);
}

TEST(Strings, PositionsAndCopiesCountFromOne) {
    EXPECT_EQ(Pos("b", "abcb"), 2);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(PosEx("b", "abcb", 3), 4);
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
    EXPECT_EQ(Copy("abc", 4, 1), "");
    AnsiString s = "abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, "adef");
    Delete(s, 10, 1);
    EXPECT_EQ(s, "adef");
    Insert("XY", s, 2);
    EXPECT_EQ(s, "aXYdef");
    Insert("!", s, 100);
    EXPECT_EQ(s, "aXYdef!");
}

TEST(Strings, ReplaceWithFlags) {
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", rfReplaceAll), "aXb-c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", rfReplaceAll | rfIgnoreCase), "a-b-c");
    EXPECT_EQ(StringReplace("xx", "x", "y", 0), "yx");
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
}

TEST(Strings, ReadsIntegers) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"12", true, 12},
        {" 12", true, 12},
        {"-7", true, -7},
        {"+3", true, 3},
        {"$1F", true, 31},
        {"0x10", true, 16},
        {"12 ", false, 0},
        {"1.5", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"abc", false, 0},
        {"2147483648", false, 0},
        {"-2147483648", true, INT32_MIN},
    };
    for (const auto& c : cases) {
        int v = 0;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(StrToIntDef(c.text, -99), c.ok ? c.value : -99) << c.text;
    }
    EXPECT_THROW(StrToInt("x1"), EConvertError);
    try {
        StrToInt("x1");
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
    }
}

TEST(Strings, ReadsAndWritesFloats) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"1.5", true, 1.5}, {" -2.25 ", true, -2.25}, {"3", true, 3},      {"1e3", true, 1000},
        {".5", true, 0.5},  {"1,5", false, 0},        {"1.2.3", false, 0}, {"", false, 0},
        {"nan", false, 0},  {"0x10", false, 0},       {"1e", false, 0},
    };
    for (const auto& c : cases) {
        double v = 0;
        EXPECT_EQ(TryStrToFloat(c.text, v), c.ok) << c.text;
        if (c.ok) EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
    EXPECT_THROW(StrToFloat("abc"), EConvertError);
    EXPECT_EQ(FloatToStr(1.5), "1.5");
    EXPECT_EQ(FloatToStr(100), "100");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
}

TEST(Exceptions, CarryTheirMessageAcrossStdException) {
    try {
        throw EConvertError("bad");
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "bad");
    }
    EXPECT_THROW(Abort(), EAbort);
}

} // namespace
