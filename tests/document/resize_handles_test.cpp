// Resizing images, tables and columns with the mouse, through the engine's
// pointer handlers as the browser's presses and moves reach them: the
// outline and size tip while the button is held, what the release writes,
// and that a written size is one undo step.

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"

#include "document/XDoc.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/markup/SourceCode.h"
#include "platform/events/Services.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr unsigned int kPress = 2;
constexpr unsigned int kHeld = 2;

class ResizeHandles : public qmtest::EngineWithControl
{
protected:
    bool Load(const std::string& markup)
    {
        engine->m_doc.m_viewRect = CRect(0, 0, 500, 400);
        engine->m_doc.m_viewWidth = 500;
        engine->AssignWnd();
        if (!engine->LoadDocument(CSafeBuf(markup.c_str())))
            return false;
        engine->m_doc.DrawDoc(1);
        return true;
    }

    CElement* First(const char* tag) { return engine->m_doc.m_root->FindChild(CSafeBuf(tag), 0, true); }
    CRect Box(const char* tag) { return CXDoc::ElementRect(First(tag)); }

    void Press(CPoint pt)
    {
        engine->OnMouseMove(0, pt);
        engine->OnLButtonDown(kPress, pt);
    }
    void Release(CPoint pt) { engine->OnLButtonUp(0, pt); }
    // Selects the image whole (its handles show), then presses its handle
    // at pt and moves by (dx, dy) with the button held.
    void DragImageHandle(CPoint pt, int dx, int dy)
    {
        const CRect r = Box("img");
        const CPoint inside((r.left + r.right) / 2, (r.top + r.bottom) / 2 + 10);
        Press(inside);
        Release(inside);
        Press(pt);
        engine->OnMouseMove(kHeld, CPoint(pt.x + dx, pt.y + dy));
    }

