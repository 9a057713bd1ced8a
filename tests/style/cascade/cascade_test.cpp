// The cascade end to end: sheets and markup in, each element's computed
// style out (tests/data/css_cascade), as the reader leaves it and again after
// the tree's styles are recomputed; class-list edits; and the rule index
// against a test of every rule.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/ReadStyle.h"
#include "style/cascade/ClassList.h"
#include "style/cascade/RuleIndex.h"
#include "style/cascade/RunStyleMemo.h"
#include "style/cascade/SelectorMatch.h"
#include "style/cascade/StyleReport.h"
#include "style/sheets/StyleClass.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

// A case's input: "%% page", "%% editor" and "%% markup" lines start its
// parts (the page sheet comes first and may go without its line).
struct CascadeInput
{
    std::string page, editor, markup;
};

CascadeInput Parts(const std::string& input)
{
    CascadeInput parts;
    std::string* into = &parts.page;
    std::istringstream lines(input);
    std::string line;
    while (std::getline(lines, line)) {
        if (line == "%% page")
            into = &parts.page;
        else if (line == "%% editor")
            into = &parts.editor;
        else if (line == "%% markup")
            into = &parts.markup;
        else
            *into += line + "\n";
    }
    return parts;
}

// The report lines, text runs left out unless asked for.
std::string Report(const CElement* body, int options, bool textRuns)
{
    CSafeBuf out;
    ReportStyles(body, out, options);
    return qmtest::ReportLines(ToUtf8(out), textRuns);
}

// A case read into its own engine, with the reuse of text-run results on or
// off, and the answer of table rows' direction without styling on or off.
struct ReadCase
{
    CXHTML engine;
    std::unique_ptr<CMarkupDocument> document;
    bool read = false;

    ReadCase(const CascadeInput& parts, bool rightToLeft, bool reuse, bool rowsUnstyled = true)
    {
        engine.m_doc.LoadStyleClass(FromUtf8(parts.page), 0, false, 0);
        engine.m_doc.LoadStyleClass(FromUtf8(parts.editor), 0, false, 1);
        engine.m_doc.m_rightToLeft = rightToLeft ? 1 : 0;
        document = std::make_unique<CMarkupDocument>(&engine);
        CSafeBuf error;
        SetRunStyleReuse(reuse);
        SetRowDirectionUnstyled(rowsUnstyled);
        read = document->Read(parts.markup.data(), parts.markup.size(), error);
        SetRunStyleReuse(true);
        SetRowDirectionUnstyled(true);
    }

    // Runs edit with the reuse on or off as this case was read.
    void Edit(bool reuse, const std::function<void(CElement*)>& edit)
    {
        SetRunStyleReuse(reuse);
        edit(document->Body());
        SetRunStyleReuse(true);
    }
};

// The elements of root's subtree in document order.
std::vector<CElement*> Elements(CElement* root)
{
    std::vector<CElement*> out;
    std::function<void(CElement*)> walk = [&](CElement* e) {
        out.push_back(e);
        for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
            walk(c);
    };
    walk(root);
    return out;
}

// Every element's style record (bytes and sharing) and what a restyle sets
// outside it, compared between the two trees; the first difference.
std::string FirstDifference(CElement* fullBody, CElement* reusedBody)
{
    const std::vector<CElement*> full = Elements(fullBody), reused = Elements(reusedBody);
    if (full.size() != reused.size())
        return "the trees differ";
    for (size_t i = 0; i < full.size(); ++i) {
        const CElement* a = full[i];
        const CElement* b = reused[i];
        const std::string at = "element " + std::to_string(i) + " (kind " + std::to_string(a->m_kind) + "): ";
        if (std::memcmp(&a->Style(), &b->Style(), sizeof(ELEMENT_STYLE)) != 0)
            return at + "style record";
        if (a->m_style.IsShared() != b->m_style.IsShared())
            return at + "sharing";
        if (a->m_linkState != b->m_linkState || a->m_dirOverride != b->m_dirOverride)
            return at + "link state or direction override";
        if ((a->m_owner == nullptr) != (b->m_owner == nullptr))
            return at + "owner";
        const CElementLayout& la = a->LayOrDefault();
        const CElementLayout& lb = b->LayOrDefault();
        if (la.m_cssRect != lb.m_cssRect || la.m_availRect != lb.m_availRect
            || la.m_containerRect != lb.m_containerRect || la.m_sizeRect != lb.m_sizeRect)
            return at + "layout record";
        if (a->HasLayout() != b->HasLayout() || a->HasRare() != b->HasRare())
            return at + "records made";
        if (a->Rare().m_markerLabel != b->Rare().m_markerLabel)
            return at + "marker label";
    }
    return "";
}

} // namespace

