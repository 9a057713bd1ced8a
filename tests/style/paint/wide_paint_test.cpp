// A document laid out wider than one tile can be (a word of 5,000 letters
// without a break): its bitmap's bands are cut into columns, only the
// tiles shown become resident, the text after the word paints, and a quick
// repaint after an edit ends as a full paint does.

#include "element/Element.h"
#include "elements/TextElement.h"
#include "platform/cg/Context.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"
#include "style/paint/PaintState.h"
#include "tests/elements/support/RunDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Pixels of the document's columns [left, right) and rows [top, bottom),
// straight RGBA.
std::vector<unsigned char> Area(CElement* body, int left, int top, int right, int bottom)
{
    std::vector<unsigned char> out(std::size_t(right - left) * 4 * std::size_t(bottom - top));
    for (int row = top; row < bottom; ++row)
        body->m_dc->ReadRow(
            left, row, right - left, out.data() + std::size_t(row - top) * (right - left) * 4);
    return out;
}

// Some pixel of the area is dark: ink of black text on white.
bool Inked(CElement* body, int left, int top, int right, int bottom)
{
    const std::vector<unsigned char> px = Area(body, left, top, right, bottom);
    for (std::size_t i = 0; i < px.size(); i += 4) {
        if (px[i + 3] == 255 && px[i] < 100 && px[i + 1] < 100 && px[i + 2] < 100)
            return true;
    }
    return false;
}

CRect DocumentRect(CElement* e)
{
    CRect r = e->Lay().m_sizeRect;
    e->ElementToDocument(r);
    return r;
}

} // namespace

TEST(WidePaint, TextAfterAWordWiderThanATilePaintsAndRepaintsAsAFullPaint)
{
    const std::string word(5000, 'w');
    qmtest::RunDocument doc("<body><p>" + word + "</p><p>after it</p></body>");
    CElement* body = doc.Body();
    ASSERT_TRUE(body && LayoutDocument(body, 800));
    ASSERT_TRUE(RepaintDocument(body));
    const qm::cg::Context* ctx = body->m_dc.get();
    ASSERT_TRUE(ctx);
    ASSERT_GT(ctx->Width(), 32767);
    EXPECT_GT(ctx->TileColumns(), 1);

    CTextElement* longRun = qmtest::FirstRun(body);
    CTextElement* after = qmtest::FirstRun(body->m_firstChild->m_nextSibling);
    ASSERT_TRUE(longRun && after);
    const CRect w = DocumentRect(longRun), a = DocumentRect(after);
    ASSERT_GT(w.right, 32767);
    // The window at the top-left: the word's start and the next paragraph.
    EXPECT_TRUE(Inked(body, w.left, w.top, w.left + 20, w.bottom));
    EXPECT_TRUE(Inked(body, a.left, a.top, a.right, a.bottom));
    EXPECT_LT(ResidentBitmapBytes(body), 64LL << 20) << "only the tiles near the window";

    // Scrolled to the far right: the word's end, and only the tiles there.
    const int viewLeft = ctx->Width() - 800;
    ASSERT_TRUE(ShowDocumentArea(body, viewLeft, 0, viewLeft + 800, 600));
    EXPECT_TRUE(Inked(body, w.right - 20, w.top, w.right, w.bottom));
    EXPECT_FALSE(Inked(body, w.right + 10, w.top, ctx->Width(), w.bottom)) << "nothing past its end";

    // A few more words after it wrap to a line of their own: the next
    // paragraph moves down, its pixels with it where their tiles are
    // resident, and the quick repaint ends as a full paint.
    longRun->m_text = (word + " and more").c_str();
    ASSERT_TRUE(longRun->SendNotification(2));
    ASSERT_EQ(ctx, body->m_dc.get()) << "the bitmap kept";
    const CRect moved = DocumentRect(after);
    ASSERT_GT(moved.top, a.top);
    const int rows = std::min(ctx->Height(), 200);
    const std::vector<unsigned char> quickRight = Area(body, viewLeft, 0, viewLeft + 800, rows);
    ASSERT_TRUE(ShowDocumentArea(body, 0, 0, 800, 600));
    const std::vector<unsigned char> quickLeft = Area(body, 0, 0, 800, rows);
    EXPECT_TRUE(Inked(body, moved.left, moved.top, moved.right, moved.bottom));
    ASSERT_TRUE(RepaintDocument(body));
    EXPECT_EQ(quickLeft, Area(body, 0, 0, 800, rows));
    ASSERT_TRUE(ShowDocumentArea(body, viewLeft, 0, viewLeft + 800, 600));
    EXPECT_EQ(quickRight, Area(body, viewLeft, 0, viewLeft + 800, rows));
}
