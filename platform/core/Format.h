#pragma once
// Format with the specifiers %d %u %x %s %f %e %g %n %m %p, an optional "index:", "-", width and
// ".precision" (either may be "*"). A specifier whose argument does not fit, or that has no argument,
// raises EConvertError.
#include "platform/core/Types.h"
#include <initializer_list>
#include <vector>

namespace qz {

class FormatArg {
public:
    enum Kind { kInteger, kFloat, kString, kChar, kPointer };
    FormatArg(int v) : kind_(kInteger), i_(v) {}
    FormatArg(unsigned v) : kind_(kInteger), i_(v) {}
    FormatArg(long v) : kind_(kInteger), i_(v) {}
    FormatArg(long long v) : kind_(kInteger), i_(v) {}
    FormatArg(unsigned long v) : kind_(kInteger), i_(static_cast<long long>(v)) {}
    FormatArg(unsigned long long v) : kind_(kInteger), i_(static_cast<long long>(v)) {}
    FormatArg(double v) : kind_(kFloat), f_(v) {}
    FormatArg(char v) : kind_(kChar), s_(1, v) {}
    FormatArg(const char* v) : kind_(kString), s_(v ? v : "") {}
    FormatArg(AnsiString v) : kind_(kString), s_(std::move(v)) {}
    FormatArg(const void* v) : kind_(kPointer), p_(v) {}

    Kind kind() const { return kind_; }
    long long integer() const { return i_; }
    double floating() const { return f_; }
    const AnsiString& text() const { return s_; }
    const void* pointer() const { return p_; }

private:
    Kind kind_;
    long long i_ = 0;
    double f_ = 0;
    AnsiString s_;
    const void* p_ = nullptr;
};

AnsiString Format(const AnsiString& format, const std::vector<FormatArg>& args);
inline AnsiString Format(const AnsiString& format, std::initializer_list<FormatArg> args) {
    return Format(format, std::vector<FormatArg>(args));
}

} // namespace qz