TEST(Cascade, Cases)
{
    qmtest::CaseBlockFile file("css_cascade/cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        const CascadeInput parts = Parts(c.input);
        CXHTML engine;
        engine.m_doc.LoadStyleClass(FromUtf8(parts.page), 0, false, 0);
        engine.m_doc.LoadStyleClass(FromUtf8(parts.editor), 0, false, 1);
        CMarkupDocument document(&engine);
        CSafeBuf error;
        ASSERT_TRUE(document.Read(parts.markup.data(), parts.markup.size(), error)) << c.name;
        const int options = c.HasOption("carried") ? kStyleReportCarried : 0;
        const std::string loaded = Report(document.Body(), options, c.HasOption("text"));
        file.Check(c, loaded);
        document.Body()->StyleChanged(1);
        EXPECT_EQ(Report(document.Body(), options, c.HasOption("text")), loaded)
            << c.name << ": recomputing changed the styles";
    }
}

TEST(Cascade, ClassListEdits)
{
    // list, name, mode, replacement, the list afterwards ("-" unchanged)
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("css_cascade/class_lists.txt", 5)) {
        CSafeBuf list = FromUtf8(c.fields[0]);
        const bool changed = ChangeMultipleClass(
            nullptr, FromUtf8(c.fields[1]), std::stoi(c.fields[2]), FromUtf8(c.fields[3]), &list);
        const std::string expected = c.fields[4] == "-" ? c.fields[0] : c.fields[4];
        EXPECT_EQ(ToUtf8(list), expected) << "class_lists.txt line " << c.line;
        EXPECT_EQ(changed, c.fields[4] != "-") << "class_lists.txt line " << c.line;
    }
}

TEST(Cascade, ClassChangeRestylesTheElement)
{
    CXHTML engine;
    engine.m_doc.LoadStyleClass(FromUtf8("p.warn { color: red } p { margin-left: 4px }"), 0, false, 0);
    CMarkupDocument document(&engine);
    CSafeBuf error;
    const std::string markup = "<body><p class=\"warn\">x</p></body>";
    ASSERT_TRUE(document.Read(markup.data(), markup.size(), error));
    CElement* p = document.Body()->m_firstChild;
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->Style().colorSet);
    EXPECT_TRUE(ChangeMultipleClass(p, FromUtf8("warn"), kClassRemove, nullptr, nullptr));
    CSafeBuf classes;
    EXPECT_TRUE(p->m_attributes.Lookup("class", classes)) << "an emptied list stays as an empty attribute";
    EXPECT_TRUE(classes.IsEmpty());
    EXPECT_FALSE(p->Style().colorSet) << "the rule of the removed class no longer applies";
    EXPECT_TRUE(p->Style().marginLeft.set);
    EXPECT_TRUE(ChangeMultipleClass(p, FromUtf8("warn"), kClassToggle, nullptr, nullptr));
    EXPECT_TRUE(p->Style().colorSet);
}

TEST(Cascade, ExtraRulesApplyAtTheirCollectedPrecedence)
{
    CXHTML engine;
    engine.m_doc.LoadStyleClass(
        FromUtf8("colgroup.wide { margin-left: 8px } td { margin-left: 1px } td.x { color: red }"), 0, false,
        0);
    CMarkupDocument document(&engine);
    CSafeBuf error;
    const std::string markup = "<body><table><tr><td>a</td><td class=\"x\">b</td></tr></table></body>";
    ASSERT_TRUE(document.Read(markup.data(), markup.size(), error));
    CElement* td = document.Body()->FindChild(kKindTd, 0, true);
    ASSERT_NE(td, nullptr);
    CMapStringToString attributes;
    attributes.SetAt("class", FromUtf8("wide"));
    CPtrList extra;
    td->GetCSSFromExtra(&extra, FromUtf8("colgroup"), &attributes);
    ASSERT_EQ(extra.GetCount(), 1);
    EXPECT_EQ(static_cast<STYLE_CLASS*>(extra.GetHead())->precedence, 257u);
    // The column group's rule (257) outranks the cell's own "td" rule (1).
    EXPECT_EQ(td->Style().marginLeft.value, 1);
    td->EditRare().m_stylePieces.AddTail(&extra);
    td->ApplyCSS(nullptr, false);
    EXPECT_EQ(td->Style().marginLeft.value, 8);
}

