// Find in the WYSIWYG view: the engine's find dialog searches the
// document's plain text from the caret, selects each match in the runs that
// hold it, starts from a selection (which becomes the text to find), and is
// one dialog however often it is opened.

#include "tests/editor/support/EngineWithControl.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/CorpusPages.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"

#include "base/text/LetterCase.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/Selection.h"
#include "platform/ui/ModalDialog.h"

#include <algorithm>

namespace {

using qmtest::EngineWithControl;

class Find : public EngineWithControl
{
protected:
    void Load(const char* markup) { ASSERT_TRUE(engine->LoadDocument(qmtest::FromUtf8(markup))); }

    qm::ui::ModalDialog* Dialog() const
    {
        qm::ui::ModalDialog* found = nullptr;
        for (qm::ui::ModalDialog* d : qm::ui::ModalDialog::Modeless())
            if (d->ModalKind() == "find-replace")
                found = found ? found : d;
        return found;
    }

    // Presses a button of the open dialog with the find text what.
    void Press(const char* label, const char* what = nullptr, const char* direction = "down")
    {
        qm::ui::ModalDialog* d = Dialog();
        ASSERT_NE(d, nullptr);
        if (what)
            d->SetField("find", what);
        d->SetField("direction", direction);
        const int index = d->FindButton(label);
        ASSERT_GE(index, 0) << label;
        d->Press(static_cast<std::size_t>(index));
    }

    // The selected part of the document's plain text, as "start:end".
    std::string Selection() const
    {
        CSafeBuf text;
        int state = 0;
        SelectionStruct sel;
        GetDocText(engine->m_doc.m_root, text, state, 0, 0, 0, &sel);
        return std::to_string(sel.start) + ":" + std::to_string(sel.end);
    }

