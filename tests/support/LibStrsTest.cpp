#include "support/LibStrs.h"
#include "SupportFixture.h"
#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Strings.h"
#include "platform/variant/Variant.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>

using namespace qz;
using ::testing::HasSubstr;

namespace {

TEST(LibStrs, GetFieldTakesTheNthSeparatedField) {
    struct Case {
        const char* s;
        const char* sep;
        int n;
        const char* expected;
    };
    const Case cases[] = {
        {"a;b;c", ";", 1, "a"},    {"a;b;c", ";", 2, "b"},   {"a;b;c", ";", 3, "c"},
        {"a;b;c", ";", 4, ""},     {"a;b;c", ";", 0, ""},    {"a;b;c", ";", -1, ""},
        {"abc", ";", 1, "abc"},    {"abc", ";", 2, ""},      {"a;b;", ";", 2, "b"},
        {"a;b;", ";", 3, ""},      {"a;b;", ";", 4, ""},     {";x", ";", 1, ""},
        {"", ";", 1, ""},          {"x\1\1y", "\1", 3, "y"}, {"a<>b<>c", "<>", 2, "b"},
        {"a<>b<>c", "<>", 3, "c"},
    };
    for (const auto& c : cases) EXPECT_EQ(GetField(c.s, c.sep, c.n), c.expected) << c.s << " #" << c.n;
}

TEST(LibStrs, CountFieldsIsSeparatorsPlusOne) {
    struct Case {
        const char* s;
        const char* sep;
        int expected;
    };
    const Case cases[] = {
        {"", ",", 0},
        {"a", ",", 1},
        {"a,,b", ",", 3},
        {"a,b,", ",", 3},
        {"#a#", "#", 3},
        {"x\3y\3", "\3", 3},
        {"a<>b", "<>", 2},
        // Separators the mark could form again.
        {"a##b##c", "##", 3},
        {"#x#x", "#x", 3},
        {"a*#b", "*#", 2},
        {"a#*b#*", "#*", 3},
    };
    for (const auto& c : cases) EXPECT_EQ(CountFields(c.s, c.sep), c.expected) << c.s;
}

TEST(LibStrs, CutFieldReturnsTheFirstFieldAndKeepsTheRest) {
    struct Case {
        const char* s;
        const char* sep;
        const char* field;
        const char* rest;
    };
    const Case cases[] = {
        {"x", ";", "x", ""},      {"a;b;c", ";", "a", "b;c"}, {";x", ";", "", "x"},
        {"a<>b", "<>", "a", "b"}, {"", ";", "", ""},
    };
    for (const auto& c : cases) {
        AnsiString s = c.s;
        EXPECT_EQ(CutField(s, c.sep), c.field) << c.s;
        EXPECT_EQ(s, c.rest) << c.s;
    }
}

TEST(LibStrs, ReplaceAllRepeatsUntilNothingIsLeft) {
    struct Case {
        const char* s;
        const char* oldText;
        const char* newText;
        bool trim;
        const char* expected;
    };
    const Case cases[] = {
        {"a\r\nb\r\nc", "\r\n", "", false, "abc"},
        {"axb", "x", "X", false, "axb"}, // equal ignoring case: nothing replaced
        {"aabb", "ab", "", false, ""},   // the halves of a removal meet again
        {"  a,b \1", ",", ";", true, "a;b"},
        {"  a,b ", ",", ";", false, "  a;b "},
        {"abc", "", "x", false, "abc"},
        {"ab", "a", "ba", false, "bab"}, // a replacement holding the old text is done once
    };
    for (const auto& c : cases) EXPECT_EQ(ReplaceAll(c.s, c.oldText, c.newText, c.trim), c.expected) << c.s;
}

TEST(LibStrs, PadRightAndLocalHost) {
    EXPECT_EQ(PadRight("AB", 4), "AB  ");
    EXPECT_EQ(PadRight("ABCDE", 4), "ABCDE");
    EXPECT_EQ(PadRight("7", 3, '0'), "700");
    EXPECT_TRUE(IsLocalHost("127.0.0.1"));
    EXPECT_FALSE(IsLocalHost("localhost"));
    EXPECT_FALSE(IsLocalHost(" 127.0.0.1"));
}

TEST(LibStrs, StrToFloatDefaultReadsDotDecimalsWhateverTheLocale) {
    const char saved = DecimalSeparator;
    DecimalSeparator = ',';
    struct Case {
        const char* s;
        double expected;
    };
    const Case cases[] = {
        {"3.5", 3.5}, {"  -2.25", -2.25}, {"+7", 7},    {"1e3", 1000}, {".5", 0.5}, {"5.", 5},
        {"3,5", -1},  {"12abc", -1},      {"3.5 ", -1}, {"", -1},      {"  ", -1},  {"1e", -1},
        {"0x10", -1}, {"inf", -1},        {"-", -1},    {"1e999", -1},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(StrToFloatDefault(c.s, -1), c.expected) << c.s;
    DecimalSeparator = saved;
}

TEST(LibStrs, ButtonCaptionsByCaseSensitiveName) {
    struct Case {
        const char* name;
        const char* caption; // UTF-8; compared as GB
    };
    const Case cases[] = {
        {"Yes", "是(&Y)"},       {"No", "否(&N)"},         {"OK", "确定"},         {"Cancel", "取消"},
        {"Abort", "中断(&A)"},   {"Retry", "重试(&R)"},    {"Ignore", "忽略(&I)"}, {"All", "全部(&A)"},
        {"NoToAll", "全否(&o)"}, {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"},   {"yes", "yes"},
        {"Close", "Close"},
    };
    for (const auto& c : cases) EXPECT_EQ(GetButtonCaption(c.name), GB(c.caption)) << c.name;
}

// ---- Dates

TEST(LibStrs, DateToTextInEveryStyle) {
    const TDateTime jan5 = EncodeDate(2024, 1, 5);
    struct Case {
        int style;
        const char* sep;
        TDateTime date;
        const char* full;
        const char* month;
    };
    const Case cases[] = {
        {1, "/", jan5, "2024/01/05", "2024/01"},
        {2, "-", jan5, "01-05-2024", "01-2024"},
        {3, ".", jan5, "05.01.2024", "01.2024"},
        {4, "/", EncodeDate(2024, 1, 1), "113/01/01", "113/01"},
        {4, "/", EncodeDate(1950, 6, 7), "39/06/07", "39/06"},
        {5, "", EncodeDate(2004, 1, 1), "0930101", "09301"},
        {1, "-/", jan5, "2024-01-05", "2024-01"},
        {1, "", EncodeDate(1753, 1, 1), "17530101", "175301"},
        {0, "/", jan5, "", ""},
        {6, "/", jan5, "", ""},
        {1, "/", 0, "", ""},
        // Outside the stored range, and no number at all.
        {1, "/", EncodeDate(1752, 12, 31), "", ""},
        {1, "/", EncodeDate(9999, 12, 31) + 0.5, "9999/12/31", "9999/12"},
        {1, "/", EncodeDate(9999, 12, 31) + 1, "", ""},
        {4, "/", 1e7, "", ""},
        {1, "/", 1e20, "", ""},
        {1, "/", std::numeric_limits<double>::quiet_NaN(), "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateToText(c.style, c.sep, c.date), c.full) << c.style << " " << c.full;
        EXPECT_EQ(MonthToText(c.style, c.sep, c.date), c.month) << c.style << " " << c.month;
    }
}

TEST(LibStrs, TextToDateReadsEveryStyleAndRollsDaysOver) {
    struct Case {
        const char* text;
        int style;
        const char* sep;
        TDateTime expected;
    };
    const Case cases[] = {
        {"2024/1/5", 1, "/", EncodeDate(2024, 1, 5)},
        {" 2024 / 1 / 5 ", 1, "/", EncodeDate(2024, 1, 5)},
        {"2024/2/30", 1, "/", EncodeDate(2024, 3, 1)},
        {"2024/02/31", 1, "/", EncodeDate(2024, 3, 2)},
        {"01-13-2024", 2, "-", EncodeDate(2024, 1, 13)},
        {"13/01/2024", 2, "/", 0}, // month 13
        {"13/01/2024", 3, "/", EncodeDate(2024, 1, 13)},
        {"113/1/1", 4, "/", EncodeDate(2024, 1, 1)},
        {"093.01.01", 5, ".", EncodeDate(2004, 1, 1)},
        {"2024--01--05", 1, "--", EncodeDate(2024, 1, 5)},
        {"2024/01/05", 0, "/", 0},
        {"2024/01/05", 6, "/", 0},
        {"2024/00/05", 1, "/", 0},
        {"2024/1", 1, "/", 0},
        {"2024/1/x", 1, "/", 0},
        {"2024/-1/5", 1, "/", 0},
        {"   ", 1, "/", 0},
        {"2024/01/05", 1, "-", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(TextToDate(c.text, c.style, c.sep), c.expected) << c.text;
}

TEST(LibStrs, StoredDatesAndTheirValidRange) {
    struct Case {
        const char* s;
        TDateTime date;
        bool valid;
    };
    const Case cases[] = {
        {"20240105", EncodeDate(2024, 1, 5), true},
        {"20240229", EncodeDate(2024, 2, 29), true},
        {"17530101", EncodeDate(1753, 1, 1), true},
        {"99991231", EncodeDate(9999, 12, 31), true},
        {"17521231", EncodeDate(1752, 12, 31), false},
        {"20240230", 0, false},
        {"2024010", 0, false},
        {"202401051", 0, false},
        {"00000101", 0, false},
        {"20240005", 0, false},
        {"2024a105", 0, false},
        {"", 0, true},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(YMDToDate(c.s), c.date) << c.s;
        EXPECT_EQ(IsValidYMD(c.s), c.valid) << c.s;
    }
}

TEST(LibStrs, ShiftDateByYearsMonthsAndDays) {
    struct Case {
        Variant v;
        const char* unit;
        int n;
        const char* expected;
    };
    const Case cases[] = {
        {"20240131", "M", 1, "20240229"},
        {"20230131", "M", 1, "20230228"},
        {"20240115", "M", -1, "20231215"},
        {"20241215", "M", -12, "20231215"},
        {"20240131", "m", 13, "20250228"},
        {"20240229", "Y", 1, "20240229"}, // no 29 February: unchanged
        {"20240229", "y", 4, "20280229"},
        {"20241231", "D", 1, "20250101"},
        {"20240301", "D", -1, "20240229"},
        {"20240115", "W", 1, ""},
        {"2024011", "D", 1, ""},
        {"", "D", 1, ""},
        {u"20240131", "M", 1, "20240229"},
        {Variant::FromDate(EncodeDate(2024, 1, 31) + 0.5), "M", 1, "20240229"},
        {20240131, "D", 1, ""},
        {Variant(), "D", 1, ""},
        {"00010115", "M", -1, ""}, // before the calendar
        {"99991231", "D", 1, ""},
        {"99991231", "Y", 1, "99991231"},
        // Every result within 17530101..99991231, or empty.
        {"20240115", "Y", 8000, "20240115"}, // no such year: unchanged
        {"20240115", "Y", 2147483647, "20240115"},
        {"17540115", "Y", -1, "17530115"},
        {"17530115", "Y", -1, ""},
        {"17530115", "M", -1, ""},
        {"17530101", "D", -1, ""},
        {Variant::FromDate(EncodeDate(9999, 12, 31) + 400), "Y", 1, ""},
        {Variant::FromDate(EncodeDate(9999, 12, 31) + 400), "Y", -1, ""},
        {Variant::FromDate(std::numeric_limits<double>::quiet_NaN()), "D", 1, ""},
        {Variant::FromDate(std::numeric_limits<double>::quiet_NaN()), "Y", 1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShiftDate(c.v, c.unit, c.n), c.expected) << VarToStr(c.v) << " " << c.n << c.unit;
}

TEST(LibStrs, DaysOfMonthByTheGregorianRule) {
    struct Case {
        int year, month, days;
    };
    const Case cases[] = {{1900, 2, 28}, {2000, 2, 29},  {2024, 2, 29}, {2023, 2, 28},
                          {2024, 4, 30}, {2024, 12, 31}, {2024, 13, 0}, {2024, 0, 0}};
    for (const auto& c : cases) EXPECT_EQ(DaysOfMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
}

// ---- Variants and code pages

TEST(LibStrs, VariantHelpers) {
    EXPECT_EQ(IIF(true, 1, "b").AsInteger(), 1);
    EXPECT_EQ(IIF(false, 1, "b").AsString(), "b");
    EXPECT_TRUE(VarIsBlank(Variant()));
    EXPECT_TRUE(VarIsBlank(Null()));
    EXPECT_FALSE(VarIsBlank(""));
    EXPECT_FALSE(VarIsBlank(0));
    EXPECT_EQ(JoinArray("P", VarArrayOf({2, "a", u"bc", "not counted"})), u"P\3"
                                                                          u"2\3a\3bc\3");
    EXPECT_EQ(JoinArray("", VarArrayOf({0})), u"\3"
                                              u"0\3");
}

TEST(LibStrs, WideTextToAndFromCodePages) {
    const WideString chinese = u"中文报表";
    EXPECT_EQ(WideToCodePage(chinese, 936), GB("中文报表"));
    EXPECT_EQ(CodePageToWide(GB("中文报表"), 936), chinese);
    // BIG5 has no 报: the system's "?" stands for it.
    const AnsiString big5 = WideToCodePage(chinese, 950);
    EXPECT_NE(big5, GB("中文报表"));
    EXPECT_EQ(CodePageToWide(big5, 950), u"中文?表");
    // A code page the system cannot convert falls back to the process code page.
    EXPECT_EQ(WideToCodePage(chinese, 12345), GB("中文报表"));
    EXPECT_EQ(CodePageToWide(GB("中文报表"), 12345), chinese);
    EXPECT_EQ(WideToCodePage(u"", 950), "");
    EXPECT_EQ(CodePageToWide("", 950), u"");
    // Code page 437, the one of every other language.
    EXPECT_EQ(WideToCodePage(u"Zürich ½─", 437), "Z\x81rich \xAB\xC4");
    EXPECT_EQ(CodePageToWide("Z\x81rich \xAB\xC4", 437), u"Zürich ½─");
    EXPECT_EQ(WideToCodePage(u"中文", 437), "??");
}

class VariantCodePages : public SupportFixture {
protected:
    VariantCodePages() { SetRegistry("ClientPath=" + dir() + "\n"); }
    std::string LogFile() const { return dir() + "Log/Alert_libstrs_20250305.log"; }
    const WideString chinese = u"中文";
    const AnsiString big5 = WideToCodePage(u"中文", 950);
};

TEST_F(VariantCodePages, ToCodePageConvertsWideStringsOfNestedArrays) {
    Variant v = VarArrayOf({chinese, VarArrayOf({chinese, 5}), 7, GB("中文")});
    Variant r = VarToCodePage(v, 950);
    EXPECT_EQ(VarType(r[0]), varString);
    EXPECT_EQ(r[0].AsString(), big5);
    EXPECT_EQ(VarType(r[1][0]), varString);
    EXPECT_EQ(r[1][0].AsString(), big5);
    EXPECT_EQ(r[1][1].AsInteger(), 5);
    EXPECT_EQ(r[2].AsInteger(), 7);
    EXPECT_EQ(r[3].AsString(), GB("中文")); // 8-bit elements stay
    EXPECT_EQ(VarType(v[0]), varOleStr);    // the argument is untouched

    // Two dimensions: elements converted, nested arrays not entered.
    Variant grid = VarArrayCreate({0, 1, 1, 2}, varVariant);
    grid.PutElement({0, 1}, chinese);
    grid.PutElement({1, 2}, VarArrayOf({chinese}));
    Variant g = VarToCodePage(grid, 950);
    EXPECT_EQ(g.GetElement({0, 1}).AsString(), big5);
    EXPECT_EQ(VarType(g.GetElement({1, 2})[0]), varOleStr);

    // Single strings, of either kind, become 8-bit text; other values stay.
    EXPECT_EQ(VarToCodePage(chinese, 950).AsString(), big5);
    EXPECT_EQ(VarType(VarToCodePage(GB("中文"), 950)), varString);
    EXPECT_EQ(VarToCodePage(GB("中文"), 950).AsString(), big5);
    EXPECT_EQ(VarToCodePage(12, 950).AsInteger(), 12);
    EXPECT_TRUE(VarIsNull(VarToCodePage(Null(), 950)));
    Variant cube = VarArrayCreate({0, 0, 0, 0, 0, 0}, varVariant);
    cube.PutElement({0, 0, 0}, chinese);
    EXPECT_EQ(VarType(VarToCodePage(cube, 950).GetElement({0, 0, 0})), varOleStr);
    EXPECT_FALSE(std::filesystem::exists(LogFile()));
}

TEST_F(VariantCodePages, FromCodePageRereadsWideStrings) {
    // Text in BIG5 bytes that was read as GB: re-reading it as BIG5 gives the right characters.
    const WideString misread = AnsiToWide(big5, 936);
    Variant v = VarArrayOf({misread, VarArrayOf({misread}), big5, 3});
    Variant r = VarFromCodePage(v, 950);
    EXPECT_EQ(r[0].AsWideString(), chinese);
    EXPECT_EQ(VarType(r[0]), varOleStr);
    EXPECT_EQ(r[1][0].AsWideString(), chinese);
    EXPECT_EQ(VarType(r[2]), varString); // 8-bit elements stay
    EXPECT_EQ(r[3].AsInteger(), 3);

    Variant single = VarFromCodePage(big5, 950);
    EXPECT_EQ(VarType(single), varOleStr);
    EXPECT_EQ(single.AsWideString(), chinese);
    EXPECT_EQ(VarFromCodePage(misread, 950).AsWideString(), chinese);
    EXPECT_TRUE(VarIsEmpty(VarFromCodePage(Variant(), 950)));
}

TEST_F(VariantCodePages, AFailedConversionIsLoggedAndLeavesTheValueUnconverted) {
    // An integer array holding a text cannot take the converted text back.
    Variant typed = VarArrayCreate({0, 0}, varInteger);
    typed.At({0}) = Variant(u"abc");
    Variant v = VarArrayOf({typed, chinese});

    Variant r = VarToCodePage(v, 950);
    EXPECT_EQ(r[0][0].AsWideString(), u"abc"); // the failing array comes back as it was
    EXPECT_EQ(r[1].AsString(), big5);          // its neighbours are still converted
    std::string log = Read(LogFile());
    EXPECT_THAT(log, ::testing::StartsWith("[2025/03/05 14:07:09:045] LINE[2735] "));
    EXPECT_THAT(log, HasSubstr("Integer"));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);

    Variant f = VarFromCodePage(typed, 950);
    EXPECT_EQ(VarType(f[0]), varOleStr);
    log = Read(LogFile());
    EXPECT_THAT(log, HasSubstr("\r\n[2025/03/05 14:07:09:045] LINE[115] "));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2);
}

} // namespace
