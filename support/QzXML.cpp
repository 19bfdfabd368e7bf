#include "support/QzXML.h"

#include "platform/core/Strings.h"

namespace qz {

namespace {

const char* const kProlog = "<?xml version=\"1.0\" encoding=\"GB2312\"?>";
// stdd stands for itself, so "&stdd;" in the data reads back as that text.
const char* const kDocType = "<!DOCTYPE SC[<!ENTITY stdd \"&amp;stdd;\">]>";
const char* const kEncoding = " encoding=\"GB2312\"";

AnsiString LowerAscii(AnsiString s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

} // namespace

IXMLDOMDocument NewXMLDoc() {
    return IXMLDOMDocument();
}

IXMLDOMDocument XMLDocFromText(const AnsiString& s) {
    IXMLDOMDocument doc = NewXMLDoc();
    doc.LoadXML(s);
    return doc;
}

AnsiString PrepareXMLText(const AnsiString& s) {
    AnsiString head = Trim(StringReplace(LowerAscii(s.substr(0, 100)), "\r\n", "", rfReplaceAll));
    const bool hasProlog = head.compare(0, 5, "<?xml") == 0;
    const bool hasDocType = head.find("<!doctype") != AnsiString::npos;
    const bool hasEncoding = head.find("encoding=") != AnsiString::npos;
    if (!hasProlog) return (hasDocType ? AnsiString(kProlog) : AnsiString(kProlog) + kDocType) + s;

    // The end of the prolog is looked up in s itself, so line breaks or blanks in front of it do not
    // move the insertions; a prolog that does not end within the head is left alone.
    AnsiString result = s;
    const size_t end = head.find("?>") == AnsiString::npos ? AnsiString::npos : s.find("?>");
    if (end == AnsiString::npos) return result;
    if (!hasDocType) result.insert(end + 2, kDocType);
    if (!hasEncoding) result.insert(end, kEncoding);
    return result;
}

IXMLDOMDocument LoadXMLDoc(const AnsiString& s) {
    return XMLDocFromText(PrepareXMLText(s));
}

IXMLDOMNode FindOrAddChild(const IXMLDOMNode& parent, const AnsiString& name, bool create) {
    IXMLDOMNode node = parent.SelectSingleNode(name);
    if (node || !create) return node;
    IXMLDOMNode element = parent.OwnerDocument().CreateElement(name);
    IXMLDOMNode(parent).AppendChild(element);
    return element;
}

AnsiString GetAttr(const IXMLDOMNode& node, const AnsiString& name) {
    return node.GetAttribute(name);
}

void SetAttr(IXMLDOMNode node, const AnsiString& name, const AnsiString& value) {
    node.SetAttribute(name, value);
}

} // namespace qz
