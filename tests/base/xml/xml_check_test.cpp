// The check a load asks before it lets its tree go: it vouches only for text
// that parses into an html root with a body child, and never for text whose
// load could still fail after the parse.

#include <gtest/gtest.h>

#include <string>

#include "base/xml/Xml.h"
#include "base/xml/XmlCheck.h"

namespace {

struct Case
{
    const char* name;
    const char* text;
    bool vouched;
};

const Case kCases[] = {
    {"a whole document", "<html><head><title>t</title></head><body><p>a &amp; b</p></body></html>", true},
    {"a declaration and a namespace",
        "<?xml version=\"1.0\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\"><body/></html>", true},
    {"prefixed names", "<x:html xmlns:x=\"u\"><x:body/></x:html>", true},
    {"comments and blanks around", "<!-- a -->\n<html>\n<body>\n</body>\n</html>\n<!-- b -->", true},
    {"no body", "<html><head/></html>", false},
    {"a body deeper down", "<html><div><body/></div></html>", false},
    {"another root", "<div><body/></div>", false},
    {"a body as the root", "<body><p/></body>", false},
    {"an element left open", "<html><body><p>x</body></html>", false},
    {"an undeclared entity", "<html><body>&nbsp;</body></html>", false},
    {"an undeclared prefix inside", "<html><body><y:p/></body></html>", true},
    {"an undeclared prefix on the body", "<x:html xmlms:x=\"u\"><x:body/></x:html>", false},
    {"an undeclared prefix on the root", "<x:html><body/></x:html>", false},
    {"a document type", "<!DOCTYPE html><html><body/></html>", false},
    {"entities that grow", "<!DOCTYPE html [<!ENTITY e \"&e;&e;\">]><html><body>&e;</body></html>", false},
    {"text after the root", "<html><body/></html>x", false},
    {"nothing", "", false},
};

TEST(XmlCheck, VouchesOnlyForTextThatParsesWithABody)
{
    for (const Case& c : kCases) {
        const std::string text = c.text;
        const bool vouched = XmlParsesWithChild(text.data(), text.size(), "html", "body");
        EXPECT_EQ(vouched, c.vouched) << c.name;
        if (!vouched)
            continue;
        xmlDoc* doc = LoadXMLBytes(text.data(), text.size(), nullptr, true);
        ASSERT_NE(doc, nullptr) << c.name;
        xmlNode* body = nullptr;
        EXPECT_TRUE(FindChildNode(GetRootElement(doc), "body", &body)) << c.name;
        XMLReleaseDom(doc);
    }
}

} // namespace
