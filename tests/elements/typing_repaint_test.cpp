// After a keystroke only what changed is laid out and repainted; the bitmap
// must then be the one a full layout and paint of the same document gives.
// Documents with tag markers check that old marker areas are cleaned up.

#include "tests/elements/support/TypingDocument.h"

#include "platform/cg/Context.h"
#include "style/layout/BoxDump.h"
#include "style/layout/ElementPosition.h"
#include "style/paint/BodyRows.h"
#include "style/paint/PaintState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

using qmtest::TypingDocument;
using qmtest::Utf8Of;

// The first row and column where the two documents' paintings differ, or ""
// when they are the same. The bitmaps keep room below the document, which a
// quick repaint need not reallocate: the document's own rows are compared.
std::string Difference(const CElement* a, const CElement* b)
{
    const qm::cg::Context* x = a->m_dc.get();
    const qm::cg::Context* y = b->m_dc.get();
    if (!x || !y)
        return "no bitmap";
    if (a->Lay().m_sizeRect != b->Lay().m_sizeRect || x->Width() != y->Width())
        return "sizes differ: " + std::to_string(a->Lay().m_sizeRect.bottom) + " vs "
            + std::to_string(b->Lay().m_sizeRect.bottom);
    const int rows = std::min<int>(a->Lay().m_sizeRect.bottom + 10, std::min(x->Height(), y->Height()));
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < x->Width(); ++col) {
            const qm::cg::Pixel p = x->ReadPixel(col, row), q = y->ReadPixel(col, row);
            if (p.red != q.red || p.green != q.green || p.blue != q.blue)
                return "row " + std::to_string(row) + " column " + std::to_string(col);
        }
    }
    return "";
}

// The rows top to bottom of the document's bitmap as painted now.
std::vector<unsigned> PixelsOf(const CElement* root, int top, int bottom)
{
    std::vector<unsigned> out;
    const qm::cg::Context* ctx = root->m_dc.get();
    for (int row = std::max(top, 0); row < std::min(bottom, ctx->Height()); ++row) {
        for (int col = 0; col < ctx->Width(); ++col) {
            const qm::cg::Pixel p = ctx->ReadPixel(col, row);
            out.push_back(unsigned(p.red) | unsigned(p.green) << 8 | unsigned(p.blue) << 16);
        }
    }
    return out;
}

const char kMarkerSheet[] = "p { -qm-marker-label: element-name } span { -qm-marker-label: attr(title) }";

struct Case
{
    const char* name;
    std::string markup;
    const char* keys;
    bool markers;
};

} // namespace

TEST(TypingRepaint, QuickRepaintMatchesAFullPaint)
{
    const std::string words
        = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor. ";
    const std::string longText = words + words + words;
    const Case cases[] = {
        {"a character in the middle", "<p>one</p><p>tw|o</p><p>three</p>", "type:x", false},
        {"characters that wrap the paragraph", "<p>first</p><p>" + longText + "|</p><p>last</p>",
            "type:abcdefghijklmnopqrstuvwxyz", false},
        {"deleting a character", "<p>one</p><p>tw|o</p><p>three</p>", "Backspace", false},
        {"a character beside markers", "<p>one</p><p>tw|o <span title=\"s\">in</span></p><p>three</p>",
            "type:xyz", true},
        {"wrapping beside markers", "<p>first</p><p>" + longText + "|</p><p>last</p>",
            "type:abcdefghijklmnopqrstuvwxyz", true},
        {"a paragraph made by Return", "<p>one</p><p>tw|o</p><p>three</p>", "Return type:x", true},
    };
    for (const Case& c : cases) {
        const char* sheet = c.markers ? kMarkerSheet : nullptr;
        TypingDocument typed(c.markup, 300, sheet);
        ASSERT_TRUE(typed.ok) << c.name;
        ASSERT_TRUE(typed.Keys(c.keys)) << c.name;
        std::string after = typed.Markup();
        qmtest::ReplaceAll(after, "|", "");
        qmtest::ReplaceAll(after, "{nbsp}", "&#160;");
        TypingDocument fresh(after, 300, sheet);
        ASSERT_TRUE(fresh.ok) << c.name;
        EXPECT_EQ(Difference(typed.Body(), fresh.Body()), "") << c.name << ": " << after;
    }
}

