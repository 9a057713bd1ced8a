// The document's offscreen bitmap: its size with the slack, reuse while the
// document fits, and refusal of sizes it cannot hold.

#include "element/Element.h"
#include "platform/cg/Context.h"
#include "style/paint/BitmapSize.h"
#include "style/paint/OffscreenView.h"
#include "style/paint/PaintState.h"
#include "tests/style/support/PaintHarness.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

std::unique_ptr<qmtest::PaintedDocument> Body(int width, int height)
{
    auto doc = qmtest::ReadPaintDocument("<body><p/></body>");
    if (doc)
        doc->body->Lay().m_sizeRect = CRect(0, 0, width, height);
    return doc;
}

} // namespace

TEST(OffscreenBitmap, AllocatedWithSlackAndKeptWhileTheDocumentFits)
{
    auto doc = Body(800, 1000);
    ASSERT_TRUE(doc);
    CElement* body = doc->body;
    const CXDoc& x = doc->owner.m_doc;
    ASSERT_TRUE(body->PrepareBitmap(nullptr));
    EXPECT_EQ(1000, x.m_bitmapWidth);
    EXPECT_EQ(1200, x.m_bitmapHeight);
    EXPECT_EQ(4000, x.m_bitmapBytesPerRow);
    EXPECT_EQ(4000L * 1200, x.m_bitmapBytes);
    EXPECT_EQ(1200, body->m_dc->Height());
    const qm::cg::Context* first = body->m_dc.get();

    body->Lay().m_sizeRect = CRect(0, 0, 700, 900); // shrinks: kept
    ASSERT_TRUE(body->PrepareBitmap(nullptr));
    EXPECT_EQ(first, body->m_dc.get());
    EXPECT_EQ(900, x.m_layoutHeight);
    body->Lay().m_sizeRect = CRect(0, 0, 990, 1190); // grows within the slack: kept
    ASSERT_TRUE(body->PrepareBitmap(nullptr));
    EXPECT_EQ(first, body->m_dc.get());
    body->Lay().m_sizeRect = CRect(0, 0, 990, 1300); // past it: a new bitmap
    ASSERT_TRUE(body->PrepareBitmap(nullptr));
    EXPECT_EQ(1500, x.m_bitmapHeight);
    EXPECT_EQ(1190, x.m_bitmapWidth);

    // Only the body acts.
    ASSERT_TRUE(body->m_firstChild);
    EXPECT_FALSE(body->m_firstChild->PrepareBitmap(nullptr));
}

TEST(OffscreenBitmap, SizesPastTheLimitsAreRefusedAndNothingIsPainted)
{
    BitmapSize size;
    EXPECT_TRUE(ComputeBitmapSize(-5, -300, size)); // not positive: 1 pixel
    EXPECT_EQ(195, size.width);
    EXPECT_EQ(1, size.height);
    EXPECT_FALSE(ComputeBitmapSize(kMaxBitmapWidth, 10, size));
    EXPECT_FALSE(ComputeBitmapSize(INT_MAX, INT_MAX, size));
    EXPECT_FALSE(ComputeBitmapSize(LLONG_MAX, LLONG_MAX, size));
    // The height is bounded by the coordinates, not by the pixels the bitmap
    // would take painted whole.
    EXPECT_TRUE(ComputeBitmapSize(800, kMaxBitmapHeight - 200, size));
    EXPECT_EQ(std::int64_t(4000) * kMaxBitmapHeight, size.bytes);
    EXPECT_FALSE(ComputeBitmapSize(800, kMaxBitmapHeight - 199, size));

    auto doc = Body(800, 600);
    ASSERT_TRUE(doc);
    CElement* body = doc->body;
    ASSERT_TRUE(RepaintDocument(body));
    body->Lay().m_sizeRect = CRect(INT_MIN, 0, INT_MAX, 10);
    EXPECT_FALSE(RepaintDocument(body));
    EXPECT_EQ(nullptr, body->m_dc.get());
    EXPECT_EQ(0, doc->owner.m_doc.m_bitmapHeight);
    EXPECT_TRUE(doc->owner.m_doc.m_paintState->m_bitmapFailed);
    body->Lay().m_sizeRect = CRect(0, 0, 100, 100); // back within reach
    EXPECT_TRUE(RepaintDocument(body));
    EXPECT_FALSE(doc->owner.m_doc.m_paintState->m_bitmapFailed);
}
