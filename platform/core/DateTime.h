#pragma once
// Dates and times as days since 1899-12-30 (fraction = time of day), the process-wide date formats,
// and a clock that tests can set.
#include "platform/core/Types.h"
#include <functional>

namespace qz {

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month); // 0 for a month outside 1..12
bool IsValidDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
TDateTime EncodeDate(int year, int month, int day); // raises EConvertError on an invalid date
// False (and zeros) for a date outside 0001-01-01 .. 9999-12-31 or not a number; DecodeDate gives
// zeros then.
bool TryDecodeDate(TDateTime date, Word& year, Word& month, Word& day);
void DecodeDate(TDateTime date, Word& year, Word& month, Word& day);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec);
int DayOfWeek(TDateTime date); // 1 = Sunday .. 7 = Saturday; 0 outside the calendar
TDateTime IncDay(TDateTime date, int days);
TDateTime IncMonth(TDateTime date, int months); // the day is clamped to the new month's length

// The clock. SetClock replaces it (tests); an empty function restores the system clock.
TDateTime Now();
TDateTime Date();
TDateTime Time();
void SetClock(std::function<TDateTime()> clock);

// Patterns without regard to case: d dd ddd dddd, m mm mmm mmmm (minutes after h), yy yyyy, h hh,
// n nn, s ss, z zzz, am/pm, "c", '/' (DateSeparator), ':' (TimeSeparator), quoted text. A value
// outside the calendar gives an empty text.
AnsiString FormatDateTime(const AnsiString& format, TDateTime value);
AnsiString DateToStr(TDateTime date);
AnsiString TimeToStr(TDateTime time);
AnsiString DateTimeToStr(TDateTime value);
// Reads a date written in ShortDateFormat's order of year, month and day with DateSeparator.
bool TryStrToDate(const AnsiString& s, TDateTime& date);
TDateTime StrToDate(const AnsiString& s); // raises EConvertError "'s' is not a valid date"

// Process-wide date formats (the module changes them while its windows run).
extern AnsiString ShortDateFormat;
extern AnsiString LongTimeFormat;
extern char DateSeparator;
extern char TimeSeparator;
extern const char* const ShortMonthNames[12];
extern const char* const LongMonthNames[12];
extern const char* const ShortDayNames[7];
extern const char* const LongDayNames[7];

} // namespace qz
