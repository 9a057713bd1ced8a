// The formatting commands on the real pages of tests/data/corpus and on
// tests/data/markup/genesis.xhtml, over selections that run across the
// page's structures: from one paragraph into the next, from a paragraph
// into a list, from an item into a nested list, across a heading, inside
// and across table cells, inside a pre and into a link. After each command
// the page's words stand in order with their boundaries, one undo gives
// the value back as it was, and after a redo another undo does so again; a
// command that wraps or unwraps inline runs gives its value again on redo.

#include "tests/common/CorpusPages.h"
#include "tests/common/CorpusSelections.h"
#include "tests/common/DocText.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/Selection.h"
#include "element/TreeQueries.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using qmtest::Above;
using qmtest::Across;
using qmtest::FromUtf8;
using qmtest::IsCell;
using qmtest::IsHeading;
using qmtest::IsItem;
using qmtest::IsLink;
using qmtest::IsPre;
using qmtest::Place;
using qmtest::Within;

const std::string kData = QM_TEST_DATA_DIR;
const std::string kCorpus = kData + "/corpus";

// The first page of each package and the book.
std::vector<std::string> Pages()
{
    std::vector<std::string> pages;
    for (const std::string& page : qmtest::FirstPages(kCorpus))
        pages.push_back("corpus/" + page);
    pages.push_back("markup/genesis.xhtml");
    return pages;
}

std::string PageName(const ::testing::TestParamInfo<std::string>& info)
{
    return qmtest::TestNameOf(info.param);
}

// The no-break spaces of a value, as characters or references.
int NoBreakSpaces(const std::string& value)
{
    int n = 0;
    for (const char* form : {"\xC2\xA0", "&#160;", "&nbsp;"}) {
        for (std::size_t at = value.find(form); at != std::string::npos; at = value.find(form, at + 1))
            ++n;
    }
    return n;
}

struct Span
{
    const char* name;
    std::function<Place(const std::vector<DocTextPiece>&)> find;
};

const std::vector<Span>& Spans()
{
    static const std::vector<Span> spans = {
        {"paragraphs", qmtest::AcrossParagraphs},
        {"paragraph into list",
            [](const std::vector<DocTextPiece>& p) {
                return Across(p, [](const CElement* a, const CElement* b) {
                    return !Above(a, IsItem) && Above(b, IsItem) && !Above(a, IsCell);
                });
            }},
        {"item into nested item",
            [](const std::vector<DocTextPiece>& p) {
                return Across(p, [](const CElement* a, const CElement* b) {
                    const CElement* ia = Above(a, IsItem);
                    const CElement* ib = Above(b, IsItem);
                    return ia && ib && ia != ib && Above(ib, IsItem) == ia;
                });
            }},
        {"items",
            [](const std::vector<DocTextPiece>& p) {
                return Across(p, [](const CElement* a, const CElement* b) {
                    const CElement* ia = Above(a, IsItem);
                    const CElement* ib = Above(b, IsItem);
                    return ia && ib && ia != ib && ia->m_parent == ib->m_parent;
                });
            }},
        {"heading into next block",
            [](const std::vector<DocTextPiece>& p) {
                return Across(p, [](const CElement* a, const CElement* b) {
                    return Above(a, IsHeading) && !Above(b, IsHeading);
                });
            }},
        {"into heading",
            [](const std::vector<DocTextPiece>& p) {
                return Across(p, [](const CElement* a, const CElement* b) {
                    return !Above(a, IsHeading) && Above(b, IsHeading) && !Above(a, IsCell);
                });
            }},
        {"inside a cell",
            [](const std::vector<DocTextPiece>& p) {
                return Within(p, [](const CElement* run) { return Above(run, IsCell) != nullptr; });
            }},
        {"cells", qmtest::AcrossCells},
        {"inside pre", qmtest::InsidePre},
        {"into a link", qmtest::IntoLink},
        {"out of a link", qmtest::OutOfLink},
        {"inside a paragraph",
            [](const std::vector<DocTextPiece>& p) {
                return Within(p, [](const CElement* run) {
                    const CElement* block = run->GetFirstBlockParent();
                    return block && block->m_kind == kKindP && !Above(run, IsItem) && !Above(run, IsCell);
                });
            }},
    };
    return spans;
}

struct Command
{
    const char* name;
    unsigned id;       // posted as the toolbar does; 0: the style item
    const char* style; // the style drop-list's item
    bool redone;       // a redo gives the command's value again
};

// A redo reads the value back: the commands that wrap or unwrap inline runs
// leave markup that reads back as it stands. The block commands may leave a
// blank at a block's edge or a quotation in a list, which reading changes.
const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"bold", 32789, nullptr, true},
        {"italic", 32790, nullptr, true},
        {"highlight", 0, "highlight", true},
        {"bullets", 32801, nullptr, false},
        {"numbers", 32802, nullptr, false},
        {"indent", 32828, nullptr, false},
        {"outdent", 32829, nullptr, false},
        {"left", 32816, nullptr, false},
        {"center", 32805, nullptr, false},
        {"right", 32806, nullptr, false},
        {"heading1", 0, "heading1", false},
        {"paragraph", 0, "paragraph", false},
        {"preformatted", 0, "preformatted", false},
        {"address", 0, "address", false},
        {"quotation", 0, "quotation", false},
    };
    return commands;
}

