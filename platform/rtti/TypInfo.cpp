#include "platform/rtti/TypInfo.h"
#include "platform/core/StringList.h"
#include "platform/core/Strings.h"
#include "platform/rtti/ClassBuilder.h"
#include <cmath>
#include <deque>
#include <map>
#include <mutex>
#include <typeindex>
#include <unordered_map>

namespace qz {

namespace {

AnsiString Upper(const AnsiString& s) {
    return UpperCase(s);
}

struct Registry {
    std::map<AnsiString, const TMetaClass*> byName; // upper-case names
    std::unordered_map<std::type_index, const TMetaClass*> byType;
};
Registry& Reg() {
    static Registry r;
    return r;
}

struct IdentTables {
    std::map<AnsiString, std::vector<TIdentMapEntry>> tables; // by upper-case type name
};
IdentTables& Idents() {
    static IdentTables t;
    return t;
}

// Type information objects live as long as the process.
TTypeInfo* NewType() {
    static std::deque<std::unique_ptr<TTypeInfo>> pool;
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    pool.push_back(std::make_unique<TTypeInfo>());
    return pool.back().get();
}

const TTypeInfo* NamedType(TTypeKind kind, const char* name) {
    static std::map<std::pair<int, AnsiString>, const TTypeInfo*> cache;
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    auto& slot = cache[{kind, name}];
    if (!slot) {
        static std::deque<TTypeInfo> pool;
        pool.emplace_back();
        pool.back().Kind = kind;
        pool.back().Name = name;
        slot = &pool.back();
    }
    return slot;
}

[[noreturn]] void Unknown(const TObject* object, const AnsiString& name) {
    throw EPropertyError("Unknown property: " + name + (object ? " (" + ClassNameOf(object) + ")" : ""));
}

const TPropInfo* Need(const TObject* object, const AnsiString& name) {
    const TPropInfo* p = GetPropInfo(object, name);
    if (!p) Unknown(object, name);
    return p;
}

[[noreturn]] void ReadOnly(const TPropInfo* p) {
    throw EPropertyError("Property " + p->Name + " is read-only");
}
[[noreturn]] void Mismatch(const TPropInfo* p) {
    throw EPropertyConvertError("Invalid property type: " + p->PropType()->Name + " (" + p->Name + ")");
}

} // namespace

// ---- events ----

namespace detail {

const TMethodCode* InternMemberCode(const std::type_info& cls, const void* pmf, std::size_t size,
                                    TMethodCode* (*make)(const void* pmf)) {
    static std::map<std::pair<std::type_index, std::string>, std::unique_ptr<TMethodCode>> codes;
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    auto key = std::make_pair(std::type_index(cls), std::string(static_cast<const char*>(pmf), size));
    auto& slot = codes[key];
    if (!slot) slot.reset(make(pmf));
    return slot.get();
}

const TMethodCode* KeepClosureCode(TMethodCode* code) {
    static std::deque<std::unique_ptr<TMethodCode>> pool;
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    pool.emplace_back(code);
    return code;
}

void RaiseSignatureMismatch(const TMethodCode* code) {
    throw EPropertyConvertError("Incompatible method" + (code->Name().empty() ? "" : ": " + code->Name()));
}

} // namespace detail

// ---- type information ----

const TMetaClass* TTypeInfo::ClassType() const {
    if (!classType_) {
        if (ResolveClass) classType_ = ResolveClass();
        if (!classType_ && !Name.empty()) classType_ = GetClass(Name);
    }
    return classType_;
}

const TTypeInfo* IntegerTypeInfo(const char* name) {
    return NamedType(tkInteger, name);
}
const TTypeInfo* CharTypeInfo() {
    return NamedType(tkChar, "Char");
}
const TTypeInfo* FloatTypeInfo(const char* name) {
    return NamedType(tkFloat, name);
}
const TTypeInfo* StringTypeInfo() {
    return NamedType(tkString, "String");
}
const TTypeInfo* BooleanTypeInfo() {
    static const TTypeInfo* ti = MakeEnumType("Boolean", "False, True");
    return ti;
}

const TTypeInfo* MakeEnumType(const char* name, const char* names) {
    TTypeInfo* t = NewType();
    t->Kind = tkEnumeration;
    t->Name = name;
    AnsiString list = names;
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        if (comma == AnsiString::npos) comma = list.size();
        AnsiString item = Trim(list.substr(start, comma - start));
        if (!item.empty()) t->EnumNames.push_back(item);
        start = comma + 1;
    }
    return t;
}

