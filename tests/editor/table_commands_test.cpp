// The commands that put tables into the document and reset them, run through
// the engine's command table and the picker's message. A case of
// tests/data/commands/tables.txt gives markup with the caret as "|"; its
// options happen in order: a number posts that command; "ok" and "cancel"
// queue the table dialog's answer (before the command that opens it);
// "size:R:C" queues an OK that sets the dialog's rows and columns; "pick:KIND:R:C" is the picker's answer with a
// size, "closed:KIND" and "cancelled:KIND" its answers without one;
// "menu:TAG" opens the context menu on the first element of that tag;
// "locked:TAG" locks the first element of that tag. The body's content comes
// out (compact, U+00A0 as "{nbsp}").

#include "tests/common/CaseBlocks.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"

#include "document/XDoc.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/markup/SourceCode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr unsigned int kCommandMessage = 1;
constexpr unsigned int kPickerMessage = 1100;

class TableCommands : public qmtest::EngineWithControl
{
protected:
    bool Load(std::string markup)
    {
        const std::string::size_type at = markup.find('|');
        if (at != std::string::npos)
            markup.replace(at, 1, kCaretMarker);
        engine->m_menuElement = nullptr;
        engine->m_doc.m_viewRect = CRect(0, 0, 300, 300);
        engine->m_doc.m_viewWidth = 300;
        engine->AssignWnd();
        return engine->LoadDocument(CSafeBuf(markup.c_str()));
    }

    CElement* First(const std::string& tag)
    {
        return engine->m_doc.m_root->FindChild(CSafeBuf(tag.c_str()), 0, true);
    }

    // The number after prefix in step, from at; -1 when none.
    static int Number(const std::string& step, std::string::size_type& at)
    {
        const std::string::size_type end = step.find(':', at);
        const std::string n = step.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? step.size() : end + 1;
        return n.empty() || n.find_first_not_of("0123456789") != std::string::npos ? -1 : std::stoi(n);
    }

    // One option of a case; false when it is not understood.
    bool Run(const std::string& step)
    {
        using qm::host::DialogAnswer;
        if (step == "ok" || step == "cancel") {
            driver.dialogs.push_back({DialogAnswer::kPress, step == "ok" ? "OK" : "Cancel", {}});
            return true;
        }
        std::string::size_type at = step.find(':') + 1;
        if (step.rfind("size:", 0) == 0) {
            const int rows = Number(step, at), cols = Number(step, at);
            driver.dialogs.push_back({DialogAnswer::kPress, "OK",
                {{"rows", std::to_string(rows)}, {"cols", std::to_string(cols)}}});
            return rows >= 0 && cols >= 0;
        }
        if (step.rfind("pick:", 0) == 0) {
            const int kind = Number(step, at), rows = Number(step, at), cols = Number(step, at);
            engine->PostMessage(kPickerMessage, unsigned(kind), unsigned(rows << 8 | cols));
            return kind >= 0 && rows >= 0 && cols >= 0;
        }
        if (step.rfind("closed:", 0) == 0 || step.rfind("cancelled:", 0) == 0) {
            const int kind = Number(step, at);
            engine->PostMessage(
                kPickerMessage, unsigned(kind) | (step[0] == 'c' && step[1] == 'a' ? 0x300 : 0x100), 0);
            return kind >= 0;
        }
        if (step.rfind("menu:", 0) == 0) {
            engine->m_menuElement = First(step.substr(at));
            return engine->m_menuElement != nullptr;
        }
        if (step.rfind("locked:", 0) == 0) {
            CElement* e = First(step.substr(at));
            if (e)
                e->m_locked = 1;
            return e != nullptr;
        }
        if (step.empty() || step.find_first_not_of("0123456789") != std::string::npos)
            return false;
        engine->PostMessage(kCommandMessage, static_cast<unsigned int>(std::stoul(step)), 0);
        return true;
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

TEST_F(TableCommands, InsertingAndResetting)
{
    qmtest::CaseBlockFile file("commands/tables.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Load(c.input));
        for (const std::string& step : c.options)
            ASSERT_TRUE(Run(step)) << step;
        const std::string content = Content();
        file.Check(c, content);
        EXPECT_TRUE(driver.dialogs.empty()) << "every queued answer was asked for";
        driver.dialogs.clear();
        EXPECT_TRUE(engine->m_doc.m_caretElement == nullptr
            || engine->m_doc.IsElementInTree(engine->m_doc.m_caretElement));
    }
}

// The cell, row and table around an element, each null when there is none.
TEST_F(TableCommands, TheTableAroundAnElement)
{
    ASSERT_TRUE(
        Load("<p>out|side</p><table><caption>cap</caption><tr><td><b>in</b></td><th>h</th></tr></table>"));
    struct Case
    {
        const char* tag;
        const char* cell;
        const char* row;
        const char* table;
    };
    const Case cases[] = {
        {"b", "td", "tr", "table"},
        {"td", "td", "tr", "table"},
        {"th", "th", "tr", "table"},
        {"tr", "", "tr", "table"},
        {"table", "", "", "table"},
        {"caption", "", "", ""},
        {"p", "", "", ""},
    };
    auto tag = [](CElement* e) { return e ? qmtest::Utf8(CSafeBuf(e->GetTagName())) : std::string(); };
    for (const Case& k : cases) {
        CElement *cell = First("p"), *row = First("p"), *table = First("p");
        engine->GetTableFromElement(First(k.tag), &cell, &row, &table);
        EXPECT_EQ(k.cell, tag(cell)) << k.tag;
        EXPECT_EQ(k.row, tag(row)) << k.tag;
        EXPECT_EQ(k.table, tag(table)) << k.tag;
    }
    CElement* cell = First("p");
    engine->GetTableFromElement(nullptr, &cell, nullptr, nullptr);
    EXPECT_EQ(nullptr, cell);
}

} // namespace
