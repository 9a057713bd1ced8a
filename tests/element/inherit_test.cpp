// Inheritance from the parent (tests/data/inheritance/cases.txt and the
// tests below), style upkeep, copies and moves of elements.

#include "element/Element.h"

#include "base/text/U16.h"
#include "editor/XHTML.h"
#include "element/ElementUtilities.h"
#include "element/factory/ElementFactory.h"
#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"
#include "tests/element/support/TreeBuilder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using qmtest::BuildTree;
using qmtest::BuiltTree;
using qmtest::ReadCaseFile;
using qmtest::U16;

namespace {

std::unique_ptr<CElement> New(const char* tag)
{
    return std::unique_ptr<CElement>(CreateElement(tag, nullptr, nullptr, nullptr));
}

// The tag names of e's children, joined by ",".
std::string Children(const CElement* e)
{
    std::string out;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        out += (out.empty() ? "" : ",") + qmtest::Utf8(c->GetTagName(), U16len(c->GetTagName()));
    return out;
}

} // namespace

TEST(Inheritance, LinkStateAndDirectionOverrideFromTheTree)
{
    for (const auto& c : ReadCaseFile("inheritance/cases.txt", 2)) {
        CXHTML engine;
        BuiltTree t = BuildTree(c.fields[0], &engine);
        ASSERT_NE(t.marked, nullptr) << "line " << c.line;
        // The builder links each subtree before its parent is linked; pass
        // down from the root again, as the reader and StyleChanged do.
        t.root->UpdateElement(0);
        EXPECT_EQ(c.fields[1],
            std::to_string(t.marked->m_linkState) + " " + std::to_string(t.marked->m_dirOverride))
            << "line " << c.line;
    }
}

TEST(Inheritance, FontAndTextValuesFillOnlyWhatTheElementLacks)
{
    auto parent = New("div"), child = New("span"), heading = New("h1"), alone = New("span");
    ELEMENT_STYLE& p = parent->EditStyle();
    p.fontSize = 20;
    p.fontWeight = 700;
    p.italic = 1;
    p.sizeSet = p.weightSet = p.italicSet = p.colorSet = 1;
    p.color = 5;
    child->EditStyle().italicSet = 1; // the child's own "normal" stays
    heading->EditStyle().fontSize = 32;
    alone->m_noInherit = 1;

    child->CopyFromParent(parent.get(), 4 | 1);
    EXPECT_NE(700, child->Style().fontWeight) << "mode 4 stops before the font values";
    child->CopyFromParent(parent.get(), 1);
    const ELEMENT_STYLE& s = child->Style();
    EXPECT_EQ(20, s.fontSize);
    EXPECT_EQ(0, s.italic);
    EXPECT_EQ(5, s.color);
    EXPECT_TRUE(s.sizeInherited && !s.sizeSet && !s.colorSet) << "inherited values never count as own";
    p.fontWeight = 400;
    child->CopyFromParent(parent.get(), 1);
    EXPECT_EQ(400, s.fontWeight) << "a second pass refreshes what was inherited";
    heading->CopyFromParent(parent.get(), 1);
    EXPECT_EQ(32, heading->Style().fontSize) << "a heading keeps its own size";
    alone->CopyFromParent(parent.get(), 1);
    EXPECT_NE(700, alone->Style().fontWeight);
}

TEST(Inheritance, DirectionAndCellAlignment)
{
    auto parent = New("div"), ltr = New("span");
    parent->EditStyle().rtl = 1;
    ltr->EditStyle().direction.set = true;
    ltr->EditStyle().direction.origin = kOriginStyleAttribute;
    ltr->EditStyle().direction.value = kDirectionLtr;
    ltr->CopyFromParent(parent.get(), 4);
    EXPECT_EQ(0, ltr->Style().rtl) << "an explicit left-to-right wins";

    auto cell = New("td"), p = New("p"), own = New("p");
    cell->EditStyle().align = kAlignCenter | kAlignBottom;
    p->CopyFromParent(cell.get(), 1);
    EXPECT_EQ(kAlignCenter | kAlignBottom, p->Style().align);
    own->EditStyle().align = kAlignRight;
    own->EditStyle().hAlignSet = 1;
    own->CopyFromParent(cell.get(), 1);
    EXPECT_EQ(kAlignRight | kAlignBottom, own->Style().align) << "only the half it lacks";
}