const TTypeInfo* MakeSetType(const char* name, const TTypeInfo* element) {
    TTypeInfo* t = NewType();
    t->Kind = tkSet;
    t->Name = name;
    t->CompType = element;
    return t;
}

const TTypeInfo* MakeMethodType(const char* name, const std::type_info& signature) {
    static std::map<std::pair<AnsiString, std::type_index>, const TTypeInfo*> cache;
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    auto& slot = cache[{name, std::type_index(signature)}];
    if (!slot) {
        TTypeInfo* t = NewType();
        t->Kind = tkMethod;
        t->Name = name;
        t->Signature = &signature;
        slot = t;
    }
    return slot;
}

namespace {
std::map<std::type_index, AnsiString>& EventNames() {
    static std::map<std::type_index, AnsiString> names;
    return names;
}
[[maybe_unused]] const bool kNotifyEventName = RegisterEventTypeName("TNotifyEvent", typeid(void(TObject*)));
} // namespace

bool RegisterEventTypeName(const char* name, const std::type_info& signature) {
    EventNames().emplace(std::type_index(signature), name); // the first name given stays
    return true;
}

const TTypeInfo* EventTypeInfo(const std::type_info& signature) {
    auto it = EventNames().find(std::type_index(signature));
    return MakeMethodType(it == EventNames().end() ? "TMethod" : it->second.c_str(), signature);
}

const TTypeInfo* MakeClassType(const char* typeName, const TMetaClass* (*resolve)()) {
    TTypeInfo* t = NewType();
    t->Kind = tkClass;
    t->ResolveClass = resolve;
    if (typeName)
        t->Name = typeName;
    else if (const TMetaClass* mc = t->ClassType())
        t->Name = mc->ClassName();
    return t;
}

AnsiString GetEnumName(const TTypeInfo* type, int value) {
    if (!type || value < 0 || value >= static_cast<int>(type->EnumNames.size())) return "";
    return type->EnumNames[value];
}

int GetEnumValue(const TTypeInfo* type, const AnsiString& name) {
    if (!type) return -1;
    for (size_t i = 0; i < type->EnumNames.size(); ++i)
        if (SameText(type->EnumNames[i], name)) return static_cast<int>(i);
    return -1;
}

AnsiString SetToString(const TTypeInfo* setType, unsigned long long value, bool brackets) {
    AnsiString out;
    const TTypeInfo* e = setType ? setType->CompType : nullptr;
    for (int i = 0; e && i < static_cast<int>(e->EnumNames.size()) && i < 64; ++i)
        if (value & (1ull << i)) {
            if (!out.empty()) out += ',';
            out += e->EnumNames[i];
        }
    return brackets ? "[" + out + "]" : out;
}

unsigned long long StringToSet(const TTypeInfo* setType, const AnsiString& value) {
    AnsiString s = Trim(value);
    if (!s.empty() && s.front() == '[') s.erase(0, 1);
    if (!s.empty() && s.back() == ']') s.pop_back();
    unsigned long long bits = 0;
    size_t start = 0;
    while (start <= s.size()) {
        size_t comma = s.find(',', start);
        if (comma == AnsiString::npos) comma = s.size();
        AnsiString item = Trim(s.substr(start, comma - start));
        if (!item.empty()) {
            int v = GetEnumValue(setType ? setType->CompType : nullptr, item);
            if (v < 0) throw EPropertyConvertError("Invalid property element: " + item);
            bits |= 1ull << v;
        }
        start = comma + 1;
    }
    return bits;
}

void RegisterIntegerConsts(const AnsiString& typeName, std::initializer_list<TIdentMapEntry> idents) {
    RegisterIntegerConsts(typeName, idents.begin(), idents.end());
}

void RegisterIntegerConsts(const AnsiString& typeName, const TIdentMapEntry* first,
                           const TIdentMapEntry* last) {
    auto& t = Idents().tables[Upper(typeName)];
    t.insert(t.end(), first, last);
}

