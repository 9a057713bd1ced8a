// Loading, name paths, XPath lists, node values and error texts of the XML layer.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text/SafeBuf.h"
#include "base/xml/Xml.h"

#include "tests/common/TextHelpers.h"
#include "tests/common/XmlDoc.h"

using qmtest::FromUtf8;
using qmtest::ToUtf8;
using qmtest::XmlDoc;

namespace {

// Units given one per character (bytes, or UTF-16 units).
CSafeBuf Units(const std::vector<unsigned short>& units)
{
    CSafeBuf s;
    for (unsigned short u : units)
        s += u;
    return s;
}

std::string Attr(xmlNode* node, const char* name)
{
    CSafeBuf v;
    FindAttribute(name, v, node);
    return ToUtf8(v);
}

// The "id" attributes of a list's nodes, in the order nextNode gives them.
std::string Ids(libIXMLDOMNodeList* list)
{
    std::string out;
    xmlNode* n = nullptr;
    while (list->nextNode(&n)) {
        if (!out.empty())
            out += ',';
        out += Attr(n, "id");
    }
    return out;
}

std::string NameList(libIXMLDOMNodeList* list)
{
    std::string out;
    xmlNode* n = nullptr;
    while (list->nextNode(&n)) {
        CSafeBuf name;
        MacGetTagName(n, name);
        out += ToUtf8(name) + ";";
    }
    return out;
}

} // namespace

TEST(XmlNamePath, BareNameSearchesChildrenAndPrefixesSearchTheSubtree)
{
    XmlDoc d("<a><b id='1'/><c id='c'><b id='2'/></c></a>");
    ASSERT_NE(d.doc, nullptr);
    xmlNode* a = d.Root();

    for (const char* path : {"b", "/b", "//b", ".//b"}) {
        xmlNode* found = nullptr;
        EXPECT_TRUE(SelectNode(a, path, &found)) << path;
        EXPECT_EQ(Attr(found, "id"), "1") << path;
    }
    for (const char* path : {"/b", "//b", ".//b"}) {
        libIXMLDOMNodeList* list = nullptr;
        ASSERT_TRUE(SelectNodes(a, path, &list));
        EXPECT_EQ(list->GetLength(), 2) << path;
        EXPECT_EQ(Ids(list), "1,2") << path;
        list->Release();
    }
    libIXMLDOMNodeList* children = nullptr;
    ASSERT_TRUE(SelectNodes(a, "b", &children));
    EXPECT_EQ(Ids(children), "1");
    children->Release();

    // One name, not a sequence of steps.
    xmlNode* none = reinterpret_cast<xmlNode*>(1);
    EXPECT_FALSE(SelectNode(a, "c/b", &none));
    EXPECT_EQ(none, nullptr);
    libIXMLDOMNodeList* empty = nullptr;
    EXPECT_TRUE(SelectNodes(a, "c/b", &empty));
    ASSERT_NE(empty, nullptr);
    xmlNode* n = reinterpret_cast<xmlNode*>(1);
    EXPECT_FALSE(empty->nextNode(&n));
    EXPECT_EQ(n, nullptr);
    empty->Release();

    // UTF-16 forms behave the same.
    xmlNode* wide = nullptr;
    EXPECT_TRUE(SelectNode(a, FromUtf8("//b"), &wide));
    EXPECT_EQ(Attr(wide, "id"), "1");
}

TEST(XmlNamePath, MatchesComeInDocumentOrderParentBeforeDescendants)
{
    XmlDoc d("<r><p id='1'><q><p id='2'><p id='3'/></p></q></p><p id='4'/><x><p id='5'/></x></r>");
    libIXMLDOMNodeList* list = nullptr;
    ASSERT_TRUE(SelectNodes(d.Root(), "//p", &list));
    EXPECT_EQ(Ids(list), "1,2,3,4,5");
    // reset starts the walk again.
    list->reset();
    EXPECT_EQ(Ids(list), "1,2,3,4,5");
    list->Release();

    // The search stays below the node it starts from.
    xmlNode* x = nullptr;
    ASSERT_TRUE(SelectNode(d.Root(), "x", &x));
    ASSERT_TRUE(SelectNodes(x, ".//p", &list));
    EXPECT_EQ(Ids(list), "5");
    list->Release();
}

