// Within one layout pass a cell laid out again for the width and nesting
// its content was last laid out for keeps that layout and is only placed.
// Every document of tests/data/tables/kept_cells.txt goes through each step
// of the table below twice, with cells keeping their content and without,
// and both must leave the same boxes, baselines and pixels. The expected
// output of a case is how many cell layouts each step kept.

#include "element/Element.h"
#include "elements/TDElement.h"
#include "elements/TableElement.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/LayoutRecords.h"
#include "tests/elements/support/TypingDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using qmtest::TypingDocument;

namespace {

CElement* LastOfKind(CElement* e, long kind)
{
    CElement* found = e->m_kind == kind ? e : nullptr;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CElement* below = LastOfKind(c, kind))
            found = below;
    }
    return found;
}

bool Relayout(TypingDocument& d, int width) { return LayoutDocument(d.Body(), width); }

struct Step
{
    const char* name;
    // Changes the document and lays it out again (the document's own
    // layout after a key, or LayoutDocument at the width given).
    std::function<bool(TypingDocument&, int width)> apply;
};

const std::vector<Step>& Steps()
{
    static const std::vector<Step> steps = {
        {"first layout", [](TypingDocument&, int) { return true; }},
        {"again", [](TypingDocument& d, int width) { return Relayout(d, width); }},
        {"type", [](TypingDocument& d, int) { return d.Keys("type:abc type:_defgh"); }},
        {"split", [](TypingDocument& d, int) { return d.Keys("Return type:x"); }},
        {"backspace", [](TypingDocument& d, int) { return d.Keys("Backspace Backspace Backspace"); }},
        {"wider", [](TypingDocument& d, int width) { return Relayout(d, width + 37); }},
        {"much narrower", [](TypingDocument& d, int width) { return Relayout(d, width - 150); }},
        {"every nested table requested wider (once)",
            [](TypingDocument& d, int width) {
                // Each nested table above the innermost cell, for its next layout only.
                for (CElement* t = LastOfKind(d.Body(), kKindTable); t; t = t->m_parent) {
                    if (t->m_kind == kKindTable && t->IsElementUnderTag(kKindTable))
                        static_cast<CTableElement*>(t)->m_requestedWidth = 900;
                }
                return Relayout(d, width);
            }},
        {"innermost cell text written in place",
            [](TypingDocument& d, int width) {
                CElement* cell = LastOfKind(d.Body(), kKindTd);
                if (CElement* run = cell ? LastOfKind(cell, kKindText) : nullptr)
                    run->m_text += " and a good many more words written into the run directly";
                return Relayout(d, width);
            }},
        {"innermost table styled narrower",
            [](TypingDocument& d, int width) {
                if (CElement* t = LastOfKind(d.Body(), kKindTable)) {
                    t->SetAttrString("style", "width: 40%");
                    t->StyleChanged(1);
                }
                return Relayout(d, width);
            }},
    };
    return steps;
}

struct Result
{
    std::string records;
    std::vector<unsigned> pixels;
    unsigned long kept = 0;
};

Result LayOut(const qmtest::CaseBlock& c, const Step& step, bool keep)
{
    SetCellContentKept(keep);
    Result r;
    const unsigned long before = KeptCellContentCount();
    const int width = c.IntOption("width", 600);
    TypingDocument d(c.input, width);
    EXPECT_TRUE(d.ok) << c.name;
    if (!d.ok)
        return r;
    EXPECT_TRUE(step.apply(d, width)) << c.name << ", " << step.name;
    EXPECT_TRUE(RepaintDocument(d.Body())) << c.name << ", " << step.name;
    r.records = qmtest::LayoutRecords(d.Body());
    r.pixels = qmtest::BodyPixels(d.Body());
    r.kept = KeptCellContentCount() - before;
    SetCellContentKept(true);
    return r;
}

} // namespace

TEST(KeptCells, LayoutsEqualThoseThatKeepNothing)
{
    qmtest::CaseBlockFile file("tables/kept_cells.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        std::string kept;
        for (const Step& step : Steps()) {
            const std::string what = c.name + ", " + step.name;
            const Result with = LayOut(c, step, true);
            const Result without = LayOut(c, step, false);
            EXPECT_EQ(without.kept, 0u) << what;
            EXPECT_EQ(with.records, without.records) << what;
            EXPECT_TRUE(with.pixels == without.pixels) << what << ": the pictures differ";
            kept += std::string(step.name) + ": " + std::to_string(with.kept) + "\n";
        }
        file.Check(c, kept);
    }
}
