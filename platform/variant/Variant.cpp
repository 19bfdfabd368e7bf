#include "platform/variant/Variant.h"

#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/variant/Dispatch.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qz {

namespace {

const char* const kIndexOutOfBounds = "Variant or safe array index out of bounds";
const char* const kNotAnArray = "Variant is not an array";
const char* const kCreateArray = "Error creating variant or safe array";

[[noreturn]] void ConvertError(TVarType from, TVarType to) {
    throw EVariantError("Could not convert variant of type (" + VarTypeAsText(from) + ") into type (" +
                        VarTypeAsText(to) + ")");
}

[[noreturn]] void OverflowError(TVarType from, TVarType to) {
    throw EVariantError("Overflow while converting variant of type (" + VarTypeAsText(from) +
                        ") into type (" + VarTypeAsText(to) + ")");
}

[[noreturn]] void InvalidOperation() {
    throw EVariantError("Invalid variant operation");
}

bool IsStringType(TVarType t) {
    return t == varString || t == varOleStr;
}
bool IsIntLike(TVarType t) {
    return VarTypeIsInteger(t) || t == varBoolean || t == varEmpty;
}
bool IsSimpleType(TVarType t) {
    return VarTypeIsInteger(t) || IsStringType(t) || t == varSingle || t == varDouble || t == varCurrency ||
           t == varDate || t == varBoolean;
}

// Rounds half to even, as the automation conversions do.
long long RoundToInt64(double d, TVarType from, TVarType to) {
    double r = std::nearbyint(d);
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) OverflowError(from, to);
    return static_cast<long long>(r);
}

// Currency (scaled by 10000) to an integer, half to even.
long long CurrencyToInt64(long long c) {
    long long q = c / 10000, r = c % 10000;
    long long ar = r < 0 ? -r : r;
    if (ar > 5000 || (ar == 5000 && (q % 2) != 0)) q += (c < 0) ? -1 : 1;
    return q;
}

AnsiString CurrencyToText(long long c) {
    bool negative = c < 0;
    unsigned long long u =
        negative ? 0ULL - static_cast<unsigned long long>(c) : static_cast<unsigned long long>(c);
    AnsiString r = (negative ? "-" : "") + std::to_string(u / 10000);
    unsigned frac = static_cast<unsigned>(u % 10000);
    if (frac) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04u", frac);
        AnsiString f = buf;
        while (f.back() == '0') f.pop_back();
        r += DecimalSeparator + f;
    }
    return r;
}

// A single prints with 7 significant digits.
AnsiString SingleToText(double d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.7G", d);
    return FloatToStr(std::strtod(buf, nullptr));
}

// A text read as a number: an integer when it is one, else a real.
bool ParseNumber(const AnsiString& s, bool& isInt, long long& i, double& d) {
    AnsiString t = Trim(s);
    if (t.empty()) return false;
    if (TryStrToInt64(t, i)) {
        isInt = true;
        return true;
    }
    if (TryStrToFloat(t, d)) {
        isInt = false;
        return true;
    }
    return false;
}

// "hh:nn[:ss]" with TimeSeparator.
bool ParseTime(const AnsiString& s, TDateTime& time) {
    int parts[3] = {0, 0, 0};
    int count = 0;
    size_t i = 0;
    while (i < s.size() && count < 3) {
        size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        if (i == start || i - start > 2) return false;
        parts[count++] = std::atoi(s.substr(start, i - start).c_str());
        if (i < s.size()) {
            if (s[i] != TimeSeparator) return false;
            ++i;
        }
    }
    return i == s.size() && count >= 2 && TryEncodeTime(parts[0], parts[1], parts[2], 0, time);
}

// A date in ShortDateFormat order, a time, or a date and a time separated by a blank.
bool ParseDateTime(const AnsiString& s, TDateTime& value) {
    AnsiString t = Trim(s);
    if (t.empty()) return false;
    size_t blank = t.find(' ');
    AnsiString datePart = blank == AnsiString::npos ? t : t.substr(0, blank);
    AnsiString timePart = blank == AnsiString::npos ? AnsiString() : Trim(t.substr(blank + 1));
    TDateTime date = 0, time = 0;
    if (timePart.empty() && datePart.find(TimeSeparator) != AnsiString::npos &&
        TimeSeparator != DateSeparator)
        return ParseTime(datePart, value);
    if (!TryStrToDate(datePart, date)) return false;
    if (!timePart.empty() && !ParseTime(timePart, time)) return false;
    value = date < 0 ? date - time : date + time;
    return true;
}

} // namespace

