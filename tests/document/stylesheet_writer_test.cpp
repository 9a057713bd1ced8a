// The working rule list written back as style sheet text: the layout of the
// text, addresses resolved against the document's base, and the CDATA form
// for text that markup would not take as it stands.

#include "document/XDoc.h"

#include "base/xml/XmlLoad.h"
#include "base/xml/XmlNavigate.h"
#include "editor/XHTML.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>
#include <libxml/tree.h>

#include <string>

namespace {

using qmtest::FromUtf8;
using qmtest::Utf8;

std::string Written(const char* sheet, const char* base)
{
    CXHTML engine;
    engine.m_doc.m_baseURL = FromUtf8(base);
    if (*sheet) {
        EXPECT_TRUE(engine.m_doc.LoadStyleClass(FromUtf8(sheet), 0, false, 0)) << sheet;
    }
    CSafeBuf out = FromUtf8("stale");
    engine.m_doc.StyleXML2HTML(out);
    return Utf8(out);
}

const char kPlaceholder[] = "X {Y:Z}\n\r";
const std::string kCdata = std::string("<![CDATA[") + kPlaceholder;

// What an XML reader makes of line ends: CR LF and a lone CR become LF.
std::string XmlLineEnds(std::string text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

TEST(StyleSheetWriter, RulesAndDeclarations)
{
    struct Case
    {
        const char* sheet;
        const char* base;
        const char* expected;
    };
    const Case cases[] = {
        {"", "http://h/d/", ""},
        {"p{color:red}", "", "\tp {\r\n\t\tcolor:red;\r\n\t}\r\n"},
        {"h1, h2 { margin-left: 4px; font-weight: bold } em {}", "",
            "\th1, h2 {\r\n\t\tmargin-left:4px;\r\n\t\tfont-weight:bold;\r\n\t}\r\n\tem {\r\n\t}\r\n"},
        // A declaration the parser does not understand is written as read.
        {"p { -x-odd: 1 2 }", "", "\tp {\r\n\t\t-x-odd:1 2;\r\n\t}\r\n"},
        // Addresses: unchanged without a base.
        {"div{background-image:url(\"i/a.png\")}", "",
            "\tdiv {\r\n\t\tbackground-image:url(\"i/a.png\");\r\n\t}\r\n"},
        // With one: resolved, in single quotes, the rest of the value kept.
        {"div{background-image:url(\"i/a.png\")}", "http://h/d/",
            "\tdiv {\r\n\t\tbackground-image:url('http://h/d/i/a.png');\r\n\t}\r\n"},
        {"div{background:url( ../b.gif ) no-repeat}", "http://h/d/e/",
            "\tdiv {\r\n\t\tbackground:url('http://h/d/b.gif') no-repeat;\r\n\t}\r\n"},
        {"div{background:url('http://o/x.png')}", "http://h/d/",
            "\tdiv {\r\n\t\tbackground:url('http://o/x.png');\r\n\t}\r\n"},
        // Only the first address; nested parentheses are counted.
        {"div{x:url(a(1).png) url(b.png)}", "http://h/",
            "\tdiv {\r\n\t\tx:url('http://h/a(1).png') url(b.png);\r\n\t}\r\n"},
        // Unclosed or empty: written as read.
        {"div{x:url(a.png}", "http://h/", "\tdiv {\r\n\t\tx:url(a.png;\r\n\t}\r\n"},
        {"div{x:url('')}", "http://h/", "\tdiv {\r\n\t\tx:url('');\r\n\t}\r\n"},
        // "URL(" is not looked for.
        {"div{x:URL(a.png)}", "http://h/", "\tdiv {\r\n\t\tx:URL(a.png);\r\n\t}\r\n"},
        // A quote inside the address cannot end the quoted string.
        {"div{x:url(\"it's.png\")}", "http://h/", "\tdiv {\r\n\t\tx:url('http://h/it\\'s.png');\r\n\t}\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Written(c.sheet, c.base), c.expected) << c.sheet << " against " << c.base;
}

TEST(StyleSheetWriter, TextMarkupWouldNotTakeBecomesACdataSection)
{
    EXPECT_EQ(Written("ul > li { color: red }", ""), kCdata + "\tul > li {\r\n\t\tcolor:red;\r\n\t}\r\n]]>");

    // "<" and "&" need the section as much as ">"; a "]]>" inside is split
    // over two sections. Inside a style element the text is well-formed and
    // reads back as the placeholder rule followed by the rules.
    struct Case
    {
        const char* sheet;
        const char* rules; // as read back
    };
    const Case cases[] = {
        {"p { content: \"a&b\" }", "\tp {\r\n\t\tcontent:\"a&b\";\r\n\t}\r\n"},
        {"p { content: \"<\" }", "\tp {\r\n\t\tcontent:\"<\";\r\n\t}\r\n"},
        {"p { content: \"]]>\" }", "\tp {\r\n\t\tcontent:\"]]>\";\r\n\t}\r\n"},
        {"a[title=\"x]]>y\"] > b { color: red }", "\ta[title=\"x]]>y\"] > b {\r\n\t\tcolor:red;\r\n\t}\r\n"},
    };
    for (const Case& c : cases) {
        const std::string out = Written(c.sheet, "");
        ASSERT_EQ(out.rfind(kCdata, 0), 0u) << c.sheet << " gives " << out;
        xmlDoc* doc = LoadXMLString(FromUtf8("<style>" + out + "</style>"));
        ASSERT_NE(doc, nullptr) << c.sheet << " gives " << out;
        xmlChar* content = xmlNodeGetContent(GetRootElement(doc));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(content)),
            XmlLineEnds(std::string(kPlaceholder) + c.rules));
        xmlFree(content);
        XMLReleaseDom(doc);
    }
}
