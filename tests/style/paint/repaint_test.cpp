// Repainting: after an edit only what changed is repainted, and the bitmap
// ends as a full paint leaves it (text whose ink reaches past its box
// included); tiles painted one at a time as the window shows them match a
// paint of the whole document; trees of any depth paint.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "platform/cg/Context.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"
#include "style/paint/PaintState.h"
#include "tests/elements/support/RunDocument.h"
#include "tests/style/support/PaintHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>

using qmtest::BitmapPixels;
using qmtest::FindById;
using qmtest::ReadPaintDocument;

namespace {

const char kDocument[] = R"(<body _box="0 0 60 80" _avail="60">
  <div id="f" _box="30 4 20 30" style="float:right;background-color:#ffff00;border:2px dashed #000000"/>
  <p id="a" _box="0 2 40 10" _avail="60" _margin="2 2" style="background-color:#ff0000;border:1px solid #0000ff"/>
  <p id="b" _box="0 14 40 10" _avail="60" _margin="2 2" style="background-color:#00ff00"/>
  <p id="c" _box="0 26 40 10" _avail="60" _margin="2 2" style="border:3px dotted #ff00ff"/>
  <div id="d" _box="4 40 30 12" _avail="50"/>
</body>)";

// Paints the document as it stands from scratch and answers its pixels.
std::vector<unsigned> FullPaint(CElement* body, int rows)
{
    EXPECT_TRUE(RepaintDocument(body));
    return BitmapPixels(body, rows);
}

} // namespace

TEST(Repaint, FastDrawEndsAsAFullPaintDoes)
{
    auto doc = ReadPaintDocument(kDocument);
    ASSERT_TRUE(doc);
    CElement* body = doc->body;
    ASSERT_TRUE(RepaintDocument(body));
    const std::vector<unsigned> before = BitmapPixels(body, 100);

    // b grows by 6 rows and pushes c and d down; the float stays.
    CElement* b = FindById(body, "b");
    b->Lay().m_sizeRect.bottom += 6;
    FindById(body, "c")->Lay().m_position.y += 6;
    FindById(body, "d")->Lay().m_position.y += 6;
    ASSERT_TRUE(body->FastDraw());
    const std::vector<unsigned> fast = BitmapPixels(body, 100);
    EXPECT_NE(before, fast);
    EXPECT_EQ(FullPaint(body, 100), fast);

    // a shrinks (its old rows must be cleared) and d is removed.
    FindById(body, "a")->Lay().m_sizeRect.bottom -= 5;
    CElement* d = FindById(body, "d");
    body->RemoveCurrentChildFromList(d);
    delete d;
    ASSERT_TRUE(body->FastDraw());
    const std::vector<unsigned> fast2 = BitmapPixels(body, 100);
    EXPECT_NE(fast, fast2);
    EXPECT_EQ(FullPaint(body, 100), fast2);

    // A colour change alone repaints when the element is marked for it.
    b->EditStyle().bkColor = 0xFF0000; // blue
    b->m_forceRepaint = 1;
    ASSERT_TRUE(body->FastDraw());
    const std::vector<unsigned> fast3 = BitmapPixels(body, 100);
    EXPECT_NE(fast2, fast3);
    EXPECT_EQ(FullPaint(body, 100), fast3);
}

TEST(Repaint, AnElementDeletedLeavesNoTraceWhenAnotherTakesItsPlaceInTheList)
{
    // Joining wrapped pieces deletes some and makes others: the child count
    // can stay while the rows the deleted ones covered show nothing now.
    auto doc = ReadPaintDocument(kDocument);
    ASSERT_TRUE(doc);
    CElement* body = doc->body;
    ASSERT_TRUE(RepaintDocument(body));
    CElement* b = FindById(body, "b");
    body->RemoveCurrentChildFromList(b);
    body->DeleteElement(b);
    CElement* e = CreateElement("p", body->m_rules, body, &doc->owner);
    ASSERT_TRUE(e);
    e->Lay().m_sizeRect = CRect(0, 0, 20, 6);
    e->Lay().m_position = CPoint(4, 60);
    body->AddToTail(e);
    ASSERT_TRUE(body->FastDraw());
    const std::vector<unsigned> fast = BitmapPixels(body, 100);
    EXPECT_EQ(FullPaint(body, 100), fast);
}

