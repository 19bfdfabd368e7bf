#include "controls/PropUtils.h"
#include "platform/core/Strings.h"
#include "platform/variant/Variant.h"
#include "platform/vcl/Controls.h"

namespace qz {

namespace {

const TPropInfo* Find(const TObject* object, const AnsiString& name) {
    return object && !name.empty() ? GetPropInfo(object, name) : nullptr;
}

// Texts go through the property's text reading (numbers, identifiers, enumeration names, set
// notation); numbers and Booleans are stored as numbers.
void SetPropValue(TObject* object, const TPropInfo* prop, const Variant& value) {
    switch (prop->Kind()) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
    case tkFloat:
        if (VarIsStr(value))
            SetPropText(object, prop, value.AsString());
        else if (VarType(value) == varBoolean)
            SetPropNumber(object, prop, value.AsBoolean() ? 1 : 0);
        else
            SetPropNumber(object, prop, value.AsDouble());
        break;
    case tkString:
        if (!prop->SetStr) throw EPropertyError("Property " + prop->Name + " is read-only");
        prop->SetStr(object, VarToStr(value));
        break;
    default: throw EPropertyConvertError("Invalid property value (" + prop->Name + ")");
    }
}

} // namespace

bool HasPublishedProperty(const TObject* component, const AnsiString& name) {
    return Find(component, name) != nullptr;
}

AnsiString GetStrPropByName(const TObject* component, const AnsiString& name) {
    const TPropInfo* p = Find(component, name);
    return p ? GetPropText(component, p) : AnsiString();
}

void SetStrPropByName(TObject* component, const AnsiString& name, const AnsiString& value) {
    if (const TPropInfo* p = Find(component, name)) SetPropText(component, p, value);
}

long long GetOrdPropByName(const TObject* control, const AnsiString& name) {
    return Find(control, name) ? GetOrdProp(control, name) : 0;
}

void SetOrdPropByName(TObject* object, const AnsiString& name, long long value) {
    if (Find(object, name)) SetOrdProp(object, name, value);
}

TMethod GetMethodPropByName(const TObject* object, const AnsiString& name) {
    return Find(object, name) ? GetMethodProp(object, name) : TMethod{};
}

void SetMethodPropByName(TObject* object, const AnsiString& name, const TMethod& value) {
    if (Find(object, name)) SetMethodProp(object, name, value);
}

TObject* GetObjectProperty(const TObject* object, const AnsiString& name) {
    const TPropInfo* p = Find(object, name);
    return p && p->Kind() == tkClass && p->GetObj ? p->GetObj(object) : nullptr;
}

void SetPropertyByPath(TObject* object, const AnsiString& path, const Variant& value) {
    if (!object) throw EPropertyError("No object for property " + path);
    TObject* target = object;
    const TPropInfo* p = FindPropPath(target, path);
    if (!p) return;
    const TTypeInfo* type = p->PropType();
    if (type->Kind == tkInteger && HasIdentTable(type->Name)) {
        int ident = 0;
        if (IdentToInt(type->Name, VarToStr(value), ident)) {
            SetPropNumber(target, p, ident);
            return;
        }
    }
    if ((type->Kind == tkEnumeration || type->Kind == tkSet) && !VarTypeIsInteger(VarType(value))) {
        SetPropValue(target, p, Variant(Trim(VarToStr(value))));
        return;
    }
    SetPropValue(target, p, value);
}

bool TrySetPropertyByPath(TObject* object, const AnsiString& path, const Variant& value) {
    try {
        SetPropertyByPath(object, path, value);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void ClickControl(TControl* control, WPARAM wParam, LPARAM lParam) {
    if (!control) return;
    control->Perform(WM_LBUTTONDOWN, wParam, lParam);
    control->Perform(WM_LBUTTONUP, wParam, lParam);
}

} // namespace qz
