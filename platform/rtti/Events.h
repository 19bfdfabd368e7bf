#pragma once
// Events are delegates with an identity: a method code (a published method, a bound member function or
// a closure) and the object it is called on. The pair can be read, compared, stored and called later.
#include "platform/core/Types.h"
#include <cstring>
#include <functional>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace qz {

// The code half of a method: one object per member function (interned, so binding the same member
// function twice gives the same code) or per closure.
class TMethodCode {
public:
    virtual ~TMethodCode() = default;
    // Type of the call signature, e.g. typeid(void(TObject*)).
    virtual const std::type_info& Signature() const = 0;
    // The name it is published under in its class; empty for unpublished code.
    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& name) { name_ = name; }

private:
    AnsiString name_;
};

template <class Sig> class TTypedCode;
template <class R, class... A> class TTypedCode<R(A...)> : public TMethodCode {
public:
    const std::type_info& Signature() const override { return typeid(R(A...)); }
    virtual R Invoke(TObject* data, A... args) const = 0;
};

struct TMethod {
    const TMethodCode* Code = nullptr;
    TObject* Data = nullptr;
    bool operator==(const TMethod&) const = default;
    explicit operator bool() const { return Code != nullptr; }
};

namespace detail {

template <class C, class Sig> class TMemberCode;
template <class C, class R, class... A> class TMemberCode<C, R(A...)> final : public TTypedCode<R(A...)> {
public:
    using Pmf = R (C::*)(A...);
    explicit TMemberCode(Pmf m) : m_(m) {}
    R Invoke(TObject* data, A... args) const override {
        return (static_cast<C*>(data)->*m_)(std::forward<A>(args)...);
    }

private:
    Pmf m_;
};

template <class Sig> class TClosureCode;
template <class R, class... A> class TClosureCode<R(A...)> final : public TTypedCode<R(A...)> {
public:
    explicit TClosureCode(std::function<R(A...)> f) : f_(std::move(f)) {}
    R Invoke(TObject*, A... args) const override { return f_(std::forward<A>(args)...); }

private:
    std::function<R(A...)> f_;
};

// Interning: the same member function of the same class always yields the same code object.
const TMethodCode* InternMemberCode(const std::type_info& cls, const void* pmf, std::size_t size,
                                    TMethodCode* (*make)(const void* pmf));
// Closures live as long as the process, so a stored method pair never dangles.
const TMethodCode* KeepClosureCode(TMethodCode* code);
[[noreturn]] void RaiseSignatureMismatch(const TMethodCode* code);

template <class C, class R, class... A> const TMethodCode* MemberCode(R (C::*m)(A...)) {
    static_assert(std::is_base_of_v<TObject, C>, "methods must belong to TObject descendants");
    using Pmf = R (C::*)(A...);
    return InternMemberCode(typeid(C), &m, sizeof(Pmf), [](const void* p) -> TMethodCode* {
        Pmf pm;
        std::memcpy(&pm, p, sizeof(Pmf));
        return new TMemberCode<C, R(A...)>(pm);
    });
}

} // namespace detail

template <class Sig> class TEvent;

// A typed event property: TEvent<void(TObject*)> is TNotifyEvent. Calling an unassigned event does
// nothing and returns a value-initialised result.
template <class R, class... A> class TEvent<R(A...)> {
public:
    using Signature = R(A...);

    TEvent() = default;
    TEvent(std::nullptr_t) {}
    // A member function bound to an object.
    template <class C, class D>
    requires std::is_base_of_v<C, D> TEvent(D* object, R (C::*m)(A...))
        : method_{object ? detail::MemberCode(m) : nullptr, object ? static_cast<C*>(object) : nullptr} {}
    // A closure; it has its own identity.
    template <class F>
    requires(!std::is_same_v<std::decay_t<F>, TEvent> && !std::is_same_v<std::decay_t<F>, TMethod> &&
             !std::is_same_v<std::decay_t<F>, std::nullptr_t> && std::is_invocable_r_v<R, F&, A...>)
        TEvent(F&& f)
        : method_{detail::KeepClosureCode(
                      new detail::TClosureCode<R(A...)>(std::function<R(A...)>(std::forward<F>(f)))),
                  nullptr} {}
    // From a stored pair; raises EPropertyConvertError when the signatures differ.
    explicit TEvent(const TMethod& m) : method_(m) {
        if (m.Code && m.Code->Signature() != typeid(R(A...))) detail::RaiseSignatureMismatch(m.Code);
        if (!m.Code) method_ = TMethod{};
    }

    const TMethod& Method() const { return method_; }
    explicit operator bool() const { return method_.Code != nullptr; }
    bool operator==(const TEvent& other) const { return method_ == other.method_; }
    bool operator==(std::nullptr_t) const { return method_.Code == nullptr; }

    R operator()(A... args) const {
        if (!method_.Code) {
            if constexpr (std::is_void_v<R>)
                return;
            else
                return R();
        }
        return static_cast<const TTypedCode<R(A...)>*>(method_.Code)
            ->Invoke(method_.Data, std::forward<A>(args)...);
    }

private:
    TMethod method_;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

} // namespace qz