TEST(Repaint, TilesShownOneByOneMatchAWholeDocumentPaint)
{
    const int tile = qm::cg::Context::kTileRows;
    // Blocks, borders and a float across both tile edges.
    std::string markup = "<body _box=\"0 0 40 " + std::to_string(2 * tile + 600) + "\" _avail=\"40\">";
    for (int edge : {tile, 2 * tile}) {
        markup += "<div _box=\"22 " + std::to_string(edge - 20)
            + " 14 40\" style=\"float:right;background-color:#ffff00;border:1px solid #000000\"/>";
        markup += "<p _box=\"0 " + std::to_string(edge - 7) + " 30 15\" _avail=\"40\""
            + " style=\"background-color:#00ff00;border:2px dotted #0000ff\"/>";
    }
    markup += "</body>";
    auto whole = ReadPaintDocument(markup);
    auto shown = ReadPaintDocument(markup);
    ASSERT_TRUE(whole && shown);
    const int rows = 2 * tile + 800;

    ASSERT_TRUE(RepaintDocument(whole->body));
    ASSERT_TRUE(ShowDocumentRows(whole->body, 0, rows));
    ASSERT_TRUE(RepaintDocument(whole->body)); // one pass over every tile
    const std::vector<unsigned> reference = BitmapPixels(whole->body, rows);

    CElement* body = shown->body;
    ASSERT_TRUE(RepaintDocument(body));
    const long long oneTile = shown->body->m_dc->TileBytes(0);
    SetBitmapBudget(body, oneTile + oneTile / 2);
    // The first view holds the tiles of its screen and two screens below.
    const int firstView = (3 * CPaintState::kDefaultShownRows - 1) / tile + 1;
    EXPECT_EQ(firstView * oneTile, ResidentBitmapBytes(body));
    const size_t width = size_t(body->m_dc->Width());
    auto sameRows = [&](int from, int to) {
        const std::vector<unsigned> now = BitmapPixels(body, to);
        return std::equal(
            now.begin() + long(from * width), now.end(), reference.begin() + long(from * width));
    };
    EXPECT_TRUE(sameRows(0, tile));

    ASSERT_TRUE(ShowDocumentRows(body, tile + 100, tile + 400)); // needs tile 1, and tile 0 (a screen above)
    EXPECT_EQ(2 * oneTile, ResidentBitmapBytes(body));
    EXPECT_TRUE(sameRows(0, 2 * tile));
    ASSERT_TRUE(ShowDocumentRows(body, 2 * tile + 100, 2 * tile + 300)); // tiles 1 and 2; 0 is dropped
    EXPECT_FALSE(body->m_dc->IsTileResident(0));
    EXPECT_LE(ResidentBitmapBytes(body), 2 * oneTile);
    EXPECT_TRUE(sameRows(tile, 2 * tile + 800));
    ASSERT_TRUE(ShowDocumentRows(body, 0, 300)); // back to the top: painted again
    EXPECT_TRUE(sameRows(0, tile));
}

TEST(Repaint, DeepTreesPaintWithoutRecursion)
{
    // Nested as deep as the reader reads ...
    std::string markup = "<body _box=\"0 0 50 50\" _avail=\"50\">";
    for (int i = 0; i < 250; ++i)
        markup += "<div _box=\"0 0 50 50\" _avail=\"50\">";
    markup += "<p _box=\"10 10 5 5\" style=\"background-color:#ff0000;width:5px\"/>";
    for (int i = 0; i < 250; ++i)
        markup += "</div>";
    markup += "</body>";
    auto doc = ReadPaintDocument(markup);
    ASSERT_TRUE(doc);
    ASSERT_TRUE(RepaintDocument(doc->body));
    EXPECT_EQ(255, doc->body->m_dc->ReadPixel(12, 12).red);
    EXPECT_EQ(0, doc->body->m_dc->ReadPixel(12, 12).green);

    // ... and far deeper, linked by hand from the bottom up (each link then
    // checks no ancestors).
    CElement* body = doc->body;
    CElement* parent = nullptr;
    CElement* top = nullptr;
    for (int i = 0; i < 50000; ++i) {
        CElement* e = CreateElement("span", nullptr, body, &doc->owner);
        ASSERT_TRUE(e);
        e->Lay().m_sizeRect = CRect(0, 0, 1, 1);
        if (top)
            e->AddToTail(top);
        else
            parent = e; // the deepest
        top = e;
    }
    body->m_lastChild->AddToTail(top);
    parent->EditStyle().bkColorSet = 1;
    parent->EditStyle().bkColor = 0xFF0000;
    parent->Lay().m_position = CPoint(30, 30);
    EXPECT_TRUE(RepaintDocument(body));
    EXPECT_EQ(255, body->m_dc->ReadPixel(30, 30).blue);
    parent->m_forceRepaint = 1;
    EXPECT_TRUE(body->FastDraw());
    CPoint at;
    parent->ElementToScreen(at);
    EXPECT_EQ(CPoint(30, 30), at);
    EXPECT_TRUE(body->RepaintToSameDC(body->m_dc.get(), CPoint(), nullptr, true, CPoint()));
}

