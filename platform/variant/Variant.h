#pragma once
// Variants: the automation value type. A Variant holds Empty, Null, an integer (8 to 64 bits), a single,
// a double, currency, a date, a Boolean, an 8-bit string in the process code page (varString), a wide
// string (varOleStr), a reference to a late-bound object, or an array of Variants with 1..n dimensions.
// Copying a Variant copies its array (value semantics) and shares its object (one more reference).
#include "platform/core/Types.h"
#include <initializer_list>
#include <memory>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace qz {

class IDispatchObject;
class DispArg;
struct VarArrayData;

using TVarType = Word;
enum : TVarType {
    varEmpty = 0x0000,
    varNull = 0x0001,
    varSmallint = 0x0002,
    varInteger = 0x0003,
    varSingle = 0x0004,
    varDouble = 0x0005,
    varCurrency = 0x0006,
    varDate = 0x0007,
    varOleStr = 0x0008,
    varDispatch = 0x0009,
    varError = 0x000A,
    varBoolean = 0x000B,
    varVariant = 0x000C,
    varUnknown = 0x000D,
    varShortInt = 0x0010,
    varByte = 0x0011,
    varWord = 0x0012,
    varLongWord = 0x0013,
    varInt64 = 0x0014,
    varString = 0x0100,
    varTypeMask = 0x0FFF,
    varArray = 0x2000,
};

// Late-bound member kinds.
enum class DispatchKind { Method, PropertyGet, PropertyPut };

class Variant {
public:
    Variant() noexcept;
    Variant(int value);
    Variant(long value); // varInt64, as long long
    Variant(long long value);
    Variant(unsigned value);      // varLongWord
    Variant(unsigned long value); // varInt64; raises EVariantError past the Int64 range
    Variant(float value);
    Variant(double value);
    Variant(bool value);
    // A character is no number: write a one-character string as AnsiString(1, c).
    Variant(char) = delete;
    Variant(char16_t) = delete;
    Variant(const char* value); // varString; nullptr gives ""
    Variant(const AnsiString& value);
    Variant(AnsiString&& value);
    Variant(const char16_t* value); // varOleStr
    Variant(const WideString& value);
    Variant(WideString&& value);
    // Holds the object with one more reference; nullptr gives Empty.
    Variant(IDispatchObject* object);

    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    static Variant FromDate(TDateTime date);
    static Variant FromCurrency(double value); // rounded to 4 decimals
    // Takes over a reference the caller already holds (no AddRef); nullptr gives Empty.
    static Variant Attach(IDispatchObject* object);

    TVarType Type() const { return type_; }
    void Clear(); // back to Empty, releasing an object or array
    void Swap(Variant& other) noexcept;

    // Conversions by the automation rules. Empty reads as 0, "" or false; Null and values that cannot be
    // read raise EVariantError "Could not convert variant of type (X) into type (Y)"; a value outside the
    // target's range raises "Overflow while converting ...". Reals round half to even; Booleans read as
    // -1 and 0 and write as "True" and "False"; strings are trimmed and read as numbers ("12", " 12"),
    // as "True"/"False" for a Boolean, and as a date in ShortDateFormat order with an optional time.
    int AsInteger() const;
    long long AsInt64() const;
    double AsDouble() const;
    double AsCurrency() const;
    bool AsBoolean() const;
    TDateTime AsDateTime() const;
    AnsiString AsString() const;     // wide strings through the process code page
    WideString AsWideString() const; // 8-bit strings through the process code page
    // The object held, or nullptr.
    IDispatchObject* Object() const;

    // Arrays. Out-of-range indexes, or a count of indexes that does not match the dimensions, raise
    // EVariantError "Variant or safe array index out of bounds"; a Variant that is no array raises
    // "Variant is not an array".
    Variant& operator[](int index); // one dimension
    const Variant& operator[](int index) const;
    Variant& At(const std::vector<int>& indices);
    const Variant& At(const std::vector<int>& indices) const;
    Variant GetElement(const std::vector<int>& indices) const;
    // Converts the value to the element type of a typed array.
    void PutElement(const std::vector<int>& indices, const Variant& value);
    // Every element in storage order (the first index varies fastest), for walking any array.
    int ElementCount() const;
    Variant& ElementAt(int position);
    const Variant& ElementAt(int position) const;

    // Late-bound calls on the object held. A Variant without an object raises EOleError "Variant does
    // not reference an automation object"; an unknown member raises EOleError "Unknown name: <name>".
    // Arguments go by value, or by reference as VarRef(variable).
    Variant Call(const AnsiString& name) const;
    Variant Call(const AnsiString& name, std::initializer_list<DispArg> args) const;
    Variant Call(const AnsiString& name, const std::vector<DispArg>& args) const;
    Variant Get(const AnsiString& name) const;
    Variant Get(const AnsiString& name, std::initializer_list<DispArg> args) const;
    void Set(const AnsiString& name, const Variant& value) const;
    Variant Invoke(const AnsiString& name, DispatchKind kind, const DispArg* args, int count) const;

