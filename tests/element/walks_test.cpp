// Queries and walks over small trees: sibling walks over the pieces of
// wrapped inline elements, indexes, ancestor and descendant queries, listing
// and content tests.

#include "element/TreeQueries.h"

#include "base/collections/ListInt.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/SiblingIndex.h"
#include "tests/common/TextHelpers.h"
#include "tests/element/support/TreeBuilder.h"

#include <gtest/gtest.h>

using qmtest::BuildTree;
using qmtest::BuiltTree;
using qmtest::ToUtf8;
using qmtest::U16;

namespace {

// The n-th element (from 0) in document order, the root being 0.
CElement* Nth(CElement* root, int n)
{
    CPtrList all;
    all.AddTail(root);
    root->GetAllChildren(&all, -1, false, 0, 0);
    return static_cast<CElement*>(all.GetAt(all.FindIndex(n)));
}

} // namespace

TEST(Walks, SiblingWalksCountAWrappedElementOnce)
{
    CXHTML engine;
    // b is one element wrapped into three pieces (group 7), then a text run,
    // a comment and an i.
    BuiltTree t = BuildTree("<body><p><b _group='7' _mark=''>a</b><b _group='7'>b</b><b _group='7'>c</b>"
                            "text<!--note--><i>d</i><b>e</b></p></body>",
        &engine);
    CElement* first = t.marked;
    CElement* p = first->m_parent;
    CElement* text = p->FindChild(kKindText, 0, false);
    CElement* i = p->FindChild(kKindI, 0, false);
    EXPECT_EQ(first->GetBrother(true, false, false), first->m_nextSibling);
    EXPECT_EQ(first->GetBrother(true, true, false), text);
    EXPECT_EQ(first->GetBrother(true, true, true), i);
    EXPECT_EQ(i->GetBrother(false, true, true), p->m_firstChild->m_nextSibling->m_nextSibling)
        << "i has no group: only text and comment are passed over";
    EXPECT_EQ(first->GetBrother(false, true, true), nullptr);

    CElement* lastB = p->m_lastChild;
    EXPECT_EQ(lastB->GetIndex(), 1);
    EXPECT_EQ(p->m_firstChild->m_nextSibling->GetIndex(), 0) << "a later piece of the first b";
    EXPECT_EQ(p->FindElementByIndex(U16(u"b"), 1), first);
    EXPECT_EQ(p->FindElementByIndex(U16(u"b"), 2), lastB);
    EXPECT_EQ(p->FindElementByIndex(U16(u"b"), 3), nullptr);
    EXPECT_EQ(p->FindChild(U16(u"b"), 3, false), lastB) << "FindChild counts every piece";
}

TEST(Walks, SiblingIndexAnswersAsGetIndex)
{
    CXHTML engine;
    // Pieces of wrapped b elements, one group split around another, text
    // runs, custom and list items among other kinds.
    BuiltTree t
        = BuildTree("<body><p><b _group='7'>a</b><b _group='7'>b</b>t<b>c</b><i>i</i><b _group='9'>d</b>"
                    "<b _group='8'>e</b><b _group='9'>f</b>u<b>g</b><b _group='8'>h</b><i>j</i></p>"
                    "<ul><li>1</li><!--c--><li>2</li><li>3</li></ul><p>v</p><x-y>w</x-y><p>z</p></body>",
            &engine);
    int checked = 0;
    CPtrList all;
    all.AddTail(t.root);
    t.root->GetAllChildren(&all, -1, false, 0, 0);
    all.ForEachItem([&checked](void* item) {
        CSiblingIndex index;
        for (const CElement* c = static_cast<CElement*>(item)->m_firstChild; c;
             c = c->m_nextSibling, ++checked)
            EXPECT_EQ(index.Next(c), c->GetIndex()) << ToUtf8(CSafeBuf(c->GetTagName())) << " #" << checked;
    });
    EXPECT_GT(checked, 20);
}

