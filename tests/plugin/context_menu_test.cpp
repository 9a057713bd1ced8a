// The context menu through the editor's module in the test host: each case
// of tests/data/plugin/context_menu.txt is a document (the page's Value),
// lines "@Name value" giving more page parameters, and the page's steps; the
// result is what the log says of the menu (each menu shown, with the answer
// it got) and of the page's context-menu events, with [answers] also how the
// plug-in answered each click and with [value] the final form value.
//
// Every page also has a sub-document service on a loopback server, named
// "{service}" in a case: one SOAP answer that serves both of its requests
// (it holds one definition, for "x-sub" elements identified by "docid",
// and the content "<p>Loaded <b>content</b></p>").

#include "host/PageRunner.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/TempHome.h"
#include "tests/net/support/LoopbackServer.h"
#include "tests/plugin/support/PageText.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using qmtest::EscapeAttribute;
using qmtest::LogLines;

const char* const kServiceAnswer
    = "<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body>"
      "<w:answer xmlns:w=\"urn:quillmark:webservice\"><w:subdocumentDefinition>"
      "<w:elementName>x-sub</w:elementName><w:idAttribute>docid</w:idAttribute></w:subdocumentDefinition>"
      "<w:subdocument>&lt;p&gt;Loaded &lt;b&gt;content&lt;/b&gt;&lt;/p&gt;</w:subdocument></w:answer>"
      "</e:Body></e:Envelope>";

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::string::size_type at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
}

// The page for a case: its first line the document, "@Name value" lines
// parameters, the other lines steps.
std::string PageFor(const std::string& input)
{
    std::istringstream lines(input);
    std::string document;
    std::getline(lines, document);
    std::string params;
    std::string steps;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind('@', 0) == 0) {
            const std::string::size_type blank = line.find(' ');
            params += "<param name=\"" + line.substr(1, blank - 1) + "\" value=\""
                + EscapeAttribute(blank == std::string::npos ? "" : line.substr(blank + 1)) + "\"/>";
        } else {
            steps += line;
        }
    }
    return "<page address=\"http://www.example.test/menu.html\">"
           "<window x=\"0\" y=\"0\" width=\"640\" height=\"480\" title=\"Menu\"/>"
           "<plugin module=\"quillmark.so\" type=\"application/x-quillmark\" x=\"20\" y=\"30\" width=\"400\" "
           "height=\"300\"><param name=\"id\" value=\"ed1\"/><param name=\"IndentOutput\" value=\"Compact\"/>"
           "<param name=\"Value\" value=\""
        + EscapeAttribute(document) + "\"/>" + params
        + "</plugin><function name=\"qmContextMenuActivated\"/><function name=\"qmContextMenuClicked\"/>"
          "<steps><window/><focus/>"
        + steps + "</steps></page>";
}

// The answer of each click: the "<" line after a "> click" line.
std::string ClickAnswers(const std::string& log)
{
    std::istringstream lines(log);
    std::string out;
    bool afterClick = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("> ", 0) == 0)
            afterClick = line.rfind("> click", 0) == 0 || line.rfind("> key", 0) == 0;
        else if (afterClick && line.rfind("< ", 0) == 0)
            out += line + "\n";
    }
    return out;
}

TEST(ContextMenu, MenusShownAndChosen)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("menu-home-")));
    qmtest::LoopbackServer server;
    ASSERT_TRUE(server.Ok());
    server.Answer("/sub", 200, kServiceAnswer);
    qmtest::CaseBlockFile file("plugin/context_menu.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        std::string input = c.input;
        ReplaceAll(input, "{service}", server.Url("/sub"));
        qm::host::Page page;
        std::string error;
        ASSERT_TRUE(qm::host::ReadPage(PageFor(input), page, error)) << c.name << ": " << error;
        const std::string png = c.HasOption("png")
            ? std::string(QM_TEST_OUTPUT_DIR) + "/context-menu-" + std::to_string(c.line) + ".png"
            : "";
        const qm::host::PageRun run = qm::host::RunPage(page, QM_PLUGIN_MODULE, png);
        ASSERT_TRUE(run.loaded) << c.name << "\n" << run.log;
        EXPECT_EQ(std::vector<std::string>(), run.problems) << c.name << "\n" << run.log;
        std::string actual = LogLines(run.log, {"menu at ", "page: qmContextMenu"});
        if (c.HasOption("answers"))
            actual += ClickAnswers(run.log);
        if (c.HasOption("value"))
            actual += LogLines(run.log, {"final form value: "});
        file.Check(c, actual);
    }
}

} // namespace
