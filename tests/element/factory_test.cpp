// The element factory and its tag tables, driven by
// tests/data/element_factory/tags.txt.

#include "element/factory/ElementFactory.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/factory/TagTables.h"
#include "elements/AElement.h"
#include "elements/BRElement.h"
#include "elements/CommentElement.h"
#include "elements/CustomElement.h"
#include "elements/DLElement.h"
#include "elements/DivElement.h"
#include "elements/HRElement.h"
#include "elements/HolderElement.h"
#include "elements/ImageElement.h"
#include "elements/LIElement.h"
#include "elements/OtherElement.h"
#include "elements/ScriptElement.h"
#include "elements/SpecialElement.h"
#include "elements/TBodyElement.h"
#include "elements/TDElement.h"
#include "elements/TRElement.h"
#include "elements/TableElement.h"
#include "elements/TextElement.h"
#include "elements/ULElement.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "tests/common/CaseFile.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

std::vector<std::string> Split(const std::string& s, char separator)
{
    std::vector<std::string> parts;
    std::stringstream ss(s);
    std::string part;
    while (std::getline(ss, part, separator))
        parts.push_back(part);
    return parts;
}

// The element's class, by the names the case file uses.
std::string ClassOf(CElement* e)
{
    if (dynamic_cast<CTextElement*>(e))
        return "Text";
    if (dynamic_cast<CAElement*>(e))
        return "A";
    if (dynamic_cast<CBRElement*>(e))
        return "BR";
    if (dynamic_cast<CCommentElement*>(e))
        return "Comment";
    if (dynamic_cast<CScriptElement*>(e))
        return "Script";
    if (dynamic_cast<CHolderElement*>(e))
        return "Holder";
    if (dynamic_cast<CDivElement*>(e))
        return "Div";
    if (dynamic_cast<CHRElement*>(e))
        return "HR";
    if (dynamic_cast<COtherElement*>(e))
        return "Other";
    if (dynamic_cast<CSpecialElement*>(e))
        return "Special";
    if (dynamic_cast<CCustomElement*>(e))
        return "Custom";
    if (dynamic_cast<CImageElement*>(e))
        return "Image";
    if (dynamic_cast<CTableElement*>(e))
        return "Table";
    if (dynamic_cast<CTRElement*>(e))
        return "TR";
    if (dynamic_cast<CTDElement*>(e))
        return "TD";
    if (dynamic_cast<CTBodyElement*>(e))
        return "TBody";
    if (dynamic_cast<CULElement*>(e))
        return "UL";
    if (dynamic_cast<CLIElement*>(e))
        return "LI";
    if (dynamic_cast<CDLElement*>(e))
        return "DL";
    return "Element";
}

// The flags that are set, by the case file's names.
std::set<std::string> FlagsOf(const CElement* e)
{
    const std::map<std::string, bool> all = {{"block", e->m_block}, {"inline", e->m_inline},
        {"linebox", e->m_lineBox}, {"canwrap", e->m_canWrap}, {"list", e->m_list}, {"deflist", e->m_defList},
        {"heading", e->m_heading}, {"tablepart", e->m_tablePart}, {"tablecell", e->m_tableCell},
        {"selectable", e->m_selectable}, {"content2", e->m_contentFlag2}, {"edgecaret", e->m_edgeCaret},
        {"breakafter", e->m_breakAfter}, {"nochild", e->m_noChild}, {"nocontainer", !e->m_container},
        {"baseurl", e->Rare().m_baseURL != nullptr}, {"captionside", e->m_captionSide == 2},
        {"layout", e->m_layoutFlag}};
    std::set<std::string> set;
    for (const auto& [name, on] : all) {
        if (on)
            set.insert(name);
    }
    return set;
}

std::set<std::string> ParseFlags(const std::string& field)
{
    std::set<std::string> set;
    if (field != "-") {
        for (const std::string& name : Split(field, ','))
            set.insert(name);
    }
    return set;
}

std::string Joined(const std::set<std::string>& set)
{
    std::string out;
    for (const std::string& s : set)
        out += (out.empty() ? "" : ",") + s;
    return out.empty() ? "-" : out;
}

class FactoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("factory-home-")));
        control = std::make_unique<CMorvaXEditorCtrl>();
        control->SetCustomBlockElements(FromUtf8(" note , box "));
        control->SetCustomEmptyElements(FromUtf8("marker"));
        engine.m_control = control.get();
    }

    qmtest::TempHome home;
    std::unique_ptr<CMorvaXEditorCtrl> control;
    CXHTML engine;
};

} // namespace

