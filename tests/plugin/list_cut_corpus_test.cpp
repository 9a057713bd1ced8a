// Cuts across list items on the real pages of tests/data/corpus: on each
// page, from an item's last text into the next item's first text, the two
// items become one; pasting the cut back at
// the same place gives the page's words back word for word, and two undo
// steps give the value back as it was.

#include "tests/common/CorpusPages.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/Selection.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using qmtest::FromUtf8;

const std::string kCorpus = std::string(QM_TEST_DATA_DIR) + "/corpus";

// The first page of each package that holds a list.
std::vector<std::string> Pages()
{
    std::vector<std::string> pages;
    for (const std::string& package : qmtest::List(kCorpus, true)) {
        for (const std::string& file : qmtest::List(kCorpus + "/" + package, false)) {
            if (qmtest::ReadFile(kCorpus + "/" + package + "/" + file).find("<li") != std::string::npos) {
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

CElement* ItemOf(const CElement* run)
{
    CElement* block = run->GetFirstBlockParent();
    return block && block->m_kind == kKindLi ? block : nullptr;
}

// The item after item in its list, empty text runs passed over.
const CElement* NextItem(const CElement* item)
{
    const CElement* n = item->m_nextSibling;
    while (n && n->IsTextElement() && n->m_text.IsEmpty())
        n = n->m_nextSibling;
    return n && n->m_kind == kKindLi ? n : nullptr;
}

// The value's list items, counted by their start tags.
int Items(const std::string& value)
{
    int count = 0;
    for (std::string::size_type at = value.find("<li"); at != std::string::npos;
         at = value.find("<li", at + 1)) {
        const char after = at + 3 < value.size() ? value[at + 3] : '\0';
        if (after == '>' || after == ' ')
            ++count;
    }
    return count;
}

// An offset near the middle of text with a character that is not a blank
// on either side (the middle itself when there is none): the cut goes
// through a word.
int InsideWord(const CSafeBuf& text)
{
    const int middle = text.Length() / 2;
    auto inside = [&text](int at) {
        return at > 0 && at < text.Length() && text.GetAt(at - 1) > ' ' && text.GetAt(at) > ' '
            && text.GetAt(at - 1) != 0xA0 && text.GetAt(at) != 0xA0;
    };
    for (int step = 0; step < text.Length(); ++step) {
        if (inside(middle + step))
            return middle + step;
        if (inside(middle - step))
            return middle - step;
    }
    return middle;
}

class ListCutCorpus : public qmtest::ControlInstanceTest, public ::testing::WithParamInterface<std::string>
{
protected:
    ListCutCorpus() : ControlInstanceTest("list-cut-corpus-home-") { }
};

TEST_P(ListCutCorpus, ACutAcrossTwoItemsJoinsThemAndPasteGivesTheWordsBack)
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

    // Two pieces of text side by side in the document, the first the last
    // of an item and the second the first of the next item, each of two
    // characters or more: cut from the middle of the one to the middle of
    // the other (a blank may then stand at either edge of the cut), and
    // from inside a word to inside a word.
    CSafeBuf text;
    std::vector<DocTextPiece> pieces;
    GetDocTextPieces(doc.m_root, text, pieces);
    const CElement* a = nullptr;
    int at = 0;
    const CElement* b = nullptr;
    int to = 0;
    for (std::size_t i = 0; i + 1 < pieces.size() && !a; ++i) {
        const CElement* first = ItemOf(pieces[i].run);
        const CElement* second = ItemOf(pieces[i + 1].run);
        if (!first || !second || NextItem(first) != second || pieces[i].run->m_text.Length() < 2
            || pieces[i + 1].run->m_text.Length() < 2)
            continue;
        a = pieces[i].run;
        at = pieces[i].at;
        b = pieces[i + 1].run;
        to = pieces[i + 1].at;
    }
    if (!a)
        GTEST_SKIP() << "no two items side by side";
    const CSafeBuf left = a->m_text;
    const CSafeBuf right = b->m_text;

    for (bool inWords : {false, true}) {
        SCOPED_TRACE(inWords ? "inside words" : "middles");
        const int start = at + (inWords ? InsideWord(left) : left.Length() / 2);
        const int length = to + (inWords ? InsideWord(right) : right.Length() / 2) - start;
        const std::string before = FormValue();
        doc.m_root->CleanSelection(true);
        int state = 0;
        CSafeBuf unused;
        GetDocText(doc.m_root, unused, state, 1, start, length, nullptr);
        doc.m_selectionPresent = 1;
        doc.SetPositionToFirstSel(true);
        engine->OnCut();
        const std::string afterCut = FormValue();
        EXPECT_EQ(Items(before) - 1, Items(afterCut))
            << "the two items become one" << qmtest::ValueDifference(before, afterCut);
        engine->OnPaste();
        Ui().failures.clear();
        EXPECT_EQ("", qmtest::FirstDifference(qmtest::BodyWords(before), qmtest::BodyWords(FormValue())));
        engine->OnUndo();
        // A blank at the start of a link reads back before it.
        EXPECT_EQ("", qmtest::FirstDifference(qmtest::BodyWords(afterCut), qmtest::BodyWords(FormValue())))
            << "the paste is one undo step";
        engine->OnUndo();
        EXPECT_EQ("", qmtest::ValueDifference(before, FormValue())) << "the cut is one undo step";
    }
}

INSTANTIATE_TEST_SUITE_P(Debian, ListCutCorpus, ::testing::ValuesIn(Pages()), PageName);

} // namespace
