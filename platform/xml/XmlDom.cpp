#include "platform/xml/XmlDom.h"

#include "platform/core/CodePages.h"

#include <algorithm>
#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>
#include <mutex>

namespace qz {

namespace detail {

// The document and the nodes taken out of it (created, replaced or cleared away), freed together.
struct XmlDocHolder {
    explicit XmlDocHolder(xmlDocPtr d) : doc(d) {}
    ~XmlDocHolder() {
        // Only the tops of the set-aside trees: the others go with them.
        std::vector<xmlNodePtr> tops;
        for (xmlNodePtr n : orphans)
            if (n->parent == nullptr) tops.push_back(n);
        for (xmlNodePtr n : tops) xmlFreeNode(n);
        xmlFreeDoc(doc);
    }
    XmlDocHolder(const XmlDocHolder&) = delete;
    XmlDocHolder& operator=(const XmlDocHolder&) = delete;

    void SetAside(xmlNodePtr n) {
        if (std::find(orphans.begin(), orphans.end(), n) == orphans.end()) orphans.push_back(n);
    }

    xmlDocPtr doc;
    std::vector<xmlNodePtr> orphans;
};

} // namespace detail

namespace {

void IgnoreStructured(void*, xmlErrorPtr) {}
void IgnoreGeneric(void*, const char*, ...) {}

// Parser set-up once per process (GB2312 read as its superset); errors never go to stderr.
void Prepare() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlAddEncodingAlias("GB18030", "GB2312");
    });
    // Error handlers are kept per thread.
    xmlSetStructuredErrorFunc(nullptr, IgnoreStructured);
    xmlSetGenericErrorFunc(nullptr, IgnoreGeneric);
}

AnsiString FromXml(const xmlChar* s) {
    return s ? Utf8ToAnsi(reinterpret_cast<const char*>(s)) : AnsiString();
}

AnsiString TakeXml(xmlChar* s) {
    AnsiString result = FromXml(s);
    if (s) xmlFree(s);
    return result;
}

const xmlChar* X(const AnsiString& utf8) {
    return reinterpret_cast<const xmlChar*>(utf8.c_str());
}

AnsiString QualifiedName(const xmlChar* name, xmlNsPtr ns) {
    AnsiString result = FromXml(name);
    if (ns && ns->prefix) result = FromXml(ns->prefix) + ":" + result;
    return result;
}

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

} // namespace

bool IsXmlName(const AnsiString& name) {
    AnsiString utf8 = AnsiToUtf8(name);
    return !utf8.empty() && xmlValidateName(X(utf8), 0) == 0;
}

// ---- TXmlNode

void TXmlNode::Check() const {
    if (!node_) throw EXmlError("The XML node is empty");
}

TXmlNodeType TXmlNode::NodeType() const {
    if (!node_) return ntNone;
    switch (node_->type) {
    case XML_ELEMENT_NODE: return ntElement;
    case XML_ATTRIBUTE_NODE: return ntAttribute;
    case XML_TEXT_NODE: return ntText;
    case XML_CDATA_SECTION_NODE: return ntCData;
    case XML_PI_NODE: return ntProcessingInstruction;
    case XML_COMMENT_NODE: return ntComment;
    case XML_DOCUMENT_NODE: return ntDocument;
    default: return ntNone;
    }
}

AnsiString TXmlNode::NodeName() const {
    Check();
    switch (node_->type) {
    case XML_ELEMENT_NODE: return QualifiedName(node_->name, node_->ns);
    case XML_ATTRIBUTE_NODE: {
        auto* a = reinterpret_cast<xmlAttrPtr>(node_);
        return QualifiedName(a->name, a->ns);
    }
    case XML_TEXT_NODE: return "#text";
    case XML_CDATA_SECTION_NODE: return "#cdata-section";
    case XML_COMMENT_NODE: return "#comment";
    case XML_DOCUMENT_NODE: return "#document";
    default: return FromXml(node_->name);
    }
}

AnsiString TXmlNode::Text() const {
    Check();
    return TakeXml(xmlNodeGetContent(node_));
}

void TXmlNode::SetText(const AnsiString& value) {
    Check();
    AnsiString utf8 = AnsiToUtf8(value);
    if (node_->type == XML_ATTRIBUTE_NODE) {
        auto* a = reinterpret_cast<xmlAttrPtr>(node_);
        if (a->parent) xmlSetNsProp(a->parent, a->ns, a->name, X(utf8));
        return;
    }
    if (node_->type == XML_ELEMENT_NODE) {
        // Children others may still hold are set aside, not freed.
        while (xmlNodePtr child = node_->children) {
            xmlUnlinkNode(child);
            doc_->SetAside(child);
        }
        xmlNodeAddContentLen(node_, X(utf8), static_cast<int>(utf8.size()));
        return;
    }
    xmlNodeSetContentLen(node_, X(utf8), static_cast<int>(utf8.size()));
}

