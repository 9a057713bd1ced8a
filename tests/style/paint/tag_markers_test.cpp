// Tag markers: the room a label takes in the margins, for each way an
// element takes it, and markers drawn and cleaned up in a laid-out
// document.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "platform/cg/Context.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"
#include "style/paint/TagMarkers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qm::paint;

TEST(TagMarkers, RoomForAnElevenPixelLabel)
{
    // h 11 counts as 12: a box is 12 / 2 + w + 9 wide and 14 high.
    const int w = 30, side = 6 + w + 9;
    const struct
    {
        MarkerShape shape;
        int wrap, left, top, right, bottom;
        bool start, end;
    } cases[] = {
        {MarkerShape::Block, 0, 0, 20, 0, 20, true, true},
        {MarkerShape::Other, 0, side, 0, side, 0, true, true},
        {MarkerShape::Inline, 0, side, 0, side, 0, true, true},
        {MarkerShape::Inline, -1, side, 0, 0, 0, true, false},
        {MarkerShape::Inline, 2, 0, 0, 0, 0, false, false},
        {MarkerShape::Inline, 1, 0, 0, side, 0, false, true},
    };
    for (const auto& c : cases) {
        const MarkerRoom r = ComputeMarkerRoom(c.shape, c.wrap, w, 11);
        EXPECT_EQ(r.boxWidth, side);
        EXPECT_EQ(r.boxHeight, 14);
        EXPECT_EQ(r.left, c.left) << int(c.shape) << " " << c.wrap;
        EXPECT_EQ(r.top, c.top) << int(c.shape) << " " << c.wrap;
        EXPECT_EQ(r.right, c.right) << int(c.shape) << " " << c.wrap;
        EXPECT_EQ(r.bottom, c.bottom) << int(c.shape) << " " << c.wrap;
        EXPECT_EQ(r.start, c.start);
        EXPECT_EQ(r.end, c.end);
    }
    EXPECT_EQ(ComputeMarkerRoom(MarkerShape::Block, 0, w, 12).top, 20);
}

namespace {

struct MarkedDocument
{
    MarkedDocument(const char* sheet, const std::string& markup, int width = 400)
    {
        CSafeBuf text(reinterpret_cast<const unsigned char*>(sheet));
        engine.m_doc.LoadStyleClass(text, 0, false, 1);
        CSafeBuf error;
        doc.Read(markup.data(), markup.size(), error);
        ok = doc.Body() && LayoutDocument(doc.Body(), width) && RepaintDocument(doc.Body());
    }
    CElement* Nth(int n) const
    {
        CElement* c = doc.Body()->m_firstChild;
        while (c && n-- > 0)
            c = c->m_nextSibling;
        return c;
    }
    unsigned long At(int x, int y) const
    {
        const qm::cg::Pixel p = doc.Body()->m_dc->ReadPixel(x, y);
        return RGB(p.red, p.green, p.blue);
    }
    CXHTML engine;
    CMarkupDocument doc{&engine};
    bool ok = false;
};

} // namespace

TEST(TagMarkers, ABlockLabelGrowsTheMarginsAndIsDrawnAboveAndBelow)
{
    MarkedDocument plain("h1 { color: black }", "<p>a</p><h1>b</h1>");
    MarkedDocument marked("h1 { -qm-marker-label: element-name }", "<p>a</p><h1>b</h1>");
    ASSERT_TRUE(plain.ok && marked.ok);
    CElement* h1 = marked.Nth(1);
    ASSERT_EQ(h1->Rare().m_markerLabel, "h1");
    EXPECT_TRUE(marked.Nth(0)->Rare().m_markerLabel.IsEmpty());
    const int grown = h1->Lay().m_marginLeftTop.y - plain.Nth(1)->Lay().m_marginLeftTop.y;
    const int boxHeight = h1->Rare().m_startMarker.bottom;
    EXPECT_EQ(grown, boxHeight - 2 + 8);
    EXPECT_EQ(h1->Lay().m_marginRightBottom.y - plain.Nth(1)->Lay().m_marginRightBottom.y, grown);
    EXPECT_EQ((boxHeight - 2) % 2, 0);

    CRect start, end;
    MarkerBoxes(h1, DocumentPosition(h1), start, end);
    EXPECT_EQ(start.bottom, DocumentPosition(h1).y);
    EXPECT_EQ(end.top, DocumentPosition(h1).y + h1->Lay().m_sizeRect.bottom);
    // The arrows' insides show the default background.
    EXPECT_EQ(marked.At(start.left + 4, start.top + 2), kMarkerDefaultBackground);
    EXPECT_EQ(marked.At(end.right - 3, end.top + 3), kMarkerDefaultBackground);
}

