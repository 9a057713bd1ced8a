// Tables end to end, from the cases in tests/data/tables/: markup in (after
// the page's style sheet and a line "%% markup" when the case has one), laid
// out at the width a case names (800 by default), and out, as the case asks:
//
//   (no option)       the box dump (text runs left out)
//   [grid]            the table's columns and rows (GetRowCol), the place
//                     of the one cell at (0, 0), every cell's row, column
//                     index and spans
//   [markup]          the markup
//   [headers]         DoHeaders on every table, then the markup, with each
//                     table's identifier in generated ids written as "T"
//   [resize=R,C,D,M]  the border of the cell at row R, column C dragged by
//                     D pixels (DoResize with mode M), then the markup
//   [table]           the box dump's table lines only
//   [cursor]          the cursor along the middle of the first row: runs of
//                     x (from the table's left edge) and the cursor type;
//                     with [noresize] the engine's options forbid resizing
//   [struct=H,F]      SetStruct(H, F) on every table, then the markup
//   [borders]         every cell's border line styles, left top right bottom
//
// Every layout case is also laid out a second time, which must not move a
// box, and every cell's quick re-layout must leave the boxes as they were.

#include "editor/XHTML.h"
#include "element/EffectiveValues.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/TDElement.h"
#include "elements/TableElement.h"
#include "platform/cg/Context.h"
#include "style/layout/BoxDump.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutPass.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

using qmtest::ToUtf8;

namespace {

std::string Option(const qmtest::CaseBlock& c, const std::string& name)
{
    for (const std::string& o : c.options) {
        if (o.rfind(name + "=", 0) == 0)
            return o.substr(name.size() + 1);
    }
    return std::string();
}

std::vector<int> Numbers(const std::string& text)
{
    std::vector<int> n;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ','))
        n.push_back(std::stoi(item));
    return n;
}

void Tables(CElement* e, std::vector<CTableElement*>& out)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindTable)
            out.push_back(static_cast<CTableElement*>(c));
        Tables(c, out);
    }
}

std::string Boxes(const CElement* body)
{
    CSafeBuf out;
    GetBoxDump(body, out);
    return qmtest::ReportLines(ToUtf8(out), false);
}

std::string Markup(const CMarkupDocument& doc)
{
    CSafeBuf out;
    doc.Write(out, 0);
    return ToUtf8(out);
}

std::string Grid(CTableElement* t)
{
    std::ostringstream out;
    int columns = 0, rows = 0;
    t->AssignTDIndex();
    t->GetRowCol(columns, rows);
    out << "columns=" << columns << " rows=" << rows << "\n";
    // The one cell at (0, 0), asked for as one cell.
    CPtrList single;
    t->GetCells(&single, 16, 0);
    int row = -1, column = -1;
    if (single.GetCount() == 1)
        t->FindCellPosition(static_cast<CElement*>(single.GetHead()), row, column, false);
    out << "cell 0,0: r" << row << " c" << column << "\n";
    std::vector<CElement*> trs, cells;
    TableRows(t, trs);
    for (size_t r = 0; r < trs.size(); ++r) {
        RowCells(trs[r], cells);
        for (CElement* c : cells)
            out << "r" << r << " c" << static_cast<CTDElement*>(c)->m_columnIndex
                << " colspan=" << c->Style().colSpan << " rowspan=" << c->Style().rowSpan << "\n";
    }
    return out.str();
}

std::string Cursor(CTableElement* t)
{
    std::vector<CElement*> rows;
    TableRows(t, rows);
    if (rows.empty())
        return "no rows";
    const CPoint at = DocumentPosition(t);
    const CRect row = DocumentRect(rows.front());
    const int y = (row.top + row.bottom) / 2;
    std::ostringstream out;
    int start = -2, type = -1;
    const int end = BoxWidth(t) + 2;
    for (int x = -2; x <= end; ++x) {
        const int now = x == end ? -1 : t->MouseCursorType(CPoint(at.x + x, y));
        if (now != type) {
            if (type >= 0)
                out << start << ".." << x - 1 << " " << type << "\n";
            start = x;
            type = now;
        }
    }
    return out.str();
}

} // namespace