TEST(Cascade, IndexOffersEveryRuleThatMatches)
{
    std::string sheet, markup = "<body>";
    const char* tags[] = {"div", "p", "span", "li", "ul", "a"};
    for (int i = 0; i < 300; ++i) {
        const std::string n = std::to_string(i % 7), t = tags[i % 6], u = tags[(i / 6) % 6];
        const std::string selectors[] = {t, ".c" + n, t + ".c" + n, "#i" + n, u + " " + t,
            u + ".c" + n + " > " + t, u + " + " + t, "*", "[title]", t + ":first-child",
            ".c" + n + " .c" + std::to_string(i % 5), u + " " + t + ".c" + n + " " + t};
        sheet += selectors[i % 12] + ", " + selectors[(i + 5) % 12] + " { color: red }\n";
    }
    for (int i = 0; i < 40; ++i) {
        const std::string n = std::to_string(i % 7);
        markup += std::string("<div class=\"c") + n + " c" + std::to_string(i % 5) + "\" id=\"i" + n
            + "\"><ul><li title=\"t\"><a>x</a><span class=\"c" + n + "\">y</span></li><li><p id=\"i"
            + std::to_string(i % 3) + "\"><span><a class=\"c1\">z</a></span></p></li></ul></div>";
    }
    markup += "</body>";
    CXHTML engine;
    engine.m_doc.LoadStyleClass(FromUtf8(sheet), 0, false, 0);
    CMarkupDocument document(&engine);
    CSafeBuf error;
    ASSERT_TRUE(document.Read(markup.data(), markup.size(), error));
    int matched = 0;
    for (CElement* e = document.Body(); e;) {
        CMatchContext context;
        std::vector<STYLE_CLASS*> candidates;
        GetRuleIndex(engine.m_doc).Candidates(e, context, candidates);
        for (STYLE_CLASS* rule = engine.m_doc.m_workingRules; rule; rule = rule->next) {
            if (!DoesStyleFit(e, rule, 0, nullptr, nullptr))
                continue;
            ++matched;
            EXPECT_NE(std::find(candidates.begin(), candidates.end(), rule), candidates.end())
                << ToUtf8(rule->selectorText) << " on " << ToUtf8(CSafeBuf(e->GetTagName()));
        }
        if (e->m_firstChild) {
            e = e->m_firstChild;
            continue;
        }
        while (e && !e->m_nextSibling)
            e = e->m_parent;
        e = e ? e->m_nextSibling : nullptr;
    }
    EXPECT_GT(matched, 1000);
}

