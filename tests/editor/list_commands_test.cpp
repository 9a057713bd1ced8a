// The list, Tab and definition-list commands through the engine's command
// table (tests/data/lists/*_commands.txt). Besides the steps of
// CommandCases: "tab" and "shift-tab" run the level action at the caret,
// "select:TAG" selects the first element of that tag whole with the caret
// on it.

#include "tests/editor/support/CommandCases.h"

#include "element/Element.h"
#include "element/ElementKinds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr unsigned int kDefList = 32954;
constexpr unsigned int kSort = 32944;

class ListCommands : public qmtest::CommandCases
{
protected:
    bool Step(const std::string& step) override
    {
        if (step == "tab" || step == "shift-tab") {
            engine->DoTab(step == "shift-tab");
            return true;
        }
        if (step.rfind("select:", 0) == 0) {
            CElement* e = First(step.substr(7));
            if (!e)
                return false;
            e->SelectAllChildren(true);
            e->m_selected = 1;
            engine->m_doc.m_selectionPresent = 1;
            engine->m_doc.m_caretElement = e;
            return true;
        }
        return false;
    }
};

TEST_F(ListCommands, ListsLevelsAndIndent) { RunFile("lists/list_commands.txt"); }

TEST_F(ListCommands, DefinitionLists) { RunFile("lists/definition_commands.txt"); }

// A new definition list: three empty terms, each before an empty
// definition, the caret in the first term; one undo step takes it away.
TEST_F(ListCommands, ANewDefinitionListHasThreeEmptyPairsWithTheCaretInTheFirstTerm)
{
    ASSERT_TRUE(Load("<p>ab|c</p>"));
    driver.dialogs.push_back({qm::host::DialogAnswer::kPress, "OK", {}});
    engine->PostMessage(kCommandMessage, kDefList, 0);
    const std::string content = Content();
    EXPECT_NE(
        content.find("<dl><dt></dt><dd></dd><dt></dt><dd></dd><dt></dt><dd></dd></dl>"), std::string::npos)
        << content;
    CElement* caret = engine->m_doc.m_caretElement;
    ASSERT_NE(caret, nullptr);
    EXPECT_EQ(caret, First("dt")->m_firstChild);
    engine->PostMessage(kCommandMessage, kUndo, 0);
    EXPECT_EQ(Content(), "<p>abc</p>");
}

// Sorting a sorted list changes nothing and tells nobody.
TEST_F(ListCommands, SortingASortedListSendsNoNotification)
{
    class Counting : public qmtest::ViewControl
    {
    public:
        void ValueIsChanged() override { ++changes; }
        int changes = 0;
    };
    auto counting = std::make_unique<Counting>();
    Counting* page = counting.get();
    control = std::move(counting);
    engine->m_control = control.get();
    engine->m_controlOptions = &control->Options;
    ASSERT_TRUE(Load("<dl><dt>a|</dt><dd>1</dd><dt>B</dt><dd>2</dd></dl>"));
    engine->m_menuElement = First("dt");
    const std::size_t undo = engine->m_doc.m_undoList.GetCount();
    page->changes = 0;
    engine->PostMessage(kCommandMessage, kSort, 0);
    EXPECT_EQ(page->changes, 0);
    EXPECT_EQ(engine->m_doc.m_undoList.GetCount(), undo);
}

// Every list, level and definition-list command, with the caret in every
// text run of documents with odd shapes (lists directly in lists, items
// holding blocks, lists in cells and terms, empty entries), and then undone:
// the caret stays in the tree, and the undo gives the markup back exactly.
TEST_F(ListCommands, EveryCommandAtEveryRunKeepsTheTreeSoundAndUndoesExactly)
{
    const char* const documents[] = {
        "<ul><li>a<ul><li>b</li><li>c<ol><li>d</li></ol></li></ul></li><li>e</li></ul><p>f</p>",
        "<ol><li>a</li><ol><li>b</li><li>c</li></ol><li>d</li></ol>",
        "<ul><li><p>a</p><p>b</p></li><li></li></ul><blockquote><p>c</p></blockquote>",
        "<table><tr><td><ul><li>a</li></ul>b</td><td>c</td></tr></table>",
        "<dl><dt>a</dt><dd>b<ul><li>c</li></ul></dd><dd></dd><dt>d</dt><dt>e</dt></dl><dl><dd>f</dd></dl>",
        "<div class=\"box\"><ul><li>a</li></ul>b<br />c</div>",
    };
    const unsigned int commands[]
        = {32801, 32802, 32955, 32803, 32804, 32914, 32915, 32916, 32917, 32920, 32921, 32828, 32829, 32924,
            32925, 32926, 32927, 32928, 32929, 32930, 32931, 32932, 32933, 32940, 32941, 32942, 32944};
    for (const char* document : documents) {
        ASSERT_TRUE(Load(document));
        CPtrList runs;
        engine->m_doc.m_root->GetAllChildren(&runs, 0, false, kKindText, 0);
        const int count = runs.GetCount();
        for (int n = 0; n < count; ++n) {
            for (unsigned int command : commands) {
                for (int level = -1; level <= (command == commands[0] ? 1 : -1); ++level) {
                    SCOPED_TRACE(std::string(document) + " run " + std::to_string(n) + " command "
                        + std::to_string(command) + " level " + std::to_string(level));
                    ASSERT_TRUE(Load(document));
                    const std::string before = Content();
                    CPtrList now;
                    engine->m_doc.m_root->GetAllChildren(&now, 0, false, kKindText, 0);
                    ASSERT_EQ(now.GetCount(), count);
                    void* pos = now.GetHeadPosition();
                    for (int i = 0; i < n; ++i)
                        now.GetNext(pos);
                    auto* run = static_cast<CElement*>(now.GetNext(pos));
                    engine->m_doc.m_caretElement = run;
                    engine->m_menuElement = run;
                    if (level >= 0)
                        engine->DoTab(level == 1);
                    else
                        engine->PostMessage(kCommandMessage, command, 0);
                    CElement* caret = engine->m_doc.m_caretElement;
                    EXPECT_TRUE(caret == nullptr || engine->m_doc.IsElementInTree(caret));
                    if (Content() == before)
                        continue;
                    engine->PostMessage(kCommandMessage, kUndo, 0);
                    EXPECT_EQ(Content(), before);
                }
            }
        }
    }
}

} // namespace
