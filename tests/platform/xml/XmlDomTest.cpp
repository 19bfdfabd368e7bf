#include "platform/xml/XmlDom.h"

#include "platform/core/CodePages.h"
#include "platform/os/System.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

using namespace qz;

namespace {

class XmlFile {
public:
    explicit XmlFile(const std::string& bytes) : name_(CreateTempFile("qzxml")) {
        std::ofstream(name_, std::ios::binary) << bytes;
    }
    ~XmlFile() { std::remove(name_.c_str()); }
    const std::string& name() const { return name_; }

private:
    std::string name_;
};

std::vector<AnsiString> Names(const std::vector<TXmlNode>& nodes) {
    std::vector<AnsiString> names;
    for (const TXmlNode& n : nodes) names.push_back(n.NodeName());
    return names;
}

} // namespace

TEST(XmlDom, FileTextsComeBackInTheProcessCodePage) {
    // 镕 is in GBK only; a file declaring GB2312 must still read it.
    const AnsiString gbText = GB("朱镕基的报表");
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"GB2312 declared", "<?xml version=\"1.0\" encoding=\"GB2312\"?><a t=\"" + gbText + "\"/>"},
        {"gb2312 in lower case", "<?xml version=\"1.0\" encoding=\"gb2312\"?><a t=\"" + gbText + "\"/>"},
        {"GBK declared", "<?xml version=\"1.0\" encoding=\"GBK\"?><a t=\"" + gbText + "\"/>"},
        {"UTF-8 without declaration", "<a t=\"" + std::string("朱镕基的报表") + "\"/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        XmlFile file(c.bytes);
        TXmlDocument doc;
        ASSERT_TRUE(doc.Load(file.name())) << doc.ParseError().Reason;
        EXPECT_EQ(doc.ParseError().ErrorCode, 0);
        EXPECT_EQ(doc.DocumentElement().GetAttribute("t"), gbText);
    }
}

TEST(XmlDom, TextsFollowTheProcessCodePage) {
    SetSystemCodePage(CP_BIG5);
    XmlFile file("<?xml version=\"1.0\" encoding=\"GB2312\"?><a t=\"" + GB("文件") + "\"/>");
    TXmlDocument doc;
    ASSERT_TRUE(doc.Load(file.name()));
    EXPECT_EQ(doc.DocumentElement().GetAttribute("t"), ConvertCodePage(GB("文件"), CP_GB, CP_BIG5));
    SetSystemCodePage(0);
}

TEST(XmlDom, LoadFailuresCarryTheParsersReason) {
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"tags that do not match", "<a><b></a>"},
        {"two document elements", "<a/><b/>"},
        {"bytes the declared encoding lacks",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a t=\"\xff\xfe\"/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        XmlFile file(c.bytes);
        TXmlDocument doc;
        EXPECT_FALSE(doc.Load(file.name()));
        EXPECT_NE(doc.ParseError().ErrorCode, 0);
        EXPECT_FALSE(doc.ParseError().Reason.empty());
        EXPECT_NE(doc.ParseError().Reason.back(), '\n');
        EXPECT_TRUE(doc.DocumentElement().IsNull());
    }
    TXmlDocument doc;
    EXPECT_FALSE(doc.Load("/nonexistent/qz/file.xml"));
    EXPECT_NE(doc.ParseError().ErrorCode, 0);

    // A later good load clears the error.
    XmlFile good("<a/>");
    EXPECT_TRUE(doc.Load(good.name()));
    EXPECT_EQ(doc.ParseError().ErrorCode, 0);
    EXPECT_TRUE(doc.ParseError().Reason.empty());
}

TEST(XmlDom, AttributesKeepDocumentOrder) {
    TXmlDocument doc;
    ASSERT_TRUE(doc.LoadXML("<a z=\"1\" a=\"2\" m=\"3\" x:q=\"4\" xmlns:x=\"urn:x\"><b/></a>"));
    std::vector<TXmlNode> attrs = doc.DocumentElement().Attributes();
    EXPECT_EQ(Names(attrs), (std::vector<AnsiString>{"z", "a", "m", "x:q"}));
    EXPECT_EQ(attrs[2].NodeType(), ntAttribute);
    EXPECT_EQ(attrs[2].Text(), "3");
    EXPECT_TRUE(doc.DocumentElement().ChildNodes()[0].Attributes().empty());
}

