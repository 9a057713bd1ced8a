// Attribute accessors and style text edits, driven by
// tests/data/attributes/cases.txt and tests/data/style_text/cases.txt.

#include "element/Element.h"

#include "element/factory/ElementFactory.h"
#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

using qmtest::FromUtf8;
using qmtest::ReadCaseFile;
using qmtest::ToUtf8;

namespace {

std::unique_ptr<CElement> NewElement()
{
    return std::unique_ptr<CElement>(CreateElement("p", nullptr, nullptr, nullptr));
}

// "a=1;b=2" into the map, in order.
void FillAttributes(CElement& e, const std::string& pairs)
{
    std::stringstream ss(pairs);
    std::string pair;
    while (std::getline(ss, pair, ';')) {
        const size_t eq = pair.find('=');
        CSafeBuf name = FromUtf8(pair.substr(0, eq));
        e.m_attributes.SetAt(static_cast<const unsigned short*>(name), FromUtf8(pair.substr(eq + 1)));
    }
}

std::string Attributes(const CMapStringToString& map)
{
    std::string out;
    CSafeBuf key, value;
    for (void* pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, key, value);
        out += (out.empty() ? "" : ";") + ToUtf8(key) + "=" + ToUtf8(value);
    }
    return out;
}

} // namespace

TEST(Attributes, TableOfCases)
{
    for (const auto& c : ReadCaseFile("attributes/cases.txt", 6)) {
        const std::string &op = c.fields[1], &name = c.fields[2], &value = c.fields[3];
        auto e = NewElement();
        FillAttributes(*e, c.fields[0]);
        CSafeBuf wideName = FromUtf8(name), wideValue = FromUtf8(value), found(FromUtf8("stale"));
        bool answer = false;
        std::string text;
        if (op == "get16") {
            answer = e->GetAttrString(static_cast<const unsigned short*>(wideName), found);
            text = ToUtf8(found);
        } else if (op == "get8") {
            answer = e->GetAttrString(name.c_str(), found);
            text = ToUtf8(found);
        } else if (op == "set16") {
            answer = e->SetAttrString(
                static_cast<const unsigned short*>(wideName), static_cast<const unsigned short*>(wideValue));
            text = Attributes(e->m_attributes);
        } else if (op == "set8") {
            answer = e->SetAttrString(name.c_str(), value.c_str());
            text = Attributes(e->m_attributes);
        } else if (op == "common") {
            answer = CElement::IsCommonAttribute(wideName);
            text = "-";
        } else {
            ADD_FAILURE() << "unknown operation " << op;
        }
        EXPECT_EQ(c.fields[4], text) << "line " << c.line;
        EXPECT_EQ(c.fields[5] == "1", answer) << "line " << c.line;
    }
}

TEST(Attributes, CopyMapEmptiesTheTargetAndMayLowerTheNames)
{
    CMapStringToString from, to;
    from.SetAt("ID", CSafeBuf("a"));
    from.SetAt("Title", CSafeBuf("B"));
    to.SetAt("old", CSafeBuf("x"));
    CElement::CopyMap(&to, &from, false);
    EXPECT_EQ("ID=a;Title=B", Attributes(to));
    CElement::CopyMap(&to, &from, true);
    EXPECT_EQ("id=a;title=B", Attributes(to));
    CElement::CopyMap(&from, &from, true);
    EXPECT_EQ("id=a;title=B", Attributes(from));
}

TEST(StyleText, TableOfCases)
{
    for (const auto& c : ReadCaseFile("style_text/cases.txt", 6)) {
        const std::string& op = c.fields[0];
        CSafeBuf style = FromUtf8(c.fields[1]), property = FromUtf8(c.fields[2]),
                 value = FromUtf8(c.fields[3]);
        const unsigned short* p = property;
        const unsigned short* v = value;
        bool answer = false;
        std::string text;
        if (op == "get") {
            CSafeBuf found(FromUtf8("stale"));
            answer = CElement::GetAttrValue(style, p, found);
            text = ToUtf8(found);
            CSafeBuf narrow;
            EXPECT_EQ(answer, CElement::GetAttrValue(style, c.fields[2].c_str(), narrow))
                << "line " << c.line;
            EXPECT_EQ(text, ToUtf8(narrow)) << "line " << c.line;
        } else if (op == "replace") {
            answer = CElement::ReplaceStyleString(style, p, v);
            text = ToUtf8(style);
        } else if (op == "set") {
            auto e = NewElement();
            if (c.fields[1] != "(none)")
                e->m_attributes.SetAt("style", style);
            answer = e->SetStyleString(p, v);
            CSafeBuf after;
            text = e->m_attributes.Lookup("style", after) ? ToUtf8(after) : "(none)";
            CSafeBuf read;
            if (text != "(none)" && !value.IsEmpty()) {
                EXPECT_TRUE(e->GetStyleString(c.fields[2].c_str(), read)) << "line " << c.line;
                EXPECT_EQ(c.fields[3], ToUtf8(read)) << "line " << c.line;
            }
        } else {
            ADD_FAILURE() << "unknown operation " << op;
        }
        EXPECT_EQ(c.fields[4], text) << "line " << c.line;
        EXPECT_EQ(c.fields[5] == "1", answer) << "line " << c.line;
    }
}
