// Typing, caret keys, deleting, presses and undo through the editor's shared
// module in the test host: each case of tests/data/plugin/typing_keys.txt,
// undo_keys.txt and pointer_keys.txt is a document (the page's Value, "|"
// where the caret starts) and the page's steps, run by the page runner; the
// result is the form value, with the option [messages] also the message
// boxes shown, with [log] also the form values read by <form-value/> steps
// and the drags started, in order. A step list may hold
// <repeat count="N">...</repeat>: its steps N times over.

#include "tests/plugin/support/PageCases.h"

#include "host/PageRunner.h"

#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <sstream>
#include <string>

TEST(TypingKeys, FormValueAfterKeys) { qmtest::RunPageCases("plugin/typing_keys.txt"); }

TEST(ClipboardKeys, FormValueAfterCopyPasteAndDrops) { qmtest::RunPageCases("plugin/clipboard_keys.txt"); }

TEST(UndoKeys, FormValuesAfterEditsAndUndo) { qmtest::RunPageCases("plugin/undo_keys.txt"); }

// Forty random edits through the module (a press on one of the first lines,
// a few letters, perhaps a Backspace, then Return, which takes a snapshot),
// the form value read after each; undone one by one, each undo gives back
// the value before the edit it undoes, exactly; redone, the last one.
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
        steps += "<key code=\"return\"/><form-value/>";
    }
    for (int i = 0; i <= kEdits; ++i)
        steps += "<key code=\"z\" modifiers=\"command\"/><form-value/>";
    for (int i = 0; i < kEdits; ++i)
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
    ASSERT_EQ(size_t(2 * kEdits + 3), values.size()) << run.log;
    // values[0..kEdits]: the loaded value and the value after each edit.
    // (An edit may change nothing: Backspace in an empty paragraph and
    // Return give it back; its Return still takes a snapshot.)
    for (int undo = 1; undo <= kEdits; ++undo)
        EXPECT_EQ(values[size_t(kEdits - undo)], values[size_t(kEdits + undo)]) << "undo " << undo;
    EXPECT_EQ(values[0], values[size_t(2 * kEdits + 1)]) << "an undo past the first edit";
    EXPECT_EQ(values[size_t(kEdits)], values.back()) << "all redone";
}

TEST(PointerKeys, FormValueAfterPresses) { qmtest::RunPageCases("plugin/pointer_keys.txt"); }

TEST(FormatKeys, FormValueAfterFormattingKeys) { qmtest::RunPageCases("plugin/format_keys.txt"); }