bool IdentToInt(const AnsiString& typeName, const AnsiString& ident, int& value) {
    auto it = Idents().tables.find(Upper(typeName));
    if (it == Idents().tables.end()) return false;
    for (const auto& e : it->second)
        if (SameText(e.Name, ident)) {
            value = e.Value;
            return true;
        }
    return false;
}

bool IntToIdent(const AnsiString& typeName, int value, AnsiString& ident) {
    auto it = Idents().tables.find(Upper(typeName));
    if (it == Idents().tables.end()) return false;
    for (const auto& e : it->second)
        if (e.Value == value) {
            ident = e.Name;
            return true;
        }
    return false;
}

bool HasIdentTable(const AnsiString& typeName) {
    return Idents().tables.count(Upper(typeName)) != 0;
}

// ---- properties and metaclasses ----

const TTypeInfo* TPropInfo::PropType() const {
    if (!type_) type_ = Type();
    return type_;
}

bool TPropInfo::Writable() const {
    return SetOrd || SetFloat || SetStr || SetObj || SetMethod;
}

TMetaClass::TMetaClass(const char* name, const TMetaClass* parent, const std::type_info& type)
    : name_(name), parent_(parent), type_(&type) {}

bool TMetaClass::InheritsFrom(const TMetaClass* other) const {
    for (const TMetaClass* c = this; c; c = c->parent_)
        if (c == other) return true;
    return false;
}

const TTypeInfo* TMetaClass::TypeInfo() const {
    if (!typeInfo_) {
        TTypeInfo* t = NewType();
        t->Kind = tkClass;
        t->Name = name_;
        t->classType_ = this;
        typeInfo_ = t;
    }
    return typeInfo_;
}

TObject* TMetaClass::Create(TObject* owner) const {
    if (!create_) throw EClassNotFound("Cannot create an instance of " + name_);
    return create_(owner);
}

const TPropInfo* TMetaClass::FindProperty(const AnsiString& name) const {
    for (const TMetaClass* c = this; c; c = c->parent_)
        for (auto it = c->props_.rbegin(); it != c->props_.rend(); ++it)
            if (SameText((*it)->Name, name)) return it->get();
    return nullptr;
}

std::vector<const TPropInfo*> TMetaClass::Properties() const {
    std::vector<const TMetaClass*> chain;
    for (const TMetaClass* c = this; c; c = c->parent_) chain.insert(chain.begin(), c);
    std::vector<const TPropInfo*> out;
    for (const TMetaClass* c : chain)
        for (const auto& p : c->props_) {
            bool replaced = false;
            for (auto& q : out)
                if (SameText(q->Name, p->Name)) {
                    q = p.get(); // a redeclared property keeps its place
                    replaced = true;
                }
            if (!replaced) out.push_back(p.get());
        }
    return out;
}

const TMethodCode* TMetaClass::MethodAddress(const AnsiString& name) const {
    for (const TMetaClass* c = this; c; c = c->parent_)
        for (const auto& m : c->methods_)
            if (SameText(m.first, name)) return m.second;
    return nullptr;
}

AnsiString TMetaClass::MethodName(const TMethodCode* code) const {
    for (const TMetaClass* c = this; c; c = c->parent_)
        for (const auto& m : c->methods_)
            if (m.second == code) return m.first;
    return "";
}

const TFieldInfo* TMetaClass::FindField(const AnsiString& name) const {
    for (const TMetaClass* c = this; c; c = c->parent_)
        for (const auto& f : c->fields_)
            if (SameText(f.Name, name)) return &f;
    return nullptr;
}

const TMetaClass::MessageHandler* TMetaClass::FindMessageHandler(Cardinal msg) const {
    for (const TMetaClass* c = this; c; c = c->parent_)
        for (const auto& m : c->messages_)
            if (m.first == msg) return &m.second;
    return nullptr;
}

TPropInfo& TMetaClass::AddProperty(const AnsiString& name) {
    props_.push_back(std::make_unique<TPropInfo>());
    props_.back()->Name = name;
    props_.back()->Owner = this;
    return *props_.back();
}

