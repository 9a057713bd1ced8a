// The table commands (rows and columns, header lines, merge and split, the
// alignment of cells, rows and columns, selecting a table, row or column),
// run through the engine's command table as the context menu runs them. A
// case of tests/data/table_edits/*.txt gives markup with the caret as "|";
// its options are steps, in order: a number posts that command;
// "menu:TAG#N" makes the N-th element of that tag (from 1, in document
// order) the context element; "mark:TAG#N" marks that cell whole as a drag
// over cells does; "undo" undoes, "redo" redoes; "unchanged" checks that the body is what
// it was right after loading; "reread" loads the document as it is written
// and checks that it writes the same; "marks" appends the texts of the
// marked cells to the output; "grid" appends, for each table, the number of
// grid columns each row covers as the stored spans place the cells, "past"
// for a cell spanning past the last row and "attr" for a cell whose span
// attributes say other than its stored spans. The body's content comes out (compact, U+00A0 as
// "{nbsp}").

#include "tests/common/CaseBlocks.h"
#include "tests/common/PngPixels.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"

#include "document/XDoc.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/ElementRegistry.h"
#include "element/markup/SourceCode.h"
#include "elements/TableElement.h"
#include "style/paint/DocumentPng.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr unsigned int kCommandMessage = 1;

class ReportingControl : public qmtest::ViewControl
{
public:
    void GoFireContentChanged() override { ++contentChanged; }
    int contentChanged = 0;
};

class TableGrid : public qmtest::EngineWithControl
{
protected:
    void SetUp() override
    {
        EngineWithControl::SetUp();
        auto reporting = std::make_unique<ReportingControl>();
        page = reporting.get();
        control = std::move(reporting);
        engine->m_control = control.get();
        engine->m_controlOptions = &control->Options;
    }

    bool Load(std::string markup)
    {
        const std::string::size_type at = markup.find('|');
        if (at != std::string::npos)
            markup.replace(at, 1, kCaretMarker);
        engine->m_menuElement = nullptr;
        engine->m_doc.m_viewRect = CRect(0, 0, 300, 300);
        engine->m_doc.m_viewWidth = 300;
        engine->AssignWnd();
        return engine->LoadDocument(CSafeBuf(markup.c_str()));
    }

    // The N-th element (from 1) of a "TAG#N" name, in document order.
    CElement* Nth(const std::string& name)
    {
        const std::string::size_type hash = name.find('#');
        const std::string tag = name.substr(0, hash);
        int n = hash == std::string::npos ? 1 : std::stoi(name.substr(hash + 1));
        CPtrList all;
        engine->m_doc.m_root->GetAllChildren(&all, 0, false, 0, 0);
        for (void* pos = all.GetHeadPosition(); pos;) {
            auto* e = static_cast<CElement*>(all.GetNext(pos));
            if (qmtest::Utf8(CSafeBuf(e->GetTagName())) == tag && --n == 0)
                return e;
        }
        return nullptr;
    }

    // The cell marked whole, as a drag over two cells of a table marks it.
    bool Mark(CElement* cell)
    {
        CTableElement* table = TableOfCell(cell);
        if (!table)
            return false;
        cell->SelectAllChildren(true);
        cell->m_wholeCell = 1;
        CXDoc& doc = engine->m_doc;
        doc.m_cellMarkMode = 1;
        doc.m_markedTable = table;
        doc.m_selectionPresent = 1;
        ++doc.m_selectedCellCount;
        return true;
    }

    // The texts of the marked cells, in table order.
    std::string Marks()
    {
        std::string out;
        CPtrList all;
        engine->m_doc.m_root->GetAllChildren(&all, 0, false, 0, 0);
        for (void* pos = all.GetHeadPosition(); pos;) {
            auto* e = static_cast<CElement*>(all.GetNext(pos));
            if (!IsCellKind(e->m_kind) || !e->m_wholeCell)
                continue;
            CSafeBuf text;
            e->GetSourceCode(text, 0, kSourceContentOnly, w1, w2, w3, nullptr);
            out += (out.empty() ? "" : ",") + qmtest::Utf8(text);
        }
        return out;
    }