TEST(Repaint, AQuickRepaintOfMovedOrChangedTextEndsAsAFullPaint)
{
    // Glyphs are set on the run's baseline, so their ink reaches past the
    // box: descenders of a large font, the underline of a link, and any box
    // an edit made shorter than its text. The run named moves by dx, dy and
    // its box bottom by dh; the rows its painting covered before and covers
    // now are repainted. A run whose text or selection changes is drawn
    // anew though its box stays (monospaced letters); new text is laid out
    // and repainted through the run's notification.
    const struct
    {
        const char* markup;
        int run; // among the runs with text, in document order
        int dx, dy, dh;
        const char* text; // the run's new text, laid out again
        int selStart, selEnd;
    } cases[] = {
        {"<p style=\"font-size:100px\">gjpq</p><p>below</p>", 0, 0, 40, 0, nullptr, 0, -1},
        {"<p style=\"border:2px solid #00f;background-color:#ff0\">one two three four five six seven "
         "eight nine ten eleven twelve</p>",
            1, -18, -15, -14, nullptr, 0, -1},
        {"<p><a href=\"#x\" style=\"font-size:80px\">gy</a></p>", 0, 5, 25, -10, nullptr, 0, -1},
        {"<pre>ab cd</pre><p>x</p>", 0, 0, 0, 0, "xy cd", 0, -1},
        {"x<body><p>ab <b>cd</b></p></body>", 2, 0, 0, 0, "c", 0, -1}, // a body read inside the body
        {"<pre>ab cd</pre><p>x</p>", 0, 0, 0, 0, nullptr, 1, 2},
    };
    for (const auto& c : cases) {
        qmtest::RunDocument doc(std::string("<body>") + c.markup + "</body>");
        ASSERT_TRUE(doc.Body() && LayoutDocument(doc.Body(), 173) && RepaintDocument(doc.Body())) << c.markup;
        std::vector<CTextElement*> runs;
        for (CElement* e = doc.Body(); e;) {
            if (CTextElement* run = dynamic_cast<CTextElement*>(e); run && !run->m_text.IsEmpty())
                runs.push_back(run);
            if (e->m_firstChild) {
                e = e->m_firstChild;
                continue;
            }
            while (e && !e->m_nextSibling)
                e = e->m_parent;
            e = e ? e->m_nextSibling : nullptr;
        }
        ASSERT_GT(runs.size(), size_t(c.run)) << c.markup;
        CTextElement* run = runs[size_t(c.run)];
        run->Lay().m_position.x += c.dx;
        run->Lay().m_position.y += c.dy;
        run->Lay().m_sizeRect.bottom += c.dh;
        if (c.selStart <= c.selEnd) {
            run->m_selected = 1;
            run->m_selStart = c.selStart;
            run->m_selEnd = c.selEnd;
        }
        if (c.text) {
            run->m_text = c.text;
            ASSERT_TRUE(run->SendNotification(2)); // lays out and repaints
        } else {
            ASSERT_TRUE(doc.Body()->FastDraw());
        }
        const std::vector<unsigned> quick = BitmapPixels(doc.Body(), 400);
        ASSERT_TRUE(RepaintDocument(doc.Body()));
        EXPECT_EQ(quick, BitmapPixels(doc.Body(), 400)) << c.markup;
    }
}

TEST(Repaint, MarksDrawnBeyondTheBoxAreRepaintedWhereTheyWere)
{
    // A custom element shown as its icon draws the icon at its own size at
    // the box's corner, and a q sets its quotation marks on a baseline
    // above its box's bottom, whatever the box: a box an edit moved and made
    // shorter still leaves the rows the marks covered to repaint.
    const struct
    {
        const char* markup;
        long kind; // the element edited: the first of this kind
        int dx, dy, dh;
    } cases[] = {
        {"<p>a <x-note title=\"t\"/> b</p><p>below</p>", kKindCustom, 7, 14, -20},
        {"<p>x <q>one <q>two three</q> four five six</q> y</p><p>below</p>", kKindQ, -13, -18, -15},
        {"<p>x <q style=\"font-size:40px\">big</q> y</p>", kKindQ, 0, 0, -30},
    };
    for (const auto& c : cases) {
        qmtest::RunDocument doc(std::string("<body>") + c.markup + "</body>");
        CElement* body = doc.Body();
        ASSERT_TRUE(body && LayoutDocument(body, 173) && RepaintDocument(body)) << c.markup;
        CElement* edited = nullptr;
        for (CElement* e = body; e && !edited;) {
            if (e->m_kind == c.kind)
                edited = e;
            if (e->m_firstChild) {
                e = e->m_firstChild;
                continue;
            }
            while (e && !e->m_nextSibling)
                e = e->m_parent;
            e = e ? e->m_nextSibling : nullptr;
        }
        ASSERT_NE(edited, nullptr) << c.markup;
        edited->Lay().m_position += CPoint(c.dx, c.dy);
        edited->Lay().m_sizeRect.bottom
            = std::max(edited->Lay().m_sizeRect.top, edited->Lay().m_sizeRect.bottom + c.dh);
        ASSERT_TRUE(body->FastDraw());
        const std::vector<unsigned> quick = BitmapPixels(body, 200);
        ASSERT_TRUE(RepaintDocument(body));
        EXPECT_EQ(quick, BitmapPixels(body, 200)) << c.markup;
    }
}
