#include "platform/variant/Dispatch.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

namespace qz {

namespace {

[[noreturn]] void RaiseParamCount() {
    throw EOleError("Invalid number of parameters");
}

} // namespace

// ---- DispArgs ----

void DispArgs::Add(Variant& arg, bool byRef) {
    items_.push_back(&arg);
    byRef_.push_back(byRef);
}

Variant& DispArgs::operator[](int index) const {
    if (index < 0 || index >= Count()) RaiseParamCount();
    return *items_[static_cast<size_t>(index)];
}

bool DispArgs::IsByRef(int index) const {
    return index >= 0 && index < Count() && byRef_[static_cast<size_t>(index)];
}

// ---- IDispatchObject ----

IDispatchObject::~IDispatchObject() = default;

void IDispatchObject::AddRef() {
    refCount_.fetch_add(1);
}

void IDispatchObject::Release() {
    if (refCount_.fetch_sub(1) == 1) delete this;
}

void RaiseUnknownName(const AnsiString& name) {
    throw EOleError("Unknown name: " + name);
}

// ---- TAutoObject ----

void TAutoObject::RegisterMethod(const AnsiString& name, Method method) {
    members_[UpperCase(name)] = Member{std::move(method), nullptr, nullptr};
}

void TAutoObject::RegisterProperty(const AnsiString& name, Getter get, Setter set) {
    members_[UpperCase(name)] = Member{nullptr, std::move(get), std::move(set)};
}

bool TAutoObject::HasMember(const AnsiString& name) const {
    return members_.count(UpperCase(name)) != 0;
}

Variant TAutoObject::Invoke(const AnsiString& name, DispatchKind kind, DispArgs& args) {
    auto it = members_.find(UpperCase(name));
    if (it == members_.end()) RaiseUnknownName(name);
    // Copies keep the function alive should it re-register its own name.
    Member member = it->second;
    switch (kind) {
    case DispatchKind::Method:
    case DispatchKind::PropertyGet:
        if (member.method) return member.method(args);
        if (!member.get) break;
        if (args.Count() != 0) RaiseParamCount();
        return member.get();
    case DispatchKind::PropertyPut:
        if (!member.set) break;
        if (args.Count() != 1) RaiseParamCount();
        member.set(args[0]);
        return Variant();
    }
    throw EOleError("Member not found: " + name);
}

// ---- caller side of Variant ----

Variant Variant::Invoke(const AnsiString& name, DispatchKind kind, const DispArg* args, int count) const {
    IDispatchObject* object = Object();
    if (!object) throw EOleError("Variant does not reference an automation object");
    // The call keeps its own reference: the callee may clear the Variant it was called through.
    Variant self(object);
    std::vector<Variant> values;
    values.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (!args[i].IsByRef()) values.push_back(args[i].Value());
    DispArgs callArgs;
    size_t next = 0;
    for (int i = 0; i < count; ++i) {
        if (args[i].IsByRef())
            callArgs.Add(*args[i].Ref(), true);
        else
            callArgs.Add(values[next++], false);
    }
    return object->Invoke(name, kind, callArgs);
}

Variant Variant::Call(const AnsiString& name) const {
    return Invoke(name, DispatchKind::Method, nullptr, 0);
}

Variant Variant::Call(const AnsiString& name, std::initializer_list<DispArg> args) const {
    return Invoke(name, DispatchKind::Method, args.begin(), static_cast<int>(args.size()));
}

Variant Variant::Call(const AnsiString& name, const std::vector<DispArg>& args) const {
    return Invoke(name, DispatchKind::Method, args.data(), static_cast<int>(args.size()));
}

Variant Variant::Get(const AnsiString& name) const {
    return Invoke(name, DispatchKind::PropertyGet, nullptr, 0);
}

Variant Variant::Get(const AnsiString& name, std::initializer_list<DispArg> args) const {
    return Invoke(name, DispatchKind::PropertyGet, args.begin(), static_cast<int>(args.size()));
}

void Variant::Set(const AnsiString& name, const Variant& value) const {
    DispArg arg(value);
    Invoke(name, DispatchKind::PropertyPut, &arg, 1);
}

} // namespace qz
