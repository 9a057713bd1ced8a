// Large trees are destroyed whole: ten thousand elements side by side, and a
// chain nested ten thousand deep. The destruction runs on a thread with a
// small stack (256 KB), on which destroying the chain recursively, one frame
// per level, would overflow.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "tests/common/SmallStack.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <functional>
#include <vector>

namespace {

void DestroyTree(CXDoc& doc)
{
    ASSERT_TRUE(qmtest::RunOnSmallStack(
        [&doc] {
            delete doc.m_root;
            doc.m_root = nullptr;
        },
        256 * 1024));
    EXPECT_EQ(doc.m_root, nullptr);
    EXPECT_EQ(doc.m_registry.GetCount(), 0);
}

} // namespace

TEST(Destruction, WideTreeOfTenThousandElements)
{
    CXHTML engine;
    CXDoc& doc = engine.m_doc;
    CElement* body = CreateElement("body", nullptr, nullptr, &engine);
    doc.m_root = body;
    for (int p = 0; p < 100; ++p) {
        CElement* para = CreateElement("p", nullptr, body, &engine);
        ASSERT_TRUE(body->AppendChild(para));
        for (int i = 0; i < 99; ++i) {
            CElement* child = CreateElement(i % 2 ? "b" : "", nullptr, body, &engine);
            ASSERT_TRUE(para->AppendChild(child));
        }
    }
    EXPECT_EQ(doc.m_registry.GetCount(), 10001);
    DestroyTree(doc);
}

TEST(Destruction, ChainNestedTenThousandDeep)
{
    CXHTML engine;
    CXDoc& doc = engine.m_doc;
    CElement* body = CreateElement("body", nullptr, nullptr, &engine);
    doc.m_root = body;
    CElement* deepest = body;
    for (int i = 0; i < 10000; ++i) {
        CElement* child = CreateElement("span", nullptr, body, &engine);
        ASSERT_TRUE(deepest->AddToTail(child));
        deepest = child;
    }
    EXPECT_EQ(doc.m_registry.GetCount(), 10001);
    EXPECT_EQ(deepest->RepeatOfSameParentType(kKindSpan), 9999);
    DestroyTree(doc);
}

// A subtree destroyed while the rest of the tree lives: the elements that go
// leave the registry, every other one is still found by identifier and by
// address, and the parent's list holds the siblings left.
TEST(Destruction, SubtreeGoesWhileTheRestStays)
{
    CXHTML engine;
    CXDoc& doc = engine.m_doc;
    CElement* body = CreateElement("body", nullptr, nullptr, &engine);
    doc.m_root = body;
    std::vector<CElement*> divs;
    for (int d = 0; d < 3; ++d) {
        CElement* div = CreateElement("div", nullptr, body, &engine);
        ASSERT_TRUE(body->AppendChild(div));
        divs.push_back(div);
        for (int p = 0; p < 30; ++p) {
            CElement* para = CreateElement("p", nullptr, body, &engine);
            ASSERT_TRUE(div->AppendChild(para));
            for (int i = 0; i < 10; ++i)
                ASSERT_TRUE(para->AppendChild(CreateElement(i % 2 ? "b" : "", nullptr, body, &engine)));
        }
    }
    const int each = 1 + 30 * 11;
    ASSERT_EQ(doc.m_registry.GetCount(), 1 + 3 * each);
    std::vector<long> gone;
    for (CElement* e = divs[1]; e; e = e->m_firstChild ? e->m_firstChild : e->m_nextSibling) {
        gone.push_back(e->GetID());
        if (gone.size() > 5)
            break;
    }
    ASSERT_TRUE(body->RemoveChild(divs[1]->GetID(), true, false));
    EXPECT_EQ(doc.m_registry.GetCount(), 1 + 2 * each);
    for (long id : gone)
        EXPECT_EQ(doc.FindElement(id), nullptr);
    EXPECT_EQ(body->GetChildCount(false), 2);
    EXPECT_EQ(divs[0]->m_nextSibling, divs[2]);
    for (CElement* div : {divs[0], divs[2]}) {
        for (CElement* p = div->m_firstChild; p; p = p->m_nextSibling) {
            EXPECT_TRUE(doc.IsElementExist(p));
            for (CElement* c = p->m_firstChild; c; c = c->m_nextSibling)
                ASSERT_EQ(doc.FindElement(c->GetID()), c);
        }
    }
    DestroyTree(doc);
}

// Leaves destroyed one by one take their attributes and text with them and
// leave the registry (the sanitizer build reports anything left behind), and
// a childless body that is the document's root still lets the document go
// of it.
TEST(Destruction, LeavesAndAChildlessBodyGoWhole)
{
    CXHTML engine;
    CXDoc& doc = engine.m_doc;
    CElement* body = CreateElement("body", nullptr, nullptr, &engine);
    doc.m_root = body;
    CElement* para = CreateElement("p", nullptr, body, &engine);
    ASSERT_TRUE(body->AppendChild(para));
    para->m_attributes.SetAt("class", CSafeBuf(reinterpret_cast<const unsigned char*>("lead")));
    para->m_attributes.SetAt("title", CSafeBuf(reinterpret_cast<const unsigned char*>("a longer value")));
    CElement* run = CreateElement("", nullptr, body, &engine);
    run->m_text = CSafeBuf(reinterpret_cast<const unsigned char*>("the words of the run"));
    ASSERT_TRUE(para->AppendChild(run));
    const long paraId = para->GetID();
    const long runId = run->GetID();
    ASSERT_EQ(doc.m_registry.GetCount(), 3);

    ASSERT_TRUE(para->RemoveChild(runId, true, false));
    EXPECT_EQ(doc.m_registry.GetCount(), 2);
    EXPECT_EQ(doc.FindElement(runId), nullptr);
    EXPECT_EQ(para->m_firstChild, nullptr);
    EXPECT_EQ(para->GetChildCount(false), 0);

    ASSERT_TRUE(body->RemoveChild(paraId, true, false));
    EXPECT_EQ(doc.m_registry.GetCount(), 1);
    EXPECT_EQ(doc.FindElement(paraId), nullptr);
    EXPECT_EQ(body->m_firstChild, nullptr);

    const long bodyId = body->GetID();
    DestroyTree(doc);
    EXPECT_EQ(doc.FindElement(bodyId), nullptr);
}
