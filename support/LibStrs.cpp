#include "support/LibStrs.h"

#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Format.h"
#include "platform/core/Strings.h"
#include "platform/os/Registry.h"
#include "platform/os/System.h"
#include "platform/variant/Variant.h"
#include "support/AlertLog.h"
#include "support/CorvaneINI.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <exception>

namespace qz {

namespace {

bool IsDigits(const AnsiString& s) {
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return !s.empty();
}

// True when the code page can be converted to and from.
bool KnownCodePage(int codePage) {
    AnsiString out;
    return TryConvertCodePage(std::string("A\0", 2), CP_UTF16, codePage, out);
}

AnsiString UpToNul(AnsiString s) {
    size_t nul = s.find('\0');
    if (nul != AnsiString::npos) s.resize(nul);
    return s;
}

WideString UpToNul(WideString s) {
    size_t nul = s.find(u'\0');
    if (nul != WideString::npos) s.resize(nul);
    return s;
}

// The character that overwrites a found separator's first character so that it is not found again:
// "#", else "*", else any byte the separator lacks, so that the mark can never form the separator.
char FieldMark(const AnsiString& separator) {
    for (char c : {'#', '*'})
        if (separator.find(c) == AnsiString::npos) return c;
    for (int c = 1; c < 256; ++c)
        if (separator.find(static_cast<char>(c)) == AnsiString::npos) return static_cast<char>(c);
    return '\0';
}

AnsiString YMD(TDateTime date) {
    Word y, m, d;
    DecodeDate(date, y, m, d);
    return Format("%.4d%.2d%.2d", {int(y), int(m), int(d)});
}

// The day lies within the range of the stored form, "17530101" to "99991231".
bool InStoredRange(TDateTime date) {
    const double day = std::trunc(date);
    return day >= EncodeDate(1753, 1, 1) && day <= EncodeDate(9999, 12, 31);
}

// Applies convert to the strings of v as the code-page routines do: elements of one-dimensional arrays
// (nested arrays through recurse), elements of two-dimensional ones, or a single string.
template <class ConvertElement, class ConvertSingle, class Recurse>
Variant ConvertStrings(const Variant& v, ConvertElement convertElement, ConvertSingle convertSingle,
                       Recurse recurse) {
    Variant result = v;
    if (VarIsEmpty(v) || VarIsNull(v)) return result;
    if (VarIsArray(v)) {
        int dims = VarArrayDimCount(v);
        if (dims == 1) {
            for (int i = VarArrayLowBound(v, 1); i <= VarArrayHighBound(v, 1); ++i) {
                const Variant& item = v.At({i});
                if (VarIsArray(item))
                    result.PutElement({i}, recurse(item));
                else if (VarType(item) == varOleStr)
                    result.PutElement({i}, convertElement(item));
            }
        } else if (dims == 2) {
            for (int i = VarArrayLowBound(v, 1); i <= VarArrayHighBound(v, 1); ++i)
                for (int j = VarArrayLowBound(v, 2); j <= VarArrayHighBound(v, 2); ++j) {
                    const Variant& item = v.At({i, j});
                    if (VarType(item) == varOleStr) result.PutElement({i, j}, convertElement(item));
                }
        }
        return result;
    }
    if (VarIsStr(v)) return convertSingle(v);
    return result;
}

} // namespace

// ---- Fields and strings

AnsiString PadRight(const AnsiString& s, int width, char padChar) {
    if (static_cast<int>(s.size()) < width) return s + AnsiString(width - s.size(), padChar);
    return s;
}

AnsiString GetField(const AnsiString& s, const AnsiString& separator, int n) {
    AnsiString rest = s, field;
    int i = 1;
    bool found = true;
    while (i <= n && found) {
        int p = Pos(separator, rest);
        if (p > 0) {
            field = Copy(rest, 1, p - 1);
            Delete(rest, 1, p + static_cast<int>(separator.size()) - 1);
            ++i;
        } else {
            field = rest;
            found = false;
        }
    }
    return n > i ? AnsiString() : field;
}

int CountFields(const AnsiString& s, const AnsiString& separator) {
    if (s.empty()) return 0;
    AnsiString work = s;
    const char mark = FieldMark(separator);
    int count = 0;
    // Each separator is found after the one before; only a separator holding every byte value could
    // be formed again by the mark, and the search stops then.
    for (int last = 0;;) {
        ++count;
        int p = Pos(separator, work);
        if (p <= last) break;
        work[p - 1] = mark;
        last = p;
    }
    return count;
}

AnsiString CutField(AnsiString& s, const AnsiString& separator) {
    int p = Pos(separator, s);
    if (p == 0) {
        AnsiString all;
        all.swap(s);
        return all;
    }
    AnsiString field = Copy(s, 1, p - 1);
    Delete(s, 1, p + static_cast<int>(separator.size()) - 1);
    return field;
}

AnsiString ReplaceAll(const AnsiString& s, const AnsiString& oldText, const AnsiString& newText, bool trim) {
    AnsiString result = s;
    if (!SameText(oldText, newText) && !oldText.empty()) {
        if (newText.find(oldText) != AnsiString::npos) {
            // Restarting would never end: one pass instead.
            result = StringReplace(result, oldText, newText, rfReplaceAll);
        } else {
            for (int p = Pos(oldText, result); p > 0; p = Pos(oldText, result)) {
                Delete(result, p, static_cast<int>(oldText.size()));
                Insert(newText, result, p);
            }
        }
    }
    return trim ? Trim(result) : result;
}

bool IsLocalHost(const AnsiString& s) {
    return s == "127.0.0.1";
}

AnsiString GetTempDir() {
    return GetTempPath();
}

double StrToFloatDefault(const AnsiString& s, double def) {
    size_t i = 0, n = s.size();
    while (i < n && s[i] == ' ') ++i;
    size_t start = i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    }
    if (digits == 0) return def;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++expDigits;
        if (expDigits == 0) return def;
    }
    if (i != n) return def;
    // from_chars takes no "+" and is independent of the locale.
    if (s[start] == '+') ++start;
    double value = 0;
    auto r = std::from_chars(s.data() + start, s.data() + n, value);
    if (r.ec == std::errc::result_out_of_range) return def;
    return r.ec == std::errc() ? value : def;
}

