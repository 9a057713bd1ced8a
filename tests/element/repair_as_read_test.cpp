// The repair of a body's children as they are read gives the tree that
// reading first and repairing the whole tree after gives: both loads (the
// markup document's read and the document's own load) read each document of
// tests/data/repair_as_read/documents.txt with the early repair on and off
// and must build the same elements, in the same order of making (the ids of
// a data table's headers come from them), and write the same markup, which
// the case file shows.

#include "tests/common/CaseBlocks.h"
#include "tests/common/TextHelpers.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/TreeRepair.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qmtest::ToUtf8;

// Every element of e's tree in document order: its level, tag, text, child
// count and id counted from the first (the order the elements were made).
void Describe(const CElement* e, long firstId, int level, std::string& out)
{
    out += std::to_string(level) + " <" + ToUtf8(CSafeBuf(e->GetTagName())) + "> "
        + std::to_string(e->GetID() - firstId) + " " + std::to_string(e->m_childCount) + " \""
        + ToUtf8(e->m_text) + "\"\n";
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        Describe(c, firstId, level + 1, out);
}

std::string Tree(const CElement* body)
{
    std::string out;
    if (body)
        Describe(body, body->GetID(), 0, out);
    return out;
}

struct Loaded
{
    std::string tree;
    std::string markup;
};

Loaded ReadTree(const std::string& input, bool early)
{
    SetRepairAsRead(early);
    CXHTML engine;
    CMarkupDocument doc(&engine);
    CSafeBuf error;
    Loaded loaded;
    if (doc.Read(input.data(), input.size(), error)) {
        loaded.tree = Tree(doc.Body());
        CSafeBuf out;
        doc.Write(out, 0);
        loaded.markup = ToUtf8(out);
    }
    SetRepairAsRead(true);
    return loaded;
}

// The markup with the identifiers of a data table's headers counted from
// the body's id, as the tree's ids are.
std::string FromBody(const std::string& markup, long bodyId)
{
    const std::string prefix = "\"th";
    const std::string hex = "0123456789ABCDEF";
    std::string out;
    size_t at = 0;
    for (size_t found = markup.find(prefix); found != std::string::npos; found = markup.find(prefix, at)) {
        const size_t digits = found + prefix.size();
        out.append(markup, at, digits - at);
        at = digits;
        if (markup.size() < digits + 8 || markup.find_first_not_of(hex, digits) < digits + 8)
            continue;
        out += "+" + std::to_string(std::stol(markup.substr(digits, 8), nullptr, 16) - bodyId);
        at = digits + 8;
    }
    out.append(markup, at, std::string::npos);
    return out;
}

Loaded LoadDocument(const std::string& input, bool early)
{
    SetRepairAsRead(early);
    CXHTML engine;
    Loaded loaded;
    if (engine.LoadDocument(CSafeBuf(input.c_str()))) {
        loaded.tree = Tree(engine.m_doc.m_root);
        CSafeBuf out;
        engine.m_doc.GetSourceCode(out, 0, false);
        loaded.markup = FromBody(ToUtf8(out), engine.m_doc.m_root->GetID());
    }
    SetRepairAsRead(true);
    return loaded;
}

} // namespace

TEST(RepairAsRead, GivesTheTreeOfTheRepairAfterTheRead)
{
    qmtest::CaseBlockFile file("repair_as_read/documents.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        const Loaded early = ReadTree(c.input, true);
        const Loaded late = ReadTree(c.input, false);
        EXPECT_EQ(early.tree, late.tree) << c.name << ": the tree read";
        EXPECT_EQ(early.markup, late.markup) << c.name << ": the markup written";
        file.Check(c, early.markup);

        const Loaded earlyDocument = LoadDocument(c.input, true);
        const Loaded lateDocument = LoadDocument(c.input, false);
        EXPECT_FALSE(lateDocument.tree.empty()) << c.name << ": the document does not load";
        EXPECT_EQ(earlyDocument.tree, lateDocument.tree) << c.name << ": the document's tree";
        EXPECT_EQ(earlyDocument.markup, lateDocument.markup) << c.name << ": the document's markup";
    }
}
