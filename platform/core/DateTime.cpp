#include "platform/core/DateTime.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <mutex>

namespace qz {

AnsiString ShortDateFormat = "yyyy/mm/dd";
AnsiString LongTimeFormat = "hh:nn:ss";
char DateSeparator = '/';
char TimeSeparator = ':';
const char* const ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const LongMonthNames[12] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
const char* const ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const LongDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};

namespace {

constexpr long long kUnixEpoch = 25569; // 1970-01-01 as a day number

// Days since 1970-01-01 of a civil date, and back.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
}

// Day numbers of 0001-01-01 and 9999-12-31.
constexpr double kFirstDay = -693593, kLastDay = 2958465;

// The date part lies in 0001-01-01 .. 9999-12-31 (false for a value that is not a number).
bool InCalendar(TDateTime date) {
    const double day = std::trunc(date);
    return day >= kFirstDay && day <= kLastDay;
}

std::mutex g_clockMutex;
std::function<TDateTime()> g_clock;

TDateTime SystemNow() {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, ms);
}

struct Parts {
    Word year, month, day, hour, min, sec, msec;
    int dow;
};

Parts Split(TDateTime v) {
    Parts p{};
    DecodeDate(v, p.year, p.month, p.day);
    DecodeTime(v, p.hour, p.min, p.sec, p.msec);
    p.dow = DayOfWeek(v);
    return p;
}

AnsiString Num(int v, int digits) {
    AnsiString s = IntToStr(v);
    while (static_cast<int>(s.size()) < digits) s.insert(s.begin(), '0');
    return s;
}

char Up(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

void FormatInto(AnsiString& out, const AnsiString& fmt, TDateTime v, const Parts& p, int depth) {
    const size_t n = fmt.size();
    char lastToken = 0;
    size_t i = 0;
    auto count = [&](char token) {
        size_t k = i;
        while (k < n && Up(fmt[k]) == token) ++k;
        size_t c = k - i;
        i = k;
        return static_cast<int>(c);
    };
    while (i < n) {
        char raw = fmt[i];
        char t = Up(raw);
        switch (t) {
        case 'Y': {
            int c = count('Y');
            out += c <= 2 ? Num(p.year % 100, 2) : Num(p.year, 4);
            break;
        }
        case 'M': {
            int c = count('M');
            if (lastToken == 'H' && c <= 2) {
                out += Num(p.min, c == 2 ? 2 : 1);
            } else if (c == 1 || c == 2) {
                out += Num(p.month, c);
            } else if (c == 3) {
                out += ShortMonthNames[p.month - 1];
            } else {
                out += LongMonthNames[p.month - 1];
            }
            break;
        }
        case 'D': {
            int c = count('D');
            if (c <= 2)
                out += Num(p.day, c);
            else if (c == 3)
                out += ShortDayNames[p.dow - 1];
            else if (c == 4)
                out += LongDayNames[p.dow - 1];
            else if (depth < 2)
                FormatInto(out, ShortDateFormat, v, p, depth + 1);
            break;
        }
        case 'H': {
            int c = count('H');
            out += Num(p.hour, c >= 2 ? 2 : 1);
            break;
        }
        case 'N': {
            int c = count('N');
            out += Num(p.min, c >= 2 ? 2 : 1);
            break;
        }
        case 'S': {
            int c = count('S');
            out += Num(p.sec, c >= 2 ? 2 : 1);
            break;
        }
        case 'Z': {
            int c = count('Z');
            out += Num(p.msec, c >= 2 ? 3 : 1);
            break;
        }
        case 'T': {
            int c = count('T');
            if (depth < 2) FormatInto(out, c == 1 ? "hh:nn" : LongTimeFormat, v, p, depth + 1);
            break;
        }
        case 'C': {
            ++i;
            if (depth < 2) {
                FormatInto(out, ShortDateFormat, v, p, depth + 1);
                if (p.hour || p.min || p.sec || p.msec) {
                    out += ' ';
                    FormatInto(out, LongTimeFormat, v, p, depth + 1);
                }
            }
            break;
        }
        case 'A': {
            auto rest = [&](const char* word) {
                size_t len = std::char_traits<char>::length(word);
                return i + len <= n && SameText(fmt.substr(i, len), word);
            };
            if (rest("AM/PM")) {
                AnsiString s = fmt.substr(i + (p.hour >= 12 ? 3 : 0), 2);
                out += s;
                i += 5;
            } else if (rest("A/P")) {
                out += fmt[i + (p.hour >= 12 ? 2 : 0)];
                i += 3;
            } else if (rest("AMPM")) {
                out += p.hour >= 12 ? "PM" : "AM";
                i += 4;
            } else {
                out += raw;
                ++i;
            }
            break;
        }
        case '/':
            out += DateSeparator;
            ++i;
            break;
        case ':':
            out += TimeSeparator;
            ++i;
            break;
        case '"':
        case '\'': {
            size_t end = fmt.find(raw, i + 1);
            if (end == AnsiString::npos) end = n;
            out += fmt.substr(i + 1, end - i - 1);
            i = end < n ? end + 1 : n;
            break;
        }
        default:
            out += raw;
            ++i;
            break;
        }
        if (t >= 'A' && t <= 'Z') lastToken = t;
    }
}

} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return (month == 2 && IsLeapYear(year)) ? 29 : days[month - 1];
}

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInAMonth(year, month);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
    if (!IsValidDate(year, month, day)) return false;
    date = static_cast<TDateTime>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kUnixEpoch);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime d;
    if (!TryEncodeDate(year, month, day, d)) throw EConvertError("Invalid argument to date encode");
    return d;
}