TEST(Tables, Cases)
{
    qmtest::CaseBlockFile file("tables/cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        CXHTML engine;
        static const int kNoResize = 32;
        if (c.HasOption("noresize"))
            engine.m_controlOptions = &kNoResize;
        std::string markup = c.input;
        const size_t sheetEnd = markup.find("%% markup\n");
        if (sheetEnd != std::string::npos) {
            engine.m_doc.LoadStyleClass(qmtest::FromUtf8(markup.substr(0, sheetEnd)), 0, false, 0);
            markup.erase(0, sheetEnd + 10);
        }
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error)) << c.name;
        const std::string width = Option(c, "width");
        const int w = width.empty() ? 800 : std::stoi(width);
        ASSERT_TRUE(LayoutDocument(doc.Body(), w)) << c.name;
        std::vector<CTableElement*> tables;
        Tables(doc.Body(), tables);
        ASSERT_FALSE(tables.empty()) << c.name;
        std::string actual;
        if (c.HasOption("grid")) {
            for (CTableElement* t : tables)
                actual += Grid(t);
        } else if (c.HasOption("table")) {
            std::istringstream lines(Boxes(doc.Body()));
            for (std::string line; std::getline(lines, line);) {
                const std::string path = line.substr(0, line.find(' '));
                if (path.compare(path.rfind('/') + 1, 6, "table[") == 0)
                    actual += line + "\n";
            }
        } else if (c.HasOption("markup")) {
            actual = Markup(doc);
        } else if (c.HasOption("headers")) {
            for (CTableElement* t : tables)
                t->DoHeaders();
            actual = Markup(doc);
            for (CTableElement* t : tables) {
                char id[16];
                std::snprintf(id, sizeof id, "th%08lX", static_cast<unsigned long>(t->GetID()));
                for (size_t at = actual.find(id); at != std::string::npos; at = actual.find(id))
                    actual.replace(at, std::strlen(id), "thT");
            }
        } else if (!Option(c, "struct").empty()) {
            const std::vector<int> n = Numbers(Option(c, "struct"));
            ASSERT_EQ(n.size(), 2u) << c.name;
            for (CTableElement* t : tables)
                t->SetStruct(n[0] != 0, n[1] != 0);
            actual = Markup(doc);
        } else if (c.HasOption("borders")) {
            for (CTableElement* t : tables) {
                CPtrList cells;
                t->GetCells(&cells, 14, -1);
                cells.ForEachItem([&](void* item) {
                    const ELEMENT_STYLE& s = static_cast<CElement*>(item)->Style();
                    for (const BORDER_SIDE& side : s.border)
                        actual += std::to_string(side.style) + " ";
                    actual.back() = '\n';
                });
            }
        } else if (c.HasOption("cursor")) {
            actual = Cursor(tables.front());
        } else if (!Option(c, "resize").empty()) {
            const std::vector<int> n = Numbers(Option(c, "resize"));
            ASSERT_EQ(n.size(), 4u) << c.name;
            CTableElement* t = tables.front();
            CElement* cell = t->GetSingleCell(n[0], n[1]);
            ASSERT_NE(cell, nullptr) << c.name;
            t->DoResize(cell, BoxWidth(cell) + n[2], n[3]);
            actual = Markup(doc);
        } else {
            actual = Boxes(doc.Body());
            ASSERT_TRUE(LayoutDocument(doc.Body(), w)) << c.name;
            EXPECT_EQ(Boxes(doc.Body()), actual) << c.name << ": a second layout moved boxes";
            // A quick re-layout of a cell whose content did not change, when
            // the table takes it, changes nothing.
            for (CTableElement* t : tables) {
                CPtrList cells;
                t->GetCells(&cells, 14, -1);
                cells.ForEachItem([&](void* cell) { t->FastCalcCell(static_cast<CElement*>(cell)); });
            }
            EXPECT_EQ(Boxes(doc.Body()), actual) << c.name << ": a quick re-layout moved boxes";
        }
        file.Check(c, actual);
    }
}

