// The table commands on the tables of the real pages of tests/data/corpus
// (the first page of each package that holds a table), with the caret and
// the context menu in a cell that spans rows or columns, a header cell, a
// cell holding a list or several paragraphs or a nested table: rows and
// columns inserted and removed, header lines, split, merges of marked cells
// and of a selected row or column, alignment, the table removed and a table
// put into the cell from the size picker. After each command no word of the
// page is lost, glued or split (a removal loses the words of the cells it
// removed and nothing else; a merge keeps every word, the merged cell holding
// those of the merged cells); a table whose rows covered the same columns
// still does; the cells' header lists name header cells of their own table;
// undo gives back the value as it was and redo the value after the command;
// the value reads back as written.

#include "tests/common/CorpusPages.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/markup/SourceCode.h"
#include "elements/TDElement.h"
#include "elements/TableElement.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using qmtest::FromUtf8;

const std::string kCorpus = std::string(QM_TEST_DATA_DIR) + "/corpus";

// Cells tried on each page.
constexpr size_t kTargets = 2;

// The first page of each package that holds a table.
std::vector<std::string> Pages()
{
    std::vector<std::string> pages;
    for (const std::string& package : qmtest::List(kCorpus, true)) {
        for (const std::string& file : qmtest::List(kCorpus + "/" + package, false)) {
            if (qmtest::ReadFile(kCorpus + "/" + package + "/" + file).find("<table") != std::string::npos) {
                pages.push_back(package + "/" + file);
                break;
            }
        }
    }
    return pages;
}

std::string PageName(const ::testing::TestParamInfo<std::string>& info)
{
    return qmtest::TestNameOf(info.param);
}

// The words of a value, no-break spaces parting words as blanks do (an
// empty cell's filler is no word).
std::vector<std::string> Words(const std::string& markup)
{
    std::vector<std::string> out;
    for (std::string w : qmtest::BodyWords(markup)) {
        for (auto at = w.find("\xC2\xA0"); at != std::string::npos; at = w.find("\xC2\xA0"))
            w.replace(at, 2, " ");
        std::istringstream in(w);
        for (std::string part; in >> part;)
            out.push_back(part);
    }
    return out;
}

std::string Missing(const std::multiset<std::string>& a, const std::multiset<std::string>& b)
{
    std::string out = "\nonly before:";
    std::multiset<std::string> x = a;
    for (const std::string& w : b) {
        auto at = x.find(w);
        if (at != x.end())
            x.erase(at);
    }
    for (const std::string& w : x)
        out += " [" + w + "]";
    out += "\nonly after:";
    x = b;
    for (const std::string& w : a) {
        auto at = x.find(w);
        if (at != x.end())
            x.erase(at);
    }
    for (const std::string& w : x)
        out += " [" + w + "]";
    return out;
}

std::vector<CElement*> Tables(CElement* root)
{
    std::vector<CElement*> out;
    CPtrList all;
    root->GetAllChildren(&all, 0, false, 0, 0);
    for (void* pos = all.GetHeadPosition(); pos;) {
        auto* e = static_cast<CElement*>(all.GetNext(pos));
        if (e->m_kind == kKindTable)
            out.push_back(e);
    }
    return out;
}

std::vector<CElement*> Cells(CElement* table)
{
    std::vector<CElement*> out;
    ForEachCell(table, [&](CElement* c) {
        out.push_back(c);
        return true;
    });
    return out;
}

std::string Attr(const CElement* e, const char* name)
{
    CSafeBuf v;
    if (!e->GetAttrString(name, v))
        return "";
    return qmtest::Utf8(v);
}

// Whether every row covers the same columns, cells placed past those taken
// by spans from above, with the stored spans.
bool Rectangular(CElement* table)
{
    std::vector<CElement*> rows, cells;
    TableRows(table, rows);
    std::vector<std::vector<bool>> taken(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        RowCells(rows[r], cells);
        size_t c = 0;
        for (CElement* cell : cells) {
            while (c < taken[r].size() && taken[r][c])
                ++c;
            const size_t across = GridSpan(cell->Style().colSpan);
            const size_t down = GridSpan(cell->Style().rowSpan);
            for (size_t y = r; y < std::min(rows.size(), r + down); ++y) {
                if (taken[y].size() < c + across)
                    taken[y].resize(c + across, false);
                for (size_t x = c; x < c + across; ++x)
                    taken[y][x] = true;
            }
            c += across;
        }
    }
    for (const auto& row : taken) {
        if (row.size() != taken.front().size() || std::count(row.begin(), row.end(), false) != 0)
            return false;
    }
    return true;
}

