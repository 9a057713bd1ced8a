// XSLT transforms (parameters, quoting, failures, sandbox) and the language filter.

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

#include "base/collections/MapStringToString.h"
#include "base/text/SafeBuf.h"
#include "base/xml/Xml.h"

#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"
#include "tests/common/XmlDoc.h"

using qmtest::FromUtf8;
using qmtest::LowBytes; // a transform result carries UTF-8 one byte per character
using qmtest::ToUtf8;
using qmtest::XmlDoc;

namespace {

const char* kSheetHead = "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>";

// A style sheet declaring parameters p1..p30 (default "-") and writing them
// as <v n='i'>value</v>.
CSafeBuf ParamSheet()
{
    std::string s = kSheetHead;
    for (int i = 1; i <= 30; ++i)
        s += "<xsl:param name='p" + std::to_string(i) + "'>-</xsl:param>";
    s += "<xsl:template match='/'><out>";
    for (int i = 1; i <= 30; ++i)
        s += "<v n='" + std::to_string(i) + "'><xsl:value-of select='$p" + std::to_string(i) + "'/></v>";
    s += "</out></xsl:template></xsl:stylesheet>";
    return FromUtf8(s.c_str());
}

std::string Value(xmlDoc* doc, int n)
{
    CSafeBuf v;
    std::string key = std::to_string(n);
    GetNodeValue("v", v, GetRootElement(doc), 0, "n", FromUtf8(key.c_str()));
    return ToUtf8(v);
}

} // namespace

TEST(XmlTransform, PassesTheFirstTwentyFiveNamedParametersInMapOrder)
{
    CMapStringToString params;
    for (int i = 1; i <= 30; ++i) {
        std::string name = "p" + std::to_string(i);
        params.SetAt(name.c_str(), FromUtf8(("v" + std::to_string(i)).c_str()));
        if (i == 3)
            params.SetAt("", FromUtf8("skipped")); // an empty name does not count
    }
    CSafeBuf xml("<in/>");
    CSafeBuf error;
    ASSERT_TRUE(TransformXML(xml, ParamSheet(), &error, &params, "xmlns:xsl='...'"));
    EXPECT_TRUE(error.IsEmpty());
    XmlDoc out(xml);
    ASSERT_NE(out.doc, nullptr) << LowBytes(xml);
    for (int i = 1; i <= 25; ++i)
        EXPECT_EQ(Value(out.doc, i), "v" + std::to_string(i)) << i;
    for (int i = 26; i <= 30; ++i)
        EXPECT_EQ(Value(out.doc, i), "-") << i;
}

TEST(XmlTransform, ParameterValuesArriveAsLiteralStrings)
{
    CMapStringToString params;
    params.SetAt("p1", FromUtf8("He said \"it's\" twice"));
    params.SetAt("p2", FromUtf8("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"));
    params.SetAt("p3", FromUtf8("<&> 1+1 //x")); // never evaluated as XPath
    params.SetAt("p4", FromUtf8(""));
    CSafeBuf xml("<in/>");
    ASSERT_TRUE(
        TransformXML(xml, ParamSheet(), nullptr, &params, static_cast<const unsigned short*>(nullptr)));

    // The result is the library's UTF-8 dump, with declaration, one byte per character.
    std::string bytes = LowBytes(xml);
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << bytes;
    EXPECT_NE(bytes.find("caf\xc3\xa9"), std::string::npos) << bytes;

    XmlDoc out(xml);
    ASSERT_NE(out.doc, nullptr) << bytes;
    EXPECT_EQ(Value(out.doc, 1), "He said \"it's\" twice");
    EXPECT_EQ(Value(out.doc, 2), "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80");
    EXPECT_EQ(Value(out.doc, 3), "<&> 1+1 //x");
    EXPECT_EQ(Value(out.doc, 4), "");
}

TEST(XmlTransform, FailuresLeaveTheInputAndExplainParseErrors)
{
    CSafeBuf error;
    CSafeBuf xml("<in><unclosed></in>");
    EXPECT_FALSE(TransformXML(xml, ParamSheet(), &error));
    EXPECT_EQ(ToUtf8(xml), "<in><unclosed></in>");
    EXPECT_EQ(ToUtf8(error).rfind("Incorrect XML<br />Reason: ", 0), 0u) << ToUtf8(error);

    // A style sheet that is not well-formed.
    xml = "<in/>";
    EXPECT_FALSE(TransformXML(xml, FromUtf8("<xsl:stylesheet"), &error));
    EXPECT_EQ(ToUtf8(xml), "<in/>");
    EXPECT_FALSE(error.IsEmpty());

    // Well-formed but no style sheet: the failure comes later, no error text.
    EXPECT_FALSE(TransformXML(xml, FromUtf8("<notxslt/>"), &error));
    EXPECT_EQ(ToUtf8(xml), "<in/>");
    EXPECT_TRUE(error.IsEmpty());

    // A run-time error of the style sheet.
    std::string sheet = std::string(kSheetHead)
        + "<xsl:template match='/'><xsl:message terminate='yes'>stop</xsl:message>"
          "</xsl:template></xsl:stylesheet>";
    EXPECT_FALSE(TransformXML(xml, FromUtf8(sheet.c_str()), &error));
    EXPECT_EQ(ToUtf8(xml), "<in/>");
}

