// The key map: its shortcut table (tests/data/key_map/cases.txt) and the
// keys the engine carries out itself on a document: the structural keys
// (Delete in an empty block, Backspace after one, Return in a caption),
// select all, page keys, and typing in locked content.

#include "tests/common/CaseFile.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"

#include "editor/KeyShortcuts.h"
#include "element/Element.h"
#include "element/markup/SourceCode.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"

#include <gtest/gtest.h>

#include <string>

namespace {

KeyModifiers ReadModifiers(const std::string& text)
{
    KeyModifiers held;
    held.command = text.find("command") != std::string::npos;
    held.shift = text.find("shift") != std::string::npos;
    held.option = text.find("option") != std::string::npos;
    held.control = text.find("control") != std::string::npos;
    return held;
}

unsigned int ReadKey(const std::string& text)
{
    if (text.size() == 1 && !std::isdigit(static_cast<unsigned char>(text[0])))
        return static_cast<unsigned char>(text[0]);
    return static_cast<unsigned int>(std::stoul(text));
}

TEST(KeyMap, Shortcuts)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("key_map/cases.txt", 5)) {
        const std::vector<std::string>& f = c.fields;
        SCOPED_TRACE("line " + std::to_string(c.line));
        unsigned int key = ReadKey(f[0]);
        unsigned int flags = 5;
        const KeyModifiers held = ReadModifiers(f[1]);
        KeyAction action = ShortcutBeforeGuard(key, held);
        if (action == KeyAction::Document)
            action = ShortcutAfterGuard(key, flags, held);
        std::string actual = KeyActionName(action);
        actual += action == KeyAction::Document ? "\t" + std::to_string(key) + "\t" + std::to_string(flags)
                                                : std::string("\t-\t-");
        EXPECT_EQ(actual, f[2] + "\t" + f[3] + "\t" + f[4]) << f[0] << " " << f[1];
    }
}

// An engine with a loaded document whose caret the marker word places.
class EngineKeys : public qmtest::EngineWithControl
{
protected:
    void TearDown() override
    {
        qm::events::Services::Get().Input().modifiers = 0;
        EngineWithControl::TearDown();
    }

    void Load(std::string markup)
    {
        const std::string::size_type at = markup.find('|');
        if (at != std::string::npos)
            markup.replace(at, 1, kCaretMarker);
        const CSafeBuf text(markup.c_str());
        ASSERT_TRUE(engine->LoadDocument(text));
    }

