#pragma once
// Run-time type information: metaclasses (name, parent, creation by registered name), published
// properties by name with their kind and type, enumeration and set names, published methods and fields,
// message handlers by number. Classes describe themselves with the builder of ClassBuilder.h.
#include "platform/core/Exceptions.h"
#include "platform/core/Types.h"
#include "platform/rtti/Events.h"
#include <functional>
#include <initializer_list>
#include <memory>
#include <typeinfo>
#include <utility>
#include <vector>

namespace qz {

QZ_EXCEPTION_CLASS(EPropertyError, Exception);        // unknown property, read-only property
QZ_EXCEPTION_CLASS(EPropertyConvertError, Exception); // a value that does not fit the property
QZ_EXCEPTION_CLASS(EClassNotFound, Exception);        // "Class %s not found"

enum TTypeKind { tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod };

struct TTypeInfo {
    TTypeKind Kind = tkUnknown;
    AnsiString Name;                           // "Integer", "TColor", "TAlign", "TFont", "TNotifyEvent"
    std::vector<AnsiString> EnumNames;         // tkEnumeration: names by ordinal (Boolean: False, True)
    const TTypeInfo* CompType = nullptr;       // tkSet: the element enumeration
    const std::type_info* Signature = nullptr; // tkMethod
    // tkClass: the class, resolved on first use.
    const TMetaClass* ClassType() const;

    const TMetaClass* (*ResolveClass)() = nullptr;
    mutable const TMetaClass* classType_ = nullptr;
};

// Type information of the built-in kinds.
const TTypeInfo* IntegerTypeInfo(const char* name = "Integer");
const TTypeInfo* CharTypeInfo();
const TTypeInfo* BooleanTypeInfo();
const TTypeInfo* FloatTypeInfo(const char* name = "Double");
const TTypeInfo* StringTypeInfo();
// An enumeration type from the text of its declaration list ("alNone, alTop, alBottom").
const TTypeInfo* MakeEnumType(const char* name, const char* names);
const TTypeInfo* MakeSetType(const char* name, const TTypeInfo* element);
const TTypeInfo* MakeMethodType(const char* name, const std::type_info& signature);
// Event types by signature: the name registered for it (QZ_EVENT_TYPE), else "TMethod".
bool RegisterEventTypeName(const char* name, const std::type_info& signature);
const TTypeInfo* EventTypeInfo(const std::type_info& signature);
// Class type information named after the class, or after typeName when the class is found by name.
const TTypeInfo* MakeClassType(const char* typeName, const TMetaClass* (*resolve)());

// Enumeration names: GetEnumValue ignores case and returns -1 for an unknown name.
AnsiString GetEnumName(const TTypeInfo* type, int value);
int GetEnumValue(const TTypeInfo* type, const AnsiString& name);
// Sets as "[a,b]" (brackets optional on reading); an unknown element raises EPropertyConvertError.
AnsiString SetToString(const TTypeInfo* setType, unsigned long long value, bool brackets = true);
unsigned long long StringToSet(const TTypeInfo* setType, const AnsiString& value);

// Identifier tables of integer types (clRed for TColor, crHourGlass for TCursor).
struct TIdentMapEntry {
    int Value;
    const char* Name;
};
void RegisterIntegerConsts(const AnsiString& typeName, std::initializer_list<TIdentMapEntry> idents);
void RegisterIntegerConsts(const AnsiString& typeName, const TIdentMapEntry* first,
                           const TIdentMapEntry* last);
bool IdentToInt(const AnsiString& typeName, const AnsiString& ident, int& value);
bool IntToIdent(const AnsiString& typeName, int value, AnsiString& ident);
bool HasIdentTable(const AnsiString& typeName);

// A published property. Accessors of the property's kind are set; the others are empty.
struct TPropInfo {
    AnsiString Name;
    const TMetaClass* Owner = nullptr;
    long long Default = 0; // stored default of ordinal properties
    bool HasDefault = false;
    bool Stored = true;
    const TTypeInfo* PropType() const;
    TTypeKind Kind() const { return PropType()->Kind; }
    bool Writable() const;