AnsiString GetButtonCaption(const AnsiString& name) {
    static const struct {
        const char* name;
        const char* caption;
    } captions[] = {
        {"Yes", "是(&Y)"},       {"No", "否(&N)"},         {"OK", "确定"},         {"Cancel", "取消"},
        {"Abort", "中断(&A)"},   {"Retry", "重试(&R)"},    {"Ignore", "忽略(&I)"}, {"All", "全部(&A)"},
        {"NoToAll", "全否(&o)"}, {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"},
    };
    for (const auto& c : captions)
        if (name == c.name) return GB(c.caption);
    return name;
}

// ---- Variants

Variant IIF(bool cond, const Variant& a, const Variant& b) {
    return cond ? a : b;
}

bool VarIsBlank(const Variant& v) {
    return VarIsEmpty(v) || VarIsNull(v);
}

WideString JoinArray(const AnsiString& prefix, const Variant& a) {
    const WideString sep(1, u'\x03');
    WideString result = AnsiToWide(prefix) + sep + a.GetElement({0}).AsWideString() + sep;
    int count = a.GetElement({0}).AsInteger();
    for (int i = 1; i <= count; ++i) result += a.GetElement({i}).AsWideString() + sep;
    return result;
}

AnsiString WideToCodePage(const WideString& w, int codePage) {
    if (!KnownCodePage(codePage)) return WideToAnsi(w);
    return UpToNul(WideToAnsi(w, codePage));
}

WideString CodePageToWide(const AnsiString& s, int codePage) {
    if (s.empty() || !KnownCodePage(codePage)) return AnsiToWide(s);
    return UpToNul(AnsiToWide(s, codePage));
}

Variant VarToCodePage(const Variant& v, int codePage) {
    try {
        auto toCodePage = [codePage](const Variant& item) {
            return Variant(WideToCodePage(item.AsWideString(), codePage));
        };
        return ConvertStrings(v, toCodePage, toCodePage,
                              [codePage](const Variant& item) { return VarToCodePage(item, codePage); });
    } catch (const std::exception& e) {
        WriteAlertLog("libstrs", AnsiString("LINE[2735] ") + e.what(), "D");
        return v;
    }
}

Variant VarFromCodePage(const Variant& v, int codePage) {
    try {
        auto fromCodePage = [codePage](const Variant& item) {
            return Variant(CodePageToWide(item.AsString(), codePage));
        };
        return ConvertStrings(v, fromCodePage, fromCodePage,
                              [codePage](const Variant& item) { return VarFromCodePage(item, codePage); });
    } catch (const std::exception& e) {
        WriteAlertLog("libstrs", AnsiString("LINE[115] ") + e.what(), "D");
        return v;
    }
}

// ---- Dates

AnsiString DateToText(int style, const AnsiString& separator, TDateTime date) {
    if (date == 0 || style < 1 || style > 5 || !InStoredRange(date)) return "";
    AnsiString sep = separator.substr(0, 1);
    Word y, m, d;
    DecodeDate(date, y, m, d);
    switch (style) {
    case 1: return Format("%.4d%s%.2d%s%.2d", {int(y), sep, int(m), sep, int(d)});
    case 2: return Format("%.2d%s%.2d%s%.4d", {int(m), sep, int(d), sep, int(y)});
    case 3: return Format("%.2d%s%.2d%s%.4d", {int(d), sep, int(m), sep, int(y)});
    case 4: return Format("%.2d%s%.2d%s%.2d", {int(y) - 1911, sep, int(m), sep, int(d)});
    default: return Format("%.3d%s%.2d%s%.2d", {int(y) - 1911, sep, int(m), sep, int(d)});
    }
}

AnsiString MonthToText(int style, const AnsiString& separator, TDateTime date) {
    if (date == 0 || style < 1 || style > 5 || !InStoredRange(date)) return "";
    AnsiString sep = separator.substr(0, 1);
    Word y, m, d;
    DecodeDate(date, y, m, d);
    switch (style) {
    case 1: return Format("%.4d%s%.2d", {int(y), sep, int(m)});
    case 2:
    case 3: return Format("%.2d%s%.4d", {int(m), sep, int(y)});
    case 4: return Format("%.2d%s%.2d", {int(y) - 1911, sep, int(m)});
    default: return Format("%.3d%s%.2d", {int(y) - 1911, sep, int(m)});
    }
}

TDateTime TextToDate(const AnsiString& text, int style, const AnsiString& separator) {
    if (Trim(text).empty()) return 0;
    AnsiString rest = text;
    int a = StrToIntDef(Trim(CutField(rest, separator)), -1);
    int b = StrToIntDef(Trim(CutField(rest, separator)), -1);
    int c = StrToIntDef(Trim(CutField(rest, separator)), -1);
    if (a <= 0 || b <= 0 || c <= 0 || style < 1 || style > 5) return 0;
    int year, month, day;
    switch (style) {
    case 1: year = a, month = b, day = c; break;
    case 2: year = c, month = a, day = b; break;
    case 3: year = c, month = b, day = a; break;
    default: year = a + 1911, month = b, day = c; break;
    }
    TDateTime first;
    if (!TryEncodeDate(year, month, 1, first)) return 0;
    return first + (day - 1);
}

TDateTime YMDToDate(const AnsiString& s) {
    if (s.size() != 8 || !IsDigits(s)) return 0;
    int y = StrToInt(s.substr(0, 4)), m = StrToInt(s.substr(4, 2)), d = StrToInt(s.substr(6, 2));
    TDateTime date;
    if (y == 0 || m == 0 || d == 0 || !TryEncodeDate(y, m, d, date)) return 0;
    return date;
}

bool IsValidYMD(const AnsiString& s) {
    if (s.empty()) return true;
    return YMDToDate(s) != 0 && s >= "17530101" && s <= "99991231";
}

AnsiString ShiftDate(const Variant& v, const AnsiString& unit, int n) {
    TDateTime date;
    if (VarIsStr(v))
        date = YMDToDate(v.AsString());
    else if (VarType(v) == varDate)
        date = v.AsDateTime();
    else
        return "";
    Word y, m, d;
    if (date == 0 || !TryDecodeDate(date, y, m, d)) return "";
    AnsiString u = UpperCase(unit);
    if (u == "Y") {
        const long long year = static_cast<long long>(y) + n;
        TDateTime moved;
        if (year >= 1 && year <= 9999 && TryEncodeDate(int(year), m, d, moved)) date = moved;
    } else if (u == "M") {
        long long t = static_cast<long long>(n) + static_cast<long long>(y) * 12 + m;
        long long month = t % 12, year = t / 12;
        if (month == 0) month = 12, --year;
        // Past the calendar there is no date to back off to.
        if (month < 1 || year < 1 || year > 9999) return "";
        int day = d;
        while (!IsValidDate(int(year), int(month), day)) --day;
        date = EncodeDate(int(year), int(month), day);
    } else if (u == "D") {
        date = std::trunc(date) + n;
    } else {
        return "";
    }
    return InStoredRange(date) ? YMD(date) : AnsiString();
}

int DaysOfMonth(int year, int month) {
    return DaysInAMonth(year, month);
}

// ---- The general alert log

AnsiString GetInstallPath() {
    try {
        TRegistry reg;
        reg.RootKey = HKEY_LOCAL_MACHINE;
        if (!reg.OpenKeyReadOnly(CorvaneRegistryKey)) return "";
        AnsiString path = reg.ReadString("ClientPath");
        if (path.empty()) path = reg.ReadString("ServerPath");
        reg.CloseKey();
        return path;
    } catch (...) {
        return "";
    }
}

bool WriteAlertLog(const AnsiString& name, const AnsiString& text, const AnsiString& period) {
    try {
        AnsiString base = GetInstallPath();
        if (base.empty()) base = ExtractFilePath(GetHostFileName());
        return WriteAlertLogIn(base, name, text, period);
    } catch (...) {
        return false;
    }
}

} // namespace qz
