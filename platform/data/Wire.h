#pragma once
// The binary encoding of the application-server protocol: little-endian integers, length-prefixed
// strings and Variants (arrays included, objects excluded). Malformed input raises EWireError.
#include "platform/core/Exceptions.h"
#include "platform/variant/Variant.h"

#include <string>

namespace qz {

QZ_EXCEPTION_CLASS(EWireError, Exception);

class WireWriter {
public:
    void U8(std::uint8_t v) { buf_.push_back(static_cast<char>(v)); }
    void U16(std::uint16_t v);
    void U32(std::uint32_t v);
    void I64(std::int64_t v);
    void F64(double v);
    void Bytes(const std::string& s); // length, then the bytes
    void Var(const Variant& v);
    const std::string& Data() const { return buf_; }

private:
    void VarAt(const Variant& v, int depth);
    std::string buf_;
};

class WireReader {
public:
    explicit WireReader(const std::string& data) : data_(data) {}
    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::int64_t I64();
    double F64();
    std::string Bytes();
    Variant Var();
    bool AtEnd() const { return pos_ == data_.size(); }

private:
    const char* Take(size_t n);
    Variant VarAt(int depth);
    const std::string& data_;
    size_t pos_ = 0;
};

} // namespace qz
