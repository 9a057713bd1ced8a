// The list, Tab and definition-list commands through the engine's command
// table (tests/data/lists/*_commands.txt). Besides the steps of
// CommandCases: "tab" and "shift-tab" run the level action at the caret,
// "type:X" types the character X at the caret, "select:TAG" selects the
// first element of that tag whole with the caret on it.

#include "tests/editor/support/CommandCases.h"

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
        if (step.rfind("type:", 0) == 0 && step.size() == 6) {
            engine->OnChar(static_cast<unsigned char>(step[5]), 1, 0);
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

} // namespace
