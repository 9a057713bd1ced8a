// Undo and redo by snapshots, change notification and the edit buttons, on
// an engine whose control has the seven edit buttons on its toolbar. Edits
// are made on the element tree directly (a run's text changed) and reported
// as the engine reports an edit (NotifyChange).

#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"

#include "document/UndoItem.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/markup/SourceCode.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using qmtest::FromUtf8;
using qmtest::Utf8;

namespace {

class ReportingControl : public qmtest::ViewControl
{
public:
    void GoFireContentChanged() override { ++contentChanged; }
    void PostMessage(unsigned msg, unsigned id, unsigned) override { relayed.push_back(msg * 100000 + id); }
    int contentChanged = 0;
    std::vector<unsigned> relayed;
};

class Undo : public qmtest::EngineWithControl
{
protected:
    void SetUp() override
    {
        EngineWithControl::SetUp();
        auto reporting = std::make_unique<ReportingControl>();
        page = reporting.get();
        control = std::move(reporting);
        engine->m_control = control.get();
        engine->m_controlOptions = &control->Options;
        control->ToolbarWysiwyg = FromUtf8("hyperlink,attachment,cut,copy,paste,undo,redo");
        control->LoadIcons();
        control->LoadToolBarFromString();
    }
    void TearDown() override
    {
        qm::events::Services::Get().Input().modifiers = 0;
        EngineWithControl::TearDown();
    }

    void Load(std::string markup)
    {
        const std::string::size_type at = markup.find('|');
        if (at != std::string::npos)
            markup.replace(at, 1, kCaretMarker);
        ASSERT_TRUE(engine->LoadDocument(FromUtf8(markup)));
    }

    std::string Value()
    {
        CSafeBuf out;
        engine->GetSourceCode(out, 6);
        return Utf8(out);
    }

    // The document's text runs, in document order.
    std::vector<CElement*> Runs()
    {
        std::vector<CElement*> runs;
        for (CElement* e = doc().m_root; e; e = NextInSubtree(e, doc().m_root))
            if (e->IsTextElement())
                runs.push_back(e);
        return runs;
    }

    // An edit in run n: text appended, reported as the engine reports one.
    void Type(size_t n, const char* text, bool force = false)
    {
        CElement* run = Runs().at(n);
        run->m_text += FromUtf8(text);
        doc().ChangeCursorElement(run, run->m_text.Length());
        engine->NotifyChange(force);
    }

    // The caret moved to run n as a press moves it (a non-forced snapshot).
    void MoveTo(size_t n)
    {
        doc().ChangeCursorElement(Runs().at(n), 0);
        doc().SaveUndo(false);
    }

    std::string SnapshotText(const CPtrList& list, int index)
    {
        auto* item = static_cast<UNDO_ITEM*>(list.GetAt(list.FindIndex(index)));
        CSafeBuf text;
        text.AssignUTF8(item->text);
        return Utf8(text);
    }

    void Command(char key, bool shift)
    {
        qm::events::Services::Get().Input().modifiers
            = qm::events::kModCommand | (shift ? qm::events::kModShift : 0);
        engine->OnChar(static_cast<unsigned char>(key), 1, 0);
        qm::events::Services::Get().Input().modifiers = 0;
    }

    int Enabled(int kind) { return control->ToolIsButtonEnabled(kind, 0, true); }

