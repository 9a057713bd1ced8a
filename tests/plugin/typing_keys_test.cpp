// Typing, caret keys, deleting, presses and undo through the editor's shared
// module in the test host: each case of tests/data/plugin/typing_keys.txt,
// undo_keys.txt, undo_commands.txt and pointer_keys.txt is a document (the
// page's Value, "|" where the caret starts) and the page's steps, run by the
// page runner; the result is the form value, with the option [messages] also
// the message boxes shown, with [log] also the form values read by
// <form-value/> steps and the drags started, in order. A step list may hold
// <repeat count="N">...</repeat>: its steps N times over.

#include "tests/plugin/support/PageCases.h"

#include "host/PageRunner.h"

#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <sstream>
#include <string>

TEST(TypingKeys, FormValueAfterKeys) { qmtest::RunPageCases("plugin/typing_keys.txt"); }

TEST(ClipboardKeys, FormValueAfterCopyPasteAndDrops) { qmtest::RunPageCases("plugin/clipboard_keys.txt"); }

TEST(UndoKeys, FormValuesAfterEditsAndUndo) { qmtest::RunPageCases("plugin/undo_keys.txt"); }

TEST(UndoCommands, FormValuesAfterTypingCommandsAndUndo) { qmtest::RunPageCases("plugin/undo_commands.txt"); }

// Forty random edits through the module (a press on one of the first lines,
// a few letters, perhaps a Backspace, then Return, which takes a snapshot),
// the form value read after the letters and after Return. The letters are a
// step of their own when they changed the value, and Return always is: undone
// one by one, each undo gives back the value before the step it undoes,
// exactly, as far back as the undo list reaches; redone, the last one.
TEST(UndoKeys, FortyRandomEditsComeBackOneByOne)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("typing-home-")));
    constexpr int kEdits = 40;
    std::mt19937 random(34);
    std::string steps = "<advance ms=\"1000\"/><form-value/>";
    for (int i = 0; i < kEdits; ++i) {
        // Presses half a second apart: never a double click.
        steps += "<advance ms=\"600\"/><click x=\"" + std::to_string(13 + random() % 70) + "\" y=\""
            + std::to_string(80 + 27 * int(random() % 4)) + "\"/>";
        for (unsigned n = random() % 3; n > 0; --n)
            steps += "<key code=\"" + std::string(1, char('a' + random() % 26)) + "\"/>";
        if (random() % 4 == 0)
            steps += "<key code=\"delete\"/>";
        steps += "<form-value/><key code=\"return\"/><form-value/>";
    }
    // More undos than steps: the last ones find nothing to undo.
    for (int i = 0; i <= 2 * kEdits; ++i)
        steps += "<key code=\"z\" modifiers=\"command\"/><form-value/>";
    for (int i = 0; i < 2 * kEdits; ++i)
        steps += "<key code=\"z\" modifiers=\"shift command\"/>";
    steps += "<form-value/>";

    qm::host::Page page;
    std::string error;
    ASSERT_TRUE(qm::host::ReadPage(
        qmtest::PageFor("<p>alpha beta</p><p>gamma</p><p>delta</p><p>epsilon</p>\n" + steps), page, error))
        << error;
    const qm::host::PageRun run = qm::host::RunPage(page, QM_PLUGIN_MODULE, "");
    ASSERT_TRUE(run.loaded) << run.log;
    EXPECT_EQ(std::vector<std::string>(), run.problems);
    std::vector<std::string> values;
    std::istringstream lines(qmtest::LogLines(run.log, {"form value: "}));
    for (std::string line; std::getline(lines, line);)
        values.push_back(line);
    ASSERT_EQ(size_t(4 * kEdits + 3), values.size()) << run.log;
    // values[0]: the loaded value; values[2i + 1] and values[2i + 2]: after
    // the letters and after Return of edit i. The states undo walks back
    // through, oldest first. (An edit may change nothing: Backspace in an
    // empty paragraph and Return give it back; its Return still takes a
    // snapshot.)
    std::vector<std::string> states{values[0]};
    for (int i = 0; i < kEdits; ++i) {
        if (values[size_t(2 * i + 1)] != states.back())
            states.push_back(values[size_t(2 * i + 1)]);
        states.push_back(values[size_t(2 * i + 2)]);
    }
    // The undo list keeps the newest 49 snapshots: undos past them change
    // nothing.
    constexpr size_t kUndoLimit = 49;
    ASSERT_GT(states.size(), size_t(kEdits + 1)) << "letters that are steps of their own";
    const size_t oldest = states.size() - 1 - std::min(states.size() - 1, kUndoLimit);
    const size_t undone = size_t(2 * kEdits + 1);
    for (size_t undo = 1; undo <= undone; ++undo) {
        const size_t expected = std::max(oldest, undo < states.size() ? states.size() - 1 - undo : 0);
        EXPECT_EQ(states[expected], values[undone + undo - 1]) << "undo " << undo;
    }
    EXPECT_EQ(states.back(), values.back()) << "all redone";
}

TEST(PointerKeys, FormValueAfterPresses) { qmtest::RunPageCases("plugin/pointer_keys.txt"); }

TEST(FormatKeys, FormValueAfterFormattingKeys) { qmtest::RunPageCases("plugin/format_keys.txt"); }