    std::function<const TTypeInfo*()> Type;
    mutable const TTypeInfo* type_ = nullptr;
    std::function<long long(const TObject*)> GetOrd; // integer, char, enumeration, set (bits)
    std::function<void(TObject*, long long)> SetOrd;
    std::function<double(const TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<AnsiString(const TObject*)> GetStr;
    std::function<void(TObject*, const AnsiString&)> SetStr;
    std::function<TObject*(const TObject*)> GetObj;
    std::function<void(TObject*, TObject*)> SetObj;
    std::function<TMethod(const TObject*)> GetMethod;
    std::function<void(TObject*, const TMethod&)> SetMethod;
};

// A published field: a component reference the form reader fills by the component's name.
struct TFieldInfo {
    AnsiString Name;
    std::function<void(TObject* self, TObject* value)> Set; // raises when the value has the wrong class
    std::function<TObject*(const TObject* self)> Get;
};

struct TMetaClass {
    TMetaClass(const char* name, const TMetaClass* parent, const std::type_info& type);
    TMetaClass(const TMetaClass&) = delete;
    TMetaClass& operator=(const TMetaClass&) = delete;

    const AnsiString& ClassName() const { return name_; }
    const TMetaClass* ClassParent() const { return parent_; }
    bool InheritsFrom(const TMetaClass* other) const;
    const std::type_info& CppType() const { return *type_; }
    // Class type information (tkClass) naming this class.
    const TTypeInfo* TypeInfo() const;

    // Creation by the class's constructor taking an owner (components) or by its default constructor.
    bool CanCreate() const { return create_ != nullptr; }
    TObject* Create(TObject* owner = nullptr) const; // raises EClassNotFound for abstract classes

    // Properties of the class and its ancestors, the ancestors' first; lookup ignores case.
    const TPropInfo* FindProperty(const AnsiString& name) const;
    std::vector<const TPropInfo*> Properties() const;
    const std::vector<std::unique_ptr<TPropInfo>>& OwnProperties() const { return props_; }
    // Public properties described for tools (ItemIndex of a combo box), then the published ones.
    const TPropInfo* FindPublicProperty(const AnsiString& name) const;

    // Published methods by name (ignoring case), and the name of a code.
    const TMethodCode* MethodAddress(const AnsiString& name) const;
    AnsiString MethodName(const TMethodCode* code) const;
    const TFieldInfo* FindField(const AnsiString& name) const;

    // Message handler for a number, searched from this class up.
    using MessageHandler = std::function<void(TObject* self, void* message)>;
    const MessageHandler* FindMessageHandler(Cardinal msg) const;

    // Form resource text stored with the class.
    const char* Resource() const { return resource_; }