struct VarArrayData {
    TVarType elementType = varVariant;
    std::vector<int> lows;
    std::vector<int> counts;
    std::vector<Variant> items; // the first index varies fastest

    size_t Position(const int* indices, size_t count) const {
        if (count != lows.size()) throw EVariantError(kIndexOutOfBounds);
        size_t position = 0, stride = 1;
        for (size_t d = 0; d < count; ++d) {
            long long i = static_cast<long long>(indices[d]) - lows[d];
            if (i < 0 || i >= counts[d]) throw EVariantError(kIndexOutOfBounds);
            position += static_cast<size_t>(i) * stride;
            stride *= static_cast<size_t>(counts[d]);
        }
        return position;
    }
};

// Access to the storage for the helpers of this file.
struct VarAccess {
    static long long Int(const Variant& v) { return std::get<long long>(v.value_); }
    static double Real(const Variant& v) { return std::get<double>(v.value_); }
    static const AnsiString& Str(const Variant& v) { return std::get<AnsiString>(v.value_); }
    static const WideString& Wide(const Variant& v) { return std::get<WideString>(v.value_); }
    static VarArrayData* Array(const Variant& v) {
        auto* a = std::get_if<Variant::ArrayRef>(&v.value_);
        return a ? a->data.get() : nullptr;
    }
    static VarArrayData& CheckedArray(const Variant& v) {
        VarArrayData* a = Array(v);
        if (!a) throw EVariantError(kNotAnArray);
        return *a;
    }
    static Variant MakeInt(TVarType type, long long value) {
        Variant v;
        v.type_ = type;
        v.value_.emplace<long long>(value);
        return v;
    }
    static Variant MakeReal(TVarType type, double value) {
        Variant v;
        v.type_ = type;
        v.value_.emplace<double>(value);
        return v;
    }
    static Variant MakeArray(std::unique_ptr<VarArrayData> data) {
        Variant v;
        v.type_ = static_cast<TVarType>(varArray | data->elementType);
        v.value_.emplace<Variant::ArrayRef>(std::move(data));
        return v;
    }
    static Variant MakeNull() {
        Variant v;
        v.type_ = varNull;
        return v;
    }
};