    bool Run(const std::string& step, std::string& extra)
    {
        if (step.rfind("menu:", 0) == 0) {
            engine->m_menuElement = Nth(step.substr(5));
            return engine->m_menuElement != nullptr;
        }
        if (step.rfind("mark:", 0) == 0) {
            CElement* cell = Nth(step.substr(5));
            return cell && Mark(cell);
        }
        if (step == "undo" || step == "redo") {
            if (step == "undo")
                engine->OnUndo();
            else
                engine->OnRedo();
            return true;
        }
        if (step == "unchanged") {
            EXPECT_EQ(Content(), loaded);
            return true;
        }
        if (step == "reread") {
            const std::string before = Content();
            if (!WriteAndReadAgain())
                return false;
            EXPECT_EQ(Content(), before);
            return true;
        }
        if (step == "grid") {
            extra += Grid();
            return true;
        }
        if (step == "marks") {
            extra += "\nmarked: " + Marks();
            return true;
        }
        if (step.empty() || step.find_first_not_of("0123456789") != std::string::npos)
            return false;
        engine->PostMessage(kCommandMessage, static_cast<unsigned int>(std::stoul(step)), 0);
        return true;
    }

    // "\ngrid: W W ..." per table: the columns each row covers, cells
    // placed as a reader places them (past the columns taken by spans from
    // above), with the stored spans.
    std::string Grid()
    {
        std::string out;
        CPtrList all;
        engine->m_doc.m_root->GetAllChildren(&all, 0, false, 0, 0);
        for (void* pos = all.GetHeadPosition(); pos;) {
            auto* e = static_cast<CElement*>(all.GetNext(pos));
            if (e->m_kind != kKindTable)
                continue;
            static_cast<CTableElement*>(e)->AssignTDIndex();
            std::vector<CElement*> rows, cells;
            TableRows(e, rows);
            std::vector<std::vector<bool>> taken(rows.size());
            bool past = false, attr = false;
            for (size_t r = 0; r < rows.size(); ++r) {
                RowCells(rows[r], cells);
                size_t c = 0;
                for (CElement* cell : cells) {
                    while (c < taken[r].size() && taken[r][c])
                        ++c;
                    const size_t across = GridSpan(cell->Style().colSpan);
                    const size_t down = GridSpan(cell->Style().rowSpan);
                    past = past || r + down > rows.size();
                    for (size_t y = r; y < std::min(rows.size(), r + down); ++y) {
                        if (taken[y].size() < c + across)
                            taken[y].resize(c + across, false);
                        for (size_t x = c; x < c + across; ++x)
                            taken[y][x] = true;
                    }
                    c += across;
                    attr = attr || AttrSpan(cell, "colspan") != across || AttrSpan(cell, "rowspan") != down;
                }
            }
            out += "\ngrid:";
            for (const auto& row : taken)
                out += " " + std::to_string(std::count(row.begin(), row.end(), true));
            out += past ? " past" : "";
            out += attr ? " attr" : "";
        }
        return out;
    }

    static size_t AttrSpan(const CElement* cell, const char* name)
    {
        CSafeBuf value;
        if (!cell->GetAttrString(name, value))
            return 1;
        const int n = std::atoi(qmtest::Utf8(value).c_str());
        return n < 2 || n > 1000 ? 1 : static_cast<size_t>(n);
    }

    std::string Content()
    {
        CSafeBuf out;
        engine->GetSourceCode(out, 6);
        std::string s = qmtest::Utf8(out);
        const auto open = s.find("<body");
        const auto start = open == std::string::npos ? 0 : s.find('>', open) + 1;
        const auto end = s.rfind("</body>");
        s = s.substr(start, end == std::string::npos ? std::string::npos : end - start);
        for (auto cr = s.find_first_of("\r\n"); cr != std::string::npos; cr = s.find_first_of("\r\n"))
            s.erase(cr, 1);
        for (auto nb = s.find("\xC2\xA0"); nb != std::string::npos; nb = s.find("\xC2\xA0"))
            s.replace(nb, 2, "{nbsp}");
        // Header ids begin with a table's identifier, which depends on what
        // ran before: the first met in a case is written as "T", the next
        // ones "T2", "T3" ...
        for (auto th = s.find("th"); th != std::string::npos; th = s.find("th", th + 1)) {
            const auto hex = th + 2;
            if (hex + 12 <= s.size() && IsUpperHex(s, hex, 8) && IsDigits(s, hex + 8, 4))
                s.replace(hex, 8, KeyName(s.substr(hex, 8)));
        }
        return s;
    }