TEST(TypingRepaint, AnElementThatDidNotMoveIsNotRepainted)
{
    TypingDocument doc("<p>one</p><p>tw|o</p><p>three</p><p>four</p>", 300, kMarkerSheet);
    ASSERT_TRUE(doc.ok);
    CTextElement* run = static_cast<CTextElement*>(doc.Caret());
    CElement* edited = run->m_parent;
    run->m_text.Insert(3, static_cast<unsigned short>('x'));
    run->FastReCalc(true);
    CElement* body = doc.Body();
    body->CleanChanged(body->m_dc.get(), CPoint());
    EXPECT_TRUE(run->m_changed);
    for (CElement* p = body->m_firstChild; p; p = p->m_nextSibling) {
        if (p != edited) {
            EXPECT_FALSE(p->m_changed) << qmtest::Utf8Of(p->m_firstChild->m_text);
        }
    }
    body->RedrawChanged(body->m_dc.get(), CPoint());
}

// A document several tiles tall, shown in the middle so that only some
// tiles hold pixels: a paragraph that gains and then loses a line moves the
// rest of the document across tile edges, and every resident row must be
// what a full paint gives.
TEST(TypingRepaint, RowsMovedAcrossTileEdgesMatchAFullPaint)
{
    const std::string words = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do. ";
    std::string markup;
    for (int i = 0; i < 400; ++i)
        markup += i == 150 ? "<p>" + words + words + "|</p>" : "<p>line " + std::to_string(i) + "</p>";
    TypingDocument typed(markup, 300);
    ASSERT_TRUE(typed.ok);
    CElement* body = typed.Body();
    qm::cg::Context* ctx = body->m_dc.get();
    ASSERT_GT(ctx->TileCount(), 3);
    const int at = DocumentPosition(typed.Caret()).y;
    ASSERT_TRUE(ShowDocumentRows(body, at - 300, at + 300));
    std::string erase;
    for (int i = 0; i < 26; ++i)
        erase += "Backspace ";
    for (const std::string& keys : {std::string("type:abcdefghijklmnopqrstuvwxyz"), erase}) {
        ctx->EnableTrace(true);
        ASSERT_TRUE(typed.Keys(keys));
        ctx->EnableTrace(false);
        // The rows below the paragraph were moved, not painted again.
        const auto& trace = ctx->Trace();
        EXPECT_TRUE(std::any_of(trace.begin(), trace.end(), [](const std::string& call) {
            return call.rfind("CopyRows", 0) == 0;
        })) << keys;
        ctx->ClearTrace();
        std::string after = typed.Markup();
        qmtest::ReplaceAll(after, "|", "");
        TypingDocument fresh(after, 300);
        ASSERT_TRUE(fresh.ok);
        ASSERT_TRUE(ExportDocumentRows(fresh.Body(), 0, fresh.Body()->m_dc->Height()));
        ASSERT_EQ(body->Lay().m_sizeRect, fresh.Body()->Lay().m_sizeRect) << keys;
        const qm::cg::Context* full = fresh.Body()->m_dc.get();
        int resident = 0;
        for (int row = 0; row < body->Lay().m_sizeRect.bottom + 10; ++row) {
            if (!ctx->IsTileResident(ctx->TileOfRow(row)))
                continue;
            ++resident;
            for (int col = 0; col < ctx->Width(); ++col) {
                const qm::cg::Pixel p = ctx->ReadPixel(col, row), q = full->ReadPixel(col, row);
                ASSERT_TRUE(p.red == q.red && p.green == q.green && p.blue == q.blue)
                    << keys << ": row " << row << " column " << col;
            }
        }
        EXPECT_GT(resident, 0);
        EXPECT_LT(resident, body->Lay().m_sizeRect.bottom);
    }
}