TEST(XmlNamePath, PrefixedAndLocalNamesAndTheStar)
{
    XmlDoc d("<r xmlns:p='urn:p' xmlns:q='urn:q'><p:item id='1'/><q:item id='2'/><item id='3'/></r>");
    libIXMLDOMNodeList* list = nullptr;
    ASSERT_TRUE(SelectNodes(d.Root(), "item", &list));
    EXPECT_EQ(Ids(list), "1,2,3");
    list->Release();
    ASSERT_TRUE(SelectNodes(d.Root(), "p:item", &list));
    EXPECT_EQ(Ids(list), "1");
    list->Release();
    xmlNode* n = nullptr;
    EXPECT_FALSE(SelectNode(d.Root(), "z:item", &n));

    XmlDoc mixed("<r>t<!--c--><e/></r>");
    ASSERT_TRUE(SelectNodes(mixed.Root(), "*", &list));
    EXPECT_EQ(NameList(list), "text;comment;e;");
    list->Release();
}

TEST(XmlXPath, ListsAndDetachedCopies)
{
    XmlDoc d("<a><b id='1'/><c><b id='2'>x<i>y</i></b></c></a>");
    libIXMLDOMNodeList* list = nullptr;
    ASSERT_TRUE(SelectNodes(d.doc, "//b", &list));
    EXPECT_EQ(list->GetLength(), 2);
    EXPECT_EQ(Ids(list), "1,2");
    list->reset();
    EXPECT_EQ(Ids(list), "1,2");
    list->Release();

    list = reinterpret_cast<libIXMLDOMNodeList*>(1);
    EXPECT_FALSE(SelectNodes(d.doc, "//missing", &list));
    EXPECT_EQ(list, nullptr);
    EXPECT_FALSE(SelectNodes(d.doc, "count(//b)", &list)); // not a node set
    EXPECT_FALSE(SelectNodes(d.doc, "//[", &list));        // not an expression
    EXPECT_FALSE(SelectNodes(static_cast<xmlDoc*>(nullptr), "//b", &list));

    // The copy outlives its document.
    xmlNode* copy = nullptr;
    {
        XmlDoc other("<a><c><b id='2'>x<i>y</i></b></c></a>");
        ASSERT_TRUE(SelectNode(other.doc, FromUtf8("//c/b"), &copy));
    }
    CSafeBuf markup;
    ASSERT_TRUE(XMLGetNodeXML(copy, markup));
    EXPECT_EQ(ToUtf8(markup), "<b id=\"2\">x<i>y</i></b>");
    xmlFreeNode(copy);

    EXPECT_FALSE(SelectNode(d.doc, "//missing", &copy));
    EXPECT_EQ(copy, nullptr);
    // A namespace node cannot become a free node.
    XmlDoc ns("<a xmlns:p='urn:p'/>");
    EXPECT_FALSE(SelectNode(ns.doc, "//namespace::p", &copy));
    EXPECT_EQ(copy, nullptr);
}

TEST(XmlValues, GetNodeValueWithAndWithoutAttributeFilter)
{
    XmlDoc d("<r><w>  word </w><e/><k lang='en'>E</k><k lang='de'>D<x>no</x></k>text</r>");
    xmlNode* r = d.Root();
    CSafeBuf v("stale");
    EXPECT_TRUE(GetNodeValue("w", v, r));
    EXPECT_EQ(ToUtf8(v), "  word ");
    v = "stale";
    EXPECT_TRUE(GetNodeValue("e", v, r));
    EXPECT_TRUE(v.IsEmpty());
    v = "stale";
    EXPECT_FALSE(GetNodeValue("m", v, r));
    EXPECT_TRUE(v.IsEmpty());

    EXPECT_TRUE(GetNodeValue("k", v, r, 0, "lang", FromUtf8("de")));
    EXPECT_EQ(ToUtf8(v), "D");
    EXPECT_TRUE(GetNodeValue(FromUtf8("k"), v, r, 0, FromUtf8("lang"), FromUtf8("de")));
    EXPECT_EQ(ToUtf8(v), "D");
    EXPECT_FALSE(GetNodeValue("k", v, r, 0, "lang", FromUtf8("fr")));
    // An empty filter value means no filter.
    EXPECT_TRUE(GetNodeValue("k", v, r, 0, "lang", FromUtf8("")));
    EXPECT_EQ(ToUtf8(v), "E");
    // Text nodes are not child elements named "text".
    EXPECT_FALSE(GetNodeValue("text", v, r));
    EXPECT_FALSE(GetNodeValue("w", v, nullptr));
}