std::vector<TXmlNode> TXmlNode::Attributes() const {
    Check();
    std::vector<TXmlNode> result;
    if (node_->type != XML_ELEMENT_NODE) return result;
    for (xmlAttrPtr a = node_->properties; a; a = a->next)
        result.push_back(TXmlNode(doc_, reinterpret_cast<xmlNodePtr>(a)));
    return result;
}

TXmlNode TXmlNode::AttributeNode(const AnsiString& name) const {
    Check();
    if (node_->type != XML_ELEMENT_NODE) return {};
    for (xmlAttrPtr a = node_->properties; a; a = a->next)
        if (QualifiedName(a->name, a->ns) == name) return TXmlNode(doc_, reinterpret_cast<xmlNodePtr>(a));
    return {};
}

AnsiString TXmlNode::GetAttribute(const AnsiString& name) const {
    TXmlNode a = AttributeNode(name);
    return a ? a.Text() : AnsiString();
}

void TXmlNode::SetAttribute(const AnsiString& name, const AnsiString& value) {
    Check();
    if (node_->type != XML_ELEMENT_NODE) throw EXmlError("Attributes belong to elements");
    if (TXmlNode a = AttributeNode(name)) {
        a.SetText(value);
        return;
    }
    if (!IsXmlName(name)) throw EXmlError("Invalid XML name: " + name);
    xmlSetProp(node_, X(AnsiToUtf8(name)), X(AnsiToUtf8(value)));
}

std::vector<TXmlNode> TXmlNode::ChildNodes() const {
    Check();
    std::vector<TXmlNode> result;
    if (node_->type == XML_ATTRIBUTE_NODE) return result;
    for (xmlNodePtr c = node_->children; c; c = c->next) result.push_back(TXmlNode(doc_, c));
    return result;
}

TXmlNode TXmlNode::ParentNode() const {
    Check();
    if (node_->type == XML_ATTRIBUTE_NODE || !node_->parent) return {};
    return TXmlNode(doc_, node_->parent);
}

TXmlNode TXmlNode::AppendChild(const TXmlNode& child) {
    Check();
    child.Check();
    if (child.doc_ != doc_) throw EXmlError("The node belongs to another document");
    if (child.node_->type != XML_ELEMENT_NODE && child.node_->type != XML_COMMENT_NODE)
        throw EXmlError("Only elements and comments can be appended");
    if (node_->type != XML_ELEMENT_NODE) throw EXmlError("Only elements take children");
    for (xmlNodePtr n = node_; n; n = n->parent)
        if (n == child.node_) throw EXmlError("A node cannot be appended below itself");
    xmlUnlinkNode(child.node_);
    xmlAddChild(node_, child.node_);
    return child;
}

std::vector<TXmlNode> TXmlNode::SelectNodes(const AnsiString& xpath) const {
    Check();
    Prepare();
    std::vector<TXmlNode> result;
    xmlXPathContextPtr ctx = xmlXPathNewContext(doc_->doc);
    if (!ctx) return result;
    ctx->node = node_;
    ctx->error = IgnoreStructured;
    AnsiString utf8 = AnsiToUtf8(xpath);
    if (xmlXPathObjectPtr res = xmlXPathEvalExpression(X(utf8), ctx)) {
        if (res->type == XPATH_NODESET && res->nodesetval)
            for (int i = 0; i < res->nodesetval->nodeNr; ++i) {
                xmlNodePtr n = res->nodesetval->nodeTab[i];
                if (n && n->type != XML_NAMESPACE_DECL) result.push_back(TXmlNode(doc_, n));
            }
        xmlXPathFreeObject(res);
    }
    xmlXPathFreeContext(ctx);
    return result;
}

TXmlNode TXmlNode::SelectSingleNode(const AnsiString& xpath) const {
    std::vector<TXmlNode> nodes = SelectNodes(xpath);
    return nodes.empty() ? TXmlNode() : nodes.front();
}

AnsiString TXmlNode::Xml() const {
    Check();
    // Written as UTF-8 (not as character references), then turned into the process code page.
    xmlOutputBufferPtr out = xmlAllocOutputBuffer(nullptr);
    if (!out) throw EXmlError("Out of memory");
    // Without a document encoding attribute values would come out as character references.
    xmlDocPtr d = doc_->doc;
    const bool noEncoding = d->encoding == nullptr;
    if (noEncoding) d->encoding = xmlStrdup(reinterpret_cast<const xmlChar*>("UTF-8"));
    xmlNodeDumpOutput(out, d, node_, 0, 0, "UTF-8");
    if (noEncoding) {
        xmlFree(const_cast<xmlChar*>(d->encoding));
        d->encoding = nullptr;
    }
    xmlOutputBufferFlush(out);
    AnsiString result(reinterpret_cast<const char*>(xmlOutputBufferGetContent(out)),
                      xmlOutputBufferGetSize(out));
    xmlOutputBufferClose(out);
    return Utf8ToAnsi(result);
}