bool TryDecodeDate(TDateTime date, Word& year, Word& month, Word& day) {
    year = month = day = 0;
    if (!InCalendar(date)) return false;
    int y, m, d;
    CivilFromDays(static_cast<long long>(std::trunc(date)) - kUnixEpoch, y, m, d);
    year = static_cast<Word>(y);
    month = static_cast<Word>(m);
    day = static_cast<Word>(d);
    return true;
}

void DecodeDate(TDateTime date, Word& year, Word& month, Word& day) {
    TryDecodeDate(date, year, month, day);
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
        return false;
    time = (((hour * 60.0 + min) * 60.0 + sec) * 1000.0 + msec) / 86400000.0;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
    TDateTime t;
    if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError("Invalid argument to time encode");
    return t;
}

void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec) {
    double frac = std::isfinite(time) ? std::fabs(time - std::trunc(time)) : 0;
    long long ms = std::llround(frac * 86400000.0);
    if (ms >= 86400000) ms = 86399999;
    hour = static_cast<Word>(ms / 3600000);
    min = static_cast<Word>(ms / 60000 % 60);
    sec = static_cast<Word>(ms / 1000 % 60);
    msec = static_cast<Word>(ms % 1000);
}

int DayOfWeek(TDateTime date) {
    if (!InCalendar(date)) return 0;
    long long d = static_cast<long long>(std::trunc(date));
    long long r = (d - 1) % 7; // day 1 (1899-12-31) was a Sunday
    if (r < 0) r += 7;
    return static_cast<int>(r) + 1;
}

TDateTime IncDay(TDateTime date, int days) {
    return date + days;
}

TDateTime IncMonth(TDateTime date, int months) {
    Word y, m, d;
    DecodeDate(date, y, m, d);
    long long total = static_cast<long long>(y) * 12 + (m - 1) + months;
    int ny = static_cast<int>(total / 12), nm = static_cast<int>(total % 12) + 1;
    int nd = std::min<int>(d, DaysInAMonth(ny, nm));
    double frac = date - std::trunc(date);
    return EncodeDate(ny, nm, nd) + frac;
}

TDateTime Now() {
    std::function<TDateTime()> clock;
    {
        std::lock_guard<std::mutex> lock(g_clockMutex);
        clock = g_clock;
    }
    return clock ? clock() : SystemNow();
}

TDateTime Date() {
    return std::trunc(Now());
}
TDateTime Time() {
    TDateTime n = Now();
    return n - std::trunc(n);
}

void SetClock(std::function<TDateTime()> clock) {
    std::lock_guard<std::mutex> lock(g_clockMutex);
    g_clock = std::move(clock);
}

AnsiString FormatDateTime(const AnsiString& format, TDateTime value) {
    if (!InCalendar(value)) return "";
    AnsiString out;
    FormatInto(out, format.empty() ? AnsiString("c") : format, value, Split(value), 0);
    return out;
}

AnsiString DateToStr(TDateTime date) {
    return FormatDateTime(ShortDateFormat, date);
}
AnsiString TimeToStr(TDateTime time) {
    return FormatDateTime(LongTimeFormat, time);
}
AnsiString DateTimeToStr(TDateTime value) {
    return FormatDateTime("c", value);
}

bool TryStrToDate(const AnsiString& s, TDateTime& date) {
    // Order of year, month and day as ShortDateFormat has them.
    AnsiString order;
    for (char c : UpperCase(ShortDateFormat))
        if ((c == 'Y' || c == 'M' || c == 'D') && order.find(c) == AnsiString::npos) order += c;
    if (order.size() != 3) order = "YMD";
    int values[3] = {0, 0, 0};
    int count = 0;
    AnsiString t = Trim(s);
    size_t i = 0;
    while (i < t.size() && count < 3) {
        size_t start = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
        if (i == start || i - start > 4) return false;
        values[count++] = std::stoi(t.substr(start, i - start));
        if (i < t.size()) {
            if (t[i] != DateSeparator) return false;
            ++i;
            if (i >= t.size()) return false;
        }
    }
    if (i != t.size() || count < 2) return false;
    Word cy, cm, cd;
    DecodeDate(Date(), cy, cm, cd);
    int y = cy, m = 0, d = 0;
    if (count == 2) {
        AnsiString md = order;
        md.erase(md.find('Y'), 1);
        m = md[0] == 'M' ? values[0] : values[1];
        d = md[0] == 'M' ? values[1] : values[0];
    } else {
        for (int k = 0; k < 3; ++k) {
            if (order[static_cast<size_t>(k)] == 'Y')
                y = values[k];
            else if (order[static_cast<size_t>(k)] == 'M')
                m = values[k];
            else
                d = values[k];
        }
        if (y < 100) y += (cy / 100) * 100;
    }
    return TryEncodeDate(y, m, d, date);
}

TDateTime StrToDate(const AnsiString& s) {
    TDateTime d;
    if (!TryStrToDate(s, d)) throw EConvertError("'" + s + "' is not a valid date");
    return d;
}

} // namespace qz
