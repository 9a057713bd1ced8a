// Keys through the engine's key road on small documents laid out in a view:
// each case of tests/data/caret_keys/cases.txt is markup with the caret as
// "|", the keys as the case's options, and what is left: the body's content,
// the caret (its element and offset) and the selected runs. The option
// "undo" adds the content after an undo of the last edit and "redo" after a
// redo of it; keys after them are pressed then and add the state after them
// ("then:"). Last, the content is written and read back: when it reads back
// otherwise, a line "reads back as:" says how.
//
// Keys: Left, Right, Up, Down, Home, End, PageUp, PageDown, Backspace,
// Delete, Return, Space, type:TEXT (each character typed); a key may be prefixed
// with modifiers ("Shift+", "Command+", "Option+", "Control+") and followed
// by "*N" to press it N times.

#include "tests/common/CaseBlocks.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/editor/support/EngineWithControl.h"
#include "tests/editor/support/MarkedDocument.h"

#include "element/Element.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::string Describe(const CElement* e)
{
    if (!e)
        return "none";
    // An empty run by where it stands.
    if (e->IsTextElement() && e->m_text.Length() == 0 && e->m_prevSibling)
        return "\"\" after " + Describe(e->m_prevSibling);
    if (e->IsTextElement() && e->m_text.Length() == 0 && e->m_nextSibling)
        return "\"\" before " + Describe(e->m_nextSibling);
    if (e->IsTextElement())
        return "\"" + qmtest::Utf8(e->m_text) + "\"";
    return qmtest::Utf8(CSafeBuf(e->GetTagName()));
}

std::string SelectedRuns(const CElement* e)
{
    std::string out;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_selected) {
            out += " " + Describe(c);
            if (c->IsTextElement())
                out += "[" + std::to_string(c->m_selStart) + "-" + std::to_string(c->m_selEnd) + "]";
        }
        out += SelectedRuns(c);
    }
    return out;
}

class CaretKeys : public qmtest::EngineWithControl
{
protected:
    void TearDown() override
    {
        qm::events::Services::Get().Input().modifiers = 0;
        EngineWithControl::TearDown();
    }

    // One key word of a case; false when it is not understood.
    bool Press(std::string word)
    {
        static const std::map<std::string, std::uint32_t> kModifiers
            = {{"Shift+", qm::events::kModShift}, {"Command+", qm::events::kModCommand},
                {"Option+", qm::events::kModOption}, {"Control+", qm::events::kModControl}};
        static const std::map<std::string, unsigned int> kKeys
            = {{"Home", 1}, {"End", 4}, {"Backspace", 8}, {"PageUp", 11}, {"PageDown", 12}, {"Return", 13},
                {"Space", 32}, {"Left", 28}, {"Right", 29}, {"Up", 30}, {"Down", 31}, {"Delete", 127}};
        int times = 1;
        const std::string::size_type star = word.rfind('*');
        if (star != std::string::npos && star + 1 < word.size()) {
            times = std::stoi(word.substr(star + 1));
            word.erase(star);
        }
        std::uint32_t held = 0;
        for (bool more = true; more;) {
            more = false;
            for (const auto& m : kModifiers) {
                if (word.rfind(m.first, 0) == 0) {
                    held |= m.second;
                    word.erase(0, m.first.size());
                    more = true;
                }
            }
        }
        std::vector<unsigned int> codes;
        if (word.rfind("type:", 0) == 0) {
            for (std::size_t i = 5; i < word.size(); ++i)
                codes.push_back(static_cast<unsigned char>(word[i]));
        } else {
            const auto k = kKeys.find(word);
            if (k == kKeys.end())
                return false;
            codes.push_back(k->second);
        }
        for (int t = 0; t < times; ++t) {
            for (unsigned int code : codes) {
                qm::events::Services::Get().Input().modifiers = held;
                engine->OnChar(code, 1, 0);
                qm::events::Services::Get().Input().modifiers = 0;
            }
        }
        return true;
    }

    std::string State()
    {
        std::string out = qmtest::BodyContent(*engine);
        const CElement* caret = engine->m_doc.m_caretElement;
        if (!engine->m_doc.m_selectionPresent && engine->m_doc.IsElementExist(engine->m_doc.m_caretElement))
            out += "\ncaret: " + Describe(caret) + " " + std::to_string(caret->m_caretOffset);
        if (engine->m_doc.m_selectionPresent)
            out += "\nselected:" + SelectedRuns(engine->m_doc.m_root);
        return out;
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(CaretKeys, Cases)
{
    qmtest::CaseBlockFile file("caret_keys/cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        SCOPED_TRACE(c.header);
        ASSERT_TRUE(qmtest::LoadMarked(*engine, c.input, 300)) << c.name;
        // Keys come to a control that has the focus: the caret shows unless
        // the case starts with a selection, whatever the case before left.
        engine->m_doc.m_caretEnabled = engine->m_doc.m_selectionPresent ? 0 : 1;
        engine->m_doc.UpdateKeyCursor();
        engine->m_doc.SetLastKeyPos(engine->m_doc.m_caretPoint);
        engine->m_doc.SaveUndo(false);
        const std::string before = qmtest::BodyContent(*engine);
        bool understood = true;
        bool undo = false;
        bool redo = false;
        std::vector<std::string> after; // the keys after undo and redo
        for (const std::string& word : c.options) {
            if (word == "undo")
                undo = true;
            else if (word == "redo")
                redo = true;
            else if (undo)
                after.push_back(word);
            else
                understood = understood && Press(word);
        }
        ASSERT_TRUE(understood) << c.name;
        std::string actual = State();
        if (undo) {
            const std::string edited = qmtest::BodyContent(*engine);
            engine->OnUndo();
            const std::string undone = qmtest::BodyContent(*engine);
            actual += "\nundo: " + (undone == before ? std::string("as loaded") : undone);
            if (redo) {
                engine->OnRedo();
                const std::string redone = qmtest::BodyContent(*engine);
                actual += "\nredo: " + (redone == edited ? std::string("as edited") : redone);
            }
        }
        for (const std::string& word : after)
            understood = understood && Press(word);
        ASSERT_TRUE(understood) << c.name;
        if (!after.empty())
            actual += "\nthen: " + State();
        // What is there now is what the value and the undo steps keep: it
        // reads back as it stands.
        const std::string now = qmtest::BodyContent(*engine);
        const std::string read = qmtest::ReadBack(*engine);
        if (read != now)
            actual += "\nreads back as: " + read;
        file.Check(c, actual);
    }
}

} // namespace
