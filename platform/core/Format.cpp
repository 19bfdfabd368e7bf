#include "platform/core/Format.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

#include <cmath>
#include <cstdio>

namespace qz {

namespace {

[[noreturn]] void Invalid(const AnsiString& format) {
    throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
}

AnsiString Pad(const AnsiString& s, int width, bool left) {
    if (width <= 0 || static_cast<int>(s.size()) >= width) return s;
    AnsiString fill(static_cast<size_t>(width) - s.size(), ' ');
    return left ? s + fill : fill + s;
}

AnsiString Digits(unsigned long long v, int base, int minDigits) {
    AnsiString r;
    do {
        int d = static_cast<int>(v % static_cast<unsigned>(base));
        r.insert(r.begin(), static_cast<char>(d < 10 ? '0' + d : 'A' + d - 10));
        v /= static_cast<unsigned>(base);
    } while (v);
    while (static_cast<int>(r.size()) < minDigits) r.insert(r.begin(), '0');
    return r;
}

AnsiString Fixed(double v, int prec, bool thousands) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", prec, v);
    AnsiString r = buf;
    size_t point = r.find('.');
    if (point != AnsiString::npos) r[point] = DecimalSeparator;
    if (thousands) {
        size_t start = (r[0] == '-') ? 1 : 0;
        size_t end = point == AnsiString::npos ? r.size() : point;
        for (size_t i = end; i > start + 3; i -= 3) r.insert(i - 3, 1, ThousandSeparator);
    }
    return r;
}

AnsiString Scientific(double v, int prec) {
    if (prec < 1) prec = 1;
    if (prec > 18) prec = 18;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", prec - 1, v);
    AnsiString r = buf;
    size_t e = r.find('E');
    AnsiString mant = r.substr(0, e), exp = r.substr(e + 1);
    char sign = exp[0];
    AnsiString digits = exp.substr(1);
    while (digits.size() < 3) digits.insert(digits.begin(), '0');
    size_t point = mant.find('.');
    if (point != AnsiString::npos) mant[point] = DecimalSeparator;
    return mant + "E" + sign + digits;
}

AnsiString General(double v, int prec) {
    if (prec <= 0 || prec > 15) prec = 15;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", prec, v);
    AnsiString r = buf;
    size_t e = r.find('E');
    if (e != AnsiString::npos) {
        AnsiString mant = r.substr(0, e), exp = r.substr(e + 1);
        size_t k = 1;
        while (k + 1 < exp.size() && exp[k] == '0') ++k;
        r = mant + "E" + exp[0] + exp.substr(k);
    }
    for (char& c : r)
        if (c == '.') c = DecimalSeparator;
    return r;
}

} // namespace

AnsiString Format(const AnsiString& format, const std::vector<FormatArg>& args) {
    AnsiString out;
    size_t next = 0;
    const size_t n = format.size();
    auto takeArg = [&]() -> const FormatArg& {
        if (next >= args.size()) throw EConvertError("No argument for format '" + format + "'");
        return args[next++];
    };
    for (size_t i = 0; i < n; ++i) {
        char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (++i >= n) Invalid(format);
        if (format[i] == '%') {
            out += '%';
            continue;
        }
        // [index ":"] ["-"] [width] ["." prec] type
        auto readNumber = [&](int& value) -> bool {
            if (format[i] == '*') {
                const FormatArg& a = takeArg();
                if (a.kind() != FormatArg::kInteger) Invalid(format);
                value = static_cast<int>(a.integer());
                ++i;
                return true;
            }
            if (format[i] < '0' || format[i] > '9') return false;
            value = 0;
            while (i < n && format[i] >= '0' && format[i] <= '9') value = value * 10 + (format[i++] - '0');
            return true;
        };
        bool left = false;
        int width = -1, prec = -1;
        int number = -1;
        if (i < n && readNumber(number)) {
            if (i < n && format[i] == ':') {
                next = static_cast<size_t>(number);
                ++i;
                number = -1;
            }
        }
        if (number >= 0) {
            width = number;
        } else {
            if (i < n && format[i] == '-') {
                left = true;
                ++i;
            }
            if (i < n) readNumber(width);
        }
        if (i < n && format[i] == '.') {
            ++i;
            if (i >= n || !readNumber(prec)) Invalid(format);
        }
        if (i >= n) Invalid(format);
        char type = static_cast<char>(format[i] | 0x20);
        const FormatArg& a = takeArg();
        AnsiString item;
        switch (type) {
        case 'd':
        case 'u': {
            if (a.kind() != FormatArg::kInteger) Invalid(format);
            long long v = a.integer();
            unsigned long long mag;
            bool negative = false;
            if (type == 'u')
                mag = static_cast<unsigned long long>(v) & 0xFFFFFFFFULL;
            else {
                negative = v < 0;
                mag =
                    negative ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
            }
            item = (negative ? "-" : "") + Digits(mag, 10, prec);
            break;
        }
        case 'x':
            if (a.kind() != FormatArg::kInteger) Invalid(format);
            item = Digits(static_cast<unsigned long long>(a.integer()), 16, prec);
            break;
        case 's':
            if (a.kind() != FormatArg::kString && a.kind() != FormatArg::kChar) Invalid(format);
            item = a.text();
            if (prec >= 0 && static_cast<size_t>(prec) < item.size()) item.resize(static_cast<size_t>(prec));
            break;
        case 'f':
        case 'n':
        case 'm':
            if (a.kind() != FormatArg::kFloat) Invalid(format);
            item = Fixed(a.floating(), prec < 0 ? 2 : prec, type != 'f');
            break;
        case 'e':
            if (a.kind() != FormatArg::kFloat) Invalid(format);
            item = Scientific(a.floating(), prec < 0 ? 15 : prec);
            break;
        case 'g':
            if (a.kind() != FormatArg::kFloat) Invalid(format);
            item = General(a.floating(), prec);
            break;
        case 'p':
            if (a.kind() != FormatArg::kPointer) Invalid(format);
            item = Digits(reinterpret_cast<unsigned long long>(a.pointer()), 16, 8);
            break;
        default: Invalid(format);
        }
        out += Pad(item, width, left);
    }
    return out;
}

} // namespace qz
