// Loading markup into the document. The cases of tests/data/load/cases.txt
// are texts handed to LoadDocument, one after the other when a case holds
// several (separated by a line "%%"), in an engine whose control has the
// case's settings: [dir=rtl], [namespaces=...] (a "_" for each blank),
// [saved=SELECTOR] (a rule of the control's sheet). The output describes the
// document after the last load, a line for each of its parts that is not
// empty:
//
//   result   what LoadDocument answered (earlier loads' answers first)
//   full     the full-document flag; rtl the right-to-left flag
//   html     the kept html start tag; head-start, head, style the kept head
//   base     the body's base URL; rules the selectors of the working rules
//   caret    the caret element's path and offset, or none
//   markup   the body's content, compact, the caret marker where it stands
//   tree     (with [tree]) the tree, tag(children), a text run in quotes
//   page     (with [page]) the page the preview shows, the working rules
//            written into its head
//
// Generated header ids show their table's identifier as "T1-", "T2-" ...
// (tables in document order).

#include "document/XDoc.h"

#include "document/UndoItem.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/markup/SourceCode.h"
#include "elements/TableElement.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "style/sheets/StyleClass.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/ElementPath.h"
#include "tests/common/TextHelpers.h"
#include "tests/document/support/ShownMarkup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using qmtest::FromUtf8;
using qmtest::ShownMarkup;
using qmtest::Utf8;

std::string Option(const qmtest::CaseBlock& c, const std::string& name)
{
    for (const std::string& o : c.options) {
        if (o.rfind(name + "=", 0) == 0)
            return o.substr(name.size() + 1);
    }
    return "";
}

using qmtest::PathOf;

std::string Tree(const CElement* e)
{
    return qmtest::TreeOf(e, [](const CSafeBuf& text) { return ShownMarkup(text); });
}

void Tables(CElement* e, std::vector<const CElement*>& out)
{
    if (e->m_kind == kKindTable)
        out.push_back(e);
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        Tables(c, out);
}

std::string Markup(CElement* root)
{
    CSafeBuf out, a, b, c;
    SourceCodeVar var;
    root->GetSourceCode(out, 0, kSourceMarkers, a, b, c, &var);
    std::string shown = ShownMarkup(out);
    if (shown.rfind("<body>", 0) == 0 && shown.size() >= 13)
        shown = shown.substr(6, shown.size() - 13);
    std::vector<const CElement*> tables;
    Tables(root, tables);
    for (size_t i = 0; i < tables.size(); ++i) {
        char id[16];
        std::snprintf(id, sizeof id, "th%08lX", static_cast<unsigned long>(tables[i]->GetID()));
        const std::string shownId = "thT" + std::to_string(i + 1) + "-";
        for (size_t at = shown.find(id); at != std::string::npos; at = shown.find(id))
            shown.replace(at, std::strlen(id), shownId);
    }
    return shown;
}

std::string Rules(const STYLE_CLASS* rules)
{
    std::string out;
    for (const STYLE_CLASS* r = rules; r; r = r->next)
        out += (out.empty() ? "" : ", ") + Utf8(r->selectorText);
    return out;
}

void Line(std::string& report, const char* name, const std::string& value)
{
    if (!value.empty())
        report += std::string(name) + " " + value + "\n";
}

// The output mode of the preview's page.
constexpr int kPreviewPage = 17474;

std::string Report(CXDoc& doc, const std::string& results, bool tree, bool page)
{
    std::string report = "result " + results + "\n";
    report += "full " + std::to_string(doc.m_fullDocument) + "\n";
    if (doc.m_rightToLeft)
        report += "rtl 1\n";
    Line(report, "html", ShownMarkup(doc.m_htmlStartTag));
    Line(report, "head-start", ShownMarkup(doc.m_headStartTag));
    Line(report, "head", ShownMarkup(doc.m_headMarkup));
    Line(report, "style", ShownMarkup(doc.m_styleMarkup));
    if (doc.m_sheetPlace >= 0)
        report += "style-at " + std::to_string(doc.m_sheetPlace) + "\n";
    if (doc.m_root && doc.m_root->Rare().m_baseURL)
        Line(report, "base", Utf8(*doc.m_root->Rare().m_baseURL));
    Line(report, "rules", Rules(doc.m_workingRules));
    CElement* caret = doc.m_caretElement;
    report += "caret " + (caret ? PathOf(caret) + " " + std::to_string(caret->m_caretOffset) : "none") + "\n";
    if (!doc.m_root)
        return report + "no tree\n";
    report += "markup " + Markup(doc.m_root) + "\n";
    if (tree)
        report += "tree " + Tree(doc.m_root) + "\n";
    if (page) {
        CSafeBuf out;
        doc.GetSourceCode(out, kPreviewPage, true);
        report += "page " + ShownMarkup(out) + "\n";
    }
    return report;
}