    // Used by the builder.
    TPropInfo& AddProperty(const AnsiString& name);
    TPropInfo& AddPublicProperty(const AnsiString& name);
    void AddMethod(const AnsiString& name, const TMethodCode* code);
    void AddField(TFieldInfo field);
    void AddMessage(Cardinal msg, MessageHandler handler);
    void SetCreate(TObject* (*create)(TObject* owner)) { create_ = create; }
    void SetResource(const char* text) { resource_ = text; }

private:
    AnsiString name_;
    const TMetaClass* parent_;
    const std::type_info* type_;
    TObject* (*create_)(TObject*) = nullptr;
    const char* resource_ = nullptr;
    std::vector<std::unique_ptr<TPropInfo>> props_;
    std::vector<std::unique_ptr<TPropInfo>> publicProps_;
    std::vector<std::pair<AnsiString, const TMethodCode*>> methods_;
    std::vector<TFieldInfo> fields_;
    std::vector<std::pair<Cardinal, MessageHandler>> messages_;
    mutable const TTypeInfo* typeInfo_ = nullptr;
};

// The class registry. Every described class registers itself; RegisterClass adds others.
void RegisterClass(const TMetaClass* cls);
const TMetaClass* GetClass(const AnsiString& name);  // nullptr when unknown (ignores case)
const TMetaClass* FindClass(const AnsiString& name); // raises EClassNotFound "Class %s not found"
// Metaclass of a C++ type described outside the class (TObject, TStrings, TStringList...).
const TMetaClass* FindClassByType(const std::type_info& type);
void RegisterClassType(const std::type_info& type, const TMetaClass* cls);

// The metaclass of an object: its ClassInfo, or the one registered for its dynamic C++ type.
const TMetaClass* ClassOf(const TObject* object);
AnsiString ClassNameOf(const TObject* object);
bool ObjectInheritsFrom(const TObject* object, const AnsiString& className);

template <class T> const TMetaClass* StaticClassOf() {
    if constexpr (requires { typename T::QzThisClass; }) {
        if constexpr (std::is_same_v<typename T::QzThisClass, T>)
            return T::StaticClass();
        else
            return FindClassByType(typeid(T));
    } else {
        return FindClassByType(typeid(T));
    }
}
template <> const TMetaClass* StaticClassOf<TObject>();

// Property access by name. Lookups return nullptr for a missing property; the access functions raise
// EPropertyError for a missing property and EPropertyConvertError for a value that does not fit.
const TPropInfo* GetPropInfo(const TObject* object, const AnsiString& name);
bool IsPublishedProp(const TObject* object, const AnsiString& name);
long long GetOrdProp(const TObject* object, const AnsiString& name);
void SetOrdProp(TObject* object, const AnsiString& name, long long value);
AnsiString GetStrProp(const TObject* object, const AnsiString& name);
void SetStrProp(TObject* object, const AnsiString& name, const AnsiString& value);
double GetFloatProp(const TObject* object, const AnsiString& name);
void SetFloatProp(TObject* object, const AnsiString& name, double value);
TObject* GetObjectProp(const TObject* object, const AnsiString& name);
void SetObjectProp(TObject* object, const AnsiString& name, TObject* value);
TMethod GetMethodProp(const TObject* object, const AnsiString& name);
void SetMethodProp(TObject* object, const AnsiString& name, const TMethod& value);
AnsiString GetEnumProp(const TObject* object, const AnsiString& name);
void SetEnumProp(TObject* object, const AnsiString& name, const AnsiString& value); // exact name, no trimming
AnsiString GetSetProp(const TObject* object, const AnsiString& name, bool brackets = false);
void SetSetProp(TObject* object, const AnsiString& name, const AnsiString& value);

// Any property as text: numbers in decimal, enumerations by name, sets as "[a,b]", strings as they
// are, objects as their component name, methods as their published name.
AnsiString GetPropText(const TObject* object, const TPropInfo* prop);
// Sets a property from text: integer texts or identifiers of the type's table, enumeration names,
// set notation, floating-point texts, strings as they are; methods by published name of methodOwner.
void SetPropText(TObject* object, const TPropInfo* prop, const AnsiString& value,
                 const TObject* methodOwner = nullptr);
// Sets an ordinal, Boolean or floating-point property from a number.
void SetPropNumber(TObject* object, const TPropInfo* prop, double value);

// Walks a dotted path through class-typed properties ("Font.Name"): object becomes the object that
// holds the last property, whose information is returned (nullptr when it does not exist). A missing
// or empty intermediate property raises EPropertyError.
const TPropInfo* FindPropPath(TObject*& object, const AnsiString& path);

// Published methods.
const TMethodCode* MethodAddress(const TObject* object, const AnsiString& name);
AnsiString MethodName(const TObject* object, const TMethodCode* code);
// The published method of object as a typed event; empty when there is none.
template <class Sig> TEvent<Sig> FindMethod(TObject* object, const AnsiString& name) {
    const TMethodCode* code = MethodAddress(object, name);
    if (!code) return {};
    return TEvent<Sig>(TMethod{code, object});
}
// Calls a published method by name with the given signature (CallMethod<void(TObject*)>(form,
// "ViewIconExecute", form)); raises EPropertyError when there is none or its signature differs.
template <class Sig, class... A> auto CallMethod(TObject* object, const AnsiString& name, A&&... args) {
    const TMethodCode* code = MethodAddress(object, name);
    if (!code) throw EPropertyError("Method " + name + " not found");
    return TEvent<Sig>(TMethod{code, object})(std::forward<A>(args)...);
}

} // namespace qz