namespace {

// A template that calls itself twice at every level below depth: about
// 2^(depth + 2) steps, each call making one <x/>.
CSafeBuf DoublingSheet(int depth)
{
    std::string s = std::string(kSheetHead)
        + "<xsl:template match='/'><out><xsl:call-template name='t'/></out></xsl:template>"
          "<xsl:template name='t'><xsl:param name='d' select='0'/>"
          "<xsl:if test='$d &lt; "
        + std::to_string(depth)
        + "'><x/>"
          "<xsl:call-template name='t'><xsl:with-param name='d' select='$d + 1'/></xsl:call-template>"
          "<xsl:call-template name='t'><xsl:with-param name='d' select='$d + 1'/></xsl:call-template>"
          "</xsl:if></xsl:template></xsl:stylesheet>";
    return FromUtf8(s.c_str());
}

} // namespace

TEST(XmlTransform, ARunawayStyleSheetIsStoppedAndFails)
{
    // 2^10 - 1 calls make as many elements: far within the limit.
    CSafeBuf xml("<in/>");
    ASSERT_TRUE(TransformXML(xml, DoublingSheet(10)));
    XmlDoc out(xml);
    ASSERT_NE(out.doc, nullptr);
    libIXMLDOMNodeList* list = nullptr;
    ASSERT_TRUE(SelectNodes(out.doc, "//x", &list));
    EXPECT_EQ(list->GetLength(), 1023);
    list->Release();

    // About 16 million steps (the same sheet with a few more levels would
    // run for days): the transform is stopped at the limit and fails.
    xml = "<in/>";
    CSafeBuf error("earlier");
    EXPECT_FALSE(TransformXML(xml, DoublingSheet(22), &error));
    EXPECT_EQ(ToUtf8(xml), "<in/>");
    EXPECT_TRUE(error.IsEmpty());
}

TEST(XmlTransform, StyleSheetsCannotWriteFilesOrReachTheNetwork)
{
    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("xslt-")));
    const std::string target = scratch.Path() + "/written.xml";
    std::string sheet = std::string(kSheetHead) + "<xsl:template match='/'><out/><xsl:document href='"
        + target + "'><x/></xsl:document></xsl:template></xsl:stylesheet>";
    // Writing a file is refused, which ends the transform.
    CSafeBuf xml("<in/>");
    EXPECT_FALSE(TransformXML(xml, FromUtf8(sheet.c_str())));
    EXPECT_EQ(ToUtf8(xml), "<in/>");
    struct stat st;
    EXPECT_NE(::stat(target.c_str(), &st), 0) << "the style sheet wrote a file";

    sheet = std::string(kSheetHead)
        + "<xsl:template match='/'><out><xsl:value-of "
          "select=\"count(document('http://127.0.0.1:9/x.xml'))\"/>"
          "</out></xsl:template></xsl:stylesheet>";
    // Reading from the network is refused, which ends the transform.
    xml = "<in/>";
    EXPECT_FALSE(TransformXML(xml, FromUtf8(sheet.c_str())));
    EXPECT_EQ(ToUtf8(xml), "<in/>");
}

TEST(XmlLangFilter, KeepsOneLanguageAndUnmarkedParts)
{
    CSafeBuf error;
    xmlDoc* doc = LoadXMLString(FromUtf8("<root a='1'><t xml:lang='en'>E</t><t xml:lang='de'>D</t><t>N</t>"
                                         "<g xml:lang='de'><t>inner</t></g><t xml:lang='en-GB'>GB</t>"
                                         "<h xml:lang='en'><t xml:lang='de'>x</t><t>in-en</t></h></root>"),
        &error);
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(LangFilter(doc, FromUtf8("en")));
    CSafeBuf markup;
    XMLGetNodeXML(GetRootElement(doc), markup);
    EXPECT_EQ(ToUtf8(markup), "<root a=\"1\"><t>E</t><t>N</t><t>GB</t><h><t>in-en</t></h></root>");
    XMLReleaseDom(doc);
}

TEST(XmlLangFilter, RootInAnotherLanguageLeavesNoRootAndNamespacesSurvive)
{
    xmlDoc* doc = LoadXMLString(FromUtf8("<root xml:lang='de'><t>D</t></root>"));
    ASSERT_TRUE(LangFilter(doc, FromUtf8("en")));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(GetRootElement(doc), nullptr);
    XMLReleaseDom(doc);

    doc = LoadXMLString(FromUtf8("<p:r xmlns:p='urn:p'><p:i xml:lang='fr'/><p:i/></p:r>"));
    ASSERT_TRUE(LangFilter(doc, FromUtf8("en")));
    xmlNode* root = GetRootElement(doc);
    ASSERT_NE(root, nullptr);
    CSafeBuf prefix, uri, name;
    MacGetTagName(root, name);
    EXPECT_EQ(ToUtf8(name), "p:r");
    ASSERT_TRUE(GetNamespaceInfo(root, &prefix, &uri));
    EXPECT_EQ(ToUtf8(uri), "urn:p");
    xmlNode* first = nullptr;
    XMLGetFirstChild(root, &first);
    EXPECT_EQ(XMLGetChildCount(first), 1);
    XMLReleaseDom(doc);

    // A language code holding markup characters cannot break the filter.
    // The code is compared as a whole: "en" followed by markup is another
    // language, so the English part goes and the unmarked one stays.
    doc = LoadXMLString(FromUtf8("<r><t xml:lang='en'>E</t><t>N</t></r>"));
    ASSERT_TRUE(LangFilter(doc, FromUtf8("en'\"<&>")));
    ASSERT_NE(GetRootElement(doc), nullptr);
    XMLGetNodeXML(GetRootElement(doc), name);
    EXPECT_EQ(ToUtf8(name), "<r><t>N</t></r>");
    XMLReleaseDom(doc);

    xmlDoc* none = nullptr;
    EXPECT_FALSE(LangFilter(none, FromUtf8("en")));
}