TEST(XmlDom, XPathUsesItsContextNode) {
    TXmlDocument doc;
    ASSERT_TRUE(doc.LoadXML("<r><a><b n=\"1\"/></a><b n=\"2\" Msg=\"m\"/><c><b n=\"3\"/></c></r>"));
    TXmlNode a = doc.DocumentElement().SelectSingleNode("a");
    ASSERT_FALSE(a.IsNull());
    struct Case {
        const char* xpath;
        TXmlNode context;
        std::vector<AnsiString> values;
    } cases[] = {
        {"b/@n", a, {"1"}},      {"//b/@n", a, {"1", "2", "3"}},
        {"../c/b/@n", a, {"3"}}, {"//b/@Msg", doc.DocumentElement(), {"m"}},
        {"//nothing", a, {}},    {"//b[", a, {}}, // does not compile
        {"count(//b)", a, {}},                    // not nodes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xpath);
        std::vector<AnsiString> values;
        for (const TXmlNode& n : c.context.SelectNodes(c.xpath)) values.push_back(n.Text());
        EXPECT_EQ(values, c.values);
    }
    EXPECT_EQ(doc.SelectSingleNode("//b").GetAttribute("n"), "1");
    EXPECT_EQ(doc.SelectSingleNode("r/c/b").GetAttribute("n"), "3");
}

TEST(XmlDom, TextLoadIgnoresTheDeclaredEncoding) {
    TXmlDocument doc;
    ASSERT_TRUE(doc.LoadXML("<?xml version=\"1.0\" encoding=\"GB2312\"?><a t=\"" + GB("镕") + "\">" +
                            GB("文") + "</a>"));
    EXPECT_EQ(doc.DocumentElement().GetAttribute("t"), GB("镕"));
    EXPECT_EQ(doc.DocumentElement().Text(), GB("文"));
    EXPECT_FALSE(doc.LoadXML("<a>"));
    EXPECT_NE(doc.ParseError().ErrorCode, 0);
}

TEST(XmlDom, BuildsAndChangesDocuments) {
    TXmlDocument doc;
    EXPECT_TRUE(doc.DocumentElement().IsNull());
    TXmlNode root = doc.CreateElement("Users");
    doc.SetDocumentElement(root);
    TXmlNode user = root.AppendChild(doc.CreateElement("User"));
    user.SetAttribute("Name", GB("张三"));
    user.SetAttribute("Id", "1");
    user.SetAttribute("Name", GB("李四 & <x>"));
    EXPECT_EQ(Names(user.Attributes()), (std::vector<AnsiString>{"Name", "Id"}));
    EXPECT_EQ(doc.Xml(), "<Users><User Name=\"" + GB("李四 &amp; &lt;x&gt;") + "\" Id=\"1\"/></Users>");
    EXPECT_EQ(doc.SelectSingleNode("//User/@Name").Text(), GB("李四 & <x>"));

    // Nodes held elsewhere survive the text replacing them and the document element replaced.
    user.SetText("&amp; text");
    EXPECT_EQ(user.Text(), "&amp; text");
    root.SetText("plain");
    EXPECT_EQ(user.GetAttribute("Id"), "1");
    EXPECT_TRUE(user.ParentNode().IsNull());
    TXmlNode other = doc.CreateElement("Other");
    doc.SetDocumentElement(other);
    EXPECT_EQ(doc.Xml(), "<Other/>");
    EXPECT_EQ(root.Text(), "plain");

    EXPECT_THROW(doc.CreateElement("bad name"), EXmlError);
    for (const char* name : {"", "a b", "*", "a|//b", "1a"}) EXPECT_FALSE(IsXmlName(name)) << name;
    EXPECT_TRUE(IsXmlName("sOption"));
    EXPECT_TRUE(IsXmlName(GB("名称")));
    EXPECT_THROW(other.AppendChild(other), EXmlError);
    TXmlDocument second;
    EXPECT_THROW(other.AppendChild(second.CreateElement("x")), EXmlError);
    EXPECT_THROW(TXmlNode().Text(), EXmlError);
}

TEST(XmlDom, NodesKeepTheirDocumentAlive) {
    TXmlNode b;
    {
        TXmlDocument doc;
        ASSERT_TRUE(doc.LoadXML("<a><b k=\"v\"/></a>"));
        b = doc.SelectSingleNode("//b");
    }
    EXPECT_EQ(b.NodeName(), "b");
    EXPECT_EQ(b.GetAttribute("k"), "v");
    EXPECT_EQ(b.ParentNode().NodeName(), "a");
}