    CXDoc& doc() { return engine->m_doc; }
    ReportingControl* page = nullptr;
};

TEST_F(Undo, WhenASnapshotIsTaken)
{
    Load("<p>|one</p><p>two</p>");
    const std::string loaded = Value();
    MoveTo(0);
    EXPECT_EQ(0, doc().m_undoList.GetCount()) << "an unchanged text pushes nothing";

    Type(0, "a");
    Type(0, "b");
    Type(0, "c");
    EXPECT_EQ(0, doc().m_undoList.GetCount()) << "typing in the element the caret was in pushes nothing";
    MoveTo(1);
    ASSERT_EQ(1, doc().m_undoList.GetCount()) << "moving elsewhere pushes the text before the typing";
    EXPECT_EQ(loaded, SnapshotText(doc().m_undoList, 0));

    EXPECT_FALSE(doc().SaveUndo(false)) << "nothing changed since";
    EXPECT_TRUE(doc().SaveUndo(true)) << "a forced snapshot always";
    EXPECT_EQ(2, doc().m_undoList.GetCount());
}

TEST_F(Undo, TypingSinceTheLastSnapshotIsWhatUndoTakesBack)
{
    struct Case
    {
        const char* name;
        bool snapshotFirst; // a forced snapshot before the typing
    };
    const Case cases[] = {
        {"typing after a press, no snapshot yet", false},
        {"typing after a snapshot in the same element", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("<p>|one</p><p>two</p>");
        doc().CleanUnRedo();
        if (c.snapshotFirst)
            Type(0, "!", true);
        MoveTo(0); // a press in the run: the baseline follows the caret there
        const std::string before = Value();
        Type(0, "a");
        Type(0, "b");
        const std::string typed = Value();
        engine->OnUndo();
        EXPECT_EQ(before, Value());
        engine->OnRedo();
        EXPECT_EQ(typed, Value());
    }
}

TEST_F(Undo, TheListKeepsTheNewestFortyNine)
{
    Load("<p>|x</p>");
    for (int i = 0; i < 60; ++i)
        Type(0, std::to_string(i % 10).c_str(), true);
    ASSERT_EQ(49, doc().m_undoList.GetCount());
    // The oldest eleven (the loaded text and ten edits) are gone.
    EXPECT_NE(std::string::npos, SnapshotText(doc().m_undoList, 0).find("x01234567890<"));
}

TEST_F(Undo, TheHeldBytesFollowBothListsAndTheBaseline)
{
    Load("<p>|one</p>");
    CSafeBuf text;
    doc().GetSourceCode(text, 6, false);
    const size_t length = static_cast<size_t>(text.Length()); // ASCII: bytes as well
    EXPECT_GE(doc().UndoBytes(), 2 * length) << "the baseline is held as UTF-16";
    for (int i = 0; i < 60; ++i)
        Type(0, "x", true);
    // 49 snapshots, each of the text as it was then (up to 60 units
    // longer), and the baseline.
    const size_t snapshots = 49 * (sizeof(UNDO_ITEM) + length);
    const size_t full = doc().UndoBytes();
    EXPECT_GE(full, snapshots + 2 * length);
    EXPECT_LE(full, snapshots + 49 * 61 + 8 * (length + 60));
    Command('z', false);
    EXPECT_GE(doc().UndoBytes(), snapshots + 2 * length) << "the present went onto the redo list";
    doc().CleanUnRedo();
    EXPECT_LE(doc().UndoBytes(), 8 * (length + 60)) << "the baseline alone";
}

TEST_F(Undo, CommandZAndShiftCommandZRestoreBothWays)
{
    Load("<p>|one</p>");
    const std::string before = Value();
    Type(0, "!", true);
    const std::string after = Value();
    ASSERT_NE(before, after);
    EXPECT_EQ(1, Enabled(23));
    EXPECT_EQ(0, Enabled(24));

    Command('z', false);
    EXPECT_EQ(before, Value());
    EXPECT_EQ(0, Enabled(23)) << "nothing left to undo";
    EXPECT_EQ(1, Enabled(24));
    Command('z', true);
    EXPECT_EQ(after, Value());
    EXPECT_EQ(1, Enabled(23));
    EXPECT_EQ(0, Enabled(24)) << "nothing left to redo";

    Command('z', false);
    Type(0, "?", true);
    EXPECT_EQ(0, doc().m_redoList.GetCount()) << "a new edit clears redo";
}

TEST_F(Undo, FortyRandomEditsComeBackOneByOne)
{
    Load("<p>|alpha</p><p>beta <b>gamma</b></p><ul><li>delta</li></ul>");
    std::mt19937 random(34);
    std::vector<std::string> values{Value()};
    for (int i = 0; i < 40; ++i) {
        std::vector<CElement*> runs = Runs();
        CElement* run = runs[random() % runs.size()];
        if (random() % 3 == 0 && run->m_text.Length() > 1)
            run->m_text.Delete(static_cast<int>(random() % static_cast<unsigned>(run->m_text.Length())));
        else
            run->m_text += FromUtf8(std::string(1, char('a' + random() % 26)));
        doc().ChangeCursorElement(run, 0);
        engine->NotifyChange(true);
        if (values.back() != Value())
            values.push_back(Value());
    }
    ASSERT_GT(values.size(), 30u);
    const std::string last = values.back();
    for (size_t i = values.size() - 1; i-- > 0;) {
        engine->OnUndo();
        ASSERT_EQ(values[i], Value()) << "undo " << values.size() - 1 - i;
    }
    while (doc().m_redoList.GetCount() > 0)
        engine->OnRedo();
    EXPECT_EQ(last, Value());
}

TEST_F(Undo, EverySnapshotHoldsTheCaretRelativeToTheView)
{
    std::string tall = "<p>|one</p>";
    for (int i = 0; i < 100; ++i)
        tall += "<p>line</p>";
    Load(tall);
    struct Case
    {
        const char* name;
        int scrollX, scrollY, caretX, caretY;
        int expectedX, expectedY;
    };
    const Case cases[] = {
        {"scrolled 300 down", 0, 300, 40, 330, 40, 29},
        {"scrolled across too", 20, 300, 40, 330, 20, 29},
        {"a caret above the view is held at 0", 0, 300, 40, 100, 40, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc().CleanUnRedo();
        doc().m_scrollX = c.scrollX;
        doc().m_scrollY = c.scrollY;
        doc().m_caretPoint = CPoint(c.caretX, c.caretY);
        Type(0, "x", true); // the baseline takes this caret
        Type(0, "y", true); // and this snapshot holds it
        auto* pushed = static_cast<UNDO_ITEM*>(doc().m_undoList.GetTail());
        EXPECT_EQ(c.expectedX, pushed->caretX);
        EXPECT_EQ(c.expectedY, pushed->caretY);
        EXPECT_EQ(c.scrollY, pushed->scrollY);

        // The present that undo moves to the redo list is held the same way.
        doc().m_scrollX = c.scrollX;
        doc().m_scrollY = c.scrollY;
        doc().m_caretPoint = CPoint(c.caretX, c.caretY);
        doc().DoUndo();
        auto* present = static_cast<UNDO_ITEM*>(doc().m_redoList.GetTail());
        EXPECT_EQ(c.expectedX, present->caretX);
        EXPECT_EQ(c.expectedY, present->caretY);
        EXPECT_EQ(c.scrollY, doc().m_scrollY) << "the snapshot's scroll comes back";
    }
}

TEST_F(Undo, ASnapshotThatDoesNotLoadIsNotLost)
{
    Load("<p>|one</p>");
    Type(0, "!", true);
    Type(0, "?", true);
    engine->OnUndo();
    ASSERT_EQ(1, doc().m_undoList.GetCount());
    ASSERT_EQ(1, doc().m_redoList.GetCount());
    auto* bad = static_cast<UNDO_ITEM*>(doc().m_undoList.GetTail());
    const char kBroken[] = "<p>one<b></p>";
    delete[] bad->text;
    bad->text = new char[sizeof kBroken];
    std::memcpy(bad->text, kBroken, sizeof kBroken);
    const std::string present = Value();
    const CSafeBuf baseline = doc().m_sourceBaseline;

    EXPECT_TRUE(doc().DoUndo());
    EXPECT_EQ(present, Value());
    EXPECT_EQ(1, doc().m_undoList.GetCount());
    EXPECT_EQ(bad, doc().m_undoList.GetTail());
    EXPECT_EQ(1, doc().m_redoList.GetCount());
    EXPECT_TRUE(baseline == doc().m_sourceBaseline);
}

TEST_F(Undo, ThePageHearsOfAChangeOnceAgainstWhatItWasLastTold)
{
    Load("<p>|one</p>");
    // As a page's replacement of the value leaves it.
    engine->m_valueReplaced = 1;
    engine->m_lastReportedMarkup = doc().m_sourceBaseline;
    engine->OnUndo();
    EXPECT_EQ(0, page->contentChanged) << "an undo with nothing to undo";
    EXPECT_EQ(0, Enabled(23));

    Type(0, "!");
    EXPECT_EQ(1, page->contentChanged);
    engine->m_valueReplaced = 1;
    engine->NotifyChange(false);
    EXPECT_EQ(1, page->contentChanged) << "the same markup is not reported twice";
}

TEST_F(Undo, TheSourceViewUndoesItsOwnText)
{
    Load("<p>|one</p>");
    Type(0, "!", true);
    const std::string edited = Value();
    control->m_viewMode = 1;
    engine->OnUndo();
    engine->OnRedo();
    EXPECT_EQ(edited, Value());
    EXPECT_EQ(1, doc().m_undoList.GetCount());
    EXPECT_EQ((std::vector<unsigned>{100000 + 32851, 100000 + 32889}), page->relayed);
}

TEST_F(Undo, TheSelectionDrivesTheEditButtons)
{
    Load("<p>|one two</p>");
    engine->RefreshToolBar();
    const int kinds[] = {18, 19, 20, 21, 22};
    const int none[] = {0, 0, 0, 0, 1};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(none[i], Enabled(kinds[i])) << kinds[i];
    Command('a', false); // select all
    ASSERT_TRUE(doc().m_selectionPresent);
    engine->SetCopyState(); // as the press or move that selects
    for (int kind : kinds)
        EXPECT_EQ(1, Enabled(kind)) << kind;
    doc().m_selectionPresent = 0;
    engine->SetCopyState();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(none[i], Enabled(kinds[i])) << kinds[i];
}

TEST(DragToken, EachEngineHasItsOwn)
{
    CXHTML a;
    CXHTML b;
    EXPECT_NE(0u, a.DragToken());
    EXPECT_NE(a.DragToken(), b.DragToken());
}

} // namespace