TEST_F(FactoryTest, TableOfTags)
{
    std::vector<qmtest::CaseLine> cases = qmtest::ReadCaseFile("element_factory/tags.txt", 5);
    EXPECT_GT(cases.size(), 50u);
    for (const qmtest::CaseLine& c : cases) {
        const std::vector<std::string>& f = c.fields;
        ASSERT_EQ(f.size(), 5u) << "tags.txt line " << c.line;
        std::string tag = f[0] == "(text)" ? "" : f[0];
        CElement* e = CreateElement(tag.c_str(), nullptr, nullptr, &engine);
        ASSERT_NE(e, nullptr) << tag;
        SCOPED_TRACE("tags.txt line " + std::to_string(c.line) + ": " + f[0]);
        EXPECT_EQ(ClassOf(e), f[1]);
        EXPECT_EQ(e->m_kind, std::stol(f[2]));
        EXPECT_EQ(Joined(FlagsOf(e)), Joined(ParseFlags(f[3])));
        const CDefaultMargin& m = e->m_defaultMargin;
        EXPECT_EQ(std::to_string(m.left) + "," + std::to_string(m.top) + "," + std::to_string(m.right) + ","
                + std::to_string(m.bottom),
            f[4]);
        EXPECT_EQ(ToUtf8(CSafeBuf(e->GetTagName())), tag);
        EXPECT_EQ(e->m_owner, &engine);
        EXPECT_TRUE(engine.m_doc.IsElementExist(e));
        delete e;
    }
    EXPECT_EQ(engine.m_doc.m_registry.GetCount(), 0);
}

TEST_F(FactoryTest, BodyIsItsOwnRootAndOthersTakeTheRootGiven)
{
    CElement* body = CreateElement("body", nullptr, nullptr, &engine);
    CElement* p = CreateElement("p", nullptr, body, &engine);
    EXPECT_EQ(body->m_root, body);
    EXPECT_EQ(p->m_root, body);
    CElement* other = CreateElement("body", nullptr, p, &engine);
    EXPECT_EQ(other->m_root, other);
    delete other;
    delete p;
    delete body;
}

TEST_F(FactoryTest, SubDocumentTagsAreMarked)
{
    control->SubdocumentTags = FromUtf8("box, inset");
    CElement* inset = CreateElement("inset", nullptr, nullptr, &engine);
    CElement* insets = CreateElement("insets", nullptr, nullptr, &engine);
    EXPECT_TRUE(static_cast<CCustomElement*>(inset)->m_isSubDocument);
    EXPECT_FALSE(static_cast<CCustomElement*>(insets)->m_isSubDocument);
    delete inset;
    delete insets;
}

TEST(FactoryWithoutOwner, MakesUnregisteredElementsAndNoCustomBlocks)
{
    CElement* e = CreateElement("note", nullptr, nullptr, nullptr);
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->m_inline);
    EXPECT_EQ(e->m_registry, nullptr);
    delete e;
    CElement* text = CreateElement(static_cast<const unsigned short*>(nullptr), nullptr, nullptr, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->m_kind, kKindText);
    delete text;
}

TEST(TagName, LongTagIsCutTo101Units)
{
    std::string tag(300, 'x');
    CElement* e = CreateElement(tag.c_str(), nullptr, nullptr, nullptr);
    EXPECT_EQ(ToUtf8(CSafeBuf(e->GetTagName())), std::string(101, 'x'));
    e->SetTagName(FromUtf8(std::string(101, 'y')), false);
    EXPECT_EQ(ToUtf8(CSafeBuf(e->GetTagName())), std::string(101, 'y'));
    e->SetTagName(static_cast<const char*>(nullptr), false);
    EXPECT_EQ(e->GetTagName()[0], 0);
    delete e;
}

TEST(TagTables, HoldTheirEntries)
{
    EXPECT_EQ(TagListLength(XHTMLTags), 84);
    EXPECT_EQ(TagListLength(InlineTags), 35);
    EXPECT_EQ(TagListLength(SupportHTMLTag), 59);
    EXPECT_EQ(TagListLength(StructTags), 9);
    EXPECT_EQ(TagListLength(HeadingTags), 6);
    EXPECT_EQ(TagListLength(ListTags), 6);
    EXPECT_EQ(TagListLength(BlockTags), 22);
    EXPECT_EQ(TagListLength(BLOCKTYPE), 14);
    EXPECT_EQ(FindTagInList(SupportHTMLTag, qmtest::U16(u"TD"), true),
        FindTagInList(SupportHTMLTag, qmtest::U16(u"td")));
    EXPECT_EQ(FindTagInList(SupportHTMLTag, qmtest::U16(u"TD")), -1);
}

TEST(CodePage, ChineseOnly)
{
    EXPECT_EQ(GetCodePage(qmtest::U16(u"cn")), 936);
    EXPECT_EQ(GetCodePage(qmtest::U16(u"CN")), 0);
    EXPECT_EQ(GetCodePage(nullptr), 0);
}
