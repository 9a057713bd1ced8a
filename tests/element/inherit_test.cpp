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
    auto parent = New("div"), child = New("span"), heading = New("h1");
    ELEMENT_STYLE& p = parent->m_style;
    p.fontSize = 20;
    p.sizeSet = 1;
    p.fontWeight = 700;
    p.weightSet = 1;
    p.italic = 1;
    p.italicSet = 1;
    p.color = static_cast<std::int32_t>(RGB(255, 0, 0));
    p.colorSet = 1;
    U16cpy(p.fontFamily, "Arial");
    p.familySet = 1;
    child->m_style.italicSet = 1; // the child's own "normal" stays
    heading->m_style.fontSize = 32;

    ASSERT_TRUE(child->CopyFromParent(parent.get(), 1));
    const ELEMENT_STYLE& s = child->m_style;
    EXPECT_EQ(20, s.fontSize);
    EXPECT_EQ(700, s.fontWeight);
    EXPECT_TRUE(s.sizeInherited && s.weightInherited && s.familyInherited);
    EXPECT_FALSE(s.sizeSet) << "inherited values never count as the element's own";
    EXPECT_EQ(0, s.italic);
    EXPECT_EQ(static_cast<std::int32_t>(RGB(255, 0, 0)), s.color);
    EXPECT_FALSE(s.colorSet);
    EXPECT_EQ(0, U16cmp(s.fontFamily, "Arial"));

    p.fontWeight = 400; // a second pass refreshes what was inherited
    child->CopyFromParent(parent.get(), 1);
    EXPECT_EQ(400, s.fontWeight);

    heading->CopyFromParent(parent.get(), 1);
    EXPECT_EQ(32, heading->m_style.fontSize) << "a heading keeps its own size";

    auto alone = New("span"), attributes = New("span");
    alone->m_noInherit = 1;
    alone->CopyFromParent(parent.get(), 1);
    EXPECT_NE(700, alone->m_style.fontWeight);
    parent->m_attributes.SetAt("title", CSafeBuf("t"));
    attributes->CopyFromParent(parent.get(), 4 | 1);
    EXPECT_NE(700, attributes->m_style.fontWeight) << "mode 4 stops before the font values";
    attributes->CopyFromParent(parent.get(), 2);
    EXPECT_EQ(1, attributes->GetAttrCount());
    EXPECT_FALSE(child->CopyFromParent(nullptr, 1));
}

TEST(Inheritance, DirectionAndCellAlignment)
{
    auto parent = New("div"), child = New("span"), ltr = New("span");
    parent->m_style.rtl = 1;
    child->CopyFromParent(parent.get(), 4);
    EXPECT_EQ(1, child->m_style.rtl);
    ltr->m_style.direction.set = true;
    ltr->m_style.direction.origin = kOriginStyleAttribute;
    ltr->m_style.direction.value = kDirectionLtr;
    ltr->CopyFromParent(parent.get(), 4);
    EXPECT_EQ(0, ltr->m_style.rtl) << "an explicit left-to-right wins";

    auto cell = New("td"), p = New("p"), own = New("p");
    cell->m_style.align = kAlignCenter | kAlignBottom;
    p->CopyFromParent(cell.get(), 1);
    EXPECT_EQ(kAlignCenter | kAlignBottom, p->m_style.align);
    own->m_style.align = kAlignRight;
    own->m_style.hAlignSet = 1;
    own->CopyFromParent(cell.get(), 1);
    EXPECT_EQ(kAlignRight | kAlignBottom, own->m_style.align) << "only the half it lacks";
}

TEST(Inheritance, CopyStyleFromByMode)
{
    ELEMENT_STYLE from{};
    from.color = 5;
    from.fontWeight = 700;
    U16cpy(from.fontFamily, "Courier");
    from.markerColor.set = true;
    from.markerColor.value = 9;
    from.lineHeight.set = true;
    from.lineHeight.value = 120;

    auto a = New("span");
    a->CopyStyleFrom(&from, 8 | 4);
    EXPECT_EQ(5, a->m_style.color);
    EXPECT_EQ(0, U16cmp(a->m_style.fontFamily, "Courier"));
    EXPECT_NE(700, a->m_style.fontWeight);
    EXPECT_FALSE(a->m_style.markerColor.set);

    auto b = New("span");
    b->CopyStyleFrom(&from, 1);
    EXPECT_EQ(700, b->m_style.fontWeight);
    EXPECT_EQ(9, b->m_style.markerColor.value);
    EXPECT_EQ(120, b->m_style.lineHeight.value);
    EXPECT_FALSE(b->CopyStyleFrom(nullptr, 1));
}