class CommandsCorpus : public qmtest::ControlInstanceTest, public ::testing::WithParamInterface<std::string>
{
protected:
    CommandsCorpus() : ControlInstanceTest("commands-corpus-home-") { }
};

TEST_P(CommandsCorpus, CommandsOverSelectionsKeepTheWordsAndUndoAndRedo)
{
    const std::string input = qmtest::AsText(qmtest::ReadFile(kData + "/" + GetParam()));
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>start</p>"}, {"Options", "2"}});
    ASSERT_NE(nullptr, control);
    control->SetValue(FromUtf8(input));
    Ui().failures.clear();
    if (control->m_viewMode == 1)
        GTEST_SKIP() << "does not load";
    CXHTML* engine = control->m_pXHTML;
    ASSERT_NE(nullptr, engine);
    CXDoc& doc = engine->m_doc;
    const std::string original = FormValue();
    const std::vector<std::string> words = qmtest::BodyWords(original);

    for (const Span& span : Spans()) {
        CSafeBuf text;
        std::vector<DocTextPiece> pieces;
        GetDocTextPieces(doc.m_root, text, pieces);
        const Place place = span.find(pieces);
        if (place.start < 0 || place.length <= 0)
            continue;
        for (const Command& command : Commands()) {
            SCOPED_TRACE(std::string(span.name) + ", " + command.name);
            qmtest::SelectDocText(doc, place.start, place.length, false);
            if (command.style)
                control->ApplyStyleID(FromUtf8(command.style));
            else
                engine->PostMessage(1, command.id, 0);
            Ui().failures.clear();
            EXPECT_TRUE(!doc.m_caretElement || doc.IsElementInTree(doc.m_caretElement));
            const std::string after = FormValue();
            EXPECT_EQ("", qmtest::FirstDifference(words, qmtest::BodyWords(after)))
                << qmtest::ValueDifference(original, after);
            if (after == original)
                continue;
            engine->OnUndo();
            EXPECT_EQ("", qmtest::ValueDifference(original, FormValue())) << "undo";
            engine->OnRedo();
            const std::string redone = FormValue();
            if (command.redone) {
                EXPECT_EQ("", qmtest::ValueDifference(after, redone)) << "redo";
            }
            // Read back, the command's value gains no no-break space: a
            // quotation made alone in a cell gets none before it.
            EXPECT_LE(NoBreakSpaces(redone), NoBreakSpaces(after)) << qmtest::ValueDifference(after, redone);
            engine->OnUndo();
            const std::string back = FormValue();
            EXPECT_EQ("", qmtest::ValueDifference(original, back)) << "undo after redo";
            if (back != original) {
                // Go on from the original for the next command.
                control->SetValue(FromUtf8(input));
                Ui().failures.clear();
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Debian, CommandsCorpus, ::testing::ValuesIn(Pages()), PageName);

class RuleInTermCorpus : public qmtest::ControlInstanceTest
{
protected:
    RuleInTermCorpus() : ControlInstanceTest("rule-in-term-home-") { }
};

// The API index of a reference manual is a run of definition terms: a rule
// asked for in one, with the caret or a selection there, is refused, and
// the value stays word for word, before and after an undo.
TEST_F(RuleInTermCorpus, ARuleInATermIsRefusedAndTheValueStays)
{
    const std::string input = qmtest::AsText(qmtest::ReadFile(kCorpus + "/libtasn1-doc/api-index-full.html"));
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>start</p>"}, {"Options", "2"}});
    ASSERT_NE(nullptr, control);
    control->SetValue(FromUtf8(input));
    Ui().failures.clear();
    CXHTML* engine = control->m_pXHTML;
    ASSERT_NE(nullptr, engine);
    CXDoc& doc = engine->m_doc;
    const std::string original = FormValue();
    CSafeBuf text;
    std::vector<DocTextPiece> pieces;
    GetDocTextPieces(doc.m_root, text, pieces);
    const DocTextPiece* term = nullptr;
    for (const DocTextPiece& piece : pieces) {
        if (piece.run->m_text.Length() >= 6 && Above(piece.run, [](long kind) { return kind == kKindDt; })) {
            term = &piece;
            break;
        }
    }
    ASSERT_NE(nullptr, term);
    for (int length : {0, 3}) {
        SCOPED_TRACE(length ? "selection" : "caret");
        doc.m_root->CleanSelection(true);
        if (length) {
            int state = 0;
            CSafeBuf unused;
            GetDocText(doc.m_root, unused, state, 1, term->at + 2, length, nullptr);
            doc.m_selectionPresent = 1;
            doc.SetPositionToFirstSel(false);
        } else {
            doc.m_selectionPresent = 0;
            doc.m_caretElement = term->run;
            term->run->m_caretOffset = 3;
        }
        engine->PostMessage(1, 32775, 0);
        Ui().failures.clear();
        // The value alone would not show it: it drops a rule in a term.
        for (const CElement* e = doc.m_root; e; e = NextInSubtree(const_cast<CElement*>(e), doc.m_root))
            EXPECT_FALSE(e->m_kind == kKindHr && Above(e, [](long kind) { return kind == kKindDt; }));
        EXPECT_EQ("", qmtest::ValueDifference(original, FormValue()));
        engine->OnUndo();
        EXPECT_EQ("", qmtest::ValueDifference(original, FormValue())) << "undo";
    }
}

} // namespace
