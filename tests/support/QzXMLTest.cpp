#include "support/QzXML.h"
#include "platform/core/CodePages.h"

#include <gtest/gtest.h>

using namespace qz;

namespace {

const std::string kProlog = "<?xml version=\"1.0\" encoding=\"GB2312\"?>";
const std::string kDocType = "<!DOCTYPE SC[<!ENTITY stdd \"&amp;stdd;\">]>";

TEST(PrepareXMLText, MakesSureOfTheGbPrologAndTheStddDeclaration) {
    struct Case {
        std::string in, out;
    };
    const std::string withBoth = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE a><a/>";
    const std::string longProlog = "<?xml version=\"1.0\"" + std::string(100, ' ') + "?><a/>";
    const Case cases[] = {
        {"<a/>", kProlog + kDocType + "<a/>"},
        {"<?xml version=\"1.0\"?><a/>", kProlog + kDocType + "<a/>"},
        {"<?XML VERSION=\"1.0\"?><a/>", "<?XML VERSION=\"1.0\" encoding=\"GB2312\"?>" + kDocType + "<a/>"},
        {withBoth, withBoth},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><a/>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + kDocType + "<a/>"},
        {"<?xml version=\"1.0\"?><!DOCTYPE a><a/>", kProlog + "<!DOCTYPE a><a/>"},
        {"<!DOCTYPE a><a/>", kProlog + "<!DOCTYPE a><a/>"},
        {"", kProlog + kDocType},
        // A line break inside the prolog does not move the insertions.
        {"<?xml version=\"1.0\"\r\n?><a/>",
         "<?xml version=\"1.0\"\r\n encoding=\"GB2312\"?>" + kDocType + "<a/>"},
        // A prolog that does not end within the first 100 characters is left alone.
        {longProlog, longProlog},
    };
    for (const Case& c : cases) EXPECT_EQ(PrepareXMLText(c.in), c.out) << c.in;
}

TEST(LoadXMLDoc, ReadsStddBackAsTheReferenceAndGbTextsUnchanged) {
    IXMLDOMDocument doc = LoadXMLDoc(GB("<a t=\"x&stdd;y\" n=\"张三\">p&stdd;q</a>"));
    IXMLDOMNode root = doc.DocumentElement();
    ASSERT_TRUE(root);
    EXPECT_EQ(GetAttr(root, "t"), "x&stdd;y");
    EXPECT_EQ(GetAttr(root, "n"), GB("张三"));
    EXPECT_EQ(root.Text(), "p&stdd;q");
}

TEST(XMLDocFromText, ATextThatDoesNotParseGivesAnEmptyDocument) {
    for (const char* text : {"<a>", "", "<a>&stdd;</a>", "plain"}) {
        IXMLDOMDocument doc;
        ASSERT_NO_THROW(doc = XMLDocFromText(text)) << text;
        EXPECT_FALSE(doc.DocumentElement()) << text;
    }
    EXPECT_TRUE(XMLDocFromText("<a/>").DocumentElement());
    EXPECT_FALSE(NewXMLDoc().DocumentElement());
}

TEST(FindOrAddChild, FindsOrAppendsOneElement) {
    IXMLDOMDocument doc = LoadXMLDoc("<Root><R1 ID=\"a\"/><R1 ID=\"b\"/></Root>");
    IXMLDOMNode root = doc.DocumentElement();

    EXPECT_FALSE(FindOrAddChild(root, "R2", false));
    EXPECT_EQ(root.ChildNodes().size(), 2u);
    EXPECT_EQ(GetAttr(FindOrAddChild(root, "R1", true), "ID"), "a");
    EXPECT_EQ(GetAttr(FindOrAddChild(root, "R1[@ID='b']", false), "ID"), "b");

    IXMLDOMNode added = FindOrAddChild(root, "R2", true);
    ASSERT_TRUE(added);
    EXPECT_EQ(added.NodeName(), "R2");
    ASSERT_EQ(root.ChildNodes().size(), 3u);
    EXPECT_TRUE(root.ChildNodes().back() == added);
    EXPECT_TRUE(FindOrAddChild(root, "R2", true) == added);
    EXPECT_EQ(root.ChildNodes().size(), 3u);
}

TEST(Attributes, AbsentIsEmptySetReplacesAndErrorsReachTheCaller) {
    IXMLDOMDocument doc = LoadXMLDoc("<Root/>");
    IXMLDOMNode root = doc.DocumentElement();
    EXPECT_EQ(GetAttr(root, "Name"), "");
    SetAttr(root, "Name", GB("李四"));
    SetAttr(root, "Msg", "YN");
    SetAttr(root, "Msg", "NNY");
    EXPECT_EQ(GetAttr(root, "Name"), GB("李四"));
    EXPECT_EQ(GetAttr(root, "Msg"), "NNY");
    EXPECT_EQ(root.Attributes().size(), 2u);

    EXPECT_THROW(GetAttr(IXMLDOMNode(), "Name"), EXmlError);
    EXPECT_THROW(SetAttr(root, "bad name", "x"), EXmlError);
}

// A list built from an empty root and written out reads back the same.
TEST(LoadXMLDoc, ARecipientListRoundTrips) {
    IXMLDOMDocument doc = LoadXMLDoc(kProlog + "<Root/>");
    IXMLDOMNode root = doc.DocumentElement();
    for (int row : {1, 3}) {
        IXMLDOMNode r = FindOrAddChild(root, "R" + std::to_string(row), true);
        SetAttr(r, "ID", "u" + std::to_string(row));
        SetAttr(r, "Name", GB("王五") + "&<\"");
    }
    IXMLDOMDocument again = LoadXMLDoc(kProlog + root.Xml());
    IXMLDOMNode r3 = FindOrAddChild(again.DocumentElement(), "R3", false);
    ASSERT_TRUE(r3);
    EXPECT_EQ(GetAttr(r3, "ID"), "u3");
    EXPECT_EQ(GetAttr(r3, "Name"), GB("王五") + "&<\"");
    EXPECT_EQ(again.DocumentElement().ChildNodes().size(), 2u);
}

} // namespace