TEST(Walks, AncestorAndDescendantQueries)
{
    CXHTML engine;
    BuiltTree t
        = BuildTree("<body><table><tr><td><table><tr><td _mark=''>x</td></tr></table></td></tr></table>"
                    "<h2 class='k'><ul><li><div class='c'><span>y</span></div></li></ul></h2></body>",
            &engine);
    CElement* inner = t.marked;
    CElement* text = inner->m_firstChild;
    CElement* outerCell = inner->IsElementUnderTag(kKindTd);
    ASSERT_NE(outerCell, nullptr);
    EXPECT_EQ(text->IsElementUnderTag(kKindTd), inner);
    EXPECT_EQ(outerCell->IsElementUnderTag(kKindTd), nullptr);
    EXPECT_TRUE(IsSubElementOf(inner, inner->GetID()));
    EXPECT_FALSE(IsDescendantOf(inner, inner->GetID()));
    EXPECT_TRUE(IsDescendantOf(t.root, text->GetID()));
    EXPECT_FALSE(IsDescendantOf(nullptr, text->GetID()));

    CElement* span = t.root->FindChild(kKindSpan, 0, true);
    ASSERT_NE(span, nullptr);
    EXPECT_EQ(span->IsElementUnderTag(U16(u"div"), U16(u"c")), span->m_parent);
    EXPECT_EQ(span->IsElementUnderTag("div", "C"), nullptr) << "class compared exactly";
    EXPECT_EQ(span->IsElementUnderTag("h2", ""), t.root->m_lastChild);
    EXPECT_EQ(span->IsElementUnderClass(0), t.root->m_lastChild);
    EXPECT_EQ(span->IsElementUnderClass(1)->m_kind, kKindUl);
    EXPECT_EQ(span->IsElementUnderClass(2), nullptr);
    EXPECT_EQ(FindSameParent(span, text), t.root);
    EXPECT_EQ(FindSameParent(span, span->m_parent), span->m_parent);
    EXPECT_TRUE(span->IsOneOfParent(t.root));
    EXPECT_FALSE(span->IsOneOfParent(span));

    CListInt kinds;
    kinds.AddTail(static_cast<long>(kKindDiv));
    kinds.AddTail(static_cast<long>(kKindSpan));
    CPtrList found;
    t.root->GetAllChildrenEx(&found, &kinds);
    ASSERT_EQ(found.GetCount(), 1) << "div is searched through but never listed";
    EXPECT_EQ(found.GetHead(), span);
}

TEST(Walks, ListingOrderAndLimits)
{
    CXHTML engine;
    BuiltTree t = BuildTree("<body><p>a<b>b</b></p><div><p>c</p></div><p>d</p></body>", &engine);
    CPtrList all, two, paragraphs, skipped;
    t.root->GetAllChildren(&all, -1, false, 0, 0);
    EXPECT_EQ(all.GetCount(), 8) << "everything below the body but the div";
    t.root->GetAllChildren(&two, -1, false, 0, 2);
    EXPECT_EQ(two.GetCount(), 2);
    t.root->GetAllChildren(&paragraphs, -1, false, kKindP, 0);
    EXPECT_EQ(paragraphs.GetCount(), 3);
    t.root->GetAllChildren(&skipped, kKindDiv, false, kKindP, 0);
    EXPECT_EQ(skipped.GetCount(), 2);

    int count = 0;
    CElement* c = Nth(t.root, 6);
    EXPECT_TRUE(t.root->ElementDeep(count, c->GetID()));
    EXPECT_EQ(count, 8) << "the div counts here";
    EXPECT_EQ(t.root->IsBeyondElement(Nth(t.root, 2), Nth(t.root, 5)), 1);
    EXPECT_EQ(t.root->IsBeyondElement(Nth(t.root, 5), Nth(t.root, 2)), -1);
    EXPECT_EQ(t.root->m_firstChild->IsBeyondElement(Nth(t.root, 7), nullptr), 0);
    EXPECT_EQ(t.root->GetCurrentIndex(), 1);
    EXPECT_EQ(t.root->m_lastChild->GetCurrentIndex(), 2);
    EXPECT_EQ(t.root->GetFirstValidSubElement(0, false)->m_text == "a", true);
    EXPECT_EQ(t.root->GetFirstValidSubElement(0, true)->m_text == "d", true);
    EXPECT_EQ(t.root->m_firstChild->GetValidChildElement(0, -1)->m_text == "a", true);

    CListInt path;
    GetParentIndexList(Nth(t.root, 6), &path);
    EXPECT_EQ(path.GetCount(), 3);
    EXPECT_EQ(path.GetHead(), 0);
    EXPECT_EQ(path.GetTail(), 1);
}

