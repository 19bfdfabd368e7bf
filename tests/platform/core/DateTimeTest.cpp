#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace qz;

namespace {

TEST(DateTime, EncodesAndDecodesDayNumbers) {
    struct Case {
        int y, m, d;
        double serial;
        int weekday;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 7},    {1900, 1, 1, 2, 2},      {2024, 1, 1, 45292, 2},
        {2024, 2, 29, 45351, 5}, {1753, 1, 1, -53688, 2}, {9999, 12, 31, 2958465, 6},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        Word y, m, d;
        DecodeDate(c.serial + (c.serial < 0 ? -0.75 : 0.75), y, m, d); // time runs away from zero
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
        EXPECT_EQ(DayOfWeek(c.serial), c.weekday) << c.serial;
    }
}

TEST(DateTime, ValuesOutsideTheCalendarDecodeToZerosAndFormatToNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double v :
         {nan, inf, -inf, 1e20, -1e20, 1e7, EncodeDate(9999, 12, 31) + 1, EncodeDate(1, 1, 1) - 1}) {
        Word y = 1, m = 1, d = 1, h = 1, n = 1, s = 1, z = 1;
        DecodeDate(v, y, m, d);
        EXPECT_EQ(y + m + d, 0) << v;
        EXPECT_EQ(DayOfWeek(v), 0) << v;
        EXPECT_EQ(FormatDateTime("yyyy/mm/dd mmm dddd hh:nn", v), "") << v;
        EXPECT_EQ(DateToStr(v), "") << v;
        if (std::isnan(v)) {
            DecodeTime(v, h, n, s, z);
            EXPECT_EQ(h + n + s + z, 0);
        }
    }
    // The calendar's own edges and times of day (on day 0) still decode and format.
    Word y, m, d;
    EXPECT_TRUE(TryDecodeDate(EncodeDate(9999, 12, 31) + 0.99, y, m, d));
    EXPECT_FALSE(TryDecodeDate(EncodeDate(9999, 12, 31) + 1, y, m, d));
    EXPECT_EQ(FormatDateTime("yyyymmdd ddd", EncodeDate(1, 1, 1)), "00010101 Mon");
    EXPECT_EQ(FormatDateTime("hh:nn", 0.5), "12:00");
}

TEST(DateTime, ValidityAndMonthLengths) {
    EXPECT_FALSE(IsValidDate(2023, 2, 29));
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_FALSE(IsValidDate(1900, 2, 29));
    EXPECT_FALSE(IsValidDate(2024, 13, 1));
    EXPECT_FALSE(IsValidDate(0, 1, 1));
    EXPECT_EQ(DaysInAMonth(2024, 4), 30);
    EXPECT_EQ(DaysInAMonth(2024, 0), 0);
    EXPECT_THROW(EncodeDate(2024, 2, 30), EConvertError);
    EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(2024, 1, 31), 1), EncodeDate(2024, 2, 29));
    EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(2024, 1, 15), -1), EncodeDate(2023, 12, 15));
}

TEST(DateTime, TimesKeepMilliseconds) {
    TDateTime t = EncodeTime(23, 59, 58, 999);
    Word h, n, s, z;
    DecodeTime(EncodeDate(2020, 5, 6) + t, h, n, s, z);
    EXPECT_EQ(h, 23);
    EXPECT_EQ(n, 59);
    EXPECT_EQ(s, 58);
    EXPECT_EQ(z, 999);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
}

TEST(DateTime, FormatsPatterns) {
    TDateTime v = EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 45);
    struct Case {
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        {"yyyymmdd", "20240305"},
        {"YYYY/MM/DD hh:nn:ss:zzz", "2024/03/05 07:08:09:045"},
        {"hh", "07"},
        {"mm", "03"},
        {"h:mm", "7:08"},
        {"yy-m-d", "24-3-5"},
        {"ddd dddd mmm mmmm", "Tue Tuesday Mar March"},
        {"'yyyy' \"mm\" yyyy", "yyyy mm 2024"},
        {"hh am/pm", "07 am"},
        {"c", "2024/03/05 07:08:09"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, v), c.expected) << c.format;
}

TEST(DateTime, SeparatorsAndShortFormatAreProcessWide) {
    AnsiString savedFormat = ShortDateFormat;
    char savedSep = DateSeparator;
    ShortDateFormat = "mm/dd/yyyy";
    DateSeparator = '-';
    TDateTime v = EncodeDate(2024, 12, 31);
    EXPECT_EQ(DateToStr(v), "12-31-2024");
    EXPECT_DOUBLE_EQ(StrToDate("12-31-2024"), v);
    EXPECT_THROW(StrToDate("31-12-2024"), EConvertError);
    TDateTime d;
    EXPECT_FALSE(TryStrToDate("12/31/2024", d));
    ShortDateFormat = savedFormat;
    DateSeparator = savedSep;
    EXPECT_DOUBLE_EQ(StrToDate("2024/12/31"), v);
}

TEST(DateTime, ClockCanBeSet) {
    TDateTime fixed = EncodeDate(2026, 12, 11) + EncodeTime(10, 30, 0, 0);
    SetClock([fixed] { return fixed; });
    EXPECT_DOUBLE_EQ(Now(), fixed);
    EXPECT_DOUBLE_EQ(Date(), EncodeDate(2026, 12, 11));
    EXPECT_NEAR(Time(), EncodeTime(10, 30, 0, 0), 1e-9);
    SetClock(nullptr);
    EXPECT_GT(Now(), fixed - 365 * 10);
}

} // namespace
