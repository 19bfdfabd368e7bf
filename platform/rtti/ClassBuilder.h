#pragma once
// Describing a class: in the header, QZ_CLASS(TButton) in the class body; in the .cpp,
//   QZ_CLASS_INFO(TButton, TButtonControl) {
//       b.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
//       b.Event("OnClick", &TButton::OnClick);
//       b.Method("btnOkClick", &TButton::btnOkClick);
//   }
// Enumerations and sets that properties use are declared with QZ_ENUM and QZ_SET.
#include "platform/rtti/TypInfo.h"
#include <type_traits>

namespace qz {

template <class E> class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items) bits_ |= Bit(e);
    }
    static constexpr TSet FromBits(unsigned long long bits) {
        TSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr unsigned long long Bits() const { return bits_; }
    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& operator<<(E e) {
        bits_ |= Bit(e);
        return *this;
    }
    constexpr TSet& operator>>(E e) {
        bits_ &= ~Bit(e);
        return *this;
    }
    constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
    constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr unsigned long long Bit(E e) { return 1ull << static_cast<unsigned>(e); }
    unsigned long long bits_ = 0;
};

} // namespace qz

// An enumeration with its type information (values from 0 in order).
#define QZ_ENUM(Name, ...)                                                                                   \
    enum Name { __VA_ARGS__ };                                                                               \
    inline const ::qz::TTypeInfo* TypeInfoFor(Name*) {                                                       \
        static const ::qz::TTypeInfo* ti = ::qz::MakeEnumType(#Name, #__VA_ARGS__);                          \
        return ti;                                                                                           \
    }

// A set of an enumeration declared with QZ_ENUM.
#define QZ_SET(Name, Enum)                                                                                   \
    struct Name : ::qz::TSet<Enum> {                                                                         \
        using ::qz::TSet<Enum>::TSet;                                                                        \
        using Element = Enum;                                                                                \
        constexpr Name(::qz::TSet<Enum> s) : ::qz::TSet<Enum>(s) {}                                          \
    };                                                                                                       \
    inline const ::qz::TTypeInfo* TypeInfoFor(Name*) {                                                       \
        static const ::qz::TTypeInfo* ti =                                                                   \
            ::qz::MakeSetType(#Name, TypeInfoFor(static_cast<Enum*>(nullptr)));                              \
        return ti;                                                                                           \
    }

// Names an event type (TEvent alias) for its properties' type information.
#define QZ_EVENT_TYPE(Name, ...)                                                                             \
    using Name = ::qz::TEvent<__VA_ARGS__>;                                                                  \
    inline const bool qz_event_type_##Name = ::qz::RegisterEventTypeName(#Name, typeid(__VA_ARGS__));

namespace qz {
template <class T> class ClassBuilder;
}

// In the class body.
#define QZ_CLASS(Name)                                                                                       \
public:                                                                                                      \
    using QzThisClass = Name;                                                                                \
    static const ::qz::TMetaClass* StaticClass();                                                            \
    const ::qz::TMetaClass* ClassInfo() const override {                                                     \
        return StaticClass();                                                                                \
    }                                                                                                        \
    static void BuildClassInfo(::qz::ClassBuilder<Name>& b);                                                 \
                                                                                                             \
private:

// In the .cpp; the block that follows describes the class.
#define QZ_CLASS_INFO(Name, Parent)                                                                          \
    const ::qz::TMetaClass* Name::StaticClass() {                                                            \
        static const ::qz::TMetaClass* mc =                                                                  \
            ::qz::detail::BuildClass<Name>(#Name, ::qz::StaticClassOf<Parent>(), &Name::BuildClassInfo);     \
        return mc;                                                                                           \
    }                                                                                                        \
    [[maybe_unused]] static const bool qz_registered_##Name = (Name::StaticClass(), true);                   \
    void Name::BuildClassInfo(::qz::ClassBuilder<Name>& b)

// Describes a class that does not carry QZ_CLASS (a class of another layer): its metaclass is found by
// its C++ type. The block that follows receives the builder b.
#define QZ_EXTERNAL_CLASS_INFO(Name, Parent)                                                                 \
    static void qz_build_external_##Name(::qz::ClassBuilder<Name>& b);                                       \
    [[maybe_unused]] static const ::qz::TMetaClass* qz_external_##Name =                                     \
        ::qz::detail::BuildExternalClass<Name>(#Name, &::qz::StaticClassOf<Parent>,                          \
                                               &qz_build_external_##Name);                                   \
    static void qz_build_external_##Name(::qz::ClassBuilder<Name>& b)

namespace qz {

template <class T> struct IsTSet : std::false_type {};
template <class T>
requires requires {
    typename T::Element;
} && std::is_base_of_v<TSet<typename T::Element>, T>
struct IsTSet<T> : std::true_type {
};

template <class T> struct IsTEvent : std::false_type {};
template <class Sig> struct IsTEvent<TEvent<Sig>> : std::true_type {};

namespace detail {

template <class V> const TTypeInfo* ValueTypeInfo() {
    if constexpr (std::is_same_v<V, bool>)
        return BooleanTypeInfo();
    else if constexpr (std::is_same_v<V, char>)
        return CharTypeInfo();
    else if constexpr (std::is_enum_v<V>)
        return TypeInfoFor(static_cast<V*>(nullptr));
    else if constexpr (IsTSet<V>::value)
        return TypeInfoFor(static_cast<V*>(nullptr));
    else if constexpr (std::is_same_v<V, Byte>)
        return IntegerTypeInfo("Byte");
    else if constexpr (std::is_same_v<V, Word>)
        return IntegerTypeInfo("Word");
    else if constexpr (std::is_same_v<V, Cardinal>)
        return IntegerTypeInfo("Cardinal");
    else if constexpr (std::is_same_v<V, long long>)
        return IntegerTypeInfo("Int64");
    else if constexpr (std::is_integral_v<V>)
        return IntegerTypeInfo();
    else if constexpr (std::is_same_v<V, float>)
        return FloatTypeInfo("Single");
    else if constexpr (std::is_floating_point_v<V>)
        return FloatTypeInfo();
    else if constexpr (std::is_same_v<V, AnsiString>)
        return StringTypeInfo();
    else if constexpr (std::is_pointer_v<V>) {
        using C = std::remove_cv_t<std::remove_pointer_t<V>>;
        static const TTypeInfo* ti = MakeClassType(nullptr, &StaticClassOf<C>);
        return ti;
    } else if constexpr (IsTEvent<V>::value) {
        return EventTypeInfo(typeid(typename V::Signature));
    } else {
        static_assert(sizeof(V) == 0, "unsupported property type");
    }
}

template <class V> long long ToOrd(const V& v) {
    if constexpr (IsTSet<V>::value)
        return static_cast<long long>(v.Bits());
    else
        return static_cast<long long>(v);
}
template <class V> V FromOrd(long long v) {
    if constexpr (IsTSet<V>::value)
        return V(TSet<typename V::Element>::FromBits(static_cast<unsigned long long>(v)));
    else
        return static_cast<V>(v);
}

// Wires the accessors of a property of value type V from a getter and a setter callable.
template <class T, class V, class G, class S> void Wire(TPropInfo& p, G get, S set) {
    p.Type = [] { return ValueTypeInfo<V>(); };
    auto self = [](const TObject* o) { return static_cast<const T*>(o); };
    auto mut = [](TObject* o) { return static_cast<T*>(o); };
    constexpr bool hasSet = !std::is_same_v<S, std::nullptr_t>;
    if constexpr (std::is_same_v<V, AnsiString>) {
        p.GetStr = [=](const TObject* o) { return AnsiString(get(self(o))); };
        if constexpr (hasSet) p.SetStr = [=](TObject* o, const AnsiString& v) { set(mut(o), v); };
    } else if constexpr (std::is_floating_point_v<V>) {
        p.GetFloat = [=](const TObject* o) { return static_cast<double>(get(self(o))); };
        if constexpr (hasSet) p.SetFloat = [=](TObject* o, double v) { set(mut(o), static_cast<V>(v)); };
    } else if constexpr (std::is_pointer_v<V>) {
        p.GetObj = [=](const TObject* o) -> TObject* {
            return const_cast<TObject*>(static_cast<const TObject*>(get(self(o))));
        };
        if constexpr (hasSet)
            p.SetObj = [=](TObject* o, TObject* v) {
                using C = std::remove_cv_t<std::remove_pointer_t<V>>;
                C* c = v ? dynamic_cast<C*>(v) : nullptr;
                if (v && !c) throw EPropertyConvertError("Invalid property value");
                set(mut(o), c);
            };
    } else if constexpr (IsTEvent<V>::value) {
        p.GetMethod = [=](const TObject* o) { return get(self(o)).Method(); };
        if constexpr (hasSet) p.SetMethod = [=](TObject* o, const TMethod& m) { set(mut(o), V(m)); };
    } else {
        p.GetOrd = [=](const TObject* o) { return ToOrd<V>(get(self(o))); };
        if constexpr (hasSet) p.SetOrd = [=](TObject* o, long long v) { set(mut(o), FromOrd<V>(v)); };
    }
}

template <class T> TObject* CreateInstance(TObject* owner) {
    if constexpr (requires { typename T::OwnerType; }) {
        using O = typename T::OwnerType;
        O* o = owner ? dynamic_cast<O*>(owner) : nullptr;
        T* t = new T(o);
        if constexpr (requires { t->AfterConstruction(); }) t->AfterConstruction();
        return t;
    } else {
        return new T();
    }
}

template <class T>
const TMetaClass* BuildClass(const char* name, const TMetaClass* parent, void (*build)(ClassBuilder<T>&));
template <class T>
const TMetaClass* BuildExternalClass(const char* name, const TMetaClass* (*parent)(),
                                     void (*build)(ClassBuilder<T>&));

} // namespace detail

// Fluent description of one class.
template <class T> class ClassBuilder {
public:
    explicit ClassBuilder(TMetaClass& mc) : mc_(mc) {}

    // A property read through a const getter and written through a setter (or read-only).
    template <class C, class G, class S = std::nullptr_t>
    requires std::is_base_of_v<C, T> ClassBuilder& Property(const char* name, G (C::*get)() const,
                                                            S set = nullptr) {
        using V = std::remove_cvref_t<G>;
        auto g = [get](const T* t) -> V { return (t->*get)(); };
        if constexpr (std::is_same_v<S, std::nullptr_t>) {
            detail::Wire<T, V>(Add(name), g, nullptr);
        } else {
            auto s = [set](T* t, const V& v) { (t->*set)(v); };
            detail::Wire<T, V>(Add(name), g, s);
        }
        return *this;
    }
    // A property stored in a data member, read and written directly.
    template <class V, class C>
    requires std::is_base_of_v<C, T> &&
        (!std::is_function_v<V>)ClassBuilder& Property(const char* name, V C::*field) {
        detail::Wire<T, V>(
            Add(name), [field](const T* t) -> V { return t->*field; },
            [field](T* t, const V& v) { t->*field = v; });
        return *this;
    }
    // An event property held in a TEvent data member.
    template <class Sig, class C>
    requires std::is_base_of_v<C, T> ClassBuilder& Event(const char* name, TEvent<Sig> C::*field) {
        return Property(name, field);
    }
    // Overrides the type name of the last property (an Integer published as TColor, a reference
    // published as TPopupMenu).
    ClassBuilder& TypeName(const char* typeName) {
        TPropInfo& p = *last_;
        auto prev = p.Type;
        AnsiString tn = typeName;
        p.Type = [prev, tn]() -> const TTypeInfo* {
            const TTypeInfo* base = prev();
            if (base->Kind == tkClass) return MakeClassType(tn.c_str(), nullptr);
            return base->Kind == tkFloat ? FloatTypeInfo(tn.c_str()) : IntegerTypeInfo(tn.c_str());
        };
        return *this;
    }
    template <class V> ClassBuilder& Default(V value) {
        last_->Default = detail::ToOrd<V>(value);
        last_->HasDefault = true;
        return *this;
    }
    ClassBuilder& NotStored() {
        last_->Stored = false;
        return *this;
    }
    // A published method, found by MethodAddress and bound by name from form resources.
    template <class C, class R, class... A> ClassBuilder& Method(const char* name, R (C::*m)(A...)) {
        mc_.AddMethod(name, detail::MemberCode(m));
        return *this;
    }
    // A published field the form reader sets to the component of that name.
    template <class V, class C>
    requires std::is_base_of_v<C, T> && std::is_pointer_v<V> ClassBuilder& Field(const char* name,
                                                                                 V C::*field) {
        using P = std::remove_pointer_t<V>;
        TFieldInfo f;
        f.Name = name;
        f.Set = [field](TObject* self, TObject* value) {
            P* p = value ? dynamic_cast<P*>(value) : nullptr;
            if (value && !p) throw EPropertyConvertError("Invalid class of field value");
            static_cast<T*>(self)->*field = p;
        };
        f.Get = [field](const TObject* self) -> TObject* { return static_cast<const T*>(self)->*field; };
        mc_.AddField(std::move(f));
        return *this;
    }
    // A handler of a message number: void Handler(TMessage&).
    template <class C, class M> ClassBuilder& Message(Cardinal msg, void (C::*handler)(M&)) {
        mc_.AddMessage(msg, [handler](TObject* self, void* m) {
            (static_cast<C*>(self)->*handler)(*static_cast<M*>(m));
        });
        return *this;
    }
    ClassBuilder& Resource(const char* text) {
        mc_.SetResource(text);
        return *this;
    }
    // The properties described after this are public, not published: FindPublicProperty finds them;
    // they are not streamed, listed or translated.
    ClassBuilder& Public() {
        public_ = true;
        return *this;
    }
    TMetaClass& MetaClass() { return mc_; }

private:
    TPropInfo& Add(const char* name) {
        last_ = public_ ? &mc_.AddPublicProperty(name) : &mc_.AddProperty(name);
        return *last_;
    }
    TMetaClass& mc_;
    TPropInfo* last_ = nullptr;
    bool public_ = false;
};

namespace detail {

template <class T>
const TMetaClass* BuildClass(const char* name, const TMetaClass* parent, void (*build)(ClassBuilder<T>&)) {
    auto* mc = new TMetaClass(name, parent, typeid(T));
    if constexpr (!std::is_abstract_v<T> &&
                  (requires { typename T::OwnerType; } || std::is_default_constructible_v<T>))
        mc->SetCreate(&CreateInstance<T>);
    ClassBuilder<T> b(*mc);
    build(b);
    RegisterClass(mc);
    return mc;
}

template <class T>
const TMetaClass* BuildExternalClass(const char* name, const TMetaClass* (*parent)(),
                                     void (*build)(ClassBuilder<T>&)) {
    auto* mc = new TMetaClass(name, parent(), typeid(T));
    if constexpr (!std::is_abstract_v<T> && std::is_default_constructible_v<T>)
        mc->SetCreate(&CreateInstance<T>);
    ClassBuilder<T> b(*mc);
    build(b);
    RegisterClassType(typeid(T), mc);
    RegisterClass(mc);
    return mc;
}

} // namespace detail
} // namespace qz