namespace {

long long ToInt64(const Variant& v, TVarType to) {
    TVarType t = v.Type();
    switch (t) {
    case varEmpty: return 0;
    case varBoolean: return VarAccess::Int(v) ? -1 : 0;
    case varCurrency: return CurrencyToInt64(VarAccess::Int(v));
    case varSingle:
    case varDouble:
    case varDate: return RoundToInt64(VarAccess::Real(v), t, to);
    case varString:
    case varOleStr: {
        bool isInt = false;
        long long i = 0;
        double d = 0;
        if (!ParseNumber(v.AsString(), isInt, i, d)) ConvertError(t, to);
        return isInt ? i : RoundToInt64(d, t, to);
    }
    default:
        if (VarTypeIsInteger(t)) return VarAccess::Int(v);
        ConvertError(t, to);
    }
}

long long CheckRange(long long x, TVarType from, TVarType to) {
    long long lo = LLONG_MIN, hi = LLONG_MAX;
    switch (to) {
    case varSmallint: lo = -32768, hi = 32767; break;
    case varInteger: lo = INT_MIN, hi = INT_MAX; break;
    case varShortInt: lo = -128, hi = 127; break;
    case varByte: lo = 0, hi = 255; break;
    case varWord: lo = 0, hi = 65535; break;
    case varLongWord: lo = 0, hi = 4294967295LL; break;
    default: break;
    }
    if (x < lo || x > hi) OverflowError(from, to);
    return x;
}

double ToDouble(const Variant& v, TVarType to) {
    TVarType t = v.Type();
    switch (t) {
    case varEmpty: return 0;
    case varBoolean: return VarAccess::Int(v) ? -1 : 0;
    case varCurrency: return static_cast<double>(VarAccess::Int(v)) / 10000.0;
    case varSingle:
    case varDouble:
    case varDate: return VarAccess::Real(v);
    case varString:
    case varOleStr: {
        bool isInt = false;
        long long i = 0;
        double d = 0;
        if (!ParseNumber(v.AsString(), isInt, i, d)) ConvertError(t, to);
        return isInt ? static_cast<double>(i) : d;
    }
    default:
        if (VarTypeIsInteger(t)) return static_cast<double>(VarAccess::Int(v));
        ConvertError(t, to);
    }
}

long long ToCurrency(const Variant& v) {
    TVarType t = v.Type();
    if (t == varCurrency) return VarAccess::Int(v);
    if (IsIntLike(t)) {
        long long r;
        if (__builtin_mul_overflow(ToInt64(v, varCurrency), 10000LL, &r)) OverflowError(t, varCurrency);
        return r;
    }
    return RoundToInt64(ToDouble(v, varCurrency) * 10000.0, t, varCurrency);
}

Variant DefaultElement(TVarType type) {
    if (type == varVariant || type == varDispatch || type == varUnknown) return Variant();
    return VarAsType(Variant(), type);
}

int Sign(long long x, long long y) {
    return (x > y) - (x < y);
}
int Sign(double x, double y) {
    return (x > y) - (x < y);
}

int CompareValues(const Variant& a, const Variant& b) {
    TVarType ta = a.Type(), tb = b.Type();
    if (ta == varNull || tb == varNull) return (ta != varNull) - (tb != varNull);
    if (VarIsArray(a) || VarIsArray(b) || VarIsObject(a) || VarIsObject(b)) InvalidOperation();
    bool textA = IsStringType(ta) || ta == varEmpty, textB = IsStringType(tb) || tb == varEmpty;
    if ((IsStringType(ta) || IsStringType(tb)) && textA && textB) {
        if (ta == varOleStr || tb == varOleStr) {
            int c = a.AsWideString().compare(b.AsWideString());
            return (c > 0) - (c < 0);
        }
        int c = a.AsString().compare(b.AsString());
        return (c > 0) - (c < 0);
    }
    if (IsIntLike(ta) && IsIntLike(tb)) return Sign(ToInt64(a, varInt64), ToInt64(b, varInt64));
    if (ta == varCurrency && tb == varCurrency) return Sign(VarAccess::Int(a), VarAccess::Int(b));
    return Sign(ToDouble(a, varDouble), ToDouble(b, varDouble));
}

// A string operand of arithmetic becomes the number it reads as.
Variant NumericOperand(const Variant& v) {
    if (!IsStringType(v.Type())) return v;
    bool isInt = false;
    long long i = 0;
    double d = 0;
    if (!ParseNumber(v.AsString(), isInt, i, d)) ConvertError(v.Type(), varDouble);
    return isInt ? Variant(i) : Variant(d);
}

Variant IntegerResult(long long r) {
    return (r >= INT_MIN && r <= INT_MAX) ? Variant(static_cast<int>(r)) : Variant(r);
}

Variant Arithmetic(char op, const Variant& a, const Variant& b) {
    TVarType ta = a.Type(), tb = b.Type();
    if (ta == varNull || tb == varNull) return Null();
    if (VarIsArray(a) || VarIsArray(b) || VarIsObject(a) || VarIsObject(b)) InvalidOperation();
    if (op == '+' && (IsStringType(ta) || IsStringType(tb)) && (IsStringType(ta) || ta == varEmpty) &&
        (IsStringType(tb) || tb == varEmpty)) {
        if (ta == varOleStr || tb == varOleStr) return Variant(a.AsWideString() + b.AsWideString());
        return Variant(a.AsString() + b.AsString());
    }
    Variant x = NumericOperand(a), y = NumericOperand(b);
    TVarType tx = x.Type(), ty = y.Type();
    if (op == '/') {
        double divisor = ToDouble(y, varDouble);
        if (divisor == 0) throw EVariantError("Division by zero");
        return Variant(ToDouble(x, varDouble) / divisor);
    }
    if (IsIntLike(tx) && IsIntLike(ty)) {
        long long i = ToInt64(x, varInt64), j = ToInt64(y, varInt64), r = 0;
        bool overflow = op == '+'   ? __builtin_add_overflow(i, j, &r)
                        : op == '-' ? __builtin_sub_overflow(i, j, &r)
                                    : __builtin_mul_overflow(i, j, &r);
        if (!overflow) return IntegerResult(r);
    } else if (tx == varDate || ty == varDate) {
        double i = ToDouble(x, varDate), j = ToDouble(y, varDate);
        if (op == '+' && !(tx == varDate && ty == varDate)) return Variant::FromDate(i + j);
        if (op == '-' && tx == varDate && ty != varDate) return Variant::FromDate(i - j);
    } else if ((tx == varCurrency || ty == varCurrency) && (tx == varCurrency || IsIntLike(tx)) &&
               (ty == varCurrency || IsIntLike(ty))) {
        if (op == '*') return Variant::FromCurrency(ToDouble(x, varCurrency) * ToDouble(y, varCurrency));
        long long i = ToCurrency(x), j = ToCurrency(y), r = 0;
        bool overflow = op == '+' ? __builtin_add_overflow(i, j, &r) : __builtin_sub_overflow(i, j, &r);
        if (!overflow) return VarAccess::MakeInt(varCurrency, r);
    }
    double i = ToDouble(x, varDouble), j = ToDouble(y, varDouble);
    return Variant(op == '+' ? i + j : op == '-' ? i - j : i * j);
}

} // namespace

