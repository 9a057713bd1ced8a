#pragma once
// Pages for the test host made from block cases: a case is a document (the
// page's Value, "|" where the caret starts) and the page's steps, run by the
// page runner; the result is the form value (with the option [cr] its
// carriage returns shown as \r), with the option [messages] also the
// message boxes shown, with [log] also the form values read by
// <form-value/> steps and the drags started, in order, with [clipboard] the
// clipboard's writes, with [menus] the pop-up menus shown. A step list may hold
// <repeat count="N">...</repeat>: its steps N times over.

#include "host/PageRunner.h"

#include "element/markup/SourceCode.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/TempHome.h"
#include "tests/plugin/support/PageText.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace qmtest {

// The steps with each <repeat count="N">...</repeat> written out N times
// (repeats do not nest).
inline std::string ExpandRepeats(const std::string& steps)
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

// The page for a case: its first line the document, the other lines steps;
// params are more of the plug-in tag's parameters (<param .../> elements).
inline std::string PageFor(const std::string& input, const std::string& params = "")
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
        + params + "<param name=\"Value\" value=\"" + EscapeAttribute(document)
        + "\"/></plugin><steps><window/><focus/>" + steps + "</steps></page>";
}

inline void RunPageCases(const char* path, const std::string& params = "")
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("typing-home-")));
    qmtest::CaseBlockFile file(path);
    for (const qmtest::CaseBlock& c : file.Cases()) {
        qm::host::Page page;
        std::string error;
        ASSERT_TRUE(qm::host::ReadPage(PageFor(c.input, params), page, error)) << c.name << ": " << error;
        const qm::host::PageRun run = qm::host::RunPage(page, QM_PLUGIN_MODULE, "");
        ASSERT_TRUE(run.loaded) << c.name << "\n" << run.log;
        EXPECT_EQ(std::vector<std::string>(), run.problems) << c.name;
        // The generator comment carries the time: left out.
        std::string actual = run.formValue;
        if (actual.rfind("<!--", 0) == 0)
            actual.erase(0, actual.find("-->") + 3);
        if (c.HasOption("cr")) {
            // The case files keep plain line ends: a carriage return is shown as \r.
            for (std::string::size_type at = actual.find('\r'); at != std::string::npos;
                 at = actual.find('\r', at))
                actual.replace(at, 1, "\\r");
        }
        if (c.HasOption("messages"))
            actual += "\n" + LogLines(run.log, {"dialog message"});
        if (c.HasOption("log"))
            actual += "\n" + LogLines(run.log, {"form value: ", "drag of "});
        if (c.HasOption("clipboard"))
            actual += "\n" + LogLines(run.log, {"clipboard: "});
        if (c.HasOption("menus"))
            actual += "\n" + LogLines(run.log, {"menu at "});
        file.Check(c, actual);
    }
}

} // namespace qmtest