TPropInfo& TMetaClass::AddPublicProperty(const AnsiString& name) {
    publicProps_.push_back(std::make_unique<TPropInfo>());
    publicProps_.back()->Name = name;
    publicProps_.back()->Owner = this;
    return *publicProps_.back();
}

const TPropInfo* TMetaClass::FindPublicProperty(const AnsiString& name) const {
    for (const TMetaClass* c = this; c; c = c->parent_)
        for (const auto& p : c->publicProps_)
            if (SameText(p->Name, name)) return p.get();
    return FindProperty(name);
}

void TMetaClass::AddMethod(const AnsiString& name, const TMethodCode* code) {
    methods_.emplace_back(name, code);
    if (code->Name().empty()) const_cast<TMethodCode*>(code)->SetName(name);
}

void TMetaClass::AddField(TFieldInfo field) {
    fields_.push_back(std::move(field));
}

void TMetaClass::AddMessage(Cardinal msg, MessageHandler handler) {
    messages_.emplace_back(msg, std::move(handler));
}

// ---- registry ----

void RegisterClass(const TMetaClass* cls) {
    if (cls) Reg().byName[Upper(cls->ClassName())] = cls;
}

const TMetaClass* GetClass(const AnsiString& name) {
    auto it = Reg().byName.find(Upper(name));
    return it == Reg().byName.end() ? nullptr : it->second;
}

const TMetaClass* FindClass(const AnsiString& name) {
    const TMetaClass* c = GetClass(name);
    if (!c) throw EClassNotFound("Class " + name + " not found");
    return c;
}

const TMetaClass* FindClassByType(const std::type_info& type) {
    auto it = Reg().byType.find(std::type_index(type));
    return it == Reg().byType.end() ? nullptr : it->second;
}

void RegisterClassType(const std::type_info& type, const TMetaClass* cls) {
    Reg().byType[std::type_index(type)] = cls;
}

template <> const TMetaClass* StaticClassOf<TObject>() {
    static const TMetaClass* mc = [] {
        auto* m = new TMetaClass("TObject", nullptr, typeid(TObject));
        RegisterClassType(typeid(TObject), m);
        RegisterClass(m);
        return m;
    }();
    return mc;
}

const TMetaClass* ClassOf(const TObject* object) {
    if (!object) return nullptr;
    if (const TMetaClass* mc = object->ClassInfo()) return mc;
    return FindClassByType(typeid(*object));
}

AnsiString ClassNameOf(const TObject* object) {
    const TMetaClass* mc = ClassOf(object);
    return mc ? mc->ClassName() : AnsiString(object ? "TObject" : "");
}

bool ObjectInheritsFrom(const TObject* object, const AnsiString& className) {
    for (const TMetaClass* c = ClassOf(object); c; c = c->ClassParent())
        if (SameText(c->ClassName(), className)) return true;
    return false;
}

// String lists are described here: they carry no type information of their own.
QZ_EXTERNAL_CLASS_INFO(TStrings, TObject) {}
QZ_EXTERNAL_CLASS_INFO(TStringList, TStrings) {}

// ---- access by name ----

const TPropInfo* GetPropInfo(const TObject* object, const AnsiString& name) {
    const TMetaClass* mc = ClassOf(object);
    return mc && !name.empty() ? mc->FindProperty(name) : nullptr;
}

bool IsPublishedProp(const TObject* object, const AnsiString& name) {
    return GetPropInfo(object, name) != nullptr;
}

long long GetOrdProp(const TObject* object, const AnsiString& name) {
    const TPropInfo* p = Need(object, name);
    if (p->GetOrd) return p->GetOrd(object);
    if (p->GetObj) return reinterpret_cast<long long>(p->GetObj(object));
    Mismatch(p);
}

void SetOrdProp(TObject* object, const AnsiString& name, long long value) {
    const TPropInfo* p = Need(object, name);
    if (!p->GetOrd) Mismatch(p);
    if (!p->SetOrd) ReadOnly(p);
    p->SetOrd(object, value);
}

AnsiString GetStrProp(const TObject* object, const AnsiString& name) {
    const TPropInfo* p = Need(object, name);
    if (!p->GetStr) Mismatch(p);
    return p->GetStr(object);
}