    std::string KeyName(const std::string& key)
    {
        auto at = std::find(keys.begin(), keys.end(), key);
        if (at == keys.end())
            at = keys.insert(keys.end(), key);
        const size_t n = static_cast<size_t>(at - keys.begin()) + 1;
        return n == 1 ? "T" : "T" + std::to_string(n);
    }

    static bool IsUpperHex(const std::string& s, size_t at, size_t n)
    {
        for (size_t i = at; i < at + n; ++i)
            if (!std::isdigit(static_cast<unsigned char>(s[i])) && (s[i] < 'A' || s[i] > 'F'))
                return false;
        return true;
    }

    static bool IsDigits(const std::string& s, size_t at, size_t n)
    {
        for (size_t i = at; i < at + n; ++i)
            if (!std::isdigit(static_cast<unsigned char>(s[i])))
                return false;
        return true;
    }

    void RunFile(const char* path)
    {
        qmtest::CaseBlockFile file(path);
        for (const qmtest::CaseBlock& c : file.Cases()) {
            SCOPED_TRACE(c.name);
            keys.clear();
            ASSERT_TRUE(Load(c.input));
            loaded = Content();
            std::string extra;
            for (const std::string& step : c.options)
                ASSERT_TRUE(Run(step, extra)) << step;
            file.Check(c, Content() + extra);
            EXPECT_TRUE(engine->m_doc.m_caretElement == nullptr
                || engine->m_doc.IsElementInTree(engine->m_doc.m_caretElement));
        }
    }

    ReportingControl* page = nullptr;
    std::string loaded;
    std::vector<std::string> keys; // the table identifiers met in header ids, in order
    CSafeBuf w1, w2, w3;
};

TEST_F(TableGrid, RowsAndColumns) { RunFile("table_edits/rows_columns.txt"); }
TEST_F(TableGrid, HeaderLines) { RunFile("table_edits/headers.txt"); }
TEST_F(TableGrid, MergeAndSplit) { RunFile("table_edits/merge_split.txt"); }
TEST_F(TableGrid, Alignment) { RunFile("table_edits/align.txt"); }

// After the page replaced the value, each of these edits is reported to the
// page as a content change and is one undo step back to the markup loaded.
TEST_F(TableGrid, EditsAreReportedAndUndoneInOneStep)
{
    const char* const kTable = "<table><caption>c</caption><tr><th>h1</th><th>h2</th></tr>"
                               "<tr><td>a|</td><td>b</td></tr><tr><td>d</td><td>e</td></tr></table>";
    const struct
    {
        unsigned int command;
        const char* what;
    } kCases[] = {
        {32780, "row below"},
        {32797, "column before"},
        {32782, "remove row"},
        {32783, "remove column"},
        {32839, "header column"},
        {32840, "header row"},
        {32819, "cell left"},
        {32824, "cell bottom"},
        {32898, "row right"},
        {32905, "column top"},
        {32817, "remove table"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Load(kTable));
        const std::string before = Content();
        engine->m_menuElement = Nth("td#1");
        page->contentChanged = 0;
        engine->m_valueReplaced = 1;
        engine->PostMessage(kCommandMessage, c.command, 0);
        EXPECT_NE(Content(), before);
        EXPECT_EQ(page->contentChanged, 1);
        engine->OnUndo();
        EXPECT_EQ(Content(), before);
    }
}

// A stored table whose ids carry the identifier another table of the
// document was given at the same load keeps them as the author's: taken as
// its key, the two tables would make the same ids.
TEST_F(TableGrid, IdsOfAnotherTablesIdentifierAreNotTakenAsTheKey)
{
    auto markup = [](const std::string& key) {
        return "<table><tr><th>h</th></tr><tr><td>a|</td></tr></table><table><tr><th id=\"th" + key
            + "0000\">h</th></tr><tr><td>b</td></tr></table>";
    };
    // The same markup with an id of no key given yet shows which identifier
    // the first table gets, counted from the last one given before the load.
    long before = LastElementIdentifier();
    ASSERT_TRUE(Load(markup("FFFFFFFF")));
    const long offset = static_cast<CTableElement*>(Nth("table#1"))->GetID() - before;
    char key[16];
    before = LastElementIdentifier();
    std::snprintf(key, sizeof key, "%08lX", static_cast<unsigned long>(before + offset));
    ASSERT_TRUE(Load(markup(key)));
    auto* first = static_cast<CTableElement*>(Nth("table#1"));
    auto* second = static_cast<CTableElement*>(Nth("table#2"));
    ASSERT_EQ(first->GetID(), before + offset);
    EXPECT_EQ(first->HeaderKey(), first->GetID());
    EXPECT_EQ(second->HeaderKey(), second->GetID());
}