// Every header list of a cell names th ids of its own table; th ids are
// unique in the document.
std::string HeaderProblem(CElement* root)
{
    std::set<std::string> all;
    for (CElement* table : Tables(root)) {
        std::set<std::string> ids;
        for (CElement* c : Cells(table)) {
            if (c->m_kind == kKindTh) {
                const std::string id = Attr(c, "id");
                if (!id.empty()) {
                    if (!all.insert(id).second)
                        return "id " + id + " twice";
                    ids.insert(id);
                }
            }
        }
        for (CElement* c : Cells(table)) {
            std::istringstream in(Attr(c, "headers"));
            for (std::string h; in >> h;) {
                if (!ids.count(h))
                    return "headers " + h + " names no th of its table";
            }
        }
    }
    return "";
}

std::string CellText(CElement* cell)
{
    CSafeBuf text, w1, w2, w3;
    cell->GetSourceCode(text, 0, 0, w1, w2, w3, nullptr);
    return qmtest::Utf8(text);
}

bool HoldsBlocks(const CElement* cell)
{
    int blocks = 0;
    for (const CElement* c = cell->m_firstChild; c; c = c->m_nextSibling)
        blocks += c->m_kind == kKindUl || c->m_kind == kKindOl || c->m_kind == kKindDl || c->m_kind == kKindP
                || c->m_kind == kKindDiv || c->m_kind == kKindPre
            ? 1
            : 0;
    return blocks >= 2
        || (cell->m_firstChild
            && (cell->m_firstChild->m_kind == kKindUl || cell->m_firstChild->m_kind == kKindOl));
}

bool HoldsTable(const CElement* cell)
{
    for (const CElement* c = cell->m_firstChild; c; c = c->m_nextSibling)
        if (c->m_kind == kKindTable || HoldsTable(c))
            return true;
    return false;
}

struct Command
{
    unsigned int id;
    const char* name;
    enum Kind
    {
        Keep,
        Remove,
        Merge
    } kind;
    int marks;          // merge: 0 right neighbour, 1 below, 2 a 2 x 2 block, -1 none
    unsigned int first; // a command run before it (selecting a row or column), or 0
};

const Command kCommands[] = {
    {32780, "row below", Command::Keep, 0, 0},
    {32798, "row above", Command::Keep, 0, 0},
    {32781, "column after", Command::Keep, 0, 0},
    {32797, "column before", Command::Keep, 0, 0},
    {32782, "remove row", Command::Remove, 0, 0},
    {32783, "remove column", Command::Remove, 0, 0},
    {32839, "header column", Command::Keep, 0, 0},
    {32840, "header row", Command::Keep, 0, 0},
    {32800, "split", Command::Keep, 0, 0},
    {32799, "merge right", Command::Merge, 0, 0},
    {32799, "merge below", Command::Merge, 1, 0},
    {32799, "merge block", Command::Merge, 2, 0},
    {32819, "cell left", Command::Keep, 0, 0},
    {32898, "row right", Command::Keep, 0, 0},
    {32905, "column top", Command::Keep, 0, 0},
    {32817, "remove table", Command::Remove, 0, 0},
    {1100, "layout table of 2 x 3 from the picker", Command::Keep, 0, 0},
    {32799, "merge selected row", Command::Merge, -1, 32826},
    {32799, "merge selected column", Command::Merge, -1, 32827},
    {32782, "remove selected row", Command::Remove, -1, 32826},
    {32783, "remove selected column", Command::Remove, -1, 32827},
    {32782, "remove the rows of the selected table", Command::Remove, -1, 32825},
};

class TableCommandsCorpus : public qmtest::ControlInstanceTest,
                            public ::testing::WithParamInterface<std::string>
{
protected:
    TableCommandsCorpus() : ControlInstanceTest("table-commands-corpus-home-") { }

    CXHTML* engine = nullptr;

    void Mark(CElement* table, CElement* cell)
    {
        cell->SelectAllChildren(true);
        cell->m_wholeCell = 1;
        CXDoc& doc = engine->m_doc;
        doc.m_cellMarkMode = 1;
        doc.m_markedTable = table;
        doc.m_selectionPresent = 1;
        ++doc.m_selectedCellCount;
    }

    // The cell at grid row r (rows of the table), covering grid column c.
    CElement* CellAt(CTableElement* table, size_t r, int c)
    {
        std::vector<CElement*> rows, cells;
        TableRows(table, rows);
        if (r >= rows.size())
            return nullptr;
        RowCells(rows[r], cells);
        for (CElement* x : cells) {
            const int first = static_cast<const CTDElement*>(x)->m_columnIndex;
            if (first <= c && c < first + GridSpan(x->Style().colSpan))
                return x;
        }
        return nullptr;
    }

    size_t RowOf(CTableElement* table, CElement* cell)
    {
        std::vector<CElement*> rows;
        TableRows(table, rows);
        for (size_t r = 0; r < rows.size(); ++r)
            if (rows[r] == cell->m_parent)
                return r;
        return rows.size();
    }

    // Marks for a merge: false when there is nothing beside the cell.
    bool MarkForMerge(CTableElement* table, CElement* cell, int marks)
    {
        table->AssignTDIndex();
        const size_t r = RowOf(table, cell);
        const int c = static_cast<const CTDElement*>(cell)->m_columnIndex;
        const int right = c + GridSpan(cell->Style().colSpan);
        const size_t below = r + GridSpan(cell->Style().rowSpan);
        std::vector<CElement*> marked{cell};
        if (marks == 0 || marks == 2)
            marked.push_back(CellAt(table, r, right));
        if (marks == 1 || marks == 2)
            marked.push_back(CellAt(table, below, c));
        if (marks == 2)
            marked.push_back(CellAt(table, below, right));
        for (CElement* m : marked)
            if (!m)
                return false;
        for (CElement* m : marked)
            Mark(table, m);
        return true;
    }
};