// ---- construction ----

Variant::Variant() noexcept = default;
Variant::Variant(int value) : type_(varInteger), value_(std::in_place_type<long long>, value) {}
Variant::Variant(long value) : type_(varInt64), value_(std::in_place_type<long long>, value) {}
Variant::Variant(long long value) : type_(varInt64), value_(std::in_place_type<long long>, value) {}
Variant::Variant(unsigned value) : type_(varLongWord), value_(std::in_place_type<long long>, value) {}
Variant::Variant(unsigned long value) : type_(varInt64), value_(std::in_place_type<long long>) {
    if (value > static_cast<unsigned long>(LLONG_MAX)) OverflowError(varLongWord, varInt64);
    std::get<long long>(value_) = static_cast<long long>(value);
}
Variant::Variant(float value) : type_(varSingle), value_(std::in_place_type<double>, value) {}
Variant::Variant(double value) : type_(varDouble), value_(std::in_place_type<double>, value) {}
Variant::Variant(bool value) : type_(varBoolean), value_(std::in_place_type<long long>, value ? 1 : 0) {}
Variant::Variant(const char* value)
    : type_(varString), value_(std::in_place_type<AnsiString>, value ? value : "") {}
Variant::Variant(const AnsiString& value) : type_(varString), value_(std::in_place_type<AnsiString>, value) {}
Variant::Variant(AnsiString&& value)
    : type_(varString), value_(std::in_place_type<AnsiString>, std::move(value)) {}
Variant::Variant(const char16_t* value)
    : type_(varOleStr), value_(std::in_place_type<WideString>, value ? value : u"") {}
Variant::Variant(const WideString& value) : type_(varOleStr), value_(std::in_place_type<WideString>, value) {}
Variant::Variant(WideString&& value)
    : type_(varOleStr), value_(std::in_place_type<WideString>, std::move(value)) {}
Variant::Variant(IDispatchObject* object) {
    if (!object) return;
    type_ = varDispatch;
    value_.emplace<ObjectRef>(object, true);
}

Variant::Variant(const Variant& other) = default;
Variant::Variant(Variant&& other) noexcept : type_(other.type_), value_(std::move(other.value_)) {
    other.type_ = varEmpty;
    other.value_.emplace<std::monostate>();
}
Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        Variant copy(other);
        Swap(copy);
    }
    return *this;
}
Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        Variant taken(std::move(other));
        Swap(taken);
    }
    return *this;
}
Variant::~Variant() = default;

Variant Variant::FromDate(TDateTime date) {
    return VarAccess::MakeReal(varDate, date);
}

Variant Variant::FromCurrency(double value) {
    return VarAccess::MakeInt(varCurrency, RoundToInt64(value * 10000.0, varDouble, varCurrency));
}

Variant Variant::Attach(IDispatchObject* object) {
    Variant v;
    if (object) {
        v.type_ = varDispatch;
        v.value_.emplace<ObjectRef>(object, false);
    }
    return v;
}

void Variant::Clear() {
    Variant empty;
    Swap(empty);
}

void Variant::Swap(Variant& other) noexcept {
    std::swap(type_, other.type_);
    value_.swap(other.value_);
}