// After one cell's content grows by a line, the quick re-layout of that cell
// gives the boxes of a whole layout.
TEST(Tables, QuickReLayoutOfOneCellEqualsAWholeLayout)
{
    const std::string markup = "<body><p>x</p><table><tr><td>wide first cell</td><td>b</td></tr>"
                               "<tr><td>c</td><td>d</td></tr></table><p>after</p></body>";
    CXHTML engine;
    CMarkupDocument doc(&engine);
    CSafeBuf error;
    ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error));
    ASSERT_TRUE(LayoutDocument(doc.Body(), 400));
    std::vector<CTableElement*> tables;
    Tables(doc.Body(), tables);
    ASSERT_EQ(tables.size(), 1u);
    CTableElement* t = tables.front();
    CElement* cell = t->GetSingleCell(1, 0);
    ASSERT_NE(cell, nullptr);
    const std::string before = Boxes(doc.Body());
    ASSERT_TRUE(
        cell->InsertHTMLCodeToElement(static_cast<const unsigned short*>(qmtest::FromUtf8("<br/>c"))));
    EXPECT_TRUE(t->FastCalcCell(cell));
    // The table moved its own boxes; the body places what follows it.
    doc.Body()->ReCalcWin();
    HandleFinalWidth(doc.Body());
    const std::string quick = Boxes(doc.Body());
    EXPECT_NE(quick, before);
    ASSERT_TRUE(LayoutDocument(doc.Body(), 400));
    EXPECT_EQ(quick, Boxes(doc.Body()));
}

// Typing into a cell re-lays it out through FastReCalc, which leaves the
// table, the tables around it and what follows them as a whole layout
// would, the table standing alone or five deep (where, its width its own,
// the layout stops at it).
TEST(Tables, FastReCalcInACellFollowsTheTable)
{
    const std::string table = "<table width=\"200\"><tr><td "
                              "height=\"100\">a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></table>";
    std::string deep = table;
    for (int i = 0; i < 4; ++i)
        deep = "<table><tr><td>x y</td><td>" + deep + "</td></tr></table>";
    for (const std::string& tables : {table, deep}) {
        const std::string markup = "<body>" + tables + "<p>after</p></body>";
        CXHTML engine;
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error));
        ASSERT_TRUE(LayoutDocument(doc.Body(), 300));
        std::vector<CTableElement*> found;
        Tables(doc.Body(), found);
        ASSERT_FALSE(found.empty());
        CElement* cell = found.back()->GetSingleCell(0, 0);
        ASSERT_TRUE(cell && cell->m_firstChild && cell->m_firstChild->IsTextElement());
        CElement* run = cell->m_firstChild;
        run->m_text = qmtest::FromUtf8("a much longer text that wraps in the page");
        run->FastReCalc(true);
        const std::string quick = Boxes(doc.Body());
        ASSERT_TRUE(LayoutDocument(doc.Body(), 300));
        EXPECT_EQ(quick, Boxes(doc.Body())) << found.size() << " tables";
    }
}

// Selected cells keep their background and are tinted blue at alpha 0.3
// over it, so that their content stays readable; a cell not selected keeps
// its colour.
TEST(Tables, SelectedCellsAreTinted)
{
    const std::string markup = "<body><table cellspacing=\"0\"><tr>"
                               "<td style=\"background-color:#ff0000; width:40px; height:30px\"> </td>"
                               "<td style=\"background-color:#ff0000; width:40px; height:30px\"> </td>"
                               "<td style=\"background-color:#ff0000; width:40px; height:30px\"> </td>"
                               "</tr></table></body>";
    CXHTML engine;
    CMarkupDocument doc(&engine);
    CSafeBuf error;
    ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error));
    std::vector<CTableElement*> tables;
    Tables(doc.Body(), tables);
    ASSERT_EQ(tables.size(), 1u);
    CElement* first = tables.front()->GetSingleCell(0, 0);
    CElement* second = tables.front()->GetSingleCell(0, 1);
    CElement* third = tables.front()->GetSingleCell(0, 2);
    ASSERT_TRUE(first && second && third);
    first->m_selected = second->m_selected = 1;
    engine.m_doc.m_selectedCellCount = 2;
    ASSERT_TRUE(doc.Body()->Draw(nullptr));
    const qm::cg::Context* ctx = doc.Body()->m_dc.get();
    ASSERT_NE(ctx, nullptr);
    auto centre = [&](CElement* cell) {
        const CRect r = DocumentRect(cell);
        return ctx->ReadPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    for (CElement* cell : {first, second}) {
        const qm::cg::Pixel p = centre(cell);
        EXPECT_NEAR(p.red, 178, 2);
        EXPECT_EQ(p.green, 0);
        EXPECT_NEAR(p.blue, 77, 2);
    }
    const qm::cg::Pixel plain = centre(third);
    EXPECT_EQ(plain.red, 255);
    EXPECT_EQ(plain.blue, 0);
}
