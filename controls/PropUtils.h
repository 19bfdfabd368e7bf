#pragma once
// Published properties of components known only by name: read and write them as text, ordinal,
// method or Variant, follow dotted paths ("Font.Name"), and click a control.
#include "platform/rtti/TypInfo.h"
#include "platform/vcl/Messages.h"

namespace qz {

class Variant;
class TControl;

// False for a null object or an empty name.
bool HasPublishedProperty(const TObject* component, const AnsiString& name);

// The property's value as text; "" when the object is null, the name empty or the property missing.
AnsiString GetStrPropByName(const TObject* component, const AnsiString& name);
// Sets the property from text; nothing in those three cases.
void SetStrPropByName(TObject* component, const AnsiString& name, const AnsiString& value);

// Integers, enumerations, Booleans and object references; 0 in those three cases.
long long GetOrdPropByName(const TObject* control, const AnsiString& name);
void SetOrdPropByName(TObject* object, const AnsiString& name, long long value);

// The handler held by an event property; an empty pair when the property is missing.
TMethod GetMethodPropByName(const TObject* object, const AnsiString& name);
void SetMethodPropByName(TObject* object, const AnsiString& name, const TMethod& value);

// The object held by a class-typed property; nullptr otherwise.
TObject* GetObjectProperty(const TObject* object, const AnsiString& name);

// Sets the property a dotted path names: every part before the last "." must be a property holding
// an object (EPropertyError otherwise); a missing last property is ignored. Identifiers of integer
// types (clRed), enumeration names and set notation are read from texts; a value that does not fit
// raises EPropertyConvertError.
void SetPropertyByPath(TObject* object, const AnsiString& path, const Variant& value);
// As SetPropertyByPath; false when it raised.
bool TrySetPropertyByPath(TObject* object, const AnsiString& path, const Variant& value);

// A left button pressed and released on the control, the parameters given to both messages.
void ClickControl(TControl* control, WPARAM wParam, LPARAM lParam);

} // namespace qz
