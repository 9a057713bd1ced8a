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