std::vector<std::string> Texts(const std::string& input)
{
    std::vector<std::string> texts(1);
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        const std::string line
            = input.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (line == "%%")
            texts.emplace_back();
        else
            texts.back() += (texts.back().empty() ? "" : "\n") + line;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return texts;
}

struct Loaded
{
    CMorvaXEditorCtrl control;
    CXHTML engine;
    CXDoc& doc = engine.m_doc;

    Loaded()
    {
        engine.m_control = &control;
        // A view of 400 x 300 pixels, as the control places it.
        doc.m_viewWidth = 400;
        doc.m_viewRect = CRect(0, 0, 400, 300);
        doc.m_windowRect = doc.m_viewRect;
    }
};

TEST(LoadDocument, Cases)
{
    qmtest::CaseBlockFile file("load/cases.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        Loaded l;
        l.control.Dir = FromUtf8(Option(c, "dir"));
        l.control.EnableTimestamp = 0;
        std::string namespaces = Option(c, "namespaces");
        for (char& ch : namespaces)
            ch = ch == '_' ? ' ' : ch;
        l.control.Namespaces = FromUtf8(namespaces);
        const std::string saved = Option(c, "saved");
        if (!saved.empty()) {
            CSafeBuf selector = FromUtf8(saved), body("color:red");
            ASSERT_TRUE(l.doc.ParseRule(&selector, &body, l.doc.m_savedRules)) << c.name;
        }
        std::string results;
        for (const std::string& text : Texts(c.input)) {
            const bool loaded = l.doc.LoadDocument(FromUtf8(text));
            results += (results.empty() ? "" : " ") + std::string(loaded ? "true" : "false");
        }
        file.Check(c, Report(l.doc, results, c.HasOption("tree"), c.HasOption("page")));
    }
}

int CountElements(const CElement* e)
{
    int n = 1;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        n += CountElements(c);
    return n;
}

TEST(LoadDocument, ANewTreeReplacesTheOldOneWhole)
{
    Loaded l;
    l.doc.m_baseURL = FromUtf8(std::string(QM_TEST_DATA_DIR) + "/images/");
    ASSERT_TRUE(l.doc.LoadDocument(
        FromUtf8("<p>a<img src=\"picture.gif\" /></p><table><tr><th>h</th></tr></table>")));
    ASSERT_NE(l.doc.m_root, nullptr);
    EXPECT_NE(l.doc.m_imagePool, nullptr) << "the layout loads the picture into the pool";
    // The body spans the window rectangle's width.
    EXPECT_EQ(l.doc.m_root->Lay().m_sizeRect.right - l.doc.m_root->Lay().m_sizeRect.left, 400);
    const long oldRoot = l.doc.m_root->GetID();
    const long oldParagraph = l.doc.m_root->m_firstChild->GetID();
    // Borrowed pointers into the old tree.
    l.doc.m_selectionAnchor = l.doc.m_root->m_firstChild;
    l.doc.m_resizeElement = l.doc.m_root->m_lastChild;
    l.doc.m_handleElement = l.doc.m_root->m_lastChild;
    l.doc.m_pointerElement = l.doc.m_root->m_firstChild;
    l.doc.m_scrollX = 20;
    l.doc.m_scrollY = 30;

    ASSERT_TRUE(l.doc.CreateNewDocument());
    EXPECT_FALSE(l.doc.IsElementExist(oldRoot));
    EXPECT_FALSE(l.doc.IsElementExist(oldParagraph));
    EXPECT_EQ(l.doc.m_registry.GetCount(), CountElements(l.doc.m_root));
    EXPECT_EQ(l.doc.m_imagePool, nullptr);
    EXPECT_EQ(l.doc.m_selectionAnchor, nullptr);
    EXPECT_EQ(l.doc.m_resizeElement, nullptr);
    EXPECT_EQ(l.doc.m_handleElement, nullptr);
    EXPECT_EQ(l.doc.m_pointerElement, nullptr);
    EXPECT_EQ(l.doc.m_scrollX, 0);
    EXPECT_EQ(l.doc.m_scrollY, 0);
    EXPECT_EQ(l.doc.m_lastKeyPos, CPoint(-1, -1));
    EXPECT_EQ(Tree(l.doc.m_root), "body(p(''))");

    // A failed load keeps the tree and its elements.
    const long kept = l.doc.m_root->m_firstChild->GetID();
    const int count = l.doc.m_registry.GetCount();
    EXPECT_FALSE(l.doc.LoadDocument(FromUtf8("<p>")));
    EXPECT_TRUE(l.doc.IsElementExist(kept));
    EXPECT_EQ(l.doc.m_registry.GetCount(), count);
}