TEST(Inheritance, CopyStyleFromByMode)
{
    ELEMENT_STYLE from{};
    from.color = 5;
    from.fontWeight = 700;
    from.markerColor.set = true;
    from.lineHeight.set = true;
    auto a = New("span"), b = New("span");
    a->CopyStyleFrom(&from, 8 | 4);
    EXPECT_EQ(5, a->Style().color);
    EXPECT_NE(700, a->Style().fontWeight);
    EXPECT_FALSE(a->Style().markerColor.set);
    b->CopyStyleFrom(&from, 1);
    EXPECT_EQ(700, b->Style().fontWeight);
    EXPECT_TRUE(b->Style().markerColor.set && b->Style().lineHeight.set);
}

TEST(StyleUpkeep, ResetKeepsClearAndRemoveClearsOnlyTheGroupsGiven)
{
    auto e = New("p");
    ELEMENT_STYLE& s = e->EditStyle();
    s.clear.value = kFloatBoth;
    s.fontWeight = 700;
    e->ResetStyle(false);
    EXPECT_EQ(kFloatBoth, s.clear.value);
    EXPECT_EQ(0, s.fontWeight);
    EXPECT_EQ(0, U16cmp(s.fontFamily, "Times New Roman"));

    s.align = kAlignRight | kAlignMiddle;
    s.hAlignSet = s.vAlignSet = s.colorSet = s.weightSet = 1;
    s.fontWeight = 700;
    ELEMENT_STYLE remove{};
    remove.vAlignSet = remove.colorSet = 1;
    e->RemoveStyle(&remove);
    EXPECT_EQ(kAlignRight, s.align) << "the horizontal half stays";
    EXPECT_EQ(static_cast<std::int32_t>(RGB(128, 128, 128)), s.color);
    EXPECT_EQ(700, s.fontWeight) << "the font group was not given";

    s.widthSet = 1;
    s.width = 300;
    s.heightSet = 1;
    s.heightUnit = kUnitPercent;
    e->SetAttrFromStyle();
    EXPECT_EQ(CRect(0, 0, 300, 0), e->Lay().m_cssRect) << "pixel sizes only";
}

TEST(ElementCopies, DuplicateAndCompareAttributes)
{
    CXHTML engine;
    BuiltTree t = BuildTree("<body><p _mark='' id='a' class='c'><b>x</b></p></body>", &engine);
    CElement* p = t.marked;
    std::unique_ptr<CElement> copy(p->Duplicate());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(p->m_parent, copy->m_parent);
    EXPECT_EQ(nullptr, copy->m_firstChild);
    EXPECT_EQ(1, p->m_parent->GetChildCount()) << "the copy is not linked";
    EXPECT_TRUE(CompareAttributes(p, copy.get()));

    auto other = New("p");
    other->m_attributes.SetAt("class", CSafeBuf("c"));
    other->m_attributes.SetAt("id", CSafeBuf("a"));
    EXPECT_TRUE(CompareAttributes(p, other.get())) << "in any order";
    other->m_attributes.RemoveKey("id");
    other->m_attributes.SetAt("ID", CSafeBuf("a"));
    EXPECT_FALSE(CompareAttributes(p, other.get()));
}

TEST(ElementCopies, MoveToBlockStopsAtTheNextBlockAndAtTheBlockItself)
{
    CXHTML engine;
    BuiltTree t = BuildTree("<body><span _mark=''/><em/><p/><i/></body>", &engine);
    std::unique_ptr<CElement> block(CreateElement("div", nullptr, t.root, &engine));
    MoveToBlock(t.marked, block.get());
    EXPECT_EQ("span,em", Children(block.get()));
    EXPECT_EQ("p,i", Children(t.root));

    BuiltTree u = BuildTree("<body><span _mark=''/><em/><b><q/></b><i/></body>", &engine);
    CElement* b = u.root->FindChild(U16(u"b"), 0, false);
    MoveToBlock(u.marked, b->m_firstChild); // q lies inside b: b cannot go into it
    EXPECT_EQ("span,em", Children(b->m_firstChild));
    EXPECT_EQ("b,i", Children(u.root));
    MoveToBlock(nullptr, b);
    MoveToBlock(u.root, b); // no parent: nothing
    EXPECT_EQ("b,i", Children(u.root));
}