    std::string Tip() const { return qmtest::Utf8(engine->m_doc.m_tooltipText); }
    std::string Size(const CRect& r) const
    {
        return std::to_string(r.right - r.left) + " x " + std::to_string(r.bottom - r.top);
    }
    std::string Body()
    {
        CSafeBuf out;
        engine->GetSourceCode(out, 6);
        std::string s = qmtest::Utf8(out);
        const auto open = s.find("<body");
        const auto start = open == std::string::npos ? 0 : s.find('>', open) + 1;
        return s.substr(start, s.rfind("</body>") - start);
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

const char* const kImage = "<p>a<img src=\"none.png\" alt=\"\" width=\"200\" height=\"100\"/></p>";

// Each handle of a 200 x 100 image dragged by a distance: the outline's
// size and the tip. A corner keeps the 2 : 1 ratio (inside the starting
// rectangle the width drives; outside it the dimension whose edge the
// pointer passed); an edge moved onto or past the opposite one leaves the
// outline as it was.
TEST_F(ResizeHandles, AnImageHandleGivesTheOutlineAndTheTip)
{
    struct Case
    {
        const char* handle;
        int dx, dy;
        const char* size;
        const char* tip;
    };
    const Case cases[] = {
        {"bottom-right", 50, 0, "250 x 125", "250 X 125"},
        {"bottom-right", -50, 0, "150 x 75", "150 X 75"},
        {"bottom-right", 0, 50, "300 x 150", "300 X 150"},
        {"top-left", -20, -20, "240 x 120", "240 X 120"},
        {"bottom-left", -40, 0, "240 x 120", "240 X 120"},
        {"bottom", 0, 30, "200 x 130", "200 X 130"},
        {"top", 0, -30, "200 x 130", "200 X 130"},
        {"right", 40, 0, "240 x 100", "240 X 100"},
        {"right", -200, 0, "200 x 100", "200 X 100"},
        {"right", -260, 0, "200 x 100", "200 X 100"},
        {"left", 200, 0, "200 x 100", "200 X 100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.handle) + " " + std::to_string(c.dx) + "," + std::to_string(c.dy));
        ASSERT_TRUE(Load(kImage));
        const CRect r = Box("img");
        ASSERT_EQ("200 x 100", Size(r));
        const std::string h = c.handle;
        const long x = h.find("right") != std::string::npos ? r.right - 3
            : h.find("left") != std::string::npos           ? r.left + 3
                                                            : (r.left + r.right) / 2;
        const long y = h.find("bottom") != std::string::npos ? r.bottom - 3
            : h.find("top") != std::string::npos             ? r.top + 3
                                                             : (r.top + r.bottom) / 2;
        DragImageHandle(CPoint(x, y), c.dx, c.dy);
        EXPECT_GE(engine->m_doc.m_resizeState, 2) << "a resize is under way";
        EXPECT_EQ(c.size, Size(engine->m_doc.m_resizeRect));
        EXPECT_EQ(c.tip, Tip());
        Release(CPoint(x + c.dx, y + c.dy));
    }
}

// Released, the image gets the size as attributes and keeps its handles;
// the change is reported, and one undo gives the old size back.
TEST_F(ResizeHandles, TheReleaseWritesTheSizeAsOneUndoStep)
{
    ASSERT_TRUE(Load(kImage));
    const CRect r = Box("img");
    const long undoBefore = engine->m_doc.m_undoList.GetCount();
    DragImageHandle(CPoint(r.right - 2, r.bottom - 2), 50, 0);
    Release(CPoint(r.right + 48, r.bottom - 2));
    EXPECT_EQ(1, engine->m_doc.m_resizeState) << "the handles stay";
    EXPECT_EQ("<p>a<img height=\"125\" src=\"none.png\" width=\"250\" /></p>", Body());
    EXPECT_EQ("250 x 125", Size(Box("img")));
    EXPECT_EQ(undoBefore + 1, engine->m_doc.m_undoList.GetCount());
    engine->OnUndo();
    EXPECT_EQ("<p>a<img height=\"100\" src=\"none.png\" width=\"200\" /></p>", Body());
}

// With Options bit 0x20 an image selected whole shows no handles, and a
// press on its corner starts no resize.
TEST_F(ResizeHandles, OptionsBit0x20TurnsResizingOff)
{
    control->Options = 0x20;
    ASSERT_TRUE(Load(kImage));
    const CRect r = Box("img");
    DragImageHandle(CPoint(r.right - 3, r.bottom - 3), 50, 0);
    EXPECT_LT(engine->m_doc.m_resizeState, 2);
    Release(CPoint(r.right + 47, r.bottom - 3));
    EXPECT_EQ("<p>a<img height=\"100\" src=\"none.png\" width=\"200\" /></p>", Body());
}

const char* const kTable = "<table width=\"400\" cellspacing=\"0\" cellpadding=\"0\"><tr><td>a</td><td>b</td>"
                           "<td>c</td></tr></table>";

// A table pressed within 10 pixels of its right edge follows the pointer;
// the tip gives its width in pixels, and the release writes it. A table
// that fills a div (as generated pages wrap their navigation tables) has
// its edge inside the div's own edge band: the edge is still the table's.
TEST_F(ResizeHandles, ATableEdgeShowsItsWidthAndTakesIt)
{
    for (const std::string& markup : {std::string(kTable), "<div>" + std::string(kTable) + "</div>"}) {
        ASSERT_TRUE(Load(markup));
        const CRect t = Box("table");
        ASSERT_EQ(400, t.right - t.left) << markup;
        const CPoint edge(t.right - 2, (t.top + t.bottom) / 2);
        Press(edge);
        ASSERT_EQ(3, engine->m_doc.m_resizeState) << markup;
        engine->OnMouseMove(kHeld, CPoint(edge.x - 100, edge.y));
        EXPECT_EQ("300 px", Tip()) << markup;
        Release(CPoint(edge.x - 100, edge.y));
        EXPECT_EQ(0, engine->m_doc.m_resizeState) << markup;
        EXPECT_NE(std::string::npos, Body().find("width=\"300\"")) << Body();
    }
}

// Undo puts the caret back with a simulated click, here in the first cell
// within the table's left edge band; the pointer last showed the resize
// shape, but the click starts no resize and shows no size tip.
TEST_F(ResizeHandles, UndoOfATableResizeStartsNoResize)
{
    ASSERT_TRUE(Load(kTable));
    const CRect a = Box("td");
    Press(CPoint(a.left + 2, (a.top + a.bottom) / 2));
    Release(CPoint(a.left + 2, (a.top + a.bottom) / 2));
    const CRect t = Box("table");
    const CPoint edge(t.right - 2, (t.top + t.bottom) / 2);
    Press(edge);
    ASSERT_EQ(3, engine->m_doc.m_resizeState);
    engine->OnMouseMove(kHeld, CPoint(edge.x - 100, edge.y));
    Release(CPoint(edge.x - 100, edge.y));
    ASSERT_NE(std::string::npos, Body().find("width=\"300\"")) << Body();
    engine->m_doc.m_tooltipText.Empty();
    engine->OnUndo();
    EXPECT_NE(std::string::npos, Body().find("width=\"400\"")) << Body();
    EXPECT_EQ(0, engine->m_doc.m_resizeState);
    EXPECT_EQ("", Tip());
}

// A cell border stops 16 pixels short of the far edge of either cell beside
// it: the outline stays where it last was. The resize rectangle holds the
// cell's new content width.
TEST_F(ResizeHandles, ACellBorderStopsShortOfTheNeighboursFarEdge)
{
    ASSERT_TRUE(Load(kTable));
    CElement* first = First("td");
    const CRect a = CXDoc::ElementRect(first);
    const CRect b = CXDoc::ElementRect(first->m_nextSibling);
    const CPoint border(a.right - 2, (a.top + a.bottom) / 2);
    Press(border);
    ASSERT_EQ(11, engine->m_doc.m_resizeState);
    // The tip at the press gives the cell's content width: what its box
    // holds besides it.
    const long edges = (a.right - a.left) - std::stol(Tip());
    struct Move
    {
        long x;
        long line; // where the outline then stands
    };
    const Move moves[] = {
        {b.right - 17, b.right - 17},
        {b.right - 16, b.right - 17}, // too near: stays
        {a.left + 17, a.left + 17},
        {a.left + 16, a.left + 17}, // too near: stays
        {a.right + 20, a.right + 20},
    };
    for (const Move& m : moves) {
        // Grabbed 2 pixels inside the border, which follows the pointer.
        engine->OnMouseMove(kHeld, CPoint(m.x - 2, border.y));
        EXPECT_EQ(std::to_string(m.line - a.left - edges) + " px", Tip()) << m.x;
        EXPECT_EQ(m.line - a.left - edges, engine->m_doc.m_resizeRect.right) << m.x;
    }
}

// A table with a pixel width keeps its columns within it: dragged by its
// own edge, or at a border between two columns, the col entries get their
// widths and the last column takes what the others leave.
TEST_F(ResizeHandles, TheLastColumnOfAPixelWidthTableTakesWhatIsLeft)
{
    const char* const table
        = "<table width=\"400\" cellspacing=\"0\" cellpadding=\"0\"><colgroup><col width=\"100\"/>"
          "<col width=\"100\"/><col width=\"200\"/></colgroup><tr><td>a</td><td>b</td><td>c</td></tr>"
          "</table>";
    ASSERT_TRUE(Load(table));
    const CRect t = Box("table");
    const CPoint edge(t.right - 2, (t.top + t.bottom) / 2);
    Press(edge);
    engine->OnMouseMove(kHeld, CPoint(edge.x + 50, edge.y));
    Release(CPoint(edge.x + 50, edge.y));
    EXPECT_EQ("<table cellpadding=\"0\" cellspacing=\"0\" width=\"450\"><colgroup><col width=\"100\" />"
              "<col width=\"100\" /><col width=\"250\" "
              "/></colgroup><tr><td>a</td><td>b</td><td>c</td></tr></table>",
        Body());

    ASSERT_TRUE(Load(table));
    CElement* first = First("td");
    const CRect a = CXDoc::ElementRect(first);
    const CPoint border(a.right - 2, (a.top + a.bottom) / 2);
    Press(border);
    engine->OnMouseMove(kHeld, CPoint(border.x + 30, border.y));
    Release(CPoint(border.x + 30, border.y));
    EXPECT_EQ(
        "<table cellpadding=\"0\" cellspacing=\"0\" width=\"400\"><colgroup><col width=\"130\" />"
        "<col width=\"70\" /><col width=\"200\" /></colgroup><tr><td>a</td><td>b</td><td>c</td></tr></table>",
        Body());
}

} // namespace