TEST(StyleUpkeep, ResetKeepsClearAndRemoveClearsOnlyTheGroupsGiven)
{
    auto e = New("p");
    e->m_style.clear.set = true;
    e->m_style.clear.value = kFloatBoth;
    e->m_style.fontWeight = 700;
    e->m_attributes2.SetAt("x", CSafeBuf("y"));
    e->m_sizeRect = CRect(0, 0, 10, 10);
    e->ResetStyle(false);
    EXPECT_EQ(kFloatBoth, e->m_style.clear.value);
    EXPECT_EQ(0, e->m_style.fontWeight);
    EXPECT_EQ(0, U16cmp(e->m_style.fontFamily, "Times New Roman"));
    EXPECT_TRUE(e->m_attributes2.IsEmpty());
    EXPECT_EQ(10, e->m_sizeRect.right);
    e->ResetStyle(true);
    EXPECT_EQ(0, e->m_sizeRect.right);

    ELEMENT_STYLE& s = e->m_style;
    s.align = kAlignRight | kAlignMiddle;
    s.hAlignSet = s.vAlignSet = 1;
    s.colorSet = 1;
    s.color = 0;
    s.bkColorSet = 1;
    s.bkImageSet = 1;
    s.bkImage[0] = 'a';
    s.fontWeight = 700;
    s.weightSet = 1;
    ELEMENT_STYLE remove{};
    remove.vAlignSet = 1;
    remove.colorSet = 1;
    remove.bkColorSet = 1;
    e->RemoveStyle(&remove);
    EXPECT_EQ(kAlignRight, s.align) << "the horizontal half stays";
    EXPECT_EQ(static_cast<std::int32_t>(RGB(128, 128, 128)), s.color);
    EXPECT_FALSE(s.colorSet);
    EXPECT_EQ(static_cast<std::int32_t>(RGB(255, 255, 255)), s.bkColor);
    EXPECT_EQ(0, s.bkImage[0]);
    EXPECT_EQ(700, s.fontWeight) << "the font group was not given";
    remove = ELEMENT_STYLE{};
    remove.weightSet = 1;
    e->RemoveStyle(&remove);
    EXPECT_EQ(100, s.fontWeight);
}

TEST(StyleUpkeep, SetAttrFromStyleRecordsPixelSizesOnly)
{
    auto e = New("div");
    e->m_style.widthSet = 1;
    e->m_style.width = 300;
    e->m_style.heightSet = 1;
    e->m_style.heightUnit = kUnitPercent;
    e->m_style.height = 50;
    e->m_cssRect.bottom = 7;
    EXPECT_TRUE(e->SetAttrFromStyle());
    EXPECT_EQ(300, e->m_cssRect.right);
    EXPECT_EQ(0, e->m_cssRect.bottom);
    e->m_style.widthSet = 0;
    e->SetAttrFromStyle();
    EXPECT_EQ(0, e->m_cssRect.right);
    auto body = New("body");
    body->m_cssRect.right = 640;
    body->SetAttrFromStyle();
    EXPECT_EQ(640, body->m_cssRect.right) << "a body keeps its width";
}

TEST(ElementCopies, DuplicateAndCompareAttributes)
{
    CXHTML engine;
    BuiltTree t = BuildTree("<body><p _mark='' id='a' class='c'><b>x</b></p></body>", &engine);
    CElement* p = t.marked;
    p->m_style.fontWeight = 700;
    std::unique_ptr<CElement> copy(p->Duplicate());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->IsTag("p"));
    EXPECT_EQ(700, copy->m_style.fontWeight);
    EXPECT_EQ(p->m_parent, copy->m_parent);
    EXPECT_EQ(nullptr, copy->m_firstChild);
    EXPECT_EQ(1, p->m_parent->GetChildCount()) << "the copy is not linked";
    EXPECT_TRUE(CompareAttributes(p, copy.get()));

    auto reordered = New("p"), differing = New("p");
    reordered->m_attributes.SetAt("class", CSafeBuf("c"));
    reordered->m_attributes.SetAt("id", CSafeBuf("a"));
    differing->m_attributes.SetAt("class", CSafeBuf("c"));
    differing->m_attributes.SetAt("ID", CSafeBuf("a"));
    EXPECT_TRUE(CompareAttributes(p, reordered.get()));
    EXPECT_FALSE(CompareAttributes(p, differing.get()));
    EXPECT_FALSE(CompareAttributes(p, nullptr));
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

TEST(ElementCopies, InsertHTMLCodeAnswersWhetherTheMarkupParsed)
{
    auto e = New("div");
    EXPECT_TRUE(e->InsertHTMLCodeToElement(U16(u"<b>x</b>text")));
    EXPECT_FALSE(e->InsertHTMLCodeToElement(U16(u"<b>x")));
    EXPECT_FALSE(e->InsertHTMLCodeToElement(U16(u"</top><top>")))
        << "markup that closes the wrapper does not parse";
}