void SetStrProp(TObject* object, const AnsiString& name, const AnsiString& value) {
    const TPropInfo* p = Need(object, name);
    if (!p->GetStr) Mismatch(p);
    if (!p->SetStr) ReadOnly(p);
    p->SetStr(object, value);
}

double GetFloatProp(const TObject* object, const AnsiString& name) {
    const TPropInfo* p = Need(object, name);
    if (!p->GetFloat) Mismatch(p);
    return p->GetFloat(object);
}

void SetFloatProp(TObject* object, const AnsiString& name, double value) {
    const TPropInfo* p = Need(object, name);
    if (!p->GetFloat) Mismatch(p);
    if (!p->SetFloat) ReadOnly(p);
    p->SetFloat(object, value);
}

TObject* GetObjectProp(const TObject* object, const AnsiString& name) {
    const TPropInfo* p = GetPropInfo(object, name);
    return p && p->GetObj ? p->GetObj(object) : nullptr;
}

void SetObjectProp(TObject* object, const AnsiString& name, TObject* value) {
    const TPropInfo* p = Need(object, name);
    if (!p->GetObj) Mismatch(p);
    if (!p->SetObj) ReadOnly(p);
    p->SetObj(object, value);
}

TMethod GetMethodProp(const TObject* object, const AnsiString& name) {
    const TPropInfo* p = Need(object, name);
    if (!p->GetMethod) Mismatch(p);
    return p->GetMethod(object);
}

void SetMethodProp(TObject* object, const AnsiString& name, const TMethod& value) {
    const TPropInfo* p = Need(object, name);
    if (!p->GetMethod) Mismatch(p);
    if (!p->SetMethod) ReadOnly(p);
    p->SetMethod(object, value);
}

AnsiString GetEnumProp(const TObject* object, const AnsiString& name) {
    const TPropInfo* p = Need(object, name);
    if (p->Kind() != tkEnumeration) Mismatch(p);
    return GetEnumName(p->PropType(), static_cast<int>(p->GetOrd(object)));
}

void SetEnumProp(TObject* object, const AnsiString& name, const AnsiString& value) {
    const TPropInfo* p = Need(object, name);
    if (p->Kind() != tkEnumeration) Mismatch(p);
    int v = GetEnumValue(p->PropType(), value);
    if (v < 0) throw EPropertyConvertError("Invalid property element: " + value);
    if (!p->SetOrd) ReadOnly(p);
    p->SetOrd(object, v);
}

AnsiString GetSetProp(const TObject* object, const AnsiString& name, bool brackets) {
    const TPropInfo* p = Need(object, name);
    if (p->Kind() != tkSet) Mismatch(p);
    return SetToString(p->PropType(), static_cast<unsigned long long>(p->GetOrd(object)), brackets);
}

void SetSetProp(TObject* object, const AnsiString& name, const AnsiString& value) {
    const TPropInfo* p = Need(object, name);
    if (p->Kind() != tkSet) Mismatch(p);
    if (!p->SetOrd) ReadOnly(p);
    p->SetOrd(object, static_cast<long long>(StringToSet(p->PropType(), value)));
}

AnsiString GetPropText(const TObject* object, const TPropInfo* p) {
    const TTypeInfo* t = p->PropType();
    switch (t->Kind) {
    case tkInteger: {
        long long v = p->GetOrd(object);
        return IntToStr(v);
    }
    case tkChar: return AnsiString(1, static_cast<char>(p->GetOrd(object)));
    case tkEnumeration: return GetEnumName(t, static_cast<int>(p->GetOrd(object)));
    case tkSet: return SetToString(t, static_cast<unsigned long long>(p->GetOrd(object)));
    case tkFloat: return FloatToStr(p->GetFloat(object));
    case tkString: return p->GetStr(object);
    case tkClass: {
        TObject* o = p->GetObj(object);
        if (!o) return "";
        const TPropInfo* n = GetPropInfo(o, "Name");
        return n && n->GetStr ? n->GetStr(o) : ClassNameOf(o);
    }
    case tkMethod: {
        TMethod m = p->GetMethod(object);
        if (!m.Code) return "";
        AnsiString name = m.Data ? MethodName(m.Data, m.Code) : "";
        return name.empty() ? m.Code->Name() : name;
    }
    default: return "";
    }
}