TEST_P(TableCommandsCorpus, CommandsKeepWordsGridsAndUndo)
{
    const std::string input = qmtest::AsText(qmtest::ReadFile(kCorpus + "/" + GetParam()));
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>start</p>"}, {"Options", "2"}});
    ASSERT_NE(nullptr, control);
    control->SetValue(FromUtf8(input));
    Ui().failures.clear();
    if (control->m_viewMode == 1)
        GTEST_SKIP() << "does not load";
    engine = control->m_pXHTML;
    ASSERT_NE(nullptr, engine);
    CXDoc& doc = engine->m_doc;
    const std::string original = FormValue();

    // The cells to try, as (table, cell) indices in document order: the
    // first cell that spans columns, spans rows, is a header, holds blocks
    // or holds a table, then the first cell of the first table.
    std::vector<std::pair<size_t, size_t>> targets;
    {
        const std::vector<CElement*> tables = Tables(doc.m_root);
        auto first = [&](auto is) {
            for (size_t t = 0; t < tables.size(); ++t) {
                const std::vector<CElement*> cells = Cells(tables[t]);
                for (size_t i = 0; i < cells.size(); ++i)
                    if (is(cells[i]))
                        return std::make_pair(t, i);
            }
            return std::make_pair(tables.size(), size_t{0});
        };
        const std::pair<size_t, size_t> picks[] = {
            first([](CElement* c) { return c->Style().colSpan > 1; }),
            first([](CElement* c) { return c->Style().rowSpan > 1; }),
            first([](CElement* c) { return c->m_kind == kKindTh; }),
            first([](CElement* c) { return HoldsBlocks(c); }),
            first([](CElement* c) { return HoldsTable(c); }),
            first([](CElement*) { return true; }),
        };
        for (const auto& pick : picks) {
            if (pick.first < tables.size() && targets.size() < kTargets
                && std::find(targets.begin(), targets.end(), pick) == targets.end())
                targets.push_back(pick);
        }
    }
    if (targets.empty())
        GTEST_SKIP() << "no cells";

    for (const auto& [t, i] : targets) {
        for (const Command& command : kCommands) {
            SCOPED_TRACE("table " + std::to_string(t) + " cell " + std::to_string(i) + ": " + command.name);
            std::vector<CElement*> tables = Tables(doc.m_root);
            ASSERT_LT(t, tables.size());
            auto* table = static_cast<CTableElement*>(tables[t]);
            std::vector<CElement*> cells = Cells(table);
            ASSERT_LT(i, cells.size());
            CElement* cell = cells[i];
            const std::string before = FormValue();
            EXPECT_EQ("", qmtest::ValueDifference(original, before)) << "starts from the page";
            const bool rectangular = Rectangular(table);
            const std::string headers = HeaderProblem(doc.m_root);
            // Words of each cell of every table, by identifier.
            std::map<long, std::vector<std::string>> cellWords;
            std::vector<long> order;
            for (CElement* x : tables)
                for (CElement* c : Cells(x)) {
                    cellWords[c->GetID()] = Words(CellText(c));
                    if (x == table)
                        order.push_back(c->GetID());
                }
            const long tableId = table->GetID();
            std::vector<std::string> tableWords = Words([&] {
                CSafeBuf text, w1, w2, w3;
                table->GetSourceCode(text, 0, 0, w1, w2, w3, nullptr);
                return qmtest::Utf8(text);
            }());

            doc.m_root->CleanSelection(true);
            // The caret in the cell, as a click there puts it.
            for (CElement* x = cell; x; x = x->m_firstChild) {
                if (x->IsTextElement()) {
                    x->m_caretOffset = 0;
                    doc.m_caretElement = x;
                    doc.UpdateKeyCursor();
                    break;
                }
            }
            if (command.kind == Command::Merge && command.marks >= 0
                && !MarkForMerge(table, cell, command.marks))
                continue;
            engine->m_menuElement = cell;
            if (command.first) {
                engine->PostMessage(1, command.first, 0);
                engine->m_menuElement = cell;
            }
            if (command.id == 1100)
                engine->PostMessage(1100, 0, (2 << 8) | 3);
            else
                engine->PostMessage(1, command.id, 0);
            Ui().failures.clear();
            const std::string after = FormValue();
            const std::vector<std::string> wordsBefore = Words(before);
            const std::vector<std::string> wordsAfter = Words(after);

            EXPECT_TRUE(doc.m_caretElement == nullptr || doc.IsElementInTree(doc.m_caretElement));
            const bool tableLeft = doc.IsElementExist(tableId) && doc.IsElementInTree(table);
            if (tableLeft && rectangular) {
                EXPECT_TRUE(Rectangular(table)) << "rows of different widths\n"
                                                << qmtest::ValueDifference(before, after);
            }
            if (headers.empty()) {
                EXPECT_EQ("", HeaderProblem(doc.m_root));
            }

            // Cells gone, in table order, and their words.
            std::vector<std::string> lost;
            for (long id : order) {
                if (!doc.IsElementExist(id)) {
                    lost.insert(lost.end(), cellWords[id].begin(), cellWords[id].end());
                }
            }
            // A row of header cells at a data table's end goes into its
            // foot, written before its body (shown after it).
            const bool newFoot
                = after.find("<tfoot") != std::string::npos && before.find("<tfoot") == std::string::npos;
            if (command.kind == Command::Keep && newFoot) {
                EXPECT_TRUE(std::multiset<std::string>(wordsBefore.begin(), wordsBefore.end())
                    == std::multiset<std::string>(wordsAfter.begin(), wordsAfter.end()));
            } else if (command.kind == Command::Keep) {
                EXPECT_EQ("", qmtest::FirstDifference(wordsBefore, wordsAfter))
                    << qmtest::ValueDifference(before, after);
            } else if (command.kind == Command::Remove) {
                if (command.id == 32817)
                    lost = tableWords;
                // A cell spanning down from a removed row moves into the
                // next row, where the grid has it: words keep their order
                // but for that.
                std::multiset<std::string> left(wordsBefore.begin(), wordsBefore.end());
                bool within = true;
                for (const std::string& w : wordsAfter) {
                    auto at = left.find(w);
                    within = within && at != left.end();
                    if (at != left.end())
                        left.erase(at);
                }
                EXPECT_TRUE(within) << qmtest::ValueDifference(before, after);
                EXPECT_EQ(wordsBefore.size(), wordsAfter.size() + lost.size())
                    << qmtest::ValueDifference(before, after)
                    << Missing(std::multiset<std::string>(wordsBefore.begin(), wordsBefore.end()), [&] {
                           std::multiset<std::string> m(wordsAfter.begin(), wordsAfter.end());
                           m.insert(lost.begin(), lost.end());
                           return m;
                       }());
            } else {
                std::multiset<std::string> a(wordsBefore.begin(), wordsBefore.end());
                std::multiset<std::string> b(wordsAfter.begin(), wordsAfter.end());
                EXPECT_TRUE(a == b) << "merge keeps every word\n"
                                    << qmtest::ValueDifference(before, after) << Missing(a, b);
                // The merged cell holds its own words and those of the
                // cells merged into it.
                CElement* target = doc.m_pointerElement;
                if (target && doc.IsElementInTree(target) && cellWords.count(target->GetID())) {
                    std::vector<std::string> want = cellWords[target->GetID()];
                    want.insert(want.end(), lost.begin(), lost.end());
                    const std::vector<std::string> got = Words(CellText(target));
                    std::multiset<std::string> w(want.begin(), want.end()), g(got.begin(), got.end());
                    EXPECT_TRUE(w == g) << "merged cell " << CellText(target);
                }
            }

            // A command that changed nothing left no undo step (an undo
            // would take back the one before, a redo redo it).
            if (after == before)
                continue;
            engine->OnUndo();
            const std::string undone = FormValue();
            EXPECT_EQ("", qmtest::ValueDifference(before, undone)) << "undo";
            engine->OnRedo();
            const std::string redone = FormValue();
            EXPECT_EQ("", qmtest::ValueDifference(after, redone)) << "redo";
            engine->OnUndo();
            EXPECT_EQ("", qmtest::ValueDifference(before, FormValue())) << "undo after redo";

            {
                control->SetValue(FromUtf8(after));
                Ui().failures.clear();
                EXPECT_EQ("", qmtest::ValueDifference(after, FormValue())) << "reads back";
                control->SetValue(FromUtf8(original));
                Ui().failures.clear();
            }
            if (HasFailure())
                return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Debian, TableCommandsCorpus, ::testing::ValuesIn(Pages()), PageName);

} // namespace