    // Comparison: Null equals only Null and orders below everything; Empty reads as "" beside a string
    // and as 0 otherwise; two strings compare by their characters, case-sensitively; a string beside a
    // number is read as a number. Arrays raise EVariantError "Invalid variant operation"; objects are
    // equal only to the same object. A string that does not read as a number raises EVariantError beside
    // a number.
    friend bool operator==(const Variant& a, const Variant& b);
    friend bool operator!=(const Variant& a, const Variant& b) { return !(a == b); }
    friend bool operator<(const Variant& a, const Variant& b);
    friend bool operator>(const Variant& a, const Variant& b) { return b < a; }
    friend bool operator<=(const Variant& a, const Variant& b) { return !(b < a); }
    friend bool operator>=(const Variant& a, const Variant& b) { return !(a < b); }

    // Arithmetic: + joins two strings; otherwise strings read as numbers, Null gives Null, Empty reads
    // as 0. Integers stay integers (Int64 past the Integer range), a date plus or minus a number stays a
    // date, currency with integers stays currency, anything else gives a double.
    friend Variant operator+(const Variant& a, const Variant& b);
    friend Variant operator-(const Variant& a, const Variant& b);
    friend Variant operator*(const Variant& a, const Variant& b);
    friend Variant operator/(const Variant& a, const Variant& b); // always a double
    Variant& operator+=(const Variant& b) { return *this = *this + b; }
    Variant& operator-=(const Variant& b) { return *this = *this - b; }

private:
    friend struct VarAccess;

    struct ObjectRef {
        IDispatchObject* object = nullptr;
        ObjectRef() = default;
        explicit ObjectRef(IDispatchObject* o, bool addRef);
        ObjectRef(const ObjectRef& other);
        ObjectRef(ObjectRef&& other) noexcept : object(std::exchange(other.object, nullptr)) {}
        ObjectRef& operator=(const ObjectRef& other);
        ObjectRef& operator=(ObjectRef&& other) noexcept;
        ~ObjectRef();
    };
    struct ArrayRef {
        std::unique_ptr<VarArrayData> data;
        ArrayRef();
        explicit ArrayRef(std::unique_ptr<VarArrayData> d);
        ArrayRef(const ArrayRef& other);
        ArrayRef(ArrayRef&& other) noexcept;
        ArrayRef& operator=(const ArrayRef& other);
        ArrayRef& operator=(ArrayRef&& other) noexcept;
        ~ArrayRef();
    };
    // Integers, Booleans and currency in long long; single, double and date in double.
    using Storage =
        std::variant<std::monostate, long long, double, AnsiString, WideString, ObjectRef, ArrayRef>;

    TVarType type_ = varEmpty;
    Storage value_;
};

// A by-reference argument of a late-bound call: what the callee writes lands in the variable.
class VarRef {
public:
    explicit VarRef(Variant& target) : target_(&target) {}
    Variant& Target() const { return *target_; }

private:
    Variant* target_;
};

// One argument of a late-bound call: a value, or a VarRef.
class DispArg {
public:
    DispArg(const Variant& value) : value_(value) {}
    DispArg(Variant&& value) : value_(std::move(value)) {}
    DispArg(VarRef ref) : ref_(&ref.Target()) {}
    template <class T>
    requires(std::is_constructible_v<Variant, T&&> && !std::is_same_v<std::remove_cvref_t<T>, Variant>)
        DispArg(T&& value)
        : value_(std::forward<T>(value)) {}

    bool IsByRef() const { return ref_ != nullptr; }
    Variant* Ref() const { return ref_; }
    const Variant& Value() const { return ref_ ? *ref_ : value_; }

private:
    Variant value_;
    Variant* ref_ = nullptr;
};

Variant Null();
Variant Unassigned();
Variant VarFromDateTime(TDateTime date);
TDateTime VarToDateTime(const Variant& v);

TVarType VarType(const Variant& v);
bool VarIsEmpty(const Variant& v);
bool VarIsNull(const Variant& v);
bool VarIsArray(const Variant& v);
bool VarIsStr(const Variant& v); // varString or varOleStr
bool VarIsNumeric(const Variant& v);
// The integer types, 8 to 64 bits (not Boolean).
bool VarTypeIsInteger(TVarType type); // integers, single, double and currency (not Boolean, not date)
bool VarIsObject(const Variant& v);
void VarClear(Variant& v);
// The text of the value; "" for Null (where AsString raises).
AnsiString VarToStr(const Variant& v);
WideString VarToWideStr(const Variant& v);
// The value converted to a simple type (not an array, object or error).
Variant VarAsType(const Variant& v, TVarType type);
// "Integer", "String", "OleStr", "Array Variant"...
AnsiString VarTypeAsText(TVarType type);

// Arrays. Bounds are pairs of low and high bounds, one pair per dimension: {0, 1, 0, n} is [0..1, 0..n].
// A high bound one below the low bound makes an empty dimension. Elements of a varVariant array start
// Empty; those of a typed array start as that type's zero.
Variant VarArrayCreate(const std::vector<int>& bounds, TVarType elementType);
// A one-dimensional varVariant array with low bound 0.
Variant VarArrayOf(std::initializer_list<Variant> values);
Variant VarArrayOf(const std::vector<Variant>& values);
int VarArrayDimCount(const Variant& v);          // 0 for a Variant that is no array
int VarArrayLowBound(const Variant& v, int dim); // dim counts from 1
int VarArrayHighBound(const Variant& v, int dim);
// Sets the high bound of the last dimension, keeping the elements that stay in range.
void VarArrayRedim(Variant& v, int highBound);

} // namespace qz
