#pragma once
// Basic types of the module: 8-bit strings in a code page, UTF-16 automation strings, dates as days.
#include <cstdint>
#include <string>

namespace qz {

using AnsiString = std::string;    // bytes in a code page (GB by default)
using WideString = std::u16string; // UTF-16, as automation strings carry them
using TDateTime = double;          // days since 1899-12-30; the fraction is the time of day
using Byte = std::uint8_t;
using Word = std::uint16_t;
using Cardinal = std::uint32_t;

struct TMetaClass; // completed by the type-information layer

// Root of every class whose instances travel as plain object references (list objects, event senders).
class TObject {
public:
    virtual ~TObject();
    // Type information of the class; nullptr for classes that publish none.
    virtual const TMetaClass* ClassInfo() const;
};

} // namespace qz
