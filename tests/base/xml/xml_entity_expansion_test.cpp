// Expanding a document's own entities in place (XmlExpandEntities): what is
// put where the references stood, what stays, and the bounds.

#include <gtest/gtest.h>

#include <string>

#include "base/text/SafeBuf.h"
#include "base/xml/Xml.h"
#include "base/xml/XmlEntityExpansion.h"

#include "tests/common/TextHelpers.h"
#include "tests/common/XmlDoc.h"

using qmtest::ToUtf8;
using qmtest::XmlDoc;

namespace {

std::string Markup(xmlNode* node)
{
    CSafeBuf markup;
    XMLGetNodeXML(node, markup);
    return ToUtf8(markup);
}

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

} // namespace

TEST(XmlEntityExpansion, PutsTextAndElementsInPlaceAndJoinsTheTexts)
{
    XmlDoc d("<!DOCTYPE r [<!ENTITY t 'T'><!ENTITY n 'a&t;b'><!ENTITY e '<b>&n;</b>'>"
             "<!ENTITY x SYSTEM 'http://127.0.0.1:9/x.xml'>]>"
             "<r v='1&n;2'>x&n;y<i>&e;</i>&x;&t;</r>");
    ASSERT_NE(d.doc, nullptr) << ToUtf8(d.error);
    CSafeBuf error;
    ASSERT_TRUE(XmlExpandEntities(d.doc, 1000, &error));
    EXPECT_TRUE(error.IsEmpty());
    // The external entity is never fetched: its reference stays.
    EXPECT_EQ(Markup(d.Root()), "<r v=\"1aTb2\">xaTby<i><b>aTb</b></i>&x;T</r>");
    // One text where the references stood, and one in the value.
    xmlNode* first = d.Root()->children;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->type, XML_TEXT_NODE);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(first->content)), "xaTby");
    CSafeBuf value;
    ASSERT_TRUE(FindAttribute("v", value, d.Root()));
    EXPECT_EQ(ToUtf8(value), "1aTb2");
}

TEST(XmlEntityExpansion, StopsAtTheBudgetWithTheLineOfTheReference)
{
    // Three references to ten bytes cost 30.
    const std::string text = "<!DOCTYPE r [<!ENTITY t '0123456789'>]>\n<r>\n<p>&t;&t;&t;</p></r>";
    {
        XmlDoc d(text.c_str());
        ASSERT_NE(d.doc, nullptr);
        EXPECT_TRUE(XmlExpandEntities(d.doc, 30, nullptr));
    }
    XmlDoc d(text.c_str());
    ASSERT_NE(d.doc, nullptr);
    CSafeBuf error;
    EXPECT_FALSE(XmlExpandEntities(d.doc, 29, &error));
    EXPECT_EQ(ToUtf8(error),
        "Incorrect XML<br />Reason: the document's entities expand beyond the size allowed for it\n"
        "<br />Line: 3");

    // Each element put in place costs 64 beside the length: "<b/>" 68.
    const std::string elements = "<!DOCTYPE r [<!ENTITY b '<b/>'>]><r>&b;&b;</r>";
    for (size_t budget : {136, 135}) {
        XmlDoc b(elements.c_str());
        ASSERT_NE(b.doc, nullptr);
        EXPECT_EQ(XmlExpandEntities(b.doc, budget, nullptr), budget == 136) << budget;
    }

    // Empty entities cost one a reference.
    XmlDoc empty(("<!DOCTYPE r [<!ENTITY z ''>]><r a='&z;&z;'>" + Repeat("&z;", 8) + "</r>").c_str());
    ASSERT_NE(empty.doc, nullptr);
    EXPECT_FALSE(XmlExpandEntities(empty.doc, 9, nullptr));
}

TEST(XmlEntityExpansion, ElementsNestNoDeeperThanTheParserAllows)
{
    // Each entity nests 200 elements, which the parser allows; together
    // they nest 400.
    const std::string inner = Repeat("<b>", 200) + "x" + Repeat("</b>", 200);
    const std::string outer = Repeat("<i>", 200) + "&in;" + Repeat("</i>", 200);
    XmlDoc d(
        ("<!DOCTYPE r [<!ENTITY in '" + inner + "'><!ENTITY out '" + outer + "'>]><r>&out;</r>").c_str());
    ASSERT_NE(d.doc, nullptr) << ToUtf8(d.error);
    CSafeBuf error;
    EXPECT_FALSE(XmlExpandEntities(d.doc, 1 << 20, &error));
    EXPECT_NE(ToUtf8(error).find("nest elements too deeply"), std::string::npos) << ToUtf8(error);
}

TEST(XmlEntityExpansion, ElementsTakeTheNamespacesInForceWhereTheyStand)
{
    // The parser reads the entity apart from its place: without the
    // expansion, b and h:k would be written with empty declarations.
    XmlDoc d("<!DOCTYPE r [<!ENTITY e \"<b><i>x</i><h:k>y</h:k><q:z xmlns:q='urn:q'/></b>\">]>"
             "<r xmlns='urn:r' xmlns:h='urn:h'>&e;<s xmlns='urn:s'>&e;</s></r>");
    ASSERT_NE(d.doc, nullptr) << ToUtf8(d.error);
    ASSERT_TRUE(XmlExpandEntities(d.doc, 1000, nullptr));
    EXPECT_EQ(Markup(d.Root()),
        "<r xmlns=\"urn:r\" xmlns:h=\"urn:h\"><b><i>x</i><h:k>y</h:k><q:z xmlns:q=\"urn:q\"/></b>"
        "<s xmlns=\"urn:s\"><b><i>x</i><h:k>y</h:k><q:z xmlns:q=\"urn:q\"/></b></s></r>");
    xmlNode* b = d.Root()->children;
    ASSERT_NE(b, nullptr);
    ASSERT_NE(b->ns, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b->ns->href)), "urn:r");
}