// ---- TXmlDocument

TXmlDocument::TXmlDocument() {
    Prepare();
    doc_ = std::make_shared<detail::XmlDocHolder>(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
}

void TXmlDocument::Fail(int code, const AnsiString& reason, int line) {
    parseError_.ErrorCode = code ? code : -1;
    parseError_.Reason = reason.empty() ? AnsiString("The document could not be loaded") : reason;
    parseError_.Line = line;
    while (!parseError_.Reason.empty() &&
           (parseError_.Reason.back() == '\n' || parseError_.Reason.back() == '\r'))
        parseError_.Reason.pop_back();
    doc_ = std::make_shared<detail::XmlDocHolder>(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
}

namespace {

// Runs one parse; the document, or nullptr with the parser's error.
template <class Read> xmlDocPtr Parse(Read read, int& code, AnsiString& reason, int& line) {
    Prepare();
    xmlResetLastError();
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt) {
        code = -1;
        reason = "Out of memory";
        return nullptr;
    }
    xmlDocPtr d = read(ctxt);
    if (d && !ctxt->wellFormed) {
        xmlFreeDoc(d);
        d = nullptr;
    }
    if (!d) {
        xmlErrorPtr e = xmlCtxtGetLastError(ctxt);
        if (!e || e->code == 0) e = xmlGetLastError();
        code = e ? e->code : -1;
        reason = e && e->message ? AnsiString(e->message) : AnsiString();
        line = e ? e->line : 0;
    }
    xmlFreeParserCtxt(ctxt);
    return d;
}

} // namespace

bool TXmlDocument::Load(const AnsiString& fileName) {
    int code = 0, line = 0;
    AnsiString reason;
    xmlDocPtr d = Parse(
        [&](xmlParserCtxtPtr ctxt) {
            return xmlCtxtReadFile(ctxt, fileName.c_str(), nullptr, kParseOptions);
        },
        code, reason, line);
    if (!d) {
        Fail(code, reason, line);
        return false;
    }
    doc_ = std::make_shared<detail::XmlDocHolder>(d);
    parseError_ = {};
    return true;
}

bool TXmlDocument::LoadXML(const AnsiString& text) {
    AnsiString utf8 = AnsiToUtf8(text);
    int code = 0, line = 0;
    AnsiString reason;
    xmlDocPtr d = Parse(
        [&](xmlParserCtxtPtr ctxt) {
            return xmlCtxtReadMemory(ctxt, utf8.data(), static_cast<int>(utf8.size()), nullptr, "UTF-8",
                                     kParseOptions | XML_PARSE_IGNORE_ENC);
        },
        code, reason, line);
    if (!d) {
        Fail(code, reason, line);
        return false;
    }
    doc_ = std::make_shared<detail::XmlDocHolder>(d);
    parseError_ = {};
    return true;
}

TXmlNode TXmlDocument::DocumentNode() const {
    return TXmlNode(doc_, reinterpret_cast<xmlNodePtr>(doc_->doc));
}

TXmlNode TXmlDocument::DocumentElement() const {
    xmlNodePtr root = xmlDocGetRootElement(doc_->doc);
    return root ? TXmlNode(doc_, root) : TXmlNode();
}

void TXmlDocument::SetDocumentElement(const TXmlNode& element) {
    element.Check();
    if (element.doc_ != doc_) throw EXmlError("The node belongs to another document");
    if (element.node_->type != XML_ELEMENT_NODE) throw EXmlError("The document element must be an element");
    if (element.node_ == xmlDocGetRootElement(doc_->doc)) return;
    xmlUnlinkNode(element.node_);
    if (xmlNodePtr old = xmlDocSetRootElement(doc_->doc, element.node_)) doc_->SetAside(old);
}

TXmlNode TXmlDocument::CreateElement(const AnsiString& name) {
    if (!IsXmlName(name)) throw EXmlError("Invalid XML name: " + name);
    AnsiString utf8 = AnsiToUtf8(name);
    xmlNodePtr n = xmlNewDocNode(doc_->doc, nullptr, X(utf8), nullptr);
    if (!n) throw EXmlError("Out of memory");
    doc_->SetAside(n);
    return TXmlNode(doc_, n);
}

std::vector<TXmlNode> TXmlDocument::SelectNodes(const AnsiString& xpath) const {
    return DocumentNode().SelectNodes(xpath);
}

TXmlNode TXmlDocument::SelectSingleNode(const AnsiString& xpath) const {
    return DocumentNode().SelectSingleNode(xpath);
}

AnsiString TXmlDocument::Xml() const {
    TXmlNode root = DocumentElement();
    return root ? root.Xml() : AnsiString();
}

TXmlDocument TXmlNode::OwnerDocument() const { return TXmlDocument(doc_); }

} // namespace qz
