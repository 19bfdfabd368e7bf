#include "platform/data/Wire.h"

#include <cstring>

namespace qz {

namespace {

constexpr int kMaxDepth = 32; // arrays within arrays
constexpr int kMaxDimensions = 8;

bool IsRealType(TVarType t) {
    return t == varSingle || t == varDouble || t == varDate || t == varCurrency;
}

} // namespace

void WireWriter::U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
}

void WireWriter::U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
}

void WireWriter::I64(std::int64_t v) {
    auto u = static_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) U8(static_cast<std::uint8_t>(u >> (8 * i)));
}

void WireWriter::F64(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    I64(static_cast<std::int64_t>(u));
}

void WireWriter::Bytes(const std::string& s) {
    U32(static_cast<std::uint32_t>(s.size()));
    buf_ += s;
}

void WireWriter::Var(const Variant& v) {
    VarAt(v, 0);
}

void WireWriter::VarAt(const Variant& v, int depth) {
    if (depth > kMaxDepth) throw EWireError("Variant arrays nested too deeply");
    TVarType t = v.Type();
    if (t & varArray) {
        int dims = VarArrayDimCount(v);
        U16(t);
        U8(static_cast<std::uint8_t>(dims));
        for (int d = 1; d <= dims; ++d) {
            U32(static_cast<std::uint32_t>(VarArrayLowBound(v, d)));
            U32(static_cast<std::uint32_t>(VarArrayHighBound(v, d)));
        }
        for (int i = 0, n = v.ElementCount(); i < n; ++i) VarAt(v.ElementAt(i), depth + 1);
        return;
    }
    U16(t);
    if (t == varEmpty || t == varNull) return;
    if (VarTypeIsInteger(t) || t == varBoolean)
        return I64(t == varBoolean ? (v.AsBoolean() ? 1 : 0) : v.AsInt64());
    if (t == varCurrency) return F64(v.AsCurrency());
    if (IsRealType(t)) return F64(v.AsDouble());
    if (t == varString) return Bytes(v.AsString());
    if (t == varOleStr) {
        WideString w = v.AsWideString();
        U32(static_cast<std::uint32_t>(w.size()));
        for (char16_t c : w) U16(c);
        return;
    }
    throw EWireError("A value of type " + VarTypeAsText(t) + " cannot be sent to the application server");
}

const char* WireReader::Take(size_t n) {
    if (n > data_.size() - pos_) throw EWireError("Truncated message from the application server connection");
    const char* p = data_.data() + pos_;
    pos_ += n;
    return p;
}

std::uint8_t WireReader::U8() {
    return static_cast<std::uint8_t>(*Take(1));
}

std::uint16_t WireReader::U16() {
    const auto* p = reinterpret_cast<const unsigned char*>(Take(2));
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t WireReader::U32() {
    const auto* p = reinterpret_cast<const unsigned char*>(Take(4));
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

std::int64_t WireReader::I64() {
    const auto* p = reinterpret_cast<const unsigned char*>(Take(8));
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    return static_cast<std::int64_t>(v);
}

double WireReader::F64() {
    auto u = static_cast<std::uint64_t>(I64());
    double v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

std::string WireReader::Bytes() {
    std::uint32_t n = U32();
    const char* p = Take(n);
    return std::string(p, n);
}

Variant WireReader::Var() {
    return VarAt(0);
}

Variant WireReader::VarAt(int depth) {
    if (depth > kMaxDepth) throw EWireError("Variant arrays nested too deeply");
    TVarType t = U16();
    if (t & varArray) {
        int dims = U8();
        if (dims < 1 || dims > kMaxDimensions) throw EWireError("Invalid array dimensions in message");
        std::vector<int> bounds;
        long long count = 1;
        for (int d = 0; d < dims; ++d) {
            auto lo = static_cast<std::int32_t>(U32());
            auto hi = static_cast<std::int32_t>(U32());
            long long len = static_cast<long long>(hi) - lo + 1;
            if (len < 0) throw EWireError("Invalid array bounds in message");
            count *= len;
            // Every element takes at least two bytes, so the rest of the message bounds the count.
            if (count > static_cast<long long>(data_.size() - pos_))
                throw EWireError("Invalid array size in message");
            bounds.push_back(lo);
            bounds.push_back(hi);
        }
        TVarType element = t & varTypeMask;
        Variant a = VarArrayCreate(bounds, element);
        for (int i = 0; i < a.ElementCount(); ++i) {
            Variant e = VarAt(depth + 1);
            if (element == varVariant)
                a.ElementAt(i) = std::move(e);
            else
                a.ElementAt(i) = VarAsType(e, element);
        }
        return a;
    }
    switch (t) {
    case varEmpty: return Variant();
    case varNull: return Null();
    case varBoolean: return Variant(I64() != 0);
    case varInteger: return Variant(static_cast<int>(I64()));
    case varInt64: return Variant(static_cast<long long>(I64()));
    case varSmallint:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord: return VarAsType(Variant(static_cast<long long>(I64())), t);
    case varCurrency: return Variant::FromCurrency(F64());
    case varDate: return Variant::FromDate(F64());
    case varSingle: return Variant(static_cast<float>(F64()));
    case varDouble: return Variant(F64());
    case varString: return Variant(Bytes());
    case varOleStr: {
        std::uint32_t n = U32();
        if (n > (data_.size() - pos_) / 2)
            throw EWireError("Truncated message from the application server connection");
        WideString w;
        w.reserve(n);
        for (std::uint32_t i = 0; i < n; ++i) w.push_back(static_cast<char16_t>(U16()));
        return Variant(std::move(w));
    }
    default: throw EWireError("Unknown value type " + std::to_string(t) + " in message");
    }
}

} // namespace qz
