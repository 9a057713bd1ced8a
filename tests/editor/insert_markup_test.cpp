// Inserting markup and text at the caret on an engine with a loaded
// document, case by case from tests/data/insert/cases.txt (see its head for
// the form of a case).

#include "tests/common/CaseBlocks.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"

#include "element/Element.h"
#include "element/markup/SourceCode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The payload of a case: \r, \n, \t, \\ and \uXXXX stand for their units;
// other text is UTF-8.
CSafeBuf Unescape(const std::string& text)
{
    CSafeBuf plain;
    plain.AssignUTF8(text.c_str());
    CSafeBuf out;
    for (int i = 0; i < plain.Length(); ++i) {
        unsigned short c = plain.GetAt(i);
        if (c == '\\' && i + 1 < plain.Length()) {
            const unsigned short e = plain.GetAt(++i);
            if (e == 'u' && i + 4 < plain.Length()) {
                c = static_cast<unsigned short>(std::stoul(qmtest::Utf8(plain.Mid(i + 1, 4)), nullptr, 16));
                i += 4;
            } else {
                c = e == 'r' ? '\r' : e == 'n' ? '\n' : e == 't' ? '\t' : e;
            }
        }
        out += c;
    }
    return out;
}

std::string Bytes(const CSafeBuf& text)
{
    std::string out;
    for (int i = 0; i < text.Length(); ++i)
        out.push_back(static_cast<char>(text.GetAt(i)));
    return out;
}

class Inserting : public qmtest::EngineWithControl
{
protected:
    void Load(std::string markup)
    {
        const std::string::size_type at = markup.find('|');
        if (at != std::string::npos)
            markup.replace(at, 1, kCaretMarker);
        ASSERT_TRUE(engine->LoadDocument(CSafeBuf(markup.c_str())));
    }

    std::string Content()
    {
        CSafeBuf out;
        engine->GetSourceCode(out, 6);
        std::string s = qmtest::Utf8(out);
        const auto open = s.find("<body");
        const auto start = open == std::string::npos ? 0 : s.find('>', open) + 1;
        const auto end = s.rfind("</body>");
        s = s.substr(start, end == std::string::npos ? std::string::npos : end - start);
        for (auto cr = s.find_first_of("\r\n"); cr != std::string::npos; cr = s.find_first_of("\r\n"))
            s.erase(cr, 1);
        for (auto nb = s.find("\xC2\xA0"); nb != std::string::npos; nb = s.find("\xC2\xA0"))
            s.replace(nb, 2, "{nbsp}");
        return s;
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(Inserting, Cases)
{
    qmtest::CaseBlockFile file("insert/cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        SCOPED_TRACE(c.name);
        const auto split = c.input.find("\n+++\n");
        ASSERT_NE(split, std::string::npos);
        ASSERT_EQ(c.options.size(), 1u);
        Load(c.input.substr(0, split));
        const CSafeBuf payload = Unescape(c.input.substr(split + 5));
        const std::string& op = c.options[0];
        std::string answer;
        if (op == "markup" || op == "outside")
            answer = engine->InsertHTMLCode(payload, op == "outside") ? "true" : "false";
        else if (op == "clipboard")
            answer = engine->InsertHTML(Bytes(payload).c_str()) ? "true" : "false";
        else if (op == "div")
            answer = engine->InsertXMLToDiv(static_cast<const unsigned short*>(payload)) ? "true" : "false";
        else if (op == "text")
            engine->InsertText(payload);
        else
            FAIL() << "unknown operation " << op;
        std::string out = Content();
        if (!answer.empty())
            out += "\n" + answer;
        file.Check(c, out);
        EXPECT_EQ(driver.shown, 0);
    }
}

} // namespace