// A text run may take the result of a run restyled just before it: every
// element must end as the full restyle leaves it, as read and after the
// restyles that edits make (each mode on each element, the document's
// direction turned, runs that stop inheriting, a parent's style changed).
TEST(Cascade, RunsTakingEarlierResultsEndAsRecomputed)
{
    qmtest::CaseBlockFile file("css_cascade/run_reuse.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        const CascadeInput parts = Parts(c.input);
        const bool rtl = c.HasOption("rtl");
        ReadCase full(parts, rtl, false);
        const size_t before = RunStyleReuseCount();
        ReadCase reused(parts, rtl, true);
        ASSERT_TRUE(full.read && reused.read) << c.name;
        EXPECT_GT(RunStyleReuseCount(), before) << c.name << ": no run took an earlier result";
        file.Check(c, Report(full.document->Body(), kStyleReportCarried, true));
        EXPECT_EQ(Report(reused.document->Body(), kStyleReportCarried, true),
            Report(full.document->Body(), kStyleReportCarried, true))
            << c.name;
        EXPECT_EQ(FirstDifference(full.document->Body(), reused.document->Body()), "")
            << c.name << ": as read";

        auto both = [&](const std::string& what, const std::function<void(CElement*)>& edit) {
            full.Edit(false, edit);
            reused.Edit(true, edit);
            EXPECT_EQ(FirstDifference(full.document->Body(), reused.document->Body()), "")
                << c.name << ": after " << what;
        };
        for (int mode : {0, 1, 2}) {
            const size_t count = Elements(full.document->Body()).size();
            for (size_t i = 0; i < count; ++i) {
                both("mode " + std::to_string(mode) + " on element " + std::to_string(i),
                    [i, mode](CElement* body) { Elements(body)[i]->StyleChanged(mode); });
            }
        }
        both("the direction turned", [](CElement* body) {
            body->m_owner->m_doc.m_rightToLeft = !body->m_owner->m_doc.m_rightToLeft;
            body->StyleChanged(1);
        });
        both("every other run not inheriting", [](CElement* body) {
            bool skip = false;
            for (CElement* e : Elements(body)) {
                if (e->IsTextElement())
                    e->m_noInherit = skip = !skip;
            }
            body->StyleChanged(0);
        });
        both("a parent's style attribute", [](CElement* body) {
            for (CElement* e : Elements(body)) {
                if (e->m_kind == kKindP || e->m_kind == kKindSpan) {
                    e->m_attributes.SetAt("style", FromUtf8("font-size: 31px; color: #010203"));
                    e->StyleChanged(1);
                    break;
                }
            }
        });
    }
}

namespace {

// Each element in document order: its tag, or a text run's text in quotes.
std::string TreeOrder(CElement* body)
{
    std::string out;
    for (CElement* e : Elements(body))
        out += e->m_tagName[0] ? ToUtf8(CSafeBuf(e->GetTagName())) + " " : "\"" + ToUtf8(e->m_text) + "\" ";
    return out;
}

// Each row: the text of its cells in the order they are kept, and whether
// it is right to left.
std::string Rows(CElement* body)
{
    std::string out;
    for (CElement* e : Elements(body)) {
        if (e->m_kind != kKindTr)
            continue;
        out += "row";
        for (CElement* cell = e->m_firstChild; cell; cell = cell->m_nextSibling) {
            out += " [";
            for (CElement* t : Elements(cell))
                out += t->IsTextElement() ? ToUtf8(t->m_text) : "";
            out += "]";
        }
        out += e->Style().rtl ? " right to left\n" : "\n";
    }
    return out;
}

} // namespace

// A row's direction, which decides the order its cells are kept in, may be
// answered without styling the row and its ancestors where nothing can make
// it right to left. Each document is read with that answer and without it:
// the tree (the cells' order), every element's style and what a restyle
// sets outside it must be the same. The case's expectation is the markup
// written, the rows answered without styling, and each row's cells in the
// order kept.
TEST(Cascade, RowsAnsweredUnstyledEndAsStyledInFull)
{
    qmtest::CaseBlockFile file("css_cascade/row_direction.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        const CascadeInput parts = Parts(c.input);
        const bool rtl = c.HasOption("rtl");
        ReadCase full(parts, rtl, true, false);
        const size_t before = RowsAnsweredUnstyled();
        ReadCase quick(parts, rtl, true, true);
        const size_t answered = RowsAnsweredUnstyled() - before;
        ASSERT_TRUE(full.read && quick.read) << c.name;
        CElement* fullBody = full.document->Body();
        CElement* quickBody = quick.document->Body();
        EXPECT_EQ(TreeOrder(quickBody), TreeOrder(fullBody)) << c.name;
        EXPECT_EQ(FirstDifference(fullBody, quickBody), "") << c.name;
        EXPECT_EQ(Report(quickBody, kStyleReportCarried, true), Report(fullBody, kStyleReportCarried, true))
            << c.name;
        CSafeBuf fullMarkup, quickMarkup;
        full.document->Write(fullMarkup, 0);
        quick.document->Write(quickMarkup, 0);
        EXPECT_EQ(ToUtf8(quickMarkup), ToUtf8(fullMarkup)) << c.name;
        file.Check(c,
            ToUtf8(quickMarkup) + "\nrows answered unstyled: " + std::to_string(answered) + "\n"
                + Rows(quickBody));
    }
}