TEST(TagMarkers, LabelsComeFromTheTagAnAttributeOrTheText)
{
    MarkedDocument doc("p { -qm-marker-label: attr(title) } h2 { -qm-marker-label: \"Heading\" } "
                       "span { -qm-marker-label: element-name } b { -qm-marker-label: element-name }",
        "<p title=\"T\">a <span>s</span> <b>b</b></p><h2>h</h2>");
    ASSERT_TRUE(doc.ok);
    CElement* p = doc.Nth(0);
    EXPECT_EQ(p->Rare().m_markerLabel, "T");
    EXPECT_EQ(doc.Nth(1)->Rare().m_markerLabel, "Heading");
    CElement* span = p->m_firstChild->m_nextSibling;
    ASSERT_TRUE(span->IsTag("span"));
    EXPECT_EQ(span->Rare().m_markerLabel, "span");
    EXPECT_GT(span->Lay().m_marginLeftTop.x, 0);
    EXPECT_EQ(span->Lay().m_marginLeftTop.x, span->Rare().m_startMarker.right);
    // b is not a kind that shows markers.
    EXPECT_TRUE(span->m_nextSibling->m_nextSibling->Rare().m_markerLabel.IsEmpty());
}

TEST(TagMarkers, AMarkerColourComesFromTheStyle)
{
    MarkedDocument doc(
        "h1 { -qm-marker-label: element-name; -qm-marker-background-color: #00ff00 }", "<h1>b</h1>");
    ASSERT_TRUE(doc.ok);
    CElement* h1 = doc.Nth(0);
    CRect start, end;
    MarkerBoxes(h1, DocumentPosition(h1), start, end);
    EXPECT_EQ(doc.At(start.left + 4, start.top + 2), RGB(0, 255, 0));
}

TEST(TagMarkers, ABlockMakesRoomAroundChildrenThatShowMarkers)
{
    const std::string markup = "<div><p>a</p></div>";
    MarkedDocument plain("p { color: black }", markup);
    MarkedDocument marked("p { -qm-marker-label: element-name }", markup);
    ASSERT_TRUE(plain.ok && marked.ok);
    const CElement* p0 = plain.Nth(0)->m_firstChild;
    const CElement* p1 = marked.Nth(0)->m_firstChild;
    const int grown = p1->Lay().m_marginLeftTop.y - p0->Lay().m_marginLeftTop.y;
    ASSERT_GT(grown, 0);
    EXPECT_EQ(p1->Lay().m_position.y - p0->Lay().m_position.y, 20 + grown);
    // A div also holds its last block child's bottom margin.
    EXPECT_EQ(marked.Nth(0)->Lay().m_sizeRect.bottom - plain.Nth(0)->Lay().m_sizeRect.bottom, 40 + 2 * grown);
}

TEST(TagMarkers, AWrappedSpanShowsItsStartOnTheFirstPieceAndItsEndOnTheLast)
{
    MarkedDocument doc("span { -qm-marker-label: element-name }",
        "<p>a <span>alpha bravo charlie delta echo foxtrot golf hotel india juliet</span> b</p>", 150);
    ASSERT_TRUE(doc.ok);
    std::vector<CElement*> pieces;
    for (CElement* c = doc.Nth(0)->m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsTag("span"))
            pieces.push_back(c);
    }
    ASSERT_GE(pieces.size(), 3u);
    for (size_t i = 0; i < pieces.size(); ++i) {
        CRect start, end;
        MarkerBoxes(pieces[i], DocumentPosition(pieces[i]), start, end);
        EXPECT_EQ(start.right > start.left, i == 0) << i;
        EXPECT_EQ(end.right > end.left, i + 1 == pieces.size()) << i;
    }
}