TEST(Walks, ContentTests)
{
    CXHTML engine;
    BuiltTree t = BuildTree(
        "<body><p><span>x</span><span><!--c--></span><i><b/></i></p><p><img/></p></body>", &engine);
    CElement* p = t.root->m_firstChild;
    CElement* emptyText = p->m_firstChild->m_firstChild;
    emptyText->m_text.Empty();
    EXPECT_TRUE(p->m_firstChild->IsEmptyTag(true));
    EXPECT_FALSE(p->m_firstChild->m_nextSibling->IsEmptyTag(true)) << "a comment is content";
    EXPECT_TRUE(p->m_lastChild->IsEmptyTag(true));
    EXPECT_FALSE(p->IsEmptyTag(true)) << "a block counts itself as content";
    EXPECT_FALSE(t.root->m_lastChild->IsEmptyTag(false)) << "an image is content";
    EXPECT_TRUE(IsThereBlockTypeChild(t.root, false));
    EXPECT_FALSE(IsThereBlockTypeChild(p, true));
    EXPECT_EQ(CountChildBlockEle(t.root), 2);
    EXPECT_EQ(IsUnderParagraph(emptyText), p);
    EXPECT_TRUE(IsRTLChild(t.root->m_lastChild->m_firstChild, false)) << "an image first in its block";

    CElement* b1 = p->m_lastChild->m_firstChild;
    b1->m_attributes.SetAt("class", qmtest::Wide("k"));
    CElement* span = p->m_firstChild;
    EXPECT_FALSE(span->IsTagSameWith(b1));
    EXPECT_TRUE(span->IsTagSameWith(span->m_nextSibling));

    ReverseChild(p);
    EXPECT_EQ(p->m_firstChild->m_kind, kKindI);
    EXPECT_EQ(p->m_lastChild, span);
    EXPECT_EQ(p->m_firstChild->m_prevSibling, nullptr);
    EXPECT_EQ(span->m_nextSibling, nullptr);
    EXPECT_EQ(span->m_prevSibling->m_prevSibling, p->m_firstChild);
}

TEST(Walks, NestedListsAndPositions)
{
    CXHTML engine;
    BuiltTree t
        = BuildTree("<body><ul><li _mark=''>a<ol><li>b</li><li>c<ul><li>d</li></ul></li></ol></li></ul>"
                    "<p>x</p><p>y</p></body>",
            &engine);
    CElement* last = GetLastTextLiOfNestedList(t.marked);
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(last->m_firstChild->m_text == "d");
    EXPECT_EQ(GetLastTextLiOfNestedList(t.root), nullptr);

    CElement* x = t.root->m_firstChild->m_nextSibling->m_firstChild;
    CElement* y = t.root->m_lastChild->m_firstChild;
    POINT none{0, 0};
    EXPECT_TRUE(IsPointCloser(none, none, none, x, y, x, 1)) << "c is a and not b";
    EXPECT_FALSE(IsPointCloser(none, none, none, nullptr, y, x, 1));
    EXPECT_TRUE(IsPointCloser(none, none, none, x, y, y, 1));
    EXPECT_FALSE(IsPointCloser(none, none, none, x, y, y, 2));
    EXPECT_TRUE(IsPointCloser(none, none, none, y, x, x, 2));
    EXPECT_FALSE(IsPointCloser(none, none, none, x, y, y, 3));

    CPtrList around;
    GetCurrentBlockChildren(y, &around);
    EXPECT_EQ(around.GetCount(), 1);
    CPtrList parents;
    GetParentList(y, &parents);
    EXPECT_EQ(parents.GetCount(), 2);
}