Variant::ObjectRef::ObjectRef(IDispatchObject* o, bool addRef) : object(o) {
    if (object && addRef) object->AddRef();
}
Variant::ObjectRef::ObjectRef(const ObjectRef& other) : object(other.object) {
    if (object) object->AddRef();
}
Variant::ObjectRef& Variant::ObjectRef::operator=(const ObjectRef& other) {
    if (other.object) other.object->AddRef();
    IDispatchObject* old = std::exchange(object, other.object);
    if (old) old->Release();
    return *this;
}
Variant::ObjectRef& Variant::ObjectRef::operator=(ObjectRef&& other) noexcept {
    if (this != &other) {
        IDispatchObject* old = std::exchange(object, std::exchange(other.object, nullptr));
        if (old) old->Release();
    }
    return *this;
}
Variant::ObjectRef::~ObjectRef() {
    if (object) object->Release();
}

Variant::ArrayRef::ArrayRef() = default;
Variant::ArrayRef::ArrayRef(std::unique_ptr<VarArrayData> d) : data(std::move(d)) {}
Variant::ArrayRef::ArrayRef(const ArrayRef& other)
    : data(other.data ? std::make_unique<VarArrayData>(*other.data) : nullptr) {}
Variant::ArrayRef::ArrayRef(ArrayRef&& other) noexcept = default;
Variant::ArrayRef& Variant::ArrayRef::operator=(const ArrayRef& other) {
    if (this != &other) {
        auto copy = other.data ? std::make_unique<VarArrayData>(*other.data) : nullptr;
        data = std::move(copy);
    }
    return *this;
}
Variant::ArrayRef& Variant::ArrayRef::operator=(ArrayRef&& other) noexcept = default;
Variant::ArrayRef::~ArrayRef() = default;

// ---- conversions ----

int Variant::AsInteger() const {
    return static_cast<int>(CheckRange(ToInt64(*this, varInteger), type_, varInteger));
}
long long Variant::AsInt64() const {
    return ToInt64(*this, varInt64);
}
double Variant::AsDouble() const {
    return ToDouble(*this, varDouble);
}
double Variant::AsCurrency() const {
    return static_cast<double>(ToCurrency(*this)) / 10000.0;
}

bool Variant::AsBoolean() const {
    switch (type_) {
    case varString:
    case varOleStr: {
        AnsiString t = Trim(AsString());
        if (SameText(t, "True")) return true;
        if (SameText(t, "False")) return false;
        bool isInt = false;
        long long i = 0;
        double d = 0;
        if (!ParseNumber(t, isInt, i, d)) ConvertError(type_, varBoolean);
        return isInt ? i != 0 : d != 0;
    }
    case varSingle:
    case varDouble:
    case varDate: return VarAccess::Real(*this) != 0;
    default: return ToInt64(*this, varBoolean) != 0;
    }
}

TDateTime Variant::AsDateTime() const {
    if (!IsStringType(type_)) return ToDouble(*this, varDate);
    TDateTime value;
    if (!ParseDateTime(AsString(), value)) ConvertError(type_, varDate);
    return value;
}

AnsiString Variant::AsString() const {
    switch (type_) {
    case varEmpty: return "";
    case varBoolean: return VarAccess::Int(*this) ? "True" : "False";
    case varCurrency: return CurrencyToText(VarAccess::Int(*this));
    case varSingle: return SingleToText(VarAccess::Real(*this));
    case varDouble: return FloatToStr(VarAccess::Real(*this));
    case varDate: return DateTimeToStr(VarAccess::Real(*this));
    case varString: return VarAccess::Str(*this);
    case varOleStr: return WideToAnsi(VarAccess::Wide(*this));
    default:
        if (VarTypeIsInteger(type_)) return IntToStr(VarAccess::Int(*this));
        ConvertError(type_, varString);
    }
}

WideString Variant::AsWideString() const {
    if (type_ == varOleStr) return VarAccess::Wide(*this);
    if (type_ != varEmpty && !IsSimpleType(type_)) ConvertError(type_, varOleStr);
    return AnsiToWide(AsString());
}

IDispatchObject* Variant::Object() const {
    auto* o = std::get_if<ObjectRef>(&value_);
    return o ? o->object : nullptr;
}

// ---- arrays ----

Variant& Variant::operator[](int index) {
    VarArrayData& a = VarAccess::CheckedArray(*this);
    return a.items[a.Position(&index, 1)];
}

const Variant& Variant::operator[](int index) const {
    const VarArrayData& a = VarAccess::CheckedArray(*this);
    return a.items[a.Position(&index, 1)];
}

Variant& Variant::At(const std::vector<int>& indices) {
    VarArrayData& a = VarAccess::CheckedArray(*this);
    return a.items[a.Position(indices.data(), indices.size())];
}