// A paragraph that gains or loses a line moves what follows it without a
// layout of its parent where nothing there depends on where it stands; the
// boxes must be those a whole layout gives, wherever the shortcut applies
// and wherever it must not (floats, alignment, a height of the parent's own).
TEST(TypingRepaint, BoxesAfterAParagraphThatGainsALineAreThoseOfAWholeLayout)
{
    const std::string text
        = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor. ";
    const std::string edited = "<p>" + text + text + "|</p>";
    const std::string cases[] = {
        "<p>first</p>" + edited + "<p>after</p><h2>heading</h2><p>last</p>",
        "<div style=\"margin: 5px; padding: 3px; border: 1px solid red\"><p>a</p>" + edited
            + "<p>b</p></div><p>after the div</p>",
        "<div>" + edited + "text after <b>bold</b><br/>more</div><ul><li>item</li></ul>",
        "<div style=\"text-align: center\">" + edited + "<p>centred</p></div><p>after</p>",
        "<div style=\"height: 300px\">" + edited + "<p>held</p></div><p>after</p>",
        "<div style=\"float: right; width: 80px; height: 140px\">f</div>" + edited + "<p>" + text + "</p>",
        "<p style=\"margin-bottom: 30px\">before</p>" + edited + "<p style=\"margin-top: 2px\">after</p>",
    };
    for (const std::string& markup : cases) {
        for (const char* keys :
            {"type:abcdefghijklmnopqrstuvwxyzabcdefghij", "Backspace Backspace Backspace"}) {
            TypingDocument doc(markup, 300);
            ASSERT_TRUE(doc.ok) << markup;
            ASSERT_TRUE(doc.Keys("type:abcdefghijklmnopqrstuvwxyzabcdefghij")) << markup;
            ASSERT_TRUE(doc.Keys(keys)) << markup;
            CSafeBuf quick, whole;
            GetBoxDump(doc.Body(), quick);
            ASSERT_TRUE(LayoutDocument(doc.Body(), 300));
            GetBoxDump(doc.Body(), whole);
            EXPECT_EQ(Utf8Of(quick), Utf8Of(whole)) << markup << " / " << keys;
        }
    }
}

// The document's rows as painted now.
std::vector<unsigned> Painted(const CElement* body)
{
    return PixelsOf(body, 0, body->Lay().m_sizeRect.bottom + 10);
}

// Blocks moved by an edit above them keep their descendants' records behind
// until a walk reaches them: an edit inside such a block afterwards (text
// that wraps, paragraphs joined by Backspace, which deletes one) must still
// repaint as a full layout and paint of the same tree does.
TEST(TypingRepaint, EditsInsideBlocksMovedBeforeMatchAFullPaint)
{
    const std::string words = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do. ";
    const std::string markup = "<p>" + words + words + "|</p><div style=\"border: 1px solid blue\"><p>inner "
        + words + "</p><div><p>deep</p><p>second</p></div></div><p>last</p>";
    for (const char* second :
        {"type:abcdefghijklmnopqrstuvwxyz", "Backspace type:xy", "Backspace Backspace"}) {
        TypingDocument typed(markup, 300);
        ASSERT_TRUE(typed.ok);
        ASSERT_TRUE(typed.Keys("type:abcdefghijklmnopqrstuvwxyz"));
        // The caret to the start of "second", deep inside the moved div.
        CElement* run = nullptr;
        for (CElement* e = typed.Body(); e && !run;) {
            if (e->IsTextElement() && Utf8Of(e->m_text) == "second")
                run = e;
            if (e->m_firstChild) {
                e = e->m_firstChild;
                continue;
            }
            while (e && !e->m_nextSibling)
                e = e->m_parent;
            e = e ? e->m_nextSibling : nullptr;
        }
        ASSERT_NE(run, nullptr);
        run->m_caretOffset = 0;
        typed.Doc().m_caretElement = run;
        ASSERT_TRUE(typed.Keys(second)) << second;
        const std::vector<unsigned> quick = Painted(typed.Body());
        ASSERT_TRUE(LayoutDocument(typed.Body(), 300));
        ASSERT_TRUE(RepaintDocument(typed.Body()));
        EXPECT_TRUE(quick == Painted(typed.Body())) << second;
    }
}

