#pragma once
// Late-bound objects: reference counted, called by member name without regard to case. A Variant holds
// an object with one reference; the object is freed when the last reference goes.
#include "platform/variant/Variant.h"
#include <atomic>
#include <functional>
#include <map>

namespace qz {

// The arguments a late-bound member receives, in call order. An argument passed with VarRef is the
// caller's own variable: what the member writes into it, the caller sees.
class DispArgs {
public:
    DispArgs() = default;
    void Add(Variant& arg, bool byRef);

    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EOleError "Invalid number of parameters" for an argument the caller did not pass.
    Variant& operator[](int index) const;
    bool IsByRef(int index) const;

private:
    std::vector<Variant*> items_;
    std::vector<bool> byRef_;
};

class IDispatchObject {
public:
    IDispatchObject() = default;
    IDispatchObject(const IDispatchObject&) = delete;
    IDispatchObject& operator=(const IDispatchObject&) = delete;
    virtual ~IDispatchObject();

    // A new object has no reference; the Variants that hold it count theirs.
    virtual void AddRef();
    virtual void Release(); // deletes the object with its last reference
    int RefCount() const { return refCount_.load(); }

    // Calls a method, reads a property (a method may be read as a property too), or writes a property
    // (the value is the last argument). An unknown name raises EOleError "Unknown name: <name>".
    virtual Variant Invoke(const AnsiString& name, DispatchKind kind, DispArgs& args) = 0;

private:
    std::atomic<int> refCount_{0};
};

[[noreturn]] void RaiseUnknownName(const AnsiString& name);

// An object whose methods and properties are registered by name with functions.
class TAutoObject : public IDispatchObject {
public:
    using Method = std::function<Variant(DispArgs& args)>;
    using Getter = std::function<Variant()>;
    using Setter = std::function<void(const Variant& value)>;

    // A later registration of the same name (without regard to case) replaces the earlier one.
    void RegisterMethod(const AnsiString& name, Method method);
    // Without a setter the property is read-only; writing it raises EOleError "Member not found: <name>".
    void RegisterProperty(const AnsiString& name, Getter get, Setter set = nullptr);
    bool HasMember(const AnsiString& name) const;

    Variant Invoke(const AnsiString& name, DispatchKind kind, DispArgs& args) override;

private:
    struct Member {
        Method method;
        Getter get;
        Setter set;
    };
    std::map<AnsiString, Member> members_; // by upper-case name
};

} // namespace qz
