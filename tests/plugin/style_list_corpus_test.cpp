// The style drop-list on the real pages of tests/data/corpus, with the
// editor's own list of styles (resources/styles.xml): the styles marked with
// the caret in a list item, a table cell, a heading and an inline element,
// and the block, wrapper and inline items applied over a selection that
// runs across several blocks. Every application keeps the page's text word
// for word and one undo gives the value back as it was.

#include "tests/common/CorpusPages.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/Selection.h"
#include "element/TreeQueries.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

namespace {

using qmtest::FromUtf8;

const std::string kCorpus = std::string(QM_TEST_DATA_DIR) + "/corpus";

// The first page of each package.
std::vector<std::string> Pages()
{
    std::vector<std::string> pages;
    for (const std::string& package : qmtest::List(kCorpus, true)) {
        const std::vector<std::string> files = qmtest::List(kCorpus + "/" + package, false);
        if (!files.empty())
            pages.push_back(package + "/" + files.front());
    }
    return pages;
}

std::string PageName(const ::testing::TestParamInfo<std::string>& info)
{
    return qmtest::TestNameOf(info.param);
}

using qmtest::FirstDifference;

std::vector<std::string> Words(const std::string& markup) { return qmtest::BodyWords(markup); }

// The first text run below the first element named tag that holds a word.
CElement* FirstTextIn(CElement* root, const char* tag)
{
    for (CElement* e = root; e; e = NextInSubtree(e, root)) {
        const unsigned short* name = e->GetTagName();
        if (!name || !(CSafeBuf(name) == tag))
            continue;
        for (CElement* t = e; t; t = NextInSubtree(t, e)) {
            if (t->IsTextElement()
                && qmtest::ToUtf8(t->m_text).find_first_not_of(" \t\r\n") != std::string::npos)
                return t;
        }
    }
    return nullptr;
}

// The first element that stands inside an inline element though a browser
// shows it apart ("span > p"); empty when there is none.
std::string BlockInInline(const xmlNode* n, const xmlNode* inlineAncestor)
{
    for (; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE)
            continue;
        const std::string name = reinterpret_cast<const char*>(n->name);
        if (inlineAncestor && qmtest::SeparatesWords(n) && name != "br")
            return reinterpret_cast<const char*>(inlineAncestor->name) + (" > " + name);
        const bool isInline = name == "span" || name == "b" || name == "i" || name == "em" || name == "strong"
            || name == "code" || name == "a";
        const std::string inside = BlockInInline(n->children, isInline ? n : inlineAncestor);
        if (!inside.empty())
            return inside;
    }
    return "";
}

std::string BlockInInline(const std::string& markup)
{
    const std::string whole
        = markup.find("<html") == std::string::npos ? "<body>" + markup + "</body>" : markup;
    xmlDocPtr doc = xmlReadMemory(whole.data(), static_cast<int>(whole.size()), "value.xml", nullptr,
        XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_DTDLOAD | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc)
        return "(not well-formed)";
    const std::string found = BlockInInline(xmlDocGetRootElement(doc), nullptr);
    xmlFreeDoc(doc);
    return found;
}

class StyleListCorpus : public qmtest::ControlInstanceTest, public ::testing::WithParamInterface<std::string>
{
protected:
    StyleListCorpus() : ControlInstanceTest("style-corpus-home-") { }

    std::string Styles(CMorvaXEditorCtrl* control)
    {
        unsigned short* ids = control->CurrentStyles();
        const std::string out = qmtest::ToUtf8(CSafeBuf(ids));
        delete[] ids;
        return out;
    }
};

TEST_P(StyleListCorpus, CaretMarksAndItemsOverSelectionsKeepTheTextAndUndo)
{
    const std::string input = qmtest::AsText(qmtest::ReadFile(kCorpus + "/" + GetParam()));
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>start</p>"}, {"Options", "2"}});
    ASSERT_NE(nullptr, control);
    control->SetValue(FromUtf8(input));
    Ui().failures.clear();
    if (control->m_viewMode == 1)
        GTEST_SKIP() << "does not load";
    CXHTML* engine = control->m_pXHTML;
    ASSERT_NE(nullptr, engine);
    CXDoc& doc = engine->m_doc;

    // The caret in each kind of place: the styles the list marks there.
    for (const char* tag : {"li", "td", "h1", "h2", "h3", "pre", "b", "i", "code", "a"}) {
        CElement* text = FirstTextIn(doc.m_root, tag);
        if (!text)
            continue;
        doc.m_root->CleanSelection(true);
        doc.m_selectionPresent = 0;
        doc.m_caretElement = text;
        text->m_caretOffset = 0;
        engine->DisplayTagBox();
        const std::string marked = Styles(control);
        if (tag[0] == 'h' && std::isdigit(static_cast<unsigned char>(tag[1]))) {
            EXPECT_NE(marked.find(std::string("heading") + tag[1]), std::string::npos) << tag;
        }
        if (std::string(tag) == "pre") {
            EXPECT_NE(marked.find("preformatted"), std::string::npos);
        }
    }

    // A selection from the third text piece over some 300 characters.
    CSafeBuf text;
    std::vector<DocTextPiece> pieces;
    GetDocTextPieces(doc.m_root, text, pieces);
    if (pieces.size() < 4)
        GTEST_SKIP() << "too little text";
    const int start = pieces[2].at;
    const int length = std::min(300, text.Length() - start);
    for (const char* id :
        {"heading2", "quotation", "division", "highlight", "note", "preformatted", "paragraph"}) {
        SCOPED_TRACE(id);
        const std::string before = FormValue();
        const std::vector<std::string> words = Words(before);
        doc.m_root->CleanSelection(true);
        int state = 0;
        CSafeBuf unused;
        GetDocText(doc.m_root, unused, state, 1, start, length, nullptr);
        doc.m_selectionPresent = 1;
        doc.SetPositionToFirstSel(false);
        control->ApplyStyleID(FromUtf8(id));
        Ui().failures.clear();
        EXPECT_TRUE(!doc.m_caretElement || doc.IsElementInTree(doc.m_caretElement));
        const std::string after = FormValue();
        EXPECT_EQ("", FirstDifference(words, Words(after)));
        // An item never puts a block inside an inline element that had none.
        if (BlockInInline(before).empty()) {
            EXPECT_EQ("", BlockInInline(after));
        }
        if (after != before) {
            engine->OnUndo();
            EXPECT_EQ(before, FormValue()) << "one undo";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Debian, StyleListCorpus, ::testing::ValuesIn(Pages()), PageName);

} // namespace
