// Typing, caret keys and deleting through the editor's shared module in the
// test host: each case of tests/data/plugin/typing_keys.txt is a document
// (the page's Value, "|" where the caret starts) and the page's steps, run
// by the page runner; the result is the form value, and with the option
// [messages] also the message boxes shown.

#include "host/PageRunner.h"

#include "element/markup/SourceCode.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

std::string EscapeAttribute(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// The page for a case: its first line the document, the other lines steps.
std::string PageFor(const std::string& input)
{
    const std::string::size_type cut = input.find('\n');
    std::string document = input.substr(0, cut);
    const std::string steps = cut == std::string::npos ? "" : input.substr(cut + 1);
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

// The message boxes of a log, one line each.
std::string Messages(const std::string& log)
{
    std::istringstream lines(log);
    std::string line;
    std::string out;
    while (std::getline(lines, line)) {
        if (line.rfind("dialog message", 0) == 0)
            out += line + "\n";
    }
    return out;
}

} // namespace

TEST(TypingKeys, FormValueAfterKeys)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("typing-home-")));
    qmtest::CaseBlockFile file("plugin/typing_keys.txt");
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
            actual += "\n" + Messages(run.log);
        file.Check(c, actual);
    }
}