    // The body's content, the generator's comment left out.
    std::string Body() const
    {
        CSafeBuf markup;
        engine->GetSourceCode(markup, 2);
        const std::string s = qmtest::ToUtf8(markup);
        const auto start = s.find('>', s.find("<body")) + 1;
        std::string body = s.substr(start, s.rfind("</body>") - start);
        const auto comment = body.find("<!--");
        if (comment != std::string::npos)
            body.erase(comment, body.find("-->", comment) + 3 - comment);
        body.erase(std::remove(body.begin(), body.end(), '\r'), body.end()); // lines of preformatted text
        return body;
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(Find, FindNextSelectsEachMatchInTurn)
{
    Load("<p>One two</p><p>one <b>o</b>ne</p>");
    engine->DoFindReplace(false);
    // The plain text is "One two one one": matches at 0, 8 and 12 (the last
    // across a bold run), case ignored.
    const char* expected[] = {"0:2", "8:10", "12:14"};
    for (const char* range : expected) {
        Press("Find Next", "one");
        EXPECT_EQ(Selection(), range);
    }
    Press("Find Next");
    EXPECT_EQ(Selection(), "12:14") << "no further match: the selection stays";

    Press("Find Next", "ONE", "up");
    EXPECT_EQ(Selection(), "8:10");
}

TEST_F(Find, MatchCaseIsHonoured)
{
    Load("<p>one One</p>");
    engine->DoFindReplace(false);
    Dialog()->SetField("match case", "1");
    Press("Find Next", "One");
    EXPECT_EQ(Selection(), "4:6");
}

// Without match case, accented, Greek and Cyrillic letters match in either
// case; with it, only as written.
TEST_F(Find, LettersBeyondAsciiMatchInEitherCase)
{
    Load("<p>\xC3\xA9t\xC3\xA9 \xC3\x89T\xC3\x89 \xCE\xA3\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1 "
         "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0</p>"); // été ÉTÉ Σοφία Москва
    engine->DoFindReplace(false);
    Press("Find Next", "\xC3\x89t\xC3\xA9"); // Été
    EXPECT_EQ(Selection(), "0:2");
    Press("Find Next");
    EXPECT_EQ(Selection(), "4:6");
    Press("Find Next", "\xCF\x83\xCE\x9F\xCE\xA6"); // σΟΦ
    EXPECT_EQ(Selection(), "8:10");
    Press("Find Next", "\xD0\xBC\xD0\x9E\xD0\xA1"); // мОС
    EXPECT_EQ(Selection(), "14:16");

    Dialog()->SetField("match case", "1");
    Press("Find Next", "\xC3\xA9t\xC3\xA9", "up"); // été
    EXPECT_EQ(Selection(), "0:2") << "the capitals are passed over";
    Press("Find Next", "\xD0\xBC\xD0\x9E\xD0\xA1");
    EXPECT_EQ(Selection(), "0:2") << "no match as written: the selection stays";
}

// The page sets a new document while the dialog is open: the next search
// runs in the new document from its start, not on from the offset where the
// last match stood in the old one.
TEST_F(Find, ANewDocumentIsSearchedFromItsStart)
{
    Load("<p>a long first document that has the word one only near its end: one</p>");
    engine->DoFindReplace(false);
    Press("Find Next", "one");
    Press("Find Next");
    EXPECT_EQ(Selection(), "63:65");

    Load("<p>one two one</p>");
    Press("Find Next");
    EXPECT_EQ(Selection(), "0:2");
    Press("Find Next");
    EXPECT_EQ(Selection(), "8:10");

    // Up from the end of a long document, then a short one: the search up
    // starts at the new caret and finds nothing before it.
    Load("<p>one</p>");
    Press("Find Next", "one", "up");
    EXPECT_EQ(Selection(), "-1:-1");
    Press("Find Next", "one", "down");
    EXPECT_EQ(Selection(), "0:2");

    // Replace after a new document replaces in the new one.
    Load("<p>x one y one</p>");
    engine->DoFindReplace(true);
    Dialog()->SetField("replace", "two");
    Press("Replace", "one");
    EXPECT_EQ(Selection(), "2:4");
    Press("Replace");
    EXPECT_EQ(Body(), "<p>x two y one</p>");
}

TEST_F(Find, ASelectionIsWhatToFindAndWhereTheSearchStarts)
{
    Load("<p>alpha beta alpha beta</p>");
    CSafeBuf text;
    int state = 0;
    engine->m_doc.m_root->CleanSelection(true);
    GetDocText(engine->m_doc.m_root, text, state, 1, 6, 4, nullptr); // "beta"
    engine->m_doc.m_selectionPresent = 1;

    engine->DoFindReplace(true);
    ASSERT_NE(Dialog(), nullptr);
    ASSERT_NE(Dialog()->Field("find"), nullptr);
    EXPECT_EQ(*Dialog()->Field("find"), "beta");
    EXPECT_GE(Dialog()->FindButton("Replace All"), 0) << "opened on the replace page";
    Press("Find Next");
    EXPECT_EQ(Selection(), "6:9");
    Press("Find Next");
    EXPECT_EQ(Selection(), "17:20");
}

// Replace on an occurrence the user selected (not one the dialog found):
// the search goes on after the replacement, even when the replacement holds
// what it replaces.
TEST_F(Find, ReplaceOnASelectedOccurrenceGoesOnAfterTheReplacement)
{
    Load("<p>cat dog cat</p>");
    CSafeBuf text;
    int state = 0;
    engine->m_doc.m_root->CleanSelection(true);
    GetDocText(engine->m_doc.m_root, text, state, 1, 0, 3, nullptr); // the first "cat"
    engine->m_doc.m_selectionPresent = 1;
    engine->DoFindReplace(true);
    Dialog()->SetField("replace", "scat");
    Press("Replace");
    EXPECT_EQ(Body(), "<p>scat dog cat</p>");
    EXPECT_EQ(Selection(), "9:11") << "the next occurrence, not the one in the replacement";
    Press("Replace");
    EXPECT_EQ(Body(), "<p>scat dog scat</p>");

    // The same with a selection made after a search found another match.
    Load("<p>cat cat cat</p>");
    Press("Find Next", "cat");
    EXPECT_EQ(Selection(), "0:2");
    engine->m_doc.m_root->CleanSelection(true);
    CSafeBuf again;
    state = 0;
    GetDocText(engine->m_doc.m_root, again, state, 1, 8, 3, nullptr); // the last "cat"
    engine->m_doc.m_selectionPresent = 1;
    Dialog()->SetField("replace", "c");
    Press("Replace");
    EXPECT_EQ(Body(), "<p>cat cat c</p>");
    EXPECT_EQ(Selection(), "-1:-1") << "nothing after it: no match before it is selected";
}

TEST_F(Find, OpenedTwiceStaysOneDialogAndReplaceAllReplacesEveryMatch)
{
    Load("<p>abc abc</p>");
    engine->DoFindReplace(false);
    qm::ui::ModalDialog* first = Dialog();
    engine->DoFindReplace(true);
    EXPECT_EQ(Dialog(), first);
    int count = 0;
    for (qm::ui::ModalDialog* d : qm::ui::ModalDialog::Modeless())
        count += d->ModalKind() == "find-replace";
    EXPECT_EQ(count, 1);

    Press("Find Next", "abc");
    Dialog()->SetField("replace", "x");
    Press("Replace All");
    CSafeBuf after;
    engine->GetSourceCode(after, 2);
    // A shorter replacement does not make the search skip the next match.
    EXPECT_NE(qmtest::Utf8(after).find("<p>x x</p>"), std::string::npos) << qmtest::Utf8(after);

    // Closed, it is made afresh.
    Press("Close");
    EXPECT_EQ(Dialog(), nullptr);
    engine->DoFindReplace(false);
    EXPECT_NE(Dialog(), nullptr);
}

TEST_F(Find, ReplaceAllIsOneUndoAndReplaceTakesOnlyAnOccurrence)
{
    Load("<p>one two one</p><p>one <b>o</b>ne</p>");
    auto content = [this] {
        CSafeBuf markup;
        engine->GetSourceCode(markup, 2);
        const std::string s = qmtest::Utf8(markup);
        const auto start = s.find("<p");
        return s.substr(start, s.rfind("</body>") - start);
    };
    const std::string before = content();
    engine->DoFindReplace(true);
    Dialog()->SetField("replace", "three");
    Press("Replace All", "one");
    EXPECT_EQ(content(), "<p>three two three</p><p>three <b>three</b></p>");
    engine->OnUndo();
    EXPECT_EQ(content(), before) << "one undo takes every replacement back";

    // A selection that is not what is searched for is not replaced: the
    // press finds the next occurrence instead, and the next press replaces it.
    CSafeBuf text;
    int state = 0;
    engine->m_doc.m_root->CleanSelection(true);
    GetDocText(engine->m_doc.m_root, text, state, 1, 4, 3, nullptr); // "two"
    engine->m_doc.m_selectionPresent = 1;
    Press("Replace", "one");
    EXPECT_EQ(content(), before);
    EXPECT_EQ(Selection(), "8:10");
    Press("Replace", "one");
    EXPECT_EQ(content(), "<p>one two three</p><p>one <b>o</b>ne</p>");
}

// Undo and redo of Replace All and of Replace, with matches across cells,
// items and inline runs: undo gives back the document as it was, redo the
// replaced one, and the search goes on in either.
TEST_F(Find, UndoAndRedoOfReplacements)
{
    const char* const documents[] = {
        "<table><tr><td>a</td><td>b a</td></tr></table><p>x a b</p>",
        "<ul><li>a b</li><li>a</li><li>b</li></ul>",
        "<p>a <b>b</b> a<i>b</i> <a href=\"u\">a b</a></p>",
    };
    for (const char* markup : documents) {
        SCOPED_TRACE(markup);
        Load(markup);
        const std::string before = Body();
        engine->DoFindReplace(true);
        Dialog()->SetField("replace", "Z");
        Press("Replace All", "a b");
        const std::string replaced = Body();
        EXPECT_NE(replaced, before);
        engine->OnUndo();
        EXPECT_EQ(Body(), before);
        engine->OnRedo();
        // (A blank that the replacement left at the start of a cell does
        // not come back with the redo; at the start of a block it shows
        // nowhere.)
        auto blankAfterTag = [](std::string body) {
            for (auto at = body.find("> "); at != std::string::npos; at = body.find("> ", at + 1))
                body.erase(at + 1, 1);
            return body;
        };
        EXPECT_EQ(blankAfterTag(Body()), blankAfterTag(replaced));
        engine->OnUndo();
        EXPECT_EQ(Body(), before);

        // One Replace press after a Find Next, undone.
        Press("Find Next", "a b");
        Press("Replace");
        EXPECT_NE(Body(), before);
        engine->OnUndo();
        EXPECT_EQ(Body(), before);
        Press("Close");
    }
}

// Replace All against the Replace button pressed from the top until nothing
// is found: the same content.
TEST_F(Find, ReplaceAllCases)
{
    qmtest::CaseBlockFile file("editor/replace_all.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        SCOPED_TRACE(c.header);
        const auto close = c.input.find("][");
        const auto end = c.input.find("]\n");
        ASSERT_TRUE(c.input[0] == '[' && close != std::string::npos && end != std::string::npos);
        const std::string what = c.input.substr(1, close - 1);
        const std::string with = c.input.substr(close + 2, end - close - 2);
        const std::string markup = c.input.substr(end + 2);

        Load(markup.c_str());
        engine->DoFindReplace(true);
        Dialog()->SetField("replace", with.c_str());
        Press("Replace All", what.c_str());
        const std::string all = Body();
        file.Check(c, all);
        Press("Close");

        Load(markup.c_str());
        engine->DoFindReplace(true);
        Dialog()->SetField("replace", with.c_str());
        Press("Find Next", what.c_str());
        // A press that finds no occurrence selected selects the next one:
        // done when two presses in a row change nothing.
        for (int idle = 0, presses = 0; idle < 2 && presses < 100; ++presses) {
            const std::string before = Body();
            Press("Replace");
            idle = Body() == before ? idle + 1 : 0;
        }
        EXPECT_EQ(Body(), all) << "one by one";
        Press("Close");
    }
}

// Real pages: Find Next selects, one after another, exactly the occurrences
// of a word that the page's plain text holds after the caret, in either case
// and across the page's inline markup, and Find Next upwards from the last
// goes back over the same ones.
TEST_F(Find, FindNextOnCorpusPagesVisitsEveryOccurrence)
{
    const std::string corpus = std::string(QM_TEST_DATA_DIR) + "/corpus";
    std::vector<std::string> pages;
    for (const std::string& package : qmtest::List(corpus, true))
        for (const std::string& page : qmtest::List(corpus + "/" + package, false))
            pages.push_back(package + "/" + page);
    const CSafeBuf what("the");
    int searched = 0;
    for (std::size_t p = 0; p < pages.size(); p += 32) {
        SCOPED_TRACE(pages[p]);
        CSafeBuf markup = qmtest::FromUtf8(qmtest::AsText(qmtest::ReadFile(corpus + "/" + pages[p])));
        CXHTML::ValidateXML(markup, nullptr, false, true);
        engine->CleanXHTML(markup, 9);
        if (!engine->LoadDocument(markup))
            continue;
        CSafeBuf text;
        int state = 0;
        const int caret = std::max(0, GetDocText(engine->m_doc.m_root, text, state, 0, 0, 0, nullptr));
        // The occurrences after the caret, left to right without overlaps
        // (at most 12: each press lays the page out again).
        std::vector<std::string> expected;
        for (int i = caret; i + what.Length() <= text.Length() && expected.size() < 12; ++i) {
            bool match = true;
            for (int k = 0; k < what.Length() && match; ++k)
                match = FoldLetterCase(text.GetAt(i + k)) == FoldLetterCase(what.GetAt(k));
            if (match) {
                expected.push_back(std::to_string(i) + ":" + std::to_string(i + what.Length() - 1));
                i += what.Length() - 1;
            }
        }
        engine->DoFindReplace(false);
        std::vector<std::string> found;
        for (std::size_t n = 0; n < expected.size(); ++n) {
            Press("Find Next", "the");
            found.push_back(Selection());
        }
        EXPECT_EQ(found, expected);
        for (std::size_t n = expected.size(); n-- > 1;) {
            Press("Find Next", "the", "up");
            EXPECT_EQ(Selection(), expected[n - 1]);
        }
        Press("Close");
        ++searched;
    }
    EXPECT_GE(searched, 5);
}

} // namespace