// A table sizes its columns from its cells' natural and minimum widths,
// which a keystroke may change while the cell's box (the table's) and its
// blocks' boxes keep their sizes: after each key the boxes must be those a
// whole layout gives.
TEST(TypingRepaint, KeysInATableCellReachItsColumnWidths)
{
    const std::string text
        = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor. ";
    struct Case
    {
        std::string markup;
        const char* keys;
    };
    const Case cases[] = {
        {"<table border=\"1\"><tr><td>hello world|</td><td>x</td></tr></table>",
            "Backspace Backspace Backspace Backspace Backspace Backspace type:abc"},
        {"<table><tr><td><p>" + text + text + "|</p><p>in the cell</p></td></tr></table><p>after</p>",
            "type:abcdefghijklmnopqrstuvwxyzabcdefghij Backspace Backspace Backspace"},
        {"<table border=\"1\"><tr><td><div><p>one two|</p></div></td><td>y</td></tr></table>",
            "Backspace Backspace Backspace Backspace type:threefourfive"},
    };
    for (const Case& c : cases) {
        TypingDocument doc(c.markup, 300);
        ASSERT_TRUE(doc.ok) << c.markup;
        std::istringstream keys(c.keys);
        std::string key;
        while (keys >> key) {
            ASSERT_TRUE(doc.Keys(key)) << c.markup;
            CSafeBuf quick, whole;
            GetBoxDump(doc.Body(), quick);
            ASSERT_TRUE(LayoutDocument(doc.Body(), 300));
            GetBoxDump(doc.Body(), whole);
            ASSERT_EQ(Utf8Of(quick), Utf8Of(whole)) << c.markup << " after " << key;
        }
    }
}

// A document several tiles tall: lines added near the top move every block
// below (their descendants' records lag behind until a walk reaches them);
// tiles shown afterwards are painted from those records and must hold what
// a full paint gives.
TEST(TypingRepaint, TilesShownAfterBlocksMovedMatchAFullPaint)
{
    const std::string words = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do. ";
    std::string markup;
    for (int i = 0; i < 500; ++i)
        markup += i == 3 ? "<p>" + words + "|</p>"
                         : "<div><p>line " + std::to_string(i) + " <b>bold</b></p></div>";
    TypingDocument typed(markup, 300);
    ASSERT_TRUE(typed.ok);
    CElement* body = typed.Body();
    qm::cg::Context* ctx = body->m_dc.get();
    ASSERT_GT(ctx->TileCount(), 3);
    // Words typed into three lines more: the bitmap's room below the
    // document holds them, and each new line moves every block below.
    for (int i = 0; i < 120; ++i)
        typed.Key(i % 6 == 5 ? ' ' : 'a' + i % 26);
    ASSERT_EQ(ctx, body->m_dc.get());
    int lagging = 0;
    for (const CElement* c = body->m_firstChild; c; c = c->m_nextSibling)
        lagging += c->Lay().m_recordShift != 0 || qm::paint::BodyRowLag(c) != 0;
    EXPECT_GT(lagging, 0);
    std::vector<std::vector<unsigned>> shown;
    for (int tile = 1; tile < 4; ++tile) {
        const int top = ctx->TileTop(tile);
        ASSERT_TRUE(ShowDocumentRows(body, top - 50, top + 50));
        std::vector<unsigned> rows;
        for (int row = top - 50; row < top + 50; ++row) {
            for (int col = 0; col < ctx->Width(); ++col) {
                const qm::cg::Pixel p = ctx->ReadPixel(col, row);
                rows.push_back(unsigned(p.red) | unsigned(p.green) << 8 | unsigned(p.blue) << 16);
            }
        }
        shown.push_back(rows);
    }
    ASSERT_TRUE(LayoutDocument(body, 300));
    ASSERT_TRUE(RepaintDocument(body));
    ctx = body->m_dc.get();
    for (int tile = 1; tile < 4; ++tile) {
        const int top = ctx->TileTop(tile);
        ASSERT_TRUE(ShowDocumentRows(body, top - 50, top + 50));
        std::vector<unsigned> rows;
        for (int row = top - 50; row < top + 50; ++row) {
            for (int col = 0; col < ctx->Width(); ++col) {
                const qm::cg::Pixel p = ctx->ReadPixel(col, row);
                rows.push_back(unsigned(p.red) | unsigned(p.green) << 8 | unsigned(p.blue) << 16);
            }
        }
        EXPECT_TRUE(rows == shown[size_t(tile - 1)]) << "tile " << tile;
    }
}

