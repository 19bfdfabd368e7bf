#pragma once
// A small DOM over libxml2: documents loaded from files (honouring the declared encoding; GB2312 is read
// as GB18030 so GBK-only characters parse) or from texts, elements and attributes, XPath selection from a
// context node. Names and texts come and go in the process code page. A node keeps its document alive.
#include "platform/core/Exceptions.h"
#include "platform/core/Types.h"
#include <memory>
#include <vector>

struct _xmlNode;
struct _xmlDoc;

namespace qz {

QZ_EXCEPTION_CLASS(EXmlError, Exception); // operations on an empty node or document

enum TXmlNodeType {
    ntNone = 0,
    ntElement = 1,
    ntAttribute = 2,
    ntText = 3,
    ntCData = 4,
    ntProcessingInstruction = 7,
    ntComment = 8,
    ntDocument = 9
};

// The outcome of the last load: code 0 and an empty reason after success.
struct TXmlParseError {
    int ErrorCode = 0;
    AnsiString Reason;
    int Line = 0;
};

namespace detail {
struct XmlDocHolder;
}

class TXmlDocument;

class TXmlNode {
public:
    TXmlNode() = default;
    bool IsNull() const { return node_ == nullptr; }
    explicit operator bool() const { return node_ != nullptr; }
    bool operator==(const TXmlNode& other) const { return node_ == other.node_; }

    TXmlNodeType NodeType() const;
    // The qualified name ("prefix:name"); "#text", "#comment" and "#document" for those nodes.
    AnsiString NodeName() const;
    // Attributes: the value; elements: the text of all descendants; others: their content.
    AnsiString Text() const;
    void SetText(const AnsiString& value);

    // Attribute nodes of an element in document order; none for other nodes.
    std::vector<TXmlNode> Attributes() const;
    TXmlNode AttributeNode(const AnsiString& name) const;
    // "" when the element has no such attribute.
    AnsiString GetAttribute(const AnsiString& name) const;
    void SetAttribute(const AnsiString& name, const AnsiString& value);

    std::vector<TXmlNode> ChildNodes() const;
    TXmlNode ParentNode() const;
    // The document the node belongs to.
    TXmlDocument OwnerDocument() const;
    // Appends child (a node of the same document, taken from where it was) as the last child.
    TXmlNode AppendChild(const TXmlNode& child);

    // XPath with this node as the context node; an expression that does not compile, or does not give
    // nodes, selects nothing.
    std::vector<TXmlNode> SelectNodes(const AnsiString& xpath) const;
    TXmlNode SelectSingleNode(const AnsiString& xpath) const;

    // The node as XML text, in the process code page.
    AnsiString Xml() const;

private:
    friend class TXmlDocument;
    TXmlNode(std::shared_ptr<detail::XmlDocHolder> doc, _xmlNode* node) : doc_(std::move(doc)), node_(node) {}
    void Check() const;

    std::shared_ptr<detail::XmlDocHolder> doc_;
    _xmlNode* node_ = nullptr;
};

// A document; copies share it.
class TXmlDocument {
public:
    // An empty document (no document element).
    TXmlDocument();

    // Loads a file in the encoding its declaration names (UTF-8 without one). False when it is missing
    // or not well-formed; ParseError then tells why and the document is empty.
    bool Load(const AnsiString& fileName);
    // Loads a text of the process code page; a declared encoding is not looked at.
    bool LoadXML(const AnsiString& text);
    const TXmlParseError& ParseError() const { return parseError_; }

    TXmlNode DocumentElement() const;
    // Makes element the document element, replacing any former one.
    void SetDocumentElement(const TXmlNode& element);
    // A new element of this document, not yet placed.
    TXmlNode CreateElement(const AnsiString& name);
    // XPath with the document as context node.
    std::vector<TXmlNode> SelectNodes(const AnsiString& xpath) const;
    TXmlNode SelectSingleNode(const AnsiString& xpath) const;
    // The document element as XML text ("" without one).
    AnsiString Xml() const;

private:
    friend class TXmlNode;
    explicit TXmlDocument(std::shared_ptr<detail::XmlDocHolder> doc) : doc_(std::move(doc)) {}
    TXmlNode DocumentNode() const;
    void Fail(int code, const AnsiString& reason, int line);

    std::shared_ptr<detail::XmlDocHolder> doc_;
    TXmlParseError parseError_;
};

// True when the text is an XML name (a tag or attribute name; no blanks, no XPath operators).
bool IsXmlName(const AnsiString& name);

// The names of the platform's DOM interfaces.
using IXMLDOMNode = TXmlNode;
using IXMLDOMDocument = TXmlDocument;

} // namespace qz
