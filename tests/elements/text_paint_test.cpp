// Text runs laid out and painted in a document: link colours, the frame of
// a named anchor, and the borders of a span wrapped over three lines, read
// from the offscreen bitmap (document rows are bitmap rows).

#include "tests/elements/support/RunDocument.h"

#include "platform/cg/Context.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using qmtest::FirstRun;
using qmtest::RunDocument;

struct PaintedDocument : RunDocument
{
    PaintedDocument(const std::string& markup, int width) : RunDocument(markup)
    {
        ok = Body() && LayoutDocument(Body(), width) && RepaintDocument(Body()) && Body()->m_dc;
    }
    unsigned long At(int x, int y) const
    {
        const qm::cg::Pixel p = Body()->m_dc->ReadPixel(x, y);
        return RGB(p.red, p.green, p.blue);
    }
    bool ok = false;
};

// Document box of e.
CRect BoxOf(const CElement* e)
{
    const CPoint at = DocumentPosition(e);
    return CRect(at.x, at.y, at.x + e->Lay().m_sizeRect.right, at.y + e->Lay().m_sizeRect.bottom);
}

} // namespace

TEST(TextPaint, LinksAreBlueUnlessAColourInsideTheLinkSaysOtherwise)
{
    // A full block's middle is covered completely by its ink.
    const struct
    {
        const char* markup;
        unsigned long colour;
    } cases[] = {
        {"<p><a href=\"#x\">\xE2\x96\x88</a></p>", RGB(0, 0, 255)},
        {"<p style=\"color:#00ff00\"><a href=\"#x\">\xE2\x96\x88</a></p>", RGB(0, 0, 255)},
        {"<p><a href=\"#x\"><span style=\"color:#ff00ff\">\xE2\x96\x88</span></a></p>", RGB(255, 0, 255)},
        {"<p style=\"color:#ff8000\">\xE2\x96\x88</p>", RGB(255, 128, 0)},
    };
    for (const auto& c : cases) {
        const std::string markup = std::string("<body style=\"font-size:40px\">") + c.markup + "</body>";
        PaintedDocument doc(markup, 200);
        ASSERT_TRUE(doc.ok) << c.markup;
        CTextElement* run = FirstRun(doc.Body());
        ASSERT_NE(run, nullptr);
        const CRect box = BoxOf(run);
        EXPECT_EQ(doc.At((box.left + box.right) / 2, box.top + run->Lay().m_baseline.y - 8), c.colour)
            << c.markup;
    }
}

TEST(TextPaint, ANamedAnchorIsFramedInBlue)
{
    const unsigned long blue = RGB(0, 0, 255);
    PaintedDocument named("<p><a name=\"n\">Anchor</a> and <span>plain</span></p>", 300);
    ASSERT_TRUE(named.ok);
    CTextElement* anchor = FirstRun(named.Body());
    ASSERT_NE(anchor, nullptr);
    ASSERT_EQ(anchor->m_linkState, 2);
    const CRect box = BoxOf(anchor);
    const int middle = (box.top + box.bottom) / 2;
    EXPECT_EQ(named.At(box.left, middle), blue);
    EXPECT_EQ(named.At(box.left + 1, middle), blue);
    EXPECT_EQ(named.At(box.right - 1, middle), blue);
    EXPECT_EQ(named.At((box.left + box.right) / 2, box.top + 1), blue);
    EXPECT_EQ(named.At((box.left + box.right) / 2, box.bottom - 2), blue);
    // A run that is no anchor has no frame.
    CElement* span = anchor->m_parent->m_nextSibling->m_nextSibling;
    ASSERT_NE(span, nullptr);
    const CRect plain = BoxOf(span->m_firstChild);
    EXPECT_NE(named.At(plain.left, (plain.top + plain.bottom) / 2), blue);
}

TEST(TextPaint, ASpanOverThreeLinesShowsItsLeftBorderFirstAndItsRightBorderLast)
{
    const unsigned long red = RGB(255, 0, 0), green = RGB(0, 128, 0);
    PaintedDocument doc(
        "<p>x <span style=\"border-left:3px solid red; border-right:3px solid green\">one two "
        "three four five six seven eight</span> y</p>",
        110);
    ASSERT_TRUE(doc.ok);
    std::vector<CElement*> pieces;
    for (CElement* c = doc.Body()->m_firstChild->m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsTag("span"))
            pieces.push_back(c);
    }
    ASSERT_EQ(pieces.size(), 3u);
    for (size_t i = 0; i < pieces.size(); ++i) {
        const CRect box = BoxOf(pieces[i]);
        const int middle = (box.top + box.bottom) / 2;
        EXPECT_EQ(doc.At(box.left, middle) == red, i == 0) << "piece " << i;
        EXPECT_EQ(doc.At(box.right - 1, middle) == green, i == 2) << "piece " << i;
    }
}