// Edits at places far apart in a document of many blocks: the blocks after
// each edited paragraph move without being visited, so a later edit may
// land in a block that moved, above one, or change the body's list of
// blocks (Return, Backspace joining two paragraphs). After each step the
// shown rows, and at the end the whole document painted tile by tile, must
// be what a full layout and paint of the same tree give.
TEST(TypingRepaint, EditsFarApartInALongDocumentMatchAFullPaint)
{
    const std::string words = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do. ";
    std::string markup;
    for (int i = 0; i < 300; ++i)
        markup += i == 100 ? "<p>" + words + "|</p>" : "<p>line " + std::to_string(i) + " <b>bold</b></p>";
    // Words typed with spaces between them, enough to add a line.
    const char* const kWords
        = "type:lorem unit:20 type:ipsum unit:20 type:dolor unit:20 type:amet unit:20 type:elit unit:20 "
          "type:sed unit:20 type:magna unit:20 type:aliqua unit:20 type:minim unit:20 type:veniam";
    struct Step
    {
        const char* where; // the text the caret goes to the start of, or "" to stay
        const char* keys;
    };
    const Step steps[] = {
        {"", kWords},
        {"line 200 ", kWords},
        {"line 50 ", kWords},
        {"line 199 ", "Backspace"},
        {"line 60 ", "Return type:xyz"},
        {"line 250 ", kWords},
        {"", "Backspace Backspace Backspace Backspace Backspace Backspace Backspace"},
    };
    TypingDocument typed(markup, 300);
    ASSERT_TRUE(typed.ok);
    CElement* body = typed.Body();
    for (const Step& step : steps) {
        if (*step.where) {
            CElement* run = nullptr;
            for (CElement* p = body->m_firstChild; p && !run; p = p->m_nextSibling) {
                if (p->m_firstChild && p->m_firstChild->IsTextElement()
                    && Utf8Of(p->m_firstChild->m_text) == step.where)
                    run = p->m_firstChild;
            }
            ASSERT_NE(run, nullptr) << step.where;
            run->m_caretOffset = 0;
            typed.Doc().m_caretElement = run;
        }
        const int at = DocumentPosition(typed.Caret()).y;
        ASSERT_TRUE(ShowDocumentRows(body, at - 300, at + 300));
        const LONG height = body->Lay().m_sizeRect.bottom;
        ASSERT_TRUE(typed.Keys(step.keys)) << step.keys;
        if (step.keys == kWords) {
            EXPECT_NE(height, body->Lay().m_sizeRect.bottom) << step.where;
        }
        std::string after = typed.Markup();
        qmtest::ReplaceAll(after, "|", "");
        TypingDocument fresh(after, 300);
        ASSERT_TRUE(fresh.ok);
        ASSERT_EQ(body->Lay().m_sizeRect, fresh.Body()->Lay().m_sizeRect) << step.where << step.keys;
        ASSERT_TRUE(ShowDocumentRows(fresh.Body(), at - 300, at + 300));
        EXPECT_TRUE(PixelsOf(body, at - 300, at + 300) == PixelsOf(fresh.Body(), at - 300, at + 300))
            << step.where << step.keys;
    }
    std::string after = typed.Markup();
    qmtest::ReplaceAll(after, "|", "");
    TypingDocument fresh(after, 300);
    ASSERT_TRUE(fresh.ok);
    const int height = body->Lay().m_sizeRect.bottom + 10;
    ASSERT_TRUE(ExportDocumentRows(body, 0, height));
    ASSERT_TRUE(ExportDocumentRows(fresh.Body(), 0, height));
    EXPECT_TRUE(PixelsOf(body, 0, height) == PixelsOf(fresh.Body(), 0, height));
}