TEST(XmlValues, NamesAttributesAndStartTags)
{
    XmlDoc d("<p:r xmlns:p='urn:p' xmlns:x='urn:x' x:a='1' b='caf\xc3\xa9' e=''>"
             "<i href='a?x=1&amp;y=&lt;2' flag=''> t </i><![CDATA[raw]]></p:r>");
    ASSERT_NE(d.doc, nullptr) << ToUtf8(d.error);
    xmlNode* r = d.Root();
    CSafeBuf name, value;
    MacGetTagName(r, name);
    EXPECT_EQ(ToUtf8(name), "p:r");

    EXPECT_EQ(Attr(r, "x:a"), "1");
    EXPECT_EQ(Attr(r, "b"), "caf\xc3\xa9");
    EXPECT_FALSE(FindAttribute("a", value, r)); // prefixed names must match in full
    EXPECT_TRUE(FindAttribute(FromUtf8("x:a"), value, r));

    CSafeBuf prefix, uri;
    ASSERT_TRUE(GetNamespaceInfo(r, &prefix, &uri));
    EXPECT_EQ(ToUtf8(prefix), "p");
    EXPECT_EQ(ToUtf8(uri), "urn:p");

    // Attribute texts are written as they are; empty ones and namespace
    // declarations are left out.
    CSafeBuf tag;
    ASSERT_TRUE(GetElementXML(r, tag));
    EXPECT_EQ(ToUtf8(tag), "<p:r x:a=\"1\" b=\"caf\xc3\xa9\">");
    xmlNode* i = nullptr;
    ASSERT_TRUE(FindChildNode(r, "i", &i));
    ASSERT_TRUE(GetElementXML(i, tag));
    EXPECT_EQ(ToUtf8(tag), "<i href=\"a?x=1&y=<2\">");
    EXPECT_FALSE(GetElementXML(nullptr, tag));

    GetNameValue(i, name, value, false);
    EXPECT_EQ(ToUtf8(value), " t ");
    GetNameValue(i, name, value, true);
    EXPECT_EQ(ToUtf8(name), "i");
    EXPECT_EQ(ToUtf8(value), "t");
    xmlNode* cdata = i->next;
    GetNameValue(cdata, name, value);
    EXPECT_EQ(ToUtf8(value), "raw");

    EXPECT_TRUE(XMLGetAttrInfo(r->properties, name, value));
    EXPECT_EQ(ToUtf8(name), "x:a");
    EXPECT_EQ(ToUtf8(value), "1");
    EXPECT_FALSE(XMLGetAttrInfo(nullptr, name, value));
}