// Column spans can claim a grid far wider than any table lays out: a new
// row stops at the widest grid a table lays out.
TEST_F(TableGrid, ANewRowUnderHugeSpansStopsAtTheWidestGrid)
{
    // Five cells of the largest span a cell takes (1000).
    std::string markup = "<table><tr><td colspan=\"1000\">a|</td>";
    for (int i = 0; i < 4; ++i)
        markup += "<td colspan=\"1000\">b</td>";
    ASSERT_TRUE(Load(markup + "</tr><tr><td>c</td></tr></table>"));
    engine->m_menuElement = Nth("td#1");
    engine->OnInsertrow();
    CElement* row = Nth("tr#2");
    ASSERT_NE(row, nullptr);
    std::vector<CElement*> cells;
    RowCells(row, cells);
    EXPECT_EQ(static_cast<int>(cells.size()), kMaxLayoutColumns);
}

// Removing the table with the caret inside puts the caret on the first text
// after it, else on the last before it; a parent left empty gets a text run
// that takes the caret.
TEST_F(TableGrid, RemovingTheTableMovesTheCaretOutOfIt)
{
    const struct
    {
        const char* markup;
        const char* caretText;
        const char* body;
    } kCases[] = {
        {"<p>before</p><table><tr><td>a|</td></tr></table><p>after</p>", "after",
            "<p>before</p><p>after</p>"},
        {"<p>before</p><table><tr><td>a|</td></tr></table>", "before", "<p>before</p>"},
        {"<p>x</p><div><table><tr><td>a|</td></tr></table></div>", "", "<p>x</p><div></div>"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.markup);
        ASSERT_TRUE(Load(c.markup));
        engine->m_menuElement = Nth("td#1");
        engine->OnRemovetable();
        EXPECT_EQ(Content(), c.body);
        CElement* caret = engine->m_doc.m_caretElement;
        ASSERT_NE(caret, nullptr);
        ASSERT_TRUE(engine->m_doc.IsElementInTree(caret));
        EXPECT_TRUE(caret->IsTextElement());
        EXPECT_EQ(qmtest::Utf8(caret->m_text), c.caretText);
        EXPECT_EQ(caret->m_caretOffset, 0);
    }
}

// The context menu's check marks: the state shared by every marked cell (or
// row holding one), and by their column entries.
TEST_F(TableGrid, AlignStatesAreSharedByTheMarkedCells)
{
    ASSERT_TRUE(Load("<table><colgroup><col align=\"right\"/></colgroup><tr><td align=\"left\" "
                     "valign=\"top\">a|</td><td align=\"left\">b</td></tr>"
                     "<tr align=\"center\"><td>c</td><td valign=\"top\">d</td></tr></table>"));
    CElement* a = Nth("td#1");
    CElement* b = Nth("td#2");
    CElement* c = Nth("td#3");
    int columns = -1;
    EXPECT_EQ(engine->GetTDAlignState(a, &columns), 0x10 | 0x01);
    EXPECT_EQ(columns, 0x40);
    EXPECT_EQ(engine->GetTDAlignState(nullptr, &columns), 0);

    ASSERT_TRUE(Mark(a));
    ASSERT_TRUE(Mark(b));
    EXPECT_EQ(engine->GetTDAlignState(a, &columns), 0x10);
    EXPECT_EQ(columns, 0x40) << "only the first column has an entry";
    ASSERT_TRUE(Mark(c));
    EXPECT_EQ(engine->GetTDAlignState(b, nullptr) & 0x10, 0) << "c is not left";
    // A cell outside the marks answers for itself.
    EXPECT_EQ(engine->GetTDAlignState(Nth("td#4"), &columns), 0x01);
    EXPECT_EQ(columns, 0);

    CElement* second = Nth("tr#2");
    EXPECT_EQ(engine->GetRowAlignState(second, false), 0x20);
    EXPECT_EQ(engine->GetRowAlignState(second, true), 0) << "the first row has no alignment";
    EXPECT_EQ(engine->GetRowAlignState(nullptr, true), 0);
}

