// The child list under a long random sequence of links and unlinks: first,
// last, count, sibling links and parents stay consistent with a model list.

#include "element/Element.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

// Checks the list of p against the model, both directions.
void ExpectList(const CElement* p, const std::vector<CElement*>& model)
{
    ASSERT_EQ(p->m_childCount, static_cast<long>(model.size()));
    const CElement* previous = nullptr;
    size_t i = 0;
    for (const CElement* c = p->m_firstChild; c; previous = c, c = c->m_nextSibling, ++i) {
        ASSERT_LT(i, model.size());
        ASSERT_EQ(c, model[i]);
        ASSERT_EQ(c->m_parent, p);
        ASSERT_EQ(c->m_prevSibling, previous);
    }
    ASSERT_EQ(i, model.size());
    ASSERT_EQ(p->m_lastChild, previous);
    ASSERT_EQ(p->GetLastChild(), model.empty() ? nullptr : model.back());
}

} // namespace

TEST(ChildList, RandomLinksAndUnlinksKeepTheListConsistent)
{
    CElement parent(nullptr);
    std::vector<std::unique_ptr<CElement>> pool;
    for (int i = 0; i < 40; ++i)
        pool.push_back(std::make_unique<CElement>(nullptr));
    std::vector<CElement*> model;
    std::mt19937 random(20240611);
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    auto linked = [&](CElement* e) { return std::find(model.begin(), model.end(), e) != model.end(); };

    for (int step = 0; step < 6000; ++step) {
        CElement* e = pool[pick(pool.size())].get();
        int op = static_cast<int>(pick(6));
        if (!linked(e)) {
            if (op == 0) {
                ASSERT_TRUE(parent.AddToTail(e));
                model.push_back(e);
            } else if (op == 1) {
                ASSERT_TRUE(parent.AddToHead(e));
                model.insert(model.begin(), e);
            } else if (op == 2 || op == 3) {
                bool after = op == 2;
                CElement* ref = model.empty() || pick(5) == 0 ? nullptr : model[pick(model.size())];
                ASSERT_TRUE(parent.InsertInto(e, ref, after));
                auto at = ref ? std::find(model.begin(), model.end(), ref) + (after ? 1 : 0)
                              : (after ? model.end() : model.begin());
                model.insert(at, e);
            } else if (op == 4 && !model.empty()) {
                // e replaces a linked child, which leaves the list.
                CElement* old = model[pick(model.size())];
                ASSERT_TRUE(parent.ReplaceElementPointer(old->GetID(), e));
                *std::find(model.begin(), model.end(), old) = e;
                old->m_prevSibling = old->m_nextSibling = nullptr;
            } else {
                // Not a child: the list is left alone.
                ASSERT_FALSE(parent.RemoveCurrentChildFromList(e));
            }
        } else if (op < 4) {
            ASSERT_TRUE(parent.RemoveCurrentChildFromList(e));
            EXPECT_EQ(e->m_prevSibling, nullptr);
            EXPECT_EQ(e->m_nextSibling, nullptr);
            model.erase(std::find(model.begin(), model.end(), e));
        } else {
            // A linked element named by another's identifier is not found.
            ASSERT_FALSE(parent.ReplaceElementPointer(-1, e));
        }
        ExpectList(&parent, model);
        if (HasFatalFailure())
            return;
    }
    // The parent's destructor destroys what is still linked.
    for (auto& owned : pool) {
        if (linked(owned.get()))
            owned.release();
    }
}

TEST(ChildList, LinksThatWouldMakeACycleAreRefused)
{
    CElement* top = new CElement(nullptr);
    CElement* middle = new CElement(nullptr);
    CElement* bottom = new CElement(nullptr);
    ASSERT_TRUE(top->AddToTail(middle));
    ASSERT_TRUE(middle->AddToTail(bottom));
    EXPECT_FALSE(top->AddToTail(top));
    EXPECT_FALSE(bottom->AddToHead(top));
    EXPECT_FALSE(bottom->InsertInto(middle, nullptr, true));
    EXPECT_FALSE(bottom->AppendChild(top));
    EXPECT_FALSE(top->AddToTail(nullptr));
    CElement stranger(nullptr);
    CElement* loose = new CElement(nullptr);
    EXPECT_FALSE(top->InsertInto(loose, &stranger, true)) << "ref is not a child";
    EXPECT_EQ(top->m_childCount, 1);
    delete loose;
    delete top;
}

TEST(ChildList, InsertChildByIdentifierAppendsForAnUnknownOne)
{
    CElement parent(nullptr);
    CElement* a = new CElement(nullptr);
    CElement* b = new CElement(nullptr);
    CElement* c = new CElement(nullptr);
    CElement* d = new CElement(nullptr);
    EXPECT_TRUE(parent.InsertChild(a, 0, true));
    EXPECT_TRUE(parent.InsertChild(b, a->GetID(), false));
    EXPECT_TRUE(parent.InsertChild(c, 0, false));
    EXPECT_FALSE(parent.InsertChild(d, 987654321, false));
    ExpectList(&parent, {c, b, a, d});
    EXPECT_EQ(parent.GetChild(b->GetID(), 1), a);
    EXPECT_EQ(parent.GetChild(b->GetID(), 2), c);
    EXPECT_EQ(parent.GetChild(987654321, 0), nullptr);
}

TEST(ChildList, CountsAndFirstChildCanSkipEmptyTextAndFloats)
{
    CElement parent(nullptr);
    CElement* empty1 = new CElement(nullptr);
    CElement* empty2 = new CElement(nullptr);
    CElement* b = new CElement(nullptr);
    empty1->m_kind = empty2->m_kind = kKindText;
    b->m_kind = kKindB;
    empty1->m_floating = 1;
    parent.AddToTail(empty1);
    parent.AddToTail(empty2);
    parent.AddToTail(b);
    EXPECT_EQ(parent.GetChildCount(true), 1);
    EXPECT_EQ(parent.GetChildCount(false), 3);
    EXPECT_EQ(parent.GetFirstChild(true), empty2);
    EXPECT_EQ(parent.GetFirstChild(), empty1);
    parent.ResetChild();
    EXPECT_EQ(parent.m_childCount, 0);
    EXPECT_EQ(parent.m_firstChild, nullptr);
    delete empty1;
    delete empty2;
    delete b;
}
