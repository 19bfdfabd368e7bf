#pragma once
// Exceptions raised by the module. They derive from std::exception so a host can catch them across
// the library boundary; the text travels as bytes in the process code page.
#include "platform/core/Types.h"
#include <exception>

namespace qz {

class Exception : public std::exception {
public:
    explicit Exception(AnsiString message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const AnsiString& Message() const noexcept { return message_; }
    void SetMessage(AnsiString message) { message_ = std::move(message); }

private:
    AnsiString message_;
};

// The silent abort: ends the current operation without any message.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

#define QZ_EXCEPTION_CLASS(Name, Base)                                                                       \
    class Name : public Base {                                                                               \
    public:                                                                                                  \
        using Base::Base;                                                                                    \
    }

QZ_EXCEPTION_CLASS(EConvertError, Exception); // unreadable number, date or format
QZ_EXCEPTION_CLASS(EVariantError, Exception); // invalid Variant conversion or array access
QZ_EXCEPTION_CLASS(EOleError, Exception);     // late-bound call or object creation failed
QZ_EXCEPTION_CLASS(EOSError, Exception);      // operating-system call failed
QZ_EXCEPTION_CLASS(EListError, Exception);    // list index out of bounds, duplicates
QZ_EXCEPTION_CLASS(EInOutError, Exception);   // file input and output

[[noreturn]] void Abort();

} // namespace qz