    // The body's content, compact, without line ends.
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
        return s;
    }

    void Hold(std::uint32_t modifiers) { qm::events::Services::Get().Input().modifiers = modifiers; }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(EngineKeys, StructuralKeys)
{
    struct Case
    {
        const char* name;
        const char* markup; // "|" marks the caret
        unsigned int key;
        const char* expected;
    };
    const Case cases[] = {
        {"Delete in an empty paragraph removes it", "<p>one</p><p>|</p><p>two</p>", 127,
            "<p>one</p><p>two</p>"},
        {"Delete in an empty div directly in a list item is left to the document",
            "<ul><li><div>|</div></li></ul><p>two</p>", 127, "<ul><li><div></div></li></ul><p>two</p>"},
        {"Delete in an empty last paragraph with nothing after it is left to the document",
            "<p>one</p><p>|</p>", 127, "<p>one</p><p>\xC2\xA0</p>"},
        {"Backspace after an empty paragraph removes that paragraph", "<p>one</p><p></p><p>|two</p>", 8,
            "<p>one</p><p>two</p>"},
        {"Backspace inside a word is left to the document", "<p></p><p>t|wo</p>", 8,
            "<p>\xC2\xA0</p><p>wo</p>"},
        {"Return in a caption adds a line break",
            "<table><caption>ab|cd</caption><tr><td>x</td></tr></table>", 13,
            "<table><caption>ab<br />cd</caption><tbody><tr><td>x</td></tr></tbody></table>"},
        {"Return at a caption's end adds a break and an empty run",
            "<table><caption>ab|</caption><tr><td>x</td></tr></table>", 13,
            "<table><caption>ab<br /></caption><tbody><tr><td>x</td></tr></tbody></table>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.markup);
        engine->OnChar(c.key, 1, 0);
        EXPECT_EQ(Content(), c.expected);
    }
}

TEST_F(EngineKeys, ReturnInACaptionLeavesTheCaretAfterTheBreak)
{
    Load("<table><caption>ab|cd</caption><tr><td>x</td></tr></table>");
    engine->OnChar(13, 1, 0);
    const CElement* caret = engine->m_doc.m_caretElement;
    ASSERT_NE(caret, nullptr);
    EXPECT_EQ(qmtest::Utf8(caret->m_text), "cd");
    EXPECT_EQ(caret->m_caretOffset, 0);
    ASSERT_NE(caret->m_prevSibling, nullptr);
    EXPECT_EQ(caret->m_prevSibling->m_kind, kKindBr);
}

TEST_F(EngineKeys, ControlASelectsAllAndHomeDoesNot)
{
    Load("<p>one|</p><p>two</p>");
    engine->OnChar(1, 1, 0); // the Home key
    EXPECT_EQ(engine->m_doc.m_selectionPresent, 0);
    Hold(qm::events::kModCommand);
    engine->OnChar(1, 1, 0); // Command+Home: the document's start
    EXPECT_EQ(engine->m_doc.m_selectionPresent, 0);
    Hold(qm::events::kModControl);
    engine->OnChar(1, 1, 0); // Control+A
    EXPECT_EQ(engine->m_doc.m_selectionPresent, 1);
    EXPECT_NE(engine->m_doc.m_root->m_firstChild->m_firstChild->m_selected, 0);
}

// Command with a letter that is no shortcut (Command+Q, Command+J, and with
// Shift) leaves the text and the undo list as they were; the same letter
// without Command is typed.
TEST_F(EngineKeys, CommandWithAnUnmappedLetterTypesNothing)
{
    Load("<p>one|</p>");
    const int undoSteps = engine->m_doc.m_undoList.GetCount();
    Hold(qm::events::kModCommand);
    engine->OnChar('q', 1, 0);
    engine->OnChar('j', 1, 0);
    Hold(qm::events::kModCommand | qm::events::kModShift);
    engine->OnChar('Q', 1, 0);
    EXPECT_EQ(Content(), "<p>one</p>");
    EXPECT_EQ(engine->m_doc.m_undoList.GetCount(), undoSteps);
    Hold(0);
    engine->OnChar('q', 1, 0);
    EXPECT_EQ(Content(), "<p>oneq</p>");
}

TEST_F(EngineKeys, PageKeysScrollHalfAViewEvenInLockedContent)
{
    Load("<p>one|</p>");
    // The short document is not pulled back into the view meanwhile.
    control->m_windowChangePending = 1;
    DOC_SCROLL_BAR& bar = engine->m_doc.m_verticalBar;
    bar.SetMinimum(0);
    bar.SetMaximum(1000);
    bar.SetValue(100);
    engine->m_doc.m_viewRect = CRect(0, 0, 400, 300);
    engine->OnChar(12, 1, 0);
    EXPECT_EQ(bar.Value(), 250);
    EXPECT_EQ(engine->m_doc.m_scrollY, 500);
    engine->OnChar(11, 1, 0);
    EXPECT_EQ(bar.Value(), 100);
    EXPECT_EQ(driver.shown, 0);

    // Page keys are navigation: locked content does not stop them.
    Load("<p style=\"-qm-lock: true\">lo|cked</p>");
    bar.SetMinimum(0);
    bar.SetMaximum(1000);
    bar.SetValue(100);
    engine->OnChar(12, 1, 0);
    EXPECT_EQ(bar.Value(), 250) << "page keys are navigation: the guard lets them pass";
    EXPECT_EQ(driver.shown, 0);
}

TEST_F(EngineKeys, LockedContentRefusesTypingOnceAndPassesArrows)
{
    Load("<p style=\"-qm-lock: true\">lo|cked</p>");
    engine->OnChar('a', 1, 0);
    EXPECT_EQ(driver.shown, 1);
    engine->OnChar(29, 1, 0);
    engine->OnChar(12, 1, 0);
    Hold(qm::events::kModCommand);
    engine->OnChar('z', 1, 0); // undo needs no permission
    EXPECT_EQ(driver.shown, 1);
}

} // namespace
