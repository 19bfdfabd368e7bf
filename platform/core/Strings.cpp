#include "platform/core/Strings.h"

#include "platform/core/CodePages.h"
#include "platform/core/Exceptions.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qz {

char DecimalSeparator = '.';
char ThousandSeparator = ',';

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

template <typename F> AnsiString MapLetters(const AnsiString& s, F f) {
    AnsiString r = s;
    for (size_t i = 0; i < r.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<unsigned char>(r[i])) && i + 1 < r.size()) {
            ++i; // both bytes of a double-byte character stay
            continue;
        }
        r[i] = f(r[i]);
    }
    return r;
}

} // namespace

AnsiString Trim(const AnsiString& s) {
    return TrimLeft(TrimRight(s));
}

AnsiString TrimLeft(const AnsiString& s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

AnsiString TrimRight(const AnsiString& s) {
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return s.substr(0, n);
}

AnsiString UpperCase(const AnsiString& s) {
    return MapLetters(s, UpperAscii);
}
AnsiString LowerCase(const AnsiString& s) {
    return MapLetters(s, LowerAscii);
}

int CompareText(const AnsiString& a, const AnsiString& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int ca = static_cast<unsigned char>(UpperAscii(a[i]));
        int cb = static_cast<unsigned char>(UpperAscii(b[i]));
        if (ca != cb) return ca - cb;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool SameText(const AnsiString& a, const AnsiString& b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int Pos(const AnsiString& sub, const AnsiString& s) {
    return PosEx(sub, s, 1);
}

int PosEx(const AnsiString& sub, const AnsiString& s, int offset) {
    if (sub.empty() || offset < 1 || static_cast<size_t>(offset) > s.size()) return 0;
    size_t p = s.find(sub, static_cast<size_t>(offset - 1));
    return p == AnsiString::npos ? 0 : static_cast<int>(p) + 1;
}

AnsiString Copy(const AnsiString& s, int index, int count) {
    if (index < 1) index = 1;
    if (count <= 0 || static_cast<size_t>(index) > s.size()) return "";
    return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

void Delete(AnsiString& s, int index, int count) {
    if (index < 1 || count <= 0 || static_cast<size_t>(index) > s.size()) return;
    s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

void Insert(const AnsiString& sub, AnsiString& s, int index) {
    if (index < 1) index = 1;
    size_t at = std::min(static_cast<size_t>(index - 1), s.size());
    s.insert(at, sub);
}

AnsiString StringOfChar(char c, int count) {
    return count > 0 ? AnsiString(static_cast<size_t>(count), c) : "";
}

AnsiString QuotedStr(const AnsiString& s) {
    AnsiString r = "'";
    for (char c : s) {
        r += c;
        if (c == '\'') r += c;
    }
    return r + "'";
}

AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern, const AnsiString& newPattern,
                         unsigned flags) {
    if (oldPattern.empty()) return s;
    const bool ignoreCase = flags & rfIgnoreCase;
    const AnsiString hay = ignoreCase ? UpperCase(s) : s;
    const AnsiString needle = ignoreCase ? UpperCase(oldPattern) : oldPattern;
    AnsiString r;
    size_t from = 0;
    while (true) {
        size_t p = hay.find(needle, from);
        if (p == AnsiString::npos) break;
        r.append(s, from, p - from);
        r += newPattern;
        from = p + needle.size();
        if (!(flags & rfReplaceAll)) break;
    }
    r.append(s, from, AnsiString::npos);
    return r;
}

AnsiString IntToStr(long long value) {
    return std::to_string(value);
}

AnsiString IntToHex(long long value, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*llX", digits < 0 ? 0 : digits, static_cast<unsigned long long>(value));
    return buf;
}

bool TryStrToInt64(const AnsiString& s, long long& value) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    unsigned long long acc = 0;
    const unsigned long long limit = negative ? 9223372036854775808ULL : 9223372036854775807ULL;
    for (; i < s.size(); ++i) {
        char c = s[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        if (acc > (limit - static_cast<unsigned>(d)) / static_cast<unsigned>(base)) {
            if (base != 16) return false;
        }
        acc = acc * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    }
    if (base == 10 && acc > limit) return false;
    value = negative ? static_cast<long long>(0ULL - acc) : static_cast<long long>(acc);
    return true;
}

bool TryStrToInt(const AnsiString& s, int& value) {
    long long v;
    if (!TryStrToInt64(s, v) || v < INT32_MIN || v > INT32_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

int StrToInt(const AnsiString& s) {
    int v;
    if (!TryStrToInt(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
    return v;
}

int StrToIntDef(const AnsiString& s, int defaultValue) {
    int v;
    return TryStrToInt(s, v) ? v : defaultValue;
}

long long StrToInt64(const AnsiString& s) {
    long long v;
    if (!TryStrToInt64(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
    return v;
}

bool TryStrToFloat(const AnsiString& s, double& value) {
    AnsiString t = Trim(s);
    if (t.empty()) return false;
    // Only digits, one decimal separator, a sign and an exponent; no hexadecimal, inf or nan.
    AnsiString c;
    bool seenDigit = false, seenPoint = false, seenExp = false;
    for (size_t i = 0; i < t.size(); ++i) {
        char ch = t[i];
        if (ch >= '0' && ch <= '9') {
            seenDigit = true;
            c += ch;
        } else if (ch == DecimalSeparator && !seenPoint && !seenExp) {
            seenPoint = true;
            c += '.';
        } else if ((ch == 'e' || ch == 'E') && seenDigit && !seenExp) {
            seenExp = true;
            c += 'e';
            if (i + 1 < t.size() && (t[i + 1] == '+' || t[i + 1] == '-')) c += t[++i];
            if (i + 1 >= t.size()) return false;
        } else if ((ch == '+' || ch == '-') && i == 0) {
            c += ch;
        } else {
            return false;
        }
    }
    if (!seenDigit) return false;
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(c.c_str(), &end);
    if (end != c.c_str() + c.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

double StrToFloat(const AnsiString& s) {
    double v;
    if (!TryStrToFloat(s, v)) throw EConvertError("'" + s + "' is not a valid floating point value");
    return v;
}

double StrToFloatDef(const AnsiString& s, double defaultValue) {
    double v;
    return TryStrToFloat(s, v) ? v : defaultValue;
}

AnsiString FloatToStr(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    AnsiString r = buf;
    // Exponents as E+n without leading zeros of the exponent; the decimal separator in force.
    size_t e = r.find('E');
    if (e != AnsiString::npos) {
        AnsiString mant = r.substr(0, e), exp = r.substr(e + 1);
        char sign = exp[0];
        size_t k = 1;
        while (k + 1 < exp.size() && exp[k] == '0') ++k;
        r = mant + "E" + (sign == '-' ? "-" : "+") + exp.substr(k);
    }
    for (char& ch : r)
        if (ch == '.') ch = DecimalSeparator;
    return r;
}

} // namespace qz
