// Undo and redo over a run of varied edits on the real pages of
// tests/data/corpus (the first page of each package, up to 32 KB). The same
// seeded sequence of edits goes over each page at places spread over it, as
// a user makes them: a click and a typed word, Return (after a click, and
// straight after typed words, where it is a step of its own), Backspace and
// Delete over a selection from one block into another, bold and italic, a
// list button, indent, a rule, a table from the size picker, copied text
// pasted elsewhere and an item of the style drop-list. Then every step is
// undone, each undo giving the value from before its step, and redone, each
// redo giving the value from after it. Where reading the value back
// normalises it, what a reader sees must still agree: the words, block by
// block.

#include "tests/common/CorpusPages.h"
#include "tests/common/DocText.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/Selection.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using qmtest::FromUtf8;

const std::string kCorpus = std::string(QM_TEST_DATA_DIR) + "/corpus";

constexpr unsigned kBold = 32789;
constexpr unsigned kItalic = 32790;
constexpr unsigned kBullets = 32801;
constexpr unsigned kIndent = 32828;
constexpr unsigned kRule = 32775;
constexpr unsigned kCopy = 32812;
constexpr unsigned kPaste = 32813;
constexpr unsigned kTablePicker = 1100;

// Pages above this size are left out: every edit, undo and redo writes or
// reads the whole page, and the test must stay quick under the sanitizers.
constexpr std::size_t kMaxPageBytes = 32 * 1024;

// The first page of each package, those small enough.
std::vector<std::string> Pages()
{
    std::vector<std::string> pages;
    for (const std::string& page : qmtest::FirstPages(kCorpus))
        if (qmtest::ReadFile(kCorpus + "/" + page).size() <= kMaxPageBytes)
            pages.push_back(page);
    return pages;
}

std::string PageName(const ::testing::TestParamInfo<std::string>& info)
{
    return qmtest::TestNameOf(info.param);
}

// What a reader sees of the document: its lines (blocks) with their words
// one blank apart, empty lines left out.
std::vector<std::string> ReaderLines(CElement* root)
{
    std::vector<std::string> lines;
    std::string line;
    const std::string text = qmtest::ShownText(root).text + "\n";
    for (char c : text) {
        if (c != '\n') {
            line += c;
            continue;
        }
        std::string joined;
        for (const std::string& word : qmtest::Words(line))
            joined += (joined.empty() ? "" : " ") + word;
        if (!joined.empty())
            lines.push_back(joined);
        line.clear();
    }
    return lines;
}

std::string FirstLineDifference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    for (std::size_t i = 0; i < a.size() || i < b.size(); ++i) {
        const std::string x = i < a.size() ? a[i] : "(end)";
        const std::string y = i < b.size() ? b[i] : "(end)";
        if (x != y)
            return "line " + std::to_string(i) + ":\n  " + x + "\nbecame\n  " + y;
    }
    return "";
}

struct State
{
    std::string step; // the step that led here
    std::string value;
    std::vector<std::string> lines;
};

class UndoCorpus : public qmtest::ControlInstanceTest, public ::testing::WithParamInterface<std::string>
{
protected:
    UndoCorpus() : ControlInstanceTest("undo-corpus-home-") { }

public:
    // The text runs of the document with at least minLength characters, in
    // order.
    std::vector<DocTextPiece> Runs(int minLength)
    {
        CSafeBuf text;
        std::vector<DocTextPiece> pieces, out;
        GetDocTextPieces(m_doc->m_root, text, pieces);
        for (const DocTextPiece& piece : pieces)
            if (piece.run->m_text.Length() >= minLength)
                out.push_back(piece);
        return out;
    }

    // Runs away from the caret's block where there are any: typing is one
    // step with what follows it in its element until the caret leaves it,
    // so a step starts elsewhere.
    std::vector<DocTextPiece> RunsElsewhere(int minLength)
    {
        std::vector<DocTextPiece> runs = Runs(minLength), away;
        const CElement* caret
            = m_doc->IsElementInTree(m_doc->m_caretElement) ? m_doc->m_caretElement : nullptr;
        const CElement* block = caret ? caret->GetFirstBlockParent() : nullptr;
        for (const DocTextPiece& piece : runs)
            if (!block || piece.run->GetFirstBlockParent() != block)
                away.push_back(piece);
        return away.empty() ? runs : away;
    }