const Variant& Variant::At(const std::vector<int>& indices) const {
    const VarArrayData& a = VarAccess::CheckedArray(*this);
    return a.items[a.Position(indices.data(), indices.size())];
}

Variant Variant::GetElement(const std::vector<int>& indices) const {
    return At(indices);
}

void Variant::PutElement(const std::vector<int>& indices, const Variant& value) {
    VarArrayData& a = VarAccess::CheckedArray(*this);
    Variant& item = a.items[a.Position(indices.data(), indices.size())];
    item = IsSimpleType(a.elementType) ? VarAsType(value, a.elementType) : value;
}

int Variant::ElementCount() const {
    return static_cast<int>(VarAccess::CheckedArray(*this).items.size());
}

Variant& Variant::ElementAt(int position) {
    VarArrayData& a = VarAccess::CheckedArray(*this);
    if (position < 0 || static_cast<size_t>(position) >= a.items.size())
        throw EVariantError(kIndexOutOfBounds);
    return a.items[static_cast<size_t>(position)];
}

const Variant& Variant::ElementAt(int position) const {
    return const_cast<Variant*>(this)->ElementAt(position);
}

Variant VarArrayCreate(const std::vector<int>& bounds, TVarType elementType) {
    if (bounds.empty() || bounds.size() % 2 != 0) throw EVariantError(kCreateArray);
    if (!IsSimpleType(elementType) && elementType != varVariant && elementType != varDispatch &&
        elementType != varUnknown)
        throw EVariantError("Invalid variant type");
    auto data = std::make_unique<VarArrayData>();
    data->elementType = elementType;
    size_t total = 1;
    for (size_t i = 0; i < bounds.size(); i += 2) {
        long long count = static_cast<long long>(bounds[i + 1]) - bounds[i] + 1;
        if (count < 0 || count > (1 << 26)) throw EVariantError(kCreateArray);
        data->lows.push_back(bounds[i]);
        data->counts.push_back(static_cast<int>(count));
        total *= static_cast<size_t>(count);
        if (total > (1u << 26)) throw EVariantError(kCreateArray);
    }
    data->items.assign(total, DefaultElement(elementType));
    return VarAccess::MakeArray(std::move(data));
}

Variant VarArrayOf(std::initializer_list<Variant> values) {
    return VarArrayOf(std::vector<Variant>(values));
}

Variant VarArrayOf(const std::vector<Variant>& values) {
    auto data = std::make_unique<VarArrayData>();
    data->lows.push_back(0);
    data->counts.push_back(static_cast<int>(values.size()));
    data->items = values;
    return VarAccess::MakeArray(std::move(data));
}

int VarArrayDimCount(const Variant& v) {
    VarArrayData* a = VarAccess::Array(v);
    return a ? static_cast<int>(a->lows.size()) : 0;
}

int VarArrayLowBound(const Variant& v, int dim) {
    const VarArrayData& a = VarAccess::CheckedArray(v);
    if (dim < 1 || static_cast<size_t>(dim) > a.lows.size()) throw EVariantError(kIndexOutOfBounds);
    return a.lows[static_cast<size_t>(dim - 1)];
}

int VarArrayHighBound(const Variant& v, int dim) {
    const VarArrayData& a = VarAccess::CheckedArray(v);
    if (dim < 1 || static_cast<size_t>(dim) > a.lows.size()) throw EVariantError(kIndexOutOfBounds);
    size_t d = static_cast<size_t>(dim - 1);
    return a.lows[d] + a.counts[d] - 1;
}

void VarArrayRedim(Variant& v, int highBound) {
    VarArrayData& a = VarAccess::CheckedArray(v);
    long long count = static_cast<long long>(highBound) - a.lows.back() + 1;
    size_t inner = 1;
    for (size_t d = 0; d + 1 < a.counts.size(); ++d) inner *= static_cast<size_t>(a.counts[d]);
    if (count < 0 || count > (1 << 26) || inner * static_cast<size_t>(count) > (1u << 26))
        throw EVariantError(kIndexOutOfBounds);
    // The last index varies slowest, so its elements lie in one block at the end.
    a.items.resize(inner * static_cast<size_t>(count), DefaultElement(a.elementType));
    a.counts.back() = static_cast<int>(count);
}

// ---- comparison and arithmetic ----

