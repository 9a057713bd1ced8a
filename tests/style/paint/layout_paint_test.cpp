// Painting laid-out documents: the bitmap's size follows the layout, and a
// repaint after an edit, through the notification codes, ends as a full
// layout and paint of the edited tree does.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "platform/cg/Context.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"
#include "tests/style/support/PaintHarness.h"

#include <gtest/gtest.h>

#include <string>

using qmtest::BitmapPixels;
using qmtest::FindById;

namespace {

const char kMarkup[] = R"(<body>
<div style="float:left;width:60px;height:50px;background-color:#ffcc00;border:2px solid #000"/>
<p id="a" style="height:20px;background-color:#ccddff;border:1px dotted #f00">a</p>
<p id="b" style="height:30px;background-color:#ddffcc">b</p>
<h2 style="clear:left;height:10px;border-bottom:3px solid #00f">h</h2>
<p id="c" style="height:15px;border:2px dashed #090">c</p>
</body>)";

struct Laid
{
    CXHTML engine;
    CMarkupDocument document{&engine};
    CElement* body = nullptr;

    explicit Laid(int width)
    {
        CSafeBuf error;
        if (document.Read(kMarkup, sizeof kMarkup - 1, error) && LayoutDocument(document.Body(), width)
            && document.Body()->Draw(nullptr))
            body = document.Body();
    }
};

// The rows the first clip of the last paint covered.
double FirstClipHeight(const qm::cg::Context& ctx)
{
    for (const std::string& call : ctx.Trace()) {
        double x, y, w, h;
        if (std::sscanf(call.c_str(), "ClipToRect(%lf, %lf, %lf, %lf)", &x, &y, &w, &h) == 4)
            return h;
    }
    return -1;
}

} // namespace

TEST(LayoutPaint, BitmapIsTheLaidOutSizePlusTwoHundred)
{
    Laid doc(300);
    ASSERT_TRUE(doc.body);
    const CRect& size = doc.body->Lay().m_sizeRect;
    EXPECT_EQ(300, size.right - size.left);
    EXPECT_EQ(size.right - size.left + 200, doc.engine.m_doc.m_bitmapWidth);
    EXPECT_EQ(size.bottom - size.top + 200, doc.engine.m_doc.m_bitmapHeight);
    EXPECT_EQ(doc.engine.m_doc.m_bitmapHeight, doc.body->m_dc->Height());
}

TEST(LayoutPaint, RepaintAfterAnEditEndsAsAFullDraw)
{
    Laid doc(300);
    ASSERT_TRUE(doc.body);
    CElement* body = doc.body;
    const int rows = doc.engine.m_doc.m_bitmapHeight;
    const std::vector<unsigned> before = BitmapPixels(body, rows);

    // A new colour, same geometry: code 8 repaints only the paragraph's rows.
    CElement* b = FindById(body, "b");
    b->SetAttrString("style", "height:30px;background-color:#ff0000");
    b->StyleChanged(1);
    body->m_dc->EnableTrace(true);
    b->SendNotification(8);
    const double clipped = FirstClipHeight(*body->m_dc);
    EXPECT_GT(clipped, 0);
    EXPECT_LT(clipped, rows);
    const std::vector<unsigned> partial = BitmapPixels(body, rows);
    EXPECT_NE(before, partial);
    ASSERT_TRUE(body->Draw(nullptr));
    EXPECT_EQ(BitmapPixels(body, rows), partial);

    // Taller: the document grows and everything below moves.
    b->SetAttrString("style", "height:44px;background-color:#ff0000");
    b->StyleChanged(1);
    b->SendNotification(2);
    const int grown = doc.engine.m_doc.m_bitmapHeight;
    const std::vector<unsigned> repainted = BitmapPixels(body, grown);
    ASSERT_TRUE(body->Draw(nullptr));
    EXPECT_EQ(BitmapPixels(body, grown), repainted);
    // The float shrinks; the document keeps its size.
    CElement* f = body->m_firstChild;
    f->SetAttrString(
        "style", "float:left;width:60px;height:30px;background-color:#ffcc00;border:2px solid #000");
    f->StyleChanged(1);
    body->m_dc->EnableTrace(true);
    body->m_dc->ClearTrace();
    f->SendNotification(2);
    EXPECT_LT(FirstClipHeight(*body->m_dc), grown);
    const std::vector<unsigned> shrunk = BitmapPixels(body, grown);
    ASSERT_TRUE(body->Draw(nullptr));
    EXPECT_EQ(BitmapPixels(body, grown), shrunk);
    CElement* a = FindById(body, "a");
    // Code 3 finds its own way.
    a->SetAttrString("style", "height:10px");
    a->StyleChanged(1);
    a->SendNotification(3);
    const std::vector<unsigned> decided = BitmapPixels(body, grown);
    ASSERT_TRUE(body->Draw(nullptr));
    EXPECT_EQ(BitmapPixels(body, grown), decided);
}
