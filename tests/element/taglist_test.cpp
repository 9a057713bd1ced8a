// The tag list in all its forms, driven by tests/data/tag_list/cases.txt; the
// XML forms always parse.

#include "element/TagList.h"

#include "base/xml/XmlLoad.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "tests/common/TextHelpers.h"
#include "tests/element/support/TreeBuilder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

struct Check
{
    int line;
    std::string form, expected;
};

struct Case
{
    int line = 0;
    std::string tree;
    std::vector<Check> checks;
};

std::vector<Case> LoadCases()
{
    std::vector<Case> cases;
    std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/tag_list/cases.txt");
    std::string line;
    int number = 0;
    Case current;
    auto flush = [&] {
        if (!current.tree.empty())
            cases.push_back(current);
        current = Case();
    };
    while (std::getline(in, line)) {
        ++number;
        if (line.empty()) {
            flush();
            continue;
        }
        if (line[0] == '#')
            continue;
        size_t colon = line.find(": ");
        if (colon == std::string::npos) {
            ADD_FAILURE() << "cases.txt line " << number << " has no \": \"";
            continue;
        }
        std::string key = line.substr(0, colon), value = line.substr(colon + 2);
        if (key == "tree") {
            flush();
            current.line = number;
            current.tree = value;
        } else {
            current.checks.push_back({number, key, value == "(empty)" ? "" : value});
        }
    }
    flush();
    return cases;
}

std::string Form(const CElement* e, const std::string& form)
{
    CSafeBuf out(FromUtf8("left over"));
    if (form == "attrs") {
        GetEleAttrsXML(e, out);
    } else if (form == "wrapped") {
        out = FromUtf8("X");
        e->GetTagCodeWithParent(out, 0, false);
    } else {
        GetEleTagList(e, out, std::stoi(form));
    }
    return ToUtf8(out);
}

bool ParsesAsXml(const std::string& text)
{
    xmlDoc* doc = LoadXMLString(FromUtf8("<r>" + text + "</r>"));
    XMLReleaseDom(doc);
    return doc != nullptr;
}

} // namespace

TEST(TagList, TableOfCases)
{
    std::vector<Case> cases = LoadCases();
    ASSERT_GE(cases.size(), 6u);
    for (const Case& c : cases) {
        CXHTML engine;
        qmtest::BuiltTree tree = qmtest::BuildTree(c.tree, &engine);
        ASSERT_NE(tree.marked, nullptr) << "cases.txt line " << c.line;
        for (const Check& check : c.checks) {
            std::string got = Form(tree.marked, check.form);
            EXPECT_EQ(got, check.expected) << "cases.txt line " << check.line;
            if (check.form != "0" && check.form != "3" && check.form != "4") {
                EXPECT_TRUE(ParsesAsXml(got)) << "cases.txt line " << check.line;
            }
        }
    }
}

TEST(TagList, TreeStringAndElementList)
{
    CXHTML engine;
    qmtest::BuiltTree tree = qmtest::BuildTree("<body><p><b _mark=\"\">x</b></p></body>", &engine);
    CElement* text = tree.marked->m_firstChild;
    CSafeBuf out;
    EXPECT_TRUE(text->TreeString(out));
    char id[16];
    std::snprintf(id, sizeof id, "%08lX", text->GetID());
    EXPECT_EQ(ToUtf8(out), std::string("<body><p><b><") + id + " x>");
    out.Empty();
    GetElementList(out, FromUtf8(">"), tree.root);
    EXPECT_EQ(ToUtf8(out), ">[body]:\r\n>\t[p]:\r\n>\t\t[b]:\r\n>\t\t\t[x]:\r\n");
}

TEST(TagList, WrappingStopsBelowTheStopElement)
{
    CXHTML engine;
    qmtest::BuiltTree tree = qmtest::BuildTree("<body><p><b _mark=\"\" id=\"i\">x</b></p></body>", &engine);
    CSafeBuf out(FromUtf8("X"));
    tree.marked->GetTagCodeWithParent(out, tree.marked->GetID(), false);
    EXPECT_EQ(ToUtf8(out), "X");
    tree.marked->GetTagCodeWithParent(out, tree.root->GetID(), true);
    EXPECT_EQ(ToUtf8(out), "<p><b>X</b></p>");
}

TEST(TagList, TextRunWrapsWithItsOwnTextEscaped)
{
    CXHTML engine;
    qmtest::BuiltTree tree = qmtest::BuildTree("<body><p>a&lt;b</p></body>", &engine);
    CSafeBuf out(FromUtf8("X"));
    tree.root->m_firstChild->m_firstChild->GetTagCodeWithParent(out, 0, false);
    EXPECT_EQ(ToUtf8(out), "<body><p>a&lt;bX</p></body>");
}
