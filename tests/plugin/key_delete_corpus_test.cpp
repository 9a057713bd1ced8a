// Backspace, Delete, a typed letter and Return over selections that run
// from one block into another on the real pages of tests/data/corpus. The
// text outside the selection stays word for word: what was before the
// selection and what was after it come together again, either in one block
// (a join) or still in two (where the blocks cannot be joined, as across
// table cells), never with a word glued to its neighbour or a character
// lost. A selection between two paragraphs, headings or items of one list
// is joined. The edit is one undo step: undo gives the value back as it
// was, and redo gives the same words as the edit.

#include "tests/common/CorpusPages.h"
#include "tests/common/DocText.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/Selection.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using qmtest::AppendUtf8;
using qmtest::FromUtf8;
using qmtest::Shown;
using qmtest::ShownText;
using qmtest::Words;

const std::string kCorpus = std::string(QM_TEST_DATA_DIR) + "/corpus";

std::string PageName(const ::testing::TestParamInfo<std::string>& info)
{
    return qmtest::TestNameOf(info.param);
}

// The blocks a key always joins: paragraphs, headings and items of one
// list, side by side.
bool JoinedAlways(const CElement* a, const CElement* b)
{
    auto text = [](const CElement* e) { return e->m_kind == kKindP || IsHeadingKind(e->m_kind); };
    if (a->m_parent != b->m_parent)
        return false;
    return (text(a) && text(b)) || (a->m_kind == kKindLi && b->m_kind == kKindLi);
}

struct Key
{
    const char* name;
    unsigned int code;
};

class KeyDeleteCorpus : public qmtest::ControlInstanceTest, public ::testing::WithParamInterface<std::string>
{
protected:
    KeyDeleteCorpus() : ControlInstanceTest("key-delete-corpus-home-") { }
};

TEST_P(KeyDeleteCorpus, TheWordsAroundTheSelectionStayAndComeBackWithUndo)
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

    // Up to four places where the text of one block is followed by the
    // text of another, spread over the page: the selection runs from the
    // middle of the one run to the middle of the other.
    const Shown loaded = ShownText(doc.m_root);
    std::vector<std::size_t> seams;
    for (std::size_t i = 0; i + 1 < loaded.pieces.size(); ++i) {
        const CElement* a = loaded.pieces[i].run;
        const CElement* b = loaded.pieces[i + 1].run;
        if (a->GetFirstBlockParent() != b->GetFirstBlockParent() && a->m_text.Length() >= 2
            && b->m_text.Length() >= 2)
            seams.push_back(i);
    }
    if (seams.empty())
        GTEST_SKIP() << "no two blocks with text side by side";
    std::vector<std::size_t> chosen;
    for (std::size_t n = 0; n < 4 && n < seams.size(); ++n)
        chosen.push_back(seams[n * seams.size() / 4]);

    const Key keys[] = {{"Delete", 127}, {"Backspace", 8}, {"X", 'X'}, {"Return", 13}};
    for (std::size_t i : chosen) {
        for (const Key& key : keys) {
            const Shown before = ShownText(doc.m_root);
            ASSERT_LT(i + 1, before.pieces.size());
            const DocTextPiece a = before.pieces[i];
            const DocTextPiece b = before.pieces[i + 1];
            const int fromInRun = a.run->m_text.Length() / 2;
            const int toInRun = b.run->m_text.Length() / 2;
            const CElement* blockA = a.run->GetFirstBlockParent();
            const CElement* blockB = b.run->GetFirstBlockParent();
            if (blockA == blockB)
                continue; // the value read back made one block of the two
            const bool joined = JoinedAlways(blockA, blockB);
            std::string prefix = before.text.substr(0, before.starts[i]);
            for (int c = 0; c < fromInRun; ++c)
                AppendUtf8(prefix, a.run->m_text.GetAt(c));
            std::string suffix;
            for (int c = toInRun; c < b.run->m_text.Length(); ++c)
                AppendUtf8(suffix, b.run->m_text.GetAt(c));
            suffix += before.text.substr(before.ends[i + 1]);
            SCOPED_TRACE(std::string(key.name) + " over \"" + qmtest::Utf8(a.run->m_text) + "\" .. \""
                + qmtest::Utf8(b.run->m_text) + "\"");

            const std::string value = FormValue();
            qmtest::SelectDocText(doc, a.at + fromInRun, b.at + toInRun - a.at - fromInRun, true);
            engine->OnChar(key.code, 1, 0);
            Ui().failures.clear();

            const std::string typed = key.code == 'X' ? "X" : "";
            const std::vector<std::string> one = Words(prefix + typed + suffix);
            const std::vector<std::string> two = Words(prefix + "\n" + typed + suffix);
            const std::vector<std::string> typedFirst = Words(prefix + typed + "\n" + suffix);
            const std::vector<std::string> now = Words(ShownText(doc.m_root).text);
            if (key.code == 13)
                EXPECT_EQ("", qmtest::FirstDifference(two, now)) << "split at the caret";
            else if (!joined)
                EXPECT_TRUE(now == one || now == two || now == typedFirst)
                    << qmtest::FirstDifference(two, now);
            else
                EXPECT_EQ("", qmtest::FirstDifference(one, now)) << "one block";
            const std::string edited = FormValue();
            engine->OnUndo();
            EXPECT_EQ(value, FormValue()) << "one undo step";
            engine->OnRedo();
            EXPECT_EQ(qmtest::BodyWords(edited), qmtest::BodyWords(FormValue())) << "redo";
            engine->OnUndo();
            ASSERT_EQ(value, FormValue());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Debian, KeyDeleteCorpus, ::testing::ValuesIn(qmtest::FirstPages(kCorpus)), PageName);

} // namespace