bool operator==(const Variant& a, const Variant& b) {
    if (a.Type() == varNull || b.Type() == varNull) return a.Type() == b.Type();
    if (VarIsArray(a) || VarIsArray(b)) InvalidOperation();
    if (VarIsObject(a) || VarIsObject(b)) return a.Object() == b.Object();
    return CompareValues(a, b) == 0;
}

bool operator<(const Variant& a, const Variant& b) {
    return CompareValues(a, b) < 0;
}

Variant operator+(const Variant& a, const Variant& b) {
    return Arithmetic('+', a, b);
}
Variant operator-(const Variant& a, const Variant& b) {
    return Arithmetic('-', a, b);
}
Variant operator*(const Variant& a, const Variant& b) {
    return Arithmetic('*', a, b);
}
Variant operator/(const Variant& a, const Variant& b) {
    return Arithmetic('/', a, b);
}

// ---- free functions ----

Variant Null() {
    return VarAccess::MakeNull();
}
Variant Unassigned() {
    return Variant();
}
Variant VarFromDateTime(TDateTime date) {
    return Variant::FromDate(date);
}
TDateTime VarToDateTime(const Variant& v) {
    return v.AsDateTime();
}

TVarType VarType(const Variant& v) {
    return v.Type();
}
bool VarIsEmpty(const Variant& v) {
    return v.Type() == varEmpty;
}
bool VarIsNull(const Variant& v) {
    return v.Type() == varNull;
}
bool VarIsArray(const Variant& v) {
    return (v.Type() & varArray) != 0;
}
bool VarIsStr(const Variant& v) {
    return IsStringType(v.Type());
}
bool VarTypeIsInteger(TVarType t) {
    switch (t) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64: return true;
    default: return false;
    }
}

bool VarIsNumeric(const Variant& v) {
    TVarType t = v.Type();
    return VarTypeIsInteger(t) || t == varSingle || t == varDouble || t == varCurrency;
}
bool VarIsObject(const Variant& v) {
    return v.Object() != nullptr;
}
void VarClear(Variant& v) {
    v.Clear();
}

AnsiString VarToStr(const Variant& v) {
    return v.Type() == varNull ? AnsiString() : v.AsString();
}
WideString VarToWideStr(const Variant& v) {
    return v.Type() == varNull ? WideString() : v.AsWideString();
}

Variant VarAsType(const Variant& v, TVarType type) {
    if (v.Type() == type) return v;
    TVarType from = v.Type();
    switch (type) {
    case varEmpty: return Variant();
    case varNull: return Null();
    case varVariant: return v;
    case varBoolean: return Variant(v.AsBoolean());
    case varSingle: {
        double d = ToDouble(v, varSingle);
        if (std::fabs(d) > FLT_MAX) OverflowError(from, varSingle);
        return Variant(static_cast<float>(d));
    }
    case varDouble: return Variant(ToDouble(v, varDouble));
    case varCurrency: return VarAccess::MakeInt(varCurrency, ToCurrency(v));
    case varDate: return Variant::FromDate(v.AsDateTime());
    case varString: return Variant(v.AsString());
    case varOleStr: return Variant(v.AsWideString());
    default:
        if (VarTypeIsInteger(type)) return VarAccess::MakeInt(type, CheckRange(ToInt64(v, type), from, type));
        ConvertError(from, type);
    }
}

AnsiString VarTypeAsText(TVarType type) {
    const char* name = nullptr;
    switch (type & varTypeMask) {
    case varEmpty: name = "Empty"; break;
    case varNull: name = "Null"; break;
    case varSmallint: name = "Smallint"; break;
    case varInteger: name = "Integer"; break;
    case varSingle: name = "Single"; break;
    case varDouble: name = "Double"; break;
    case varCurrency: name = "Currency"; break;
    case varDate: name = "Date"; break;
    case varOleStr: name = "OleStr"; break;
    case varDispatch: name = "Dispatch"; break;
    case varError: name = "Error"; break;
    case varBoolean: name = "Boolean"; break;
    case varVariant: name = "Variant"; break;
    case varUnknown: name = "Unknown"; break;
    case varShortInt: name = "ShortInt"; break;
    case varByte: name = "Byte"; break;
    case varWord: name = "Word"; break;
    case varLongWord: name = "LongWord"; break;
    case varInt64: name = "Int64"; break;
    case varString: name = "String"; break;
    }
    AnsiString text = name ? AnsiString(name) : "$" + IntToHex(type & varTypeMask, 4);
    return (type & varArray) ? "Array " + text : text;
}

} // namespace qz