    std::size_t Pick(std::size_t count) { return static_cast<std::size_t>(m_random() % count); }

    // A press and release of the button where the caret would stand at
    // offset in run.
    void Click(CElement* run, int offset)
    {
        m_doc->m_root->CleanSelection(true);
        m_doc->m_selectionPresent = 0;
        run->m_caretOffset = offset;
        m_doc->m_caretElement = run;
        m_doc->UpdateKeyCursor();
        const CPoint at(
            m_doc->m_caretPoint.x - m_doc->m_scrollX, m_doc->m_caretPoint.y - m_doc->m_scrollY - 1);
        m_engine->OnLButtonDown(0, at);
        m_engine->OnLButtonUp(0, at);
    }

    // A click inside a run somewhere on the page; false when there is none.
    bool ClickSomewhere()
    {
        const std::vector<DocTextPiece> runs = RunsElsewhere(4);
        if (runs.empty())
            return false;
        CElement* run = runs[Pick(runs.size())].run;
        Click(run, run->m_text.Length() / 2);
        return true;
    }

    // A press at the start of a stretch of the document's text and a drag
    // to its end.
    void Select(int start, int length)
    {
        CSafeBuf text;
        std::vector<DocTextPiece> pieces;
        GetDocTextPieces(m_doc->m_root, text, pieces);
        for (const DocTextPiece& piece : pieces) {
            if (start >= piece.at && start <= piece.at + piece.run->m_text.Length()) {
                Click(piece.run, start - piece.at);
                break;
            }
        }
        qmtest::SelectDocText(*m_doc, start, length, false);
    }

    // A selection inside one run: its middle third.
    bool SelectInside()
    {
        const std::vector<DocTextPiece> runs = RunsElsewhere(9);
        if (runs.empty())
            return false;
        const DocTextPiece& piece = runs[Pick(runs.size())];
        const int n = piece.run->m_text.Length();
        Select(piece.at + n / 3, n / 3);
        return true;
    }

    // A selection from the middle of a run into the middle of a run of
    // another block that follows it closely.
    bool SelectAcrossBlocks()
    {
        const std::vector<DocTextPiece> runs = Runs(3);
        std::vector<std::pair<std::size_t, std::size_t>> pairs;
        for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
            const CElement* block = runs[i].run->GetFirstBlockParent();
            for (std::size_t j = i + 1; j < runs.size() && j < i + 3; ++j) {
                if (runs[j].run->GetFirstBlockParent() != block) {
                    pairs.emplace_back(i, j);
                    break;
                }
            }
        }
        if (pairs.empty())
            return false;
        const auto [i, j] = pairs[Pick(pairs.size())];
        const int from = runs[i].at + runs[i].run->m_text.Length() / 2;
        const int to = runs[j].at + runs[j].run->m_text.Length() / 2;
        Select(from, to - from);
        return true;
    }

    // The edits: each true, so that a step reads as a chain of them.
    bool Key(unsigned code)
    {
        m_engine->OnChar(code, 1, 0);
        return true;
    }

    bool Type(const std::string& text)
    {
        for (char c : text)
            Key(static_cast<unsigned char>(c));
        return true;
    }

    bool Message(unsigned message, unsigned id, unsigned argument)
    {
        m_engine->PostMessage(message, id, argument);
        return true;
    }

    bool Command(unsigned id) { return Message(1, id, 0); }

    bool StyleItem(const char* id)
    {
        m_control->ApplyStyleID(FromUtf8(id));
        return true;
    }

    // Whether the document differs from its last snapshot: typing in the
    // element the caret stayed in takes none until the caret moves.
    bool TypedSinceSnapshot()
    {
        CSafeBuf present;
        m_doc->GetSourceCode(present, 6, false);
        return present != m_doc->m_sourceBaseline;
    }

    State Now(const std::string& step)
    {
        Ui().failures.clear();
        return {step, FormValue(), ReaderLines(m_doc->m_root)};
    }

    // Whether the present agrees with an earlier state: the same value, or
    // where reading the value back normalised it, the same lines.
    ::testing::AssertionResult Agrees(const State& expected)
    {
        const State now = Now("");
        if (now.value == expected.value)
            return ::testing::AssertionSuccess();
        const std::string lines = FirstLineDifference(expected.lines, now.lines);
        if (lines.empty())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
            << lines << "\nvalue " << qmtest::ValueDifference(expected.value, now.value);
    }

    CMorvaXEditorCtrl* m_control = nullptr;
    CXHTML* m_engine = nullptr;
    CXDoc* m_doc = nullptr;
    std::mt19937 m_random{20261210u};
};