// The body's entries find the blocks a band of rows meets by halving while
// the blocks stand one below another, and walk them all where a block
// reaches above the one before it or below the one after it, from the start
// or once an edit made it so. Either way a paragraph that gains lines must
// repaint the shown rows, and then the whole document, as a full layout and
// paint of the same tree do.
TEST(TypingRepaint, BlocksPaintedInAndOutOfOrderMatchAFullPaint)
{
    const std::string words = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do. ";
    std::string filler;
    for (int i = 0; i < 80; ++i)
        filler += "<p>line " + std::to_string(i) + " <b>bold</b></p>";
    const std::string edited = "<p>" + words + "|</p>";
    struct Case
    {
        const char* name;
        std::string markup;
        bool ordered; // the entries after the keys
    };
    const Case cases[] = {
        {"blocks one below another", filler + edited + filler, true},
        {"a float reaching below the blocks after its own",
            filler + edited
                + "<div><div style=\"float: left; width: 40px; height: 200px\">f</div></div><p>next</p>"
                + filler,
            false},
        // Tall lines: the document outgrows its bitmap, which is made anew
        // and painted whole while the blocks after the paragraph still hold
        // back the rows they moved.
        {"lines that outgrow the bitmap while the blocks after them lag",
            filler + "<p style=\"font-size: 80px; line-height: 4px\">Jgy " + words + "|</p>" + filler, true},
    };
    for (const Case& c : cases) {
        TypingDocument typed(c.markup, 300);
        ASSERT_TRUE(typed.ok) << c.name;
        CElement* body = typed.Body();
        const int at = DocumentPosition(typed.Caret()).y;
        ASSERT_TRUE(ShowDocumentRows(body, at - 200, at + 200));
        ASSERT_TRUE(typed.Keys("type:lorem unit:20 type:ipsum unit:20 type:dolor unit:20 type:amet unit:20 "
                               "type:elit unit:20 type:sed unit:20 type:magna unit:20 type:aliqua"))
            << c.name;
        const qm::paint::BodyRows& rows = body->m_owner->m_doc.m_paintState->m_bodyRows;
        EXPECT_EQ(rows.root == body && rows.ordered, c.ordered) << c.name;
        std::string after = typed.Markup();
        qmtest::ReplaceAll(after, "|", "");
        TypingDocument fresh(after, 300);
        ASSERT_TRUE(fresh.ok) << c.name;
        ASSERT_EQ(body->Lay().m_sizeRect, fresh.Body()->Lay().m_sizeRect) << c.name;
        ASSERT_TRUE(ShowDocumentRows(fresh.Body(), at - 200, at + 200));
        EXPECT_TRUE(PixelsOf(body, at - 200, at + 200) == PixelsOf(fresh.Body(), at - 200, at + 200))
            << c.name;
        const int height = body->Lay().m_sizeRect.bottom + 10;
        ASSERT_TRUE(ExportDocumentRows(body, 0, height));
        ASSERT_TRUE(ExportDocumentRows(fresh.Body(), 0, height));
        EXPECT_TRUE(PixelsOf(body, 0, height) == PixelsOf(fresh.Body(), 0, height)) << c.name;
    }
}
