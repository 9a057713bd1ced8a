// Typing, caret keys, deleting, presses and undo through the editor's shared
// module in the test host: each case of tests/data/plugin/typing_keys.txt,
// undo_keys.txt and pointer_keys.txt is a document (the page's Value, "|"
// where the caret starts) and the page's steps, run by the page runner; the
// result is the form value, with the option [messages] also the message
// boxes shown, with [log] also the form values read by <form-value/> steps
// and the drags started, in order. A step list may hold
// <repeat count="N">...</repeat>: its steps N times over.

#include "host/PageRunner.h"

#include "element/markup/SourceCode.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/TempHome.h"
#include "tests/plugin/support/PageText.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <sstream>
#include <string>

namespace {

using qmtest::EscapeAttribute;
using qmtest::LogLines;

// The steps with each <repeat count="N">...</repeat> written out N times
// (repeats do not nest).
std::string ExpandRepeats(const std::string& steps)
{
    const std::string open = "<repeat count=\"";
    const std::string close = "</repeat>";
    std::string out;
    std::string::size_type at = 0;
    for (;;) {
        const std::string::size_type start = steps.find(open, at);
        if (start == std::string::npos)
            return out + steps.substr(at);
        const std::string::size_type body = steps.find("\">", start);
        const std::string::size_type end = steps.find(close, start);
        if (body == std::string::npos || end == std::string::npos || end < body)
            return out + steps.substr(at); // left for the page reader to refuse
        out += steps.substr(at, start - at);
        const int count = std::stoi(steps.substr(start + open.size(), body - start - open.size()));
        for (int i = 0; i < count; ++i)
            out += steps.substr(body + 2, end - body - 2);
        at = end + close.size();
    }
}

// The page for a case: its first line the document, the other lines steps.
std::string PageFor(const std::string& input)
{
    const std::string::size_type cut = input.find('\n');
    std::string document = input.substr(0, cut);
    const std::string steps = cut == std::string::npos ? "" : ExpandRepeats(input.substr(cut + 1));
    const std::string::size_type caret = document.find('|');
    if (caret != std::string::npos)
        document.replace(caret, 1, kCaretMarker);
    return "<page address=\"http://www.example.test/typing.html\">"
           "<window x=\"0\" y=\"0\" width=\"640\" height=\"480\" title=\"Typing\"/>"
           "<plugin module=\"quillmark.so\" type=\"application/x-quillmark\" x=\"20\" y=\"30\" width=\"400\" "
           "height=\"300\"><param name=\"id\" value=\"ed1\"/><param name=\"IndentOutput\" value=\"Compact\"/>"
           "<param name=\"Value\" value=\""
        + EscapeAttribute(document) + "\"/></plugin><steps><window/><focus/>" + steps + "</steps></page>";
}

void RunPageCases(const char* path)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("typing-home-")));
    qmtest::CaseBlockFile file(path);
    for (const qmtest::CaseBlock& c : file.Cases()) {
        qm::host::Page page;
        std::string error;
        ASSERT_TRUE(qm::host::ReadPage(PageFor(c.input), page, error)) << c.name << ": " << error;
        const qm::host::PageRun run = qm::host::RunPage(page, QM_PLUGIN_MODULE, "");
        ASSERT_TRUE(run.loaded) << c.name << "\n" << run.log;
        EXPECT_EQ(std::vector<std::string>(), run.problems) << c.name;
        // The generator comment carries the time: left out.
        std::string actual = run.formValue;
        if (actual.rfind("<!--", 0) == 0)
            actual.erase(0, actual.find("-->") + 3);
        if (c.HasOption("messages"))
            actual += "\n" + LogLines(run.log, {"dialog message"});
        if (c.HasOption("log"))
            actual += "\n" + LogLines(run.log, {"form value: ", "drag of "});
        file.Check(c, actual);
    }
}

} // namespace

TEST(TypingKeys, FormValueAfterKeys) { RunPageCases("plugin/typing_keys.txt"); }

TEST(UndoKeys, FormValuesAfterEditsAndUndo) { RunPageCases("plugin/undo_keys.txt"); }

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
        PageFor("<p>alpha beta</p><p>gamma</p><p>delta</p><p>epsilon</p>\n" + steps), page, error))
        << error;
    const qm::host::PageRun run = qm::host::RunPage(page, QM_PLUGIN_MODULE, "");
    ASSERT_TRUE(run.loaded) << run.log;
    EXPECT_EQ(std::vector<std::string>(), run.problems);
    std::vector<std::string> values;
    std::istringstream lines(LogLines(run.log, {"form value: "}));
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

TEST(PointerKeys, FormValueAfterPresses) { RunPageCases("plugin/pointer_keys.txt"); }
