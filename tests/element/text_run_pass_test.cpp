// The load's one walk that makes the runs for the caret and collapses white
// space (MakeRunsAndCollapseSpace) against the two passes it stands for,
// ValidTextInput (state 2, no restyle) and then RemoveExtraSpace (previous
// 0). The cases of tests/data/text_run_pass/cases.txt are trees built as
// written (tests/element/support/TreeBuilder.h), the output the tree after
// the two passes, a text run in quotes; generated trees are compared the
// same way. Every table must reach the walk's table hook once, in document
// order, as it stood before either pass.

#include "element/TextRunPass.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/ElementPath.h"
#include "tests/element/support/TreeBuilder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using qmtest::TreeOf;

std::string BothPasses(const std::string& markup)
{
    CXHTML engine;
    CElement* root = qmtest::BuildTree(markup, &engine).root;
    if (!root)
        return "does not parse";
    int state = 2;
    root->ValidTextInput(state, false);
    int previous = 0;
    root->RemoveExtraSpace(previous);
    return TreeOf(root);
}

void TablesInOrder(const CElement* e, std::vector<std::string>& out)
{
    if (e->m_kind == kKindTable)
        out.push_back(TreeOf(e));
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        TablesInOrder(c, out);
}

// The one walk's tree; tables gets each table as the hook saw it.
std::string OneWalk(const std::string& markup, std::vector<std::string>& tables)
{
    CXHTML engine;
    CElement* root = qmtest::BuildTree(markup, &engine).root;
    if (!root)
        return "does not parse";
    MakeRunsAndCollapseSpace(root, [&tables](CElement* table) { tables.push_back(TreeOf(table)); });
    return TreeOf(root);
}

std::vector<std::string> TablesAsBuilt(const std::string& markup)
{
    CXHTML engine;
    std::vector<std::string> tables;
    if (CElement* root = qmtest::BuildTree(markup, &engine).root)
        TablesInOrder(root, tables);
    return tables;
}

// A small random tree of the kinds the passes treat apart: blocks, inline
// and custom elements, empty ones, breaks and pictures, pre and the kinds
// that end a run of text, tables (some inside those), text with blanks at
// either end.
class MarkupMaker
{
public:
    explicit MarkupMaker(unsigned seed) : m_random(seed) { }

    std::string Body() { return "<body>" + Children(0) + "</body>"; }

private:
    int Pick(int n) { return static_cast<int>(m_random() % static_cast<unsigned>(n)); }

    std::string Text()
    {
        static const char* const kTexts[] = {"a", " b", "c ", " d ", "  e", "f  g", " "};
        return kTexts[Pick(7)];
    }

    std::string Table(int depth)
    {
        std::string rows;
        for (int r = Pick(3) + 1; r > 0; --r) {
            rows += "<tr>";
            for (int c = Pick(2) + 1; c > 0; --c) {
                const char* cell = Pick(3) == 0 ? "th" : "td";
                rows += std::string("<") + cell + ">" + Children(depth + 1) + "</" + cell + ">";
            }
            rows += "</tr>";
        }
        return "<table>" + std::string(Pick(4) == 0 ? "<caption> c </caption>" : "") + rows + "</table>";
    }

    std::string Children(int depth)
    {
        static const char* const kTags[]
            = {"p", "div", "span", "b", "a", "em", "x-y", "pre", "object", "li", "ul"};
        std::string out;
        for (int n = depth > 3 ? Pick(2) : Pick(4) + 1; n > 0; --n) {
            const int what = Pick(16);
            if (what < 5) {
                out += Text();
            } else if (what == 5) {
                out += "<br/>";
            } else if (what == 6) {
                out += "<img src='x.png'/>";
            } else if (what == 7 && depth < 4) {
                out += Table(depth);
            } else {
                const char* tag = kTags[Pick(11)];
                const std::string inner = what == 8 ? "" : Children(depth + 1);
                out += std::string("<") + tag + ">" + inner + "</" + tag + ">";
            }
        }
        return out;
    }

    std::mt19937 m_random;
};

} // namespace

TEST(TextRunPass, OneWalkGivesTheTwoPassesTrees)
{
    qmtest::CaseBlockFile file("text_run_pass/cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        const std::string expected = BothPasses(c.input);
        file.Check(c, expected);
        std::vector<std::string> tables;
        EXPECT_EQ(OneWalk(c.input, tables), expected) << c.name;
        EXPECT_EQ(tables, TablesAsBuilt(c.input)) << c.name;
    }
}

TEST(TextRunPass, OneWalkGivesTheTwoPassesTreesOnGeneratedTrees)
{
    for (unsigned seed = 1; seed <= 400; ++seed) {
        const std::string markup = MarkupMaker(seed).Body();
        std::vector<std::string> tables;
        ASSERT_EQ(OneWalk(markup, tables), BothPasses(markup)) << "seed " << seed << ": " << markup;
        ASSERT_EQ(tables, TablesAsBuilt(markup)) << "seed " << seed << ": " << markup;
    }
}