// The document's picture as a PNG in the test output (for a person to look
// at), read back.
qmtest::PngPixels Picture(CElement* root, const std::string& name)
{
    qmtest::PngPixels png;
    const std::string path = qmtest::TestOutputPath(name) + ".png";
    EXPECT_EQ(DocumentPngResult::Written, WriteDocumentPNG(root, path));
    EXPECT_TRUE(qmtest::ReadPng(path, png)) << path;
    return png;
}

// Pixels of exactly that colour.
int CountColour(const qmtest::PngPixels& png, unsigned char r, unsigned char g, unsigned char b)
{
    int count = 0;
    for (size_t i = 0; i + 3 < png.rgba.size(); i += 4)
        count += png.rgba[i] == r && png.rgba[i + 1] == g && png.rgba[i + 2] == b;
    return count;
}

// A selected row and a selected table are framed in blue while their cells
// stay marked; a column selection frames neither, and once the marks are
// gone the frames are too.
TEST_F(TableGrid, SelectedRowsAndTablesShowBlueFrames)
{
    const char* const kTable = "<table border=\"1\"><tr><td>first cell|</td><td>b</td></tr>"
                               "<tr><td>c</td><td>d</td></tr></table><p>after</p>";
    ASSERT_TRUE(Load(kTable));
    const int plain = CountColour(Picture(engine->m_doc.m_root, "table-plain-"), 0, 0, 255);
    EXPECT_EQ(plain, 0);

    engine->m_menuElement = Nth("td#3");
    engine->OnSelectrow();
    const int row = CountColour(Picture(engine->m_doc.m_root, "table-row-selected-"), 0, 0, 255);
    EXPECT_GT(row, 0);
    EXPECT_TRUE(engine->IsGridMarked(Nth("tr#2")));
    EXPECT_FALSE(engine->IsGridMarked(Nth("tr#1")));
    EXPECT_FALSE(engine->IsGridMarked(Nth("table#1")));

    engine->OnSelecttable();
    const int table = CountColour(Picture(engine->m_doc.m_root, "table-selected-"), 0, 0, 255);
    EXPECT_GT(table, row) << "the table's frame is longer than the row's";
    EXPECT_TRUE(engine->IsGridMarked(Nth("table#1")));
    EXPECT_FALSE(engine->IsGridMarked(Nth("tr#2")));

    ASSERT_TRUE(Load(kTable));
    engine->m_menuElement = Nth("td#1");
    engine->OnSelectcol();
    EXPECT_EQ(CountColour(Picture(engine->m_doc.m_root, "table-column-selected-"), 0, 0, 255), 0);

    engine->OnSelecttable();
    engine->m_doc.CleanSelection();
    engine->m_doc.DrawDoc(2);
    EXPECT_FALSE(engine->IsGridMarked(Nth("table#1")));
    EXPECT_EQ(CountColour(Picture(engine->m_doc.m_root, "table-unselected-"), 0, 0, 255), 0);
}

// Merging a 2 x 2 block draws one cell over two rows and two columns (the
// PNG is there to look at): the merged cell is wider than the two cells of
// the row below it together, and taller than two rows.
TEST_F(TableGrid, MergedBlockIsDrawnAsOneCell)
{
    ASSERT_TRUE(Load("<table border=\"1\"><tr><td>a|</td><td>b</td><td>c</td></tr><tr><td>d</td>"
                     "<td>e</td><td>f</td></tr><tr><td>g</td><td>h</td><td>i</td></tr></table>"));
    Picture(engine->m_doc.m_root, "table-before-merge-");
    for (const char* cell : {"td#1", "td#2", "td#4", "td#5"})
        ASSERT_TRUE(Mark(Nth(cell)));
    engine->m_menuElement = Nth("td#1");
    engine->OnMergecells();
    Picture(engine->m_doc.m_root, "table-merged-");
    CElement* merged = Nth("td#1");
    CElement* g = Nth("td#4");
    CElement* h = Nth("td#5");
    ASSERT_TRUE(merged && g && h);
    EXPECT_EQ(qmtest::Utf8(CSafeBuf(g->m_firstChild->m_text)), "g");
    auto width = [](const CElement* e) { return e->Lay().m_sizeRect.right - e->Lay().m_sizeRect.left; };
    auto height = [](const CElement* e) { return e->Lay().m_sizeRect.bottom - e->Lay().m_sizeRect.top; };
    EXPECT_GT(width(merged), width(g) + width(h));
    EXPECT_GT(height(merged), 2 * height(g));
}

} // namespace
