// A document laid out wider than one tile can be (a word of 5,000 letters
// without a break): its bitmap's bands are cut into columns, only the
// tiles shown become resident, the text after the word paints, and a quick
// repaint after an edit ends as a full paint does. Text and background
// pictures far down or millions of pixels to the right paint as near the
// top-left corner.

#include "element/Element.h"
#include "elements/TextElement.h"
#include "platform/cg/Context.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"
#include "style/paint/PaintState.h"
#include "tests/elements/support/RunDocument.h"
#include "tests/style/support/PaintHarness.h"

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

// A word of 12,000 letters is some 150,000 pixels wide, far past the
// surface of any tile but the first. Its end and middle show where the
// view is scrolled to.
TEST(WidePaint, TheEndOfAWordFarPastTheFirstTileShows)
{
    qmtest::RunDocument doc("<body><p>" + std::string(12000, 'w') + "</p></body>");
    CElement* body = doc.Body();
    ASSERT_TRUE(body && LayoutDocument(body, 800));
    ASSERT_TRUE(RepaintDocument(body));
    const CRect w = DocumentRect(qmtest::FirstRun(body));
    ASSERT_GT(w.right, 130000);
    for (const int left : {w.right - 700, w.right / 2, 0}) {
        ASSERT_TRUE(ShowDocumentArea(body, left, 0, left + 800, 600));
        EXPECT_TRUE(Inked(body, left + 100, w.top, left + 200, w.bottom)) << left;
    }
}

// A picture repeated over a body 100,000 rows tall or 4 million pixels
// wide: its pixels far from picture (0, 0) are those near it.
TEST(WidePaint, ARepeatedPictureFarDownOrRightPaintsAsNearTheCorner)
{
    const struct
    {
        int width, height, x, row; // the body, and the patch compared, even
    } cases[] = {
        {800, 100000, 100, 99000},
        {4000000, 100, 3999000, 40},
        {4000000, 60000, 2000000, 50000},
    };
    for (const auto& c : cases) {
        const std::string markup = "<body _box=\"0 0 " + std::to_string(c.width) + " "
            + std::to_string(c.height) + "\" _avail=\"" + std::to_string(c.width)
            + "\" style=\"background-image:url(" QM_TEST_DATA_DIR "/paint/rgby.png)\"/>";
        auto painted = qmtest::ReadPaintDocument(markup);
        ASSERT_TRUE(painted) << markup;
        CElement* body = painted->body;
        ASSERT_TRUE(RepaintDocument(body));
        const std::vector<unsigned char> corner = Area(body, 0, 0, 8, 8);
        ASSERT_TRUE(ShowDocumentArea(body, c.x, c.row, c.x + 100, c.row + 100));
        EXPECT_EQ(corner, Area(body, c.x, c.row, c.x + 8, c.row + 8)) << c.width << "x" << c.height;
        EXPECT_EQ(255, corner[3]) << "painted";
    }
}