// The ASCII form of a name agrees with MacGetTagName wherever it answers,
// and hands every other name over to it.
TEST(XmlValues, AsciiNamesAgreeWithTheDecodedOnes)
{
    const std::string longName(30, 'n');
    const std::string markup = "<p:r xmlns:p='urn:p' x='1'><i/><caf\xc3\xa9/><" + longName
        + "/><p:" + longName + "/><p:" + longName.substr(0, 27) + "/></p:r>";
    XmlDoc d(markup.c_str());
    ASSERT_NE(d.doc, nullptr) << ToUtf8(d.error);
    struct Case
    {
        xmlNode* node;
        int room;
        int length; // -1: not answered here
    };
    xmlNode* r = d.Root();
    xmlNode* c = r->children;
    const Case cases[] = {
        {r, 8, 3},
        {r, 4, 3},  // "p:r" and its terminator just fit
        {r, 3, -1}, // no room for the terminator
        {r, 2, -1}, // no room for the colon
        {reinterpret_cast<xmlNode*>(r->properties), 4, 1},
        {c, 4, 1},
        {c->next, 40, -1}, // not ASCII
        {c->next->next, 31, 30},
        {c->next->next, 30, -1},
        {c->next->next->next, 40, 32}, // with its prefix
        {c->next->next->next, 32, -1},
        {c->next->next->next->next, 30, 29},
    };
    for (const Case& k : cases) {
        unsigned short out[40];
        const int n = XmlAsciiName(k.node, out, k.room);
        EXPECT_EQ(n, k.length) << "room " << k.room;
        if (n < 0)
            continue;
        CSafeBuf decoded;
        MacGetTagName(k.node, decoded);
        EXPECT_EQ(decoded, static_cast<const unsigned short*>(out));
    }
    unsigned short out[4] = {'x', 0, 0, 0};
    EXPECT_EQ(XmlAsciiName(nullptr, out, 4), 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(XmlAsciiName(r, out, 0), -1);
}

TEST(XmlNavigation, ChildrenSiblingsAndRemoval)
{
    XmlDoc d("<r><a/><b/><c/></r>");
    xmlNode* r = d.Root();
    xmlNode* first = nullptr;
    XMLGetFirstChild(r, &first);
    EXPECT_EQ(XMLGetChildCount(first), 3);
    EXPECT_EQ(XMLGetChildCount(nullptr), 0);
    xmlNode* found = nullptr;
    EXPECT_TRUE(FindNodeInCurLevel(first, "c", &found));
    xmlNode* b = nullptr;
    EXPECT_TRUE(FindChildNode(r, "b", &b));
    EXPECT_FALSE(FindNodeInCurLevel(found, "b", &b)); // only following siblings
    EXPECT_EQ(b, nullptr);
    EXPECT_EQ(GetParentNode(r), reinterpret_cast<xmlNode*>(d.doc));

    XMLReleaseNode(found); // document-owned: nothing happens
    CSafeBuf name;
    MacGetTagName(found, name);
    EXPECT_EQ(ToUtf8(name), "c");

    XMLRemoveNode(first);
    CSafeBuf markup;
    XMLGetNodeXML(r, markup);
    EXPECT_EQ(ToUtf8(markup), "<r><b/><c/></r>");
}

TEST(XmlValues, NodeMarkupEscapesNamespaceURIsAndLeavesTheTreeAsItWas)
{
    // The library writes a namespace URI unescaped: a "<" in one would make
    // the markup unreadable, a ">" end the start tag early.
    XmlDoc d("<r><o xmlns=\"u&lt;v&gt;w&amp;x\">in<i xmlns:p=\"a&gt;b\">y</i></o></r>");
    xmlNode* o = d.Root()->children;
    CSafeBuf markup;
    ASSERT_TRUE(XMLGetNodeXML(o, markup));
    EXPECT_EQ(ToUtf8(markup), "<o xmlns=\"u&lt;v&gt;w&#38;x\">in<i xmlns:p=\"a&gt;b\">y</i></o>");
    XmlDoc again(ToUtf8(markup).c_str());
    EXPECT_NE(again.doc, nullptr) << ToUtf8(again.error);
    EXPECT_STREQ(reinterpret_cast<const char*>(o->nsDef->href), "u<v>w&#38;x");
}

TEST(XmlLoad, ParseErrorsGiveTheLibraryMessageAndLine)
{
    CSafeBuf error;
    xmlDoc* doc = LoadXMLString(FromUtf8("<a>\n<b>\n</a>"), &error, true);
    EXPECT_EQ(doc, nullptr);
    std::string text = ToUtf8(error);
    EXPECT_EQ(text.rfind("Incorrect XML<br />Reason: ", 0), 0u) << text;
    const std::string tail = "<br />Line: 3";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
    EXPECT_NE(text.find("mismatch"), std::string::npos) << text;

    // A later success clears the text, and no stale record leaks into it.
    xmlDoc* ok = nullptr;
    EXPECT_TRUE(LoadXMLString(ok, FromUtf8("<a/>"), &error));
    EXPECT_TRUE(error.IsEmpty());
    XMLReleaseDom(ok);

    EXPECT_FALSE(LoadXMLString(ok, FromUtf8(""), &error));
    EXPECT_EQ(ok, nullptr);
    EXPECT_FALSE(LoadXMLString(ok, nullptr, nullptr));
}

TEST(XmlLoad, EncodingRules)
{
    CSafeBuf v;
    // Characters above 0xFF with a UTF-8 declaration: encoded before parsing.
    {
        XmlDoc d("<?xml version='1.0' encoding='UTF-8'?><r>\xe2\x82\xac caf\xc3\xa9</r>");
        ASSERT_NE(d.doc, nullptr) << ToUtf8(d.error);
        GetNameValue(d.Root(), v, v);
        EXPECT_EQ(ToUtf8(v), "\xe2\x82\xac caf\xc3\xa9");
    }
    // Only characters up to 0xFF with the declaration: UTF-8 bytes one per character.
    {
        CSafeBuf text("<?xml version=\"1.0\" encoding=\"utf-8\"?><r>");
        text += static_cast<unsigned short>(0xC3);
        text += static_cast<unsigned short>(0xA9);
        text += "</r>";
        XmlDoc d(text);
        ASSERT_NE(d.doc, nullptr);
        EXPECT_EQ(ToUtf8(d.RootValue()), "\xc3\xa9");
    }
    // The same byte without the declaration is the character U+00E9 itself;
    // so is a declaration form outside the four recognised ones, and a
    // declared text whose units are no UTF-8 bytes.
    for (const char* head :
        {"<r>", "<?xml version='1.0' encoding='Utf-8'?><r>", "<?xml version='1.0' encoding='UTF-8'?><r>"}) {
        CSafeBuf text(head);
        text += static_cast<unsigned short>(0xE9);
        text += "</r>";
        XmlDoc d(text);
        ASSERT_NE(d.doc, nullptr) << head;
        EXPECT_EQ(ToUtf8(d.RootValue()), "\xc3\xa9") << head;
    }
    // A character outside the basic plane (a surrogate pair) after a
    // character up to 0xFF, with and without the declaration.
    for (const char* head : {"<r>", "<?xml version='1.0' encoding='UTF-8'?><r>"}) {
        CSafeBuf text(head);
        text += static_cast<unsigned short>(0xE9);
        text += static_cast<unsigned short>(0xD83D);
        text += static_cast<unsigned short>(0xDE00);
        text += "</r>";
        XmlDoc d(text);
        ASSERT_NE(d.doc, nullptr) << head;
        EXPECT_EQ(ToUtf8(d.RootValue()), "\xc3\xa9\xf0\x9f\x98\x80") << head;
    }
    // A UTF-8 byte-order mark carried one byte per character.
    {
        CSafeBuf text = Units({0xEF, 0xBB, 0xBF});
        text += "<r>";
        text += static_cast<unsigned short>(0xE2);
        text += static_cast<unsigned short>(0x82);
        text += static_cast<unsigned short>(0xAC);
        text += "</r>";
        XmlDoc d(text);
        ASSERT_NE(d.doc, nullptr);
        EXPECT_EQ(ToUtf8(d.RootValue()), "\xe2\x82\xac");
    }
    // UTF-16 marks in front of the text are dropped.
    for (auto mark : {std::vector<unsigned short>{0xFEFF}, std::vector<unsigned short>{0xFF, 0xFE},
             std::vector<unsigned short>{0xFE, 0xFF}}) {
        CSafeBuf text = Units(mark);
        text += FromUtf8("<r>\xe2\x82\xac</r>");
        XmlDoc d(text);
        ASSERT_NE(d.doc, nullptr) << mark.size();
        EXPECT_EQ(ToUtf8(d.RootValue()), "\xe2\x82\xac");
    }
}

TEST(XmlLoad, FilesAndNoNetwork)
{
    CSafeBuf path(QM_TEST_DATA_DIR "/xml/utf8-config.xml");
    CSafeBuf error;
    xmlDoc* doc = LoadXMLFile(path, &error);
    ASSERT_NE(doc, nullptr) << ToUtf8(error);
    CSafeBuf v;
    EXPECT_TRUE(GetNodeValue("item", v, GetRootElement(doc)));
    EXPECT_EQ(ToUtf8(v), "cr\xc3\xa8me \xe2\x82\xac");
    xmlNode* item = nullptr;
    ASSERT_TRUE(SelectNode(GetRootElement(doc), "item", &item));
    EXPECT_EQ(Attr(item, "name"), "caf\xc3\xa9");
    XMLReleaseDom(doc);

    doc = LoadXMLFile(CSafeBuf(QM_TEST_DATA_DIR "/xml/broken.xml"), &error);
    EXPECT_EQ(doc, nullptr);
    EXPECT_NE(ToUtf8(error).find("<br />Line: 4"), std::string::npos) << ToUtf8(error);

    doc = LoadXMLFile(CSafeBuf(QM_TEST_DATA_DIR "/xml/no-such-file.xml"), &error);
    EXPECT_EQ(doc, nullptr);
    EXPECT_FALSE(error.IsEmpty());

    // An external entity on the network is never fetched: the document
    // loads with the reference left as it stands.
    XmlDoc net("<!DOCTYPE r [<!ENTITY e SYSTEM 'http://127.0.0.1:9/e.xml'>]><r>&e;</r>");
    ASSERT_NE(net.doc, nullptr) << ToUtf8(net.error);
    CSafeBuf markup;
    XMLGetNodeXML(net.Root(), markup);
    EXPECT_EQ(ToUtf8(markup), "<r>&e;</r>");
}