// A large tree goes before the new text is parsed when the text is sure to
// give a body, and stays when it is not.
TEST(LoadDocument, ALargeTreeGoesOnlyForATextThatLoads)
{
    std::string large;
    for (int i = 0; i < 6000; ++i)
        large += "<p>a<b>b</b></p>";
    const struct
    {
        const char* text;
        bool loads;
    } kTexts[] = {
        {"<p>x", false},
        {"<p>new</p>", true},
        {"<html><body><p>whole</p></body></html>", true},
        {"<html><head><title>t</title></head><body><p>b</p></html>", false},
        {"<!DOCTYPE html><html><body><p>typed</p></body></html>", true},
    };
    for (const auto& t : kTexts) {
        Loaded l;
        ASSERT_TRUE(l.doc.LoadDocument(FromUtf8(large)));
        ASSERT_GT(l.doc.m_registry.GetCount(), 20000);
        const long first = l.doc.m_root->m_firstChild->GetID();
        l.doc.m_selectionAnchor = l.doc.m_root->m_firstChild;
        EXPECT_EQ(l.doc.LoadDocument(FromUtf8(t.text)), t.loads) << t.text;
        EXPECT_EQ(l.doc.IsElementExist(first), !t.loads) << t.text;
        EXPECT_EQ(l.doc.m_registry.GetCount(), CountElements(l.doc.m_root)) << t.text;
        if (t.loads) {
            EXPECT_EQ(l.doc.m_selectionAnchor, nullptr) << t.text;
            // Written as the same text loaded into a document that held
            // nothing.
            Loaded fresh;
            ASSERT_TRUE(fresh.doc.LoadDocument(FromUtf8(t.text)));
            CSafeBuf out, expected;
            l.doc.GetSourceCode(out, 6, false);
            fresh.doc.GetSourceCode(expected, 6, false);
            EXPECT_EQ(Utf8(out), Utf8(expected)) << t.text;
            EXPECT_NE(Utf8(out).find("</p>"), std::string::npos) << t.text;
        }
    }
}

TEST(LoadDocument, TheBaselineIsTheLoadedDocumentsText)
{
    Loaded l;
    ASSERT_TRUE(l.doc.LoadDocument(FromUtf8(
        "<html><head><title>kept</title></head><body><p>a_x_Here_to_put_cursor_x_b</p></body></html>")));
    CSafeBuf now;
    l.doc.GetSourceCode(now, 6, false);
    EXPECT_EQ(Utf8(l.doc.m_sourceBaseline), Utf8(now));
    EXPECT_NE(Utf8(l.doc.m_sourceBaseline).find("<title>kept</title>"), std::string::npos);
    EXPECT_EQ(l.doc.m_baselineCaretX, l.doc.m_caretPoint.x);
    EXPECT_EQ(l.doc.m_baselineCaretY, l.doc.m_caretPoint.y - 1);
    EXPECT_EQ(l.doc.m_baselineScrollX, 0);
    EXPECT_EQ(l.doc.m_baselineScrollY, 0);
}

// The load's own steps leave every element styled, with the areas it takes
// from the view's width, as one more restyle of the whole tree leaves it:
// the runs made for the caret, the row groups of data tables and the
// elements read before the body has its width take their final styles.
TEST(LoadDocument, TheTreeIsStyledAsARestyleLeavesIt)
{
    Loaded l;
    bool built = false;
    ASSERT_TRUE(
        l.doc.ReadDocument(FromUtf8("<p><b>a</b> b<i>c</i></p><div><span>d</span><br />e</div>"
                                    "<table><tr><th>h</th><th>i</th></tr><tr><td>1</td><td>2</td></tr>"
                                    "</table><ul><li><a href=\"x\">l</a></li></ul>"
                                    "<p style=\"width:50%\">p</p>"),
            built));
    ASSERT_TRUE(built);
    struct Record
    {
        const CElement* e;
        ELEMENT_STYLE style;
        CRect avail, container;
    };
    auto records = [&l]() {
        std::vector<Record> all;
        CElement* root = l.doc.m_root;
        for (CElement* e = root; e; e = NextInSubtree(e, root))
            all.push_back({e, e->Style(), e->Lay().m_availRect, e->Lay().m_containerRect});
        return all;
    };
    const std::vector<Record> loaded = records();
    EXPECT_GT(loaded.size(), 20u);
    EXPECT_GT(l.doc.m_root->m_firstChild->Lay().m_availRect.right, 0);
    l.doc.m_root->StyleChanged(1);
    const std::vector<Record> again = records();
    ASSERT_EQ(loaded.size(), again.size());
    for (size_t i = 0; i < loaded.size(); ++i) {
        const CElement* e = loaded[i].e;
        EXPECT_EQ(std::memcmp(&loaded[i].style, &again[i].style, sizeof(ELEMENT_STYLE)), 0) << PathOf(e);
        EXPECT_EQ(loaded[i].avail, again[i].avail) << PathOf(e);
        EXPECT_EQ(loaded[i].container, again[i].container) << PathOf(e);
    }
}

} // namespace
