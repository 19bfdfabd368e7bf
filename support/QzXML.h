#pragma once
// XML helpers over the DOM: new documents, documents from texts (with the GB2312 prolog and the stdd
// entity made sure of), finding or adding child elements, and element attributes.
#include "platform/core/Types.h"
#include "platform/xml/XmlDom.h"

namespace qz {

// A new, empty document; it is not validated while parsing.
IXMLDOMDocument NewXMLDoc();
// NewXMLDoc with s loaded into it; a text that does not parse leaves the document empty.
IXMLDOMDocument XMLDocFromText(const AnsiString& s);
// s with the prolog <?xml version="1.0" encoding="GB2312"?> (or its own prolog given that encoding when
// it names none) and, when it has no document type, the declaration of the entity stdd.
AnsiString PrepareXMLText(const AnsiString& s);
// XMLDocFromText of PrepareXMLText of s.
IXMLDOMDocument LoadXMLDoc(const AnsiString& s);
// The first node the selection expression name finds below parent; when there is none and create is set,
// a new element name appended as parent's last child. Empty node otherwise.
IXMLDOMNode FindOrAddChild(const IXMLDOMNode& parent, const AnsiString& name, bool create);
// The attribute's value; "" when the element has none.
AnsiString GetAttr(const IXMLDOMNode& node, const AnsiString& name);
void SetAttr(IXMLDOMNode node, const AnsiString& name, const AnsiString& value);

} // namespace qz
