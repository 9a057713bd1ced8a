#pragma once
// Commands run through the engine's command table as the toolbar and the
// menus run them, over cases of markup in and markup out. A case gives
// markup with the caret as "|" and selected text between "[" and "]"; its
// options are what happens, in order: a number posts that command,
// "caret:TAG:OFFSET" puts the caret on the first element of that tag,
// "menu:TAG" opens the context menu on the first element of that tag (the
// element context commands act on), "return" and "shift-return" type
// Return, "backspace" and "delete" type Backspace and Delete, "type:X" types the character X at
// the caret, "undo" undoes the last step,
// "reread" loads the document as it is written and checks that it writes
// the same; a fixture adds its own steps through Step. The body's content comes out (compact, U+00A0 as "{nbsp}").

#include "tests/common/CaseBlocks.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"
#include "tests/editor/support/MarkedDocument.h"

#include "document/XDoc.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/markup/SourceCode.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"

#include <gtest/gtest.h>

#include <string>

namespace qmtest {

class CommandCases : public EngineWithControl
{
protected:
    static constexpr unsigned int kCommandMessage = 1;
    static constexpr unsigned int kUndo = 32814;

    void TearDown() override
    {
        qm::events::Services::Get().Input().modifiers = 0;
        EngineWithControl::TearDown();
    }

    bool Load(std::string markup)
    {
        const std::string::size_type at = markup.find('|');
        if (at != std::string::npos)
            markup.replace(at, 1, kCaretMarker);
        engine->m_menuElement = nullptr;
        // Laid out 200 pixels wide: a long link wraps into pieces.
        engine->m_doc.m_viewRect = CRect(0, 0, 200, 300);
        engine->m_doc.m_viewWidth = 200;
        engine->AssignWnd();
        if (!engine->LoadDocument(CSafeBuf(markup.c_str())))
            return false;
        MarkSelection();
        // The brackets are gone: an undo goes back to the text without them.
        if (engine->m_doc.m_selectionPresent)
            engine->m_doc.GetSourceCode(engine->m_doc.m_sourceBaseline, 6, false);
        return true;
    }

    void MarkSelection() { qmtest::MarkSelection(*engine); }

    CElement* First(const std::string& tag) const
    {
        return engine->m_doc.m_root->FindChild(CSafeBuf(tag.c_str()), 0, true);
    }

    // A fixture's own steps; false when it does not know the step.
    virtual bool Step(const std::string& step)
    {
        (void)step;
        return false;
    }

    // One option of a case; false when it is not understood.
    bool Run(const std::string& step)
    {
        if (step.rfind("menu:", 0) == 0) {
            engine->m_menuElement = First(step.substr(5));
            return engine->m_menuElement != nullptr;
        }
        if (step.rfind("caret:", 0) == 0) {
            // caret:TAG:OFFSET puts the caret on the first element of the tag.
            const std::string::size_type colon = step.find(':', 6);
            if (colon == std::string::npos)
                return false;
            CElement* e = First(step.substr(6, colon - 6));
            if (!e)
                return false;
            e->m_caretOffset = std::stol(step.substr(colon + 1));
            engine->m_doc.m_caretElement = e;
            return true;
        }
        if (step == "return" || step == "shift-return") {
            qm::events::Services::Get().Input().modifiers = step == "return" ? 0 : qm::events::kModShift;
            engine->OnChar(13, 1, 0);
            qm::events::Services::Get().Input().modifiers = 0;
            return true;
        }
        if (step == "backspace" || step == "delete") {
            engine->OnChar(step == "backspace" ? 8 : 127, 1, 0);
            return true;
        }
        if (step.rfind("type:", 0) == 0 && step.size() == 6) {
            engine->OnChar(static_cast<unsigned char>(step[5]), 1, 0);
            return true;
        }
        if (step == "undo") {
            engine->PostMessage(kCommandMessage, kUndo, 0);
            return true;
        }
        if (step == "reread") {
            const std::string before = Content();
            if (!WriteAndReadAgain())
                return false;
            EXPECT_EQ(Content(), before) << "written and read again";
            return true;
        }
        if (Step(step))
            return true;
        if (step.empty() || step.find_first_not_of("0123456789") != std::string::npos)
            return false;
        engine->PostMessage(kCommandMessage, static_cast<unsigned int>(std::stoul(step)), 0);
        return true;
    }

    std::string Content()
    {
        CSafeBuf out;
        engine->GetSourceCode(out, 6);
        std::string s = Utf8(out);
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

    void RunFile(const char* path)
    {
        CaseBlockFile file(path);
        for (const CaseBlock& c : file.Cases()) {
            SCOPED_TRACE(c.name);
            ASSERT_TRUE(Load(c.input));
            for (const std::string& step : c.options)
                ASSERT_TRUE(Run(step)) << step;
            file.Check(c, Content());
            EXPECT_TRUE(engine->m_doc.m_caretElement == nullptr
                || engine->m_doc.IsElementInTree(engine->m_doc.m_caretElement));
        }
    }

    ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

} // namespace qmtest