struct Step
{
    const char* name;
    std::function<bool(UndoCorpus&)> make; // false: no place for it
};

TEST_P(UndoCorpus, EveryStepUndoesAndRedoesToItsValue)
{
    const std::string input = qmtest::AsText(qmtest::ReadFile(kCorpus + "/" + GetParam()));
    m_control = Start({{"Value", "<p>start</p>"}, {"Options", "2"}});
    ASSERT_NE(nullptr, m_control);
    m_control->SetValue(FromUtf8(input));
    Ui().failures.clear();
    if (m_control->m_viewMode == 1)
        GTEST_SKIP() << "does not load";
    m_engine = m_control->m_pXHTML;
    ASSERT_NE(nullptr, m_engine);
    m_doc = &m_engine->m_doc;

    using T = UndoCorpus;
    const Step steps[] = {
        {"typed words", [](T& t) { return t.ClickSomewhere() && t.Type("quill pens "); }},
        {"Return", [](T& t) { return t.ClickSomewhere() && t.Key(13); }},
        {"Backspace across blocks", [](T& t) { return t.SelectAcrossBlocks() && t.Key(8); }},
        {"bold", [](T& t) { return t.SelectInside() && t.Command(kBold); }},
        {"typed word", [](T& t) { return t.ClickSomewhere() && t.Type(" ink"); }},
        {"Return after the typed word", [](T& t) { return t.Key(13); }},
        {"italic across blocks", [](T& t) { return t.SelectAcrossBlocks() && t.Command(kItalic); }},
        {"bullets", [](T& t) { return t.ClickSomewhere() && t.Command(kBullets); }},
        {"indent", [](T& t) { return t.ClickSomewhere() && t.Command(kIndent); }},
        {"rule", [](T& t) { return t.ClickSomewhere() && t.Command(kRule); }},
        {"table of 2 x 3",
            [](T& t) { return t.ClickSomewhere() && t.Message(kTablePicker, 0, (2 << 8) | 3); }},
        {"paste of copied text",
            [](T& t) {
                return t.SelectInside() && t.Command(kCopy) && t.ClickSomewhere() && t.Command(kPaste);
            }},
        {"style item", [](T& t) { return t.SelectAcrossBlocks() && t.StyleItem("heading2"); }},
        {"Delete across blocks", [](T& t) { return t.SelectAcrossBlocks() && t.Key(127); }},
        {"typed word over a selection", [](T& t) { return t.SelectInside() && t.Type("nib"); }},
    };

    std::vector<State> states{Now("the page")};
    for (const Step& step : steps) {
        const int snapshots = static_cast<int>(m_doc->m_undoList.GetCount());
        const bool typing = TypedSinceSnapshot();
        if (!step.make(*this))
            continue;
        State after = Now(step.name);
        // A command that changed nothing the value shows may still have
        // taken a snapshot (beside the one of the typing before it): undo
        // then passes over it.
        const int taken = static_cast<int>(m_doc->m_undoList.GetCount()) - snapshots;
        if (after.value != states.back().value || taken > (typing ? 1 : 0))
            states.push_back(after);
    }
    ASSERT_GT(states.size(), 1u);

    for (std::size_t k = states.size() - 1; k > 0; --k) {
        m_engine->OnUndo();
        ASSERT_TRUE(Agrees(states[k - 1])) << "undo of " << states[k].step;
    }
    for (std::size_t k = 1; k < states.size(); ++k) {
        m_engine->OnRedo();
        ASSERT_TRUE(Agrees(states[k])) << "redo of " << states[k].step;
    }
}

INSTANTIATE_TEST_SUITE_P(Debian, UndoCorpus, ::testing::ValuesIn(Pages()), PageName);

} // namespace