void SetPropText(TObject* object, const TPropInfo* p, const AnsiString& value, const TObject* methodOwner) {
    const TTypeInfo* t = p->PropType();
    auto setOrd = [&](long long v) {
        if (!p->SetOrd) ReadOnly(p);
        p->SetOrd(object, v);
    };
    switch (t->Kind) {
    case tkInteger: {
        long long v = 0;
        int ident = 0;
        if (IdentToInt(t->Name, value, ident))
            v = ident;
        else if (!TryStrToInt64(value, v))
            throw EPropertyConvertError("Invalid property value: " + value);
        setOrd(v);
        break;
    }
    case tkChar:
        if (value.size() != 1) throw EPropertyConvertError("Invalid property value: " + value);
        setOrd(static_cast<unsigned char>(value[0]));
        break;
    case tkEnumeration: {
        int v = GetEnumValue(t, value);
        if (v < 0) throw EPropertyConvertError("Invalid property element: " + value);
        setOrd(v);
        break;
    }
    case tkSet: setOrd(static_cast<long long>(StringToSet(t, value))); break;
    case tkFloat: {
        double d = 0;
        if (!TryStrToFloat(value, d)) throw EPropertyConvertError("Invalid property value: " + value);
        if (!p->SetFloat) ReadOnly(p);
        p->SetFloat(object, d);
        break;
    }
    case tkString:
        if (!p->SetStr) ReadOnly(p);
        p->SetStr(object, value);
        break;
    case tkMethod: {
        if (!p->SetMethod) ReadOnly(p);
        if (value.empty()) {
            p->SetMethod(object, TMethod{});
            break;
        }
        TObject* owner = const_cast<TObject*>(methodOwner ? methodOwner : object);
        const TMethodCode* code = MethodAddress(owner, value);
        if (!code) throw EPropertyConvertError("Method " + value + " not found");
        p->SetMethod(object, TMethod{code, owner});
        break;
    }
    default: throw EPropertyConvertError("Invalid property value: " + value);
    }
}

void SetPropNumber(TObject* object, const TPropInfo* p, double value) {
    switch (p->Kind()) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
        if (!p->SetOrd) ReadOnly(p);
        if (p->Kind() == tkEnumeration &&
            (value < 0 || value >= static_cast<double>(p->PropType()->EnumNames.size())))
            throw EPropertyConvertError("Invalid property value");
        p->SetOrd(object, static_cast<long long>(std::llround(value)));
        break;
    case tkFloat:
        if (!p->SetFloat) ReadOnly(p);
        p->SetFloat(object, value);
        break;
    case tkString:
        if (!p->SetStr) ReadOnly(p);
        p->SetStr(object, value == std::floor(value) && std::fabs(value) < 1e15
                              ? IntToStr(static_cast<long long>(value))
                              : FloatToStr(value));
        break;
    default: Mismatch(p);
    }
}

const TPropInfo* FindPropPath(TObject*& object, const AnsiString& path) {
    AnsiString rest = path;
    size_t dot;
    while ((dot = rest.find('.')) != AnsiString::npos) {
        AnsiString part = Trim(rest.substr(0, dot));
        const TPropInfo* p = GetPropInfo(object, part);
        if (!p) Unknown(object, part);
        if (p->Kind() != tkClass) throw EPropertyError("Property " + part + " is not an object");
        TObject* next = p->GetObj(object);
        if (!next) throw EPropertyError("Property " + part + " is empty");
        object = next;
        rest = rest.substr(dot + 1);
    }
    return GetPropInfo(object, Trim(rest));
}

const TMethodCode* MethodAddress(const TObject* object, const AnsiString& name) {
    const TMetaClass* mc = ClassOf(object);
    return mc && !name.empty() ? mc->MethodAddress(name) : nullptr;
}

AnsiString MethodName(const TObject* object, const TMethodCode* code) {
    const TMetaClass* mc = ClassOf(object);
    return mc && code ? mc->MethodName(code) : AnsiString();
}

} // namespace qz
