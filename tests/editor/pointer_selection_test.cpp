// Presses, moves and releases through the engine's event routing into the
// document: what ends up selected, where the caret stands and which cells
// are marked (cases in tests/data/pointer/cases.txt), the drag a press
// inside a selection starts, and the toolbar buttons that follow the
// selection.

#include "tests/common/CaseBlocks.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"

#include "base/shims/Pasteboard.h"
#include "element/Element.h"
#include "element/markup/SourceCode.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"
#include "platform/events/UiDriver.h"
#include "platform/np/EventRecord.h"
#include "platform/np/Window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using qm::events::Services;

// Records the drags the document starts and cancels them.
class DragRecorder : public qm::events::UiDriver
{
public:
    int TrackDrag(qm::dnd::DragSession& drag) override
    {
        std::string line;
        qm::dnd::DragItemRef item = 0;
        if (drag.GetItemReference(1, item)) {
            line = std::to_string(item);
            for (FlavorType type : {kFlavorEditorMarkup, kFlavorEditorTag, kFlavorUnicodeText}) {
                std::vector<std::uint8_t> data;
                if (!drag.GetFlavorData(item, type, data))
                    continue;
                line += " " + std::string{char(type >> 24), char(type >> 16), char(type >> 8), char(type)};
                if (type == kFlavorEditorTag) {
                    line += "(" + std::to_string(data.size()) + ")";
                    token = 0;
                    for (std::size_t i = 0; i < data.size() && i < 4; ++i)
                        token |= std::uint32_t(data[i]) << (8 * i);
                    continue;
                }
                std::vector<unsigned short> text(data.size() / 2);
                if (!text.empty())
                    std::memcpy(text.data(), data.data(), text.size() * 2);
                // Line ends as \r and \n, so that a case holds them on its line.
                std::string shown;
                for (char c : qmtest::Utf8(text.data(), static_cast<int>(text.size())))
                    shown += c == '\r' ? std::string("\\r")
                        : c == '\n'    ? std::string("\\n")
                                       : std::string(1, c);
                line += " \"" + shown + "\"";
            }
        }
        drags.push_back(line);
        return qm::events::kUserCanceledErr;
    }
    std::vector<std::string> drags;
    std::uint32_t token = 0; // the last drag's 'QMD1', low byte first
};

// Records the buttons the document sets, by kind.
class ButtonControl : public qmtest::ViewControl
{
public:
    int ToolEnableButton(int kind, unsigned, bool enable, bool) override
    {
        enabled[kind] = enable;
        return 1;
    }
    int ToolCheckButton(int kind, unsigned, bool check, bool) override
    {
        checked[kind] = check;
        return 1;
    }
    std::map<int, bool> enabled, checked;
};

class PointerSelection : public qmtest::EngineWithControl
{
protected:
    void SetUp() override
    {
        EngineWithControl::SetUp();
        buttons = new ButtonControl();
        control.reset(buttons);
        engine->m_control = buttons;
        engine->m_controlOptions = &buttons->Options;
        Advance(1000);
        engine->m_window = &window;
        control->m_focused = 1;
        engine->Init();
        Services::Get().SetUiDriver(&driver);
    }
    void TearDown() override
    {
        engine->UnInit();
        Services::Get().SetUiDriver(nullptr);
        Services::Get().Input() = qm::events::InputState();
        EngineWithControl::TearDown();
    }

    void Load(std::string markup)
    {
        const std::string::size_type at = markup.find('|');
        if (at != std::string::npos)
            markup.replace(at, 1, kCaretMarker);
        engine->m_doc.m_viewRect = CRect(0, 0, 400, 300);
        engine->m_doc.m_viewWidth = 400;
        engine->AssignWnd();
        ASSERT_TRUE(engine->LoadDocument(qmtest::FromUtf8(markup)));
        engine->m_doc.SetPointerShape(0);
    }

    void Send(std::uint16_t what, int h, int v)
    {
        if (what == mouseDown)
            Services::Get().Input().buttons |= qm::events::kButtonPrimary;
        if (what == mouseUp)
            Services::Get().Input().buttons &= ~qm::events::kButtonPrimary;
        Services::Get().Input().mouseH = h;
        Services::Get().Input().mouseV = v;
        EventRecord e{what, 0, 0, {static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)}, 0};
        engine->HandleEvent(&e);
    }

    // One step of a case: press, release, move (a null event), drag,
    // click, shift-click, wait (milliseconds).
    void Step(const std::string& line)
    {
        std::istringstream in(line);
        std::string verb;
        int x = 0, y = 0, x2 = 0, y2 = 0;
        in >> verb >> x >> y;
        if (verb == "press") {
            Send(mouseDown, x, y);
        } else if (verb == "release") {
            Send(mouseUp, x, y);
        } else if (verb == "move") {
            Send(nullEvent, x, y);
        } else if (verb == "click") {
            Send(mouseDown, x, y);
            Send(mouseUp, x, y);
        } else if (verb == "drag") {
            in >> x2 >> y2;
            Send(mouseDown, x, y);
            for (int i = 1; i <= 4; ++i)
                Send(nullEvent, x + (x2 - x) * i / 4, y + (y2 - y) * i / 4);
            Send(mouseUp, x2, y2);
        } else if (verb == "shift-click") {
            Services::Get().Input().modifiers = qm::events::kModShift;
            Send(mouseDown, x, y);
            Send(mouseUp, x, y);
            Services::Get().Input().modifiers = 0;
        } else if (verb == "wait") {
            Advance(x);
        } else {
            ADD_FAILURE() << "unknown step " << line;
        }
    }

    // What is selected, in document order: a run's selected text in
    // quotes, other elements by tag; then the summary flags and the caret.
    std::string Describe()
    {
        CXDoc& doc = engine->m_doc;
        std::string out = "selected:";
        CPtrList list;
        doc.m_root->GetAllChildren(&list, 0, true, 0, 0);
        list.ForEachItem([&](void* item) {
            const auto* e = static_cast<const CElement*>(item);
            if (e->IsTextElement()) {
                const CSafeBuf& t = e->m_text;
                out += " \"" + qmtest::Utf8(CSafeBuf(t.Mid(e->m_selStart, e->m_selEnd - e->m_selStart + 1)))
                    + "\"";
            } else {
                out += " " + qmtest::Utf8(CSafeBuf(e->GetTagName()));
            }
        });
        out += "\npresent: " + std::to_string(doc.m_selectionPresent);
        if (doc.m_cellMarkMode)
            out += "\nmarked cells: " + std::to_string(doc.m_selectedCellCount);
        if (doc.m_resizeState)
            out += "\nhandles on: " + qmtest::Utf8(CSafeBuf(doc.m_handleElement->GetTagName()));
        const CElement* caret = doc.m_caretElement;
        if (doc.m_caretEnabled && caret) {
            out += "\ncaret: "
                + (caret->IsTextElement() ? "\"" + qmtest::Utf8(CSafeBuf(caret->m_text)) + "\""
                                          : qmtest::Utf8(CSafeBuf(caret->GetTagName())))
                + " at " + std::to_string(caret->m_caretOffset);
        }
        if (doc.m_pointerShape)
            out += "\npointer shape: " + std::to_string(doc.m_pointerShape);
        for (const std::string& d : driver.drags)
            out += "\ndrag: " + d;
        return out;
    }

    NPWindow window{nullptr, 0, 0, 400, 300, NPRect{0, 0, 300, 400}, NPWindowTypeDrawable};
    DragRecorder driver;
    ButtonControl* buttons = nullptr; // owned by control
};

TEST_F(PointerSelection, Cases)
{
    qmtest::CaseBlockFile file("pointer/cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        SCOPED_TRACE(c.name);
        std::istringstream in(c.input);
        std::string markup, line;
        std::getline(in, markup);
        Load(markup);
        driver.drags.clear();
        engine->m_lastPressTime = 0;
        engine->m_lastDoubleClickTime = 0;
        while (std::getline(in, line)) {
            if (!line.empty())
                Step(line);
        }
        Advance(1000); // the next case's first press pairs with nothing
        file.Check(c, Describe());
    }
}

} // namespace

// The document's selection questions and the buttons that follow the
// selection, on selections made directly in the elements.
class SelectionQueries : public PointerSelection
{
protected:
    // The text run with exactly that text, or null.
    CElement* Run(const char* text)
    {
        CPtrList all;
        engine->m_doc.m_root->GetAllChildren(&all, 0, false, kKindText, 0);
        CElement* found = nullptr;
        all.ForEachItem([&](void* item) {
            auto* e = static_cast<CElement*>(item);
            if (!found && qmtest::Utf8(e->m_text) == text)
                found = e;
        });
        return found;
    }
    // Selects the characters start .. end of the run holding text.
    void Select(const char* text, long start, long end)
    {
        CElement* run = Run(text);
        ASSERT_NE(run, nullptr) << text;
        run->m_selected = 1;
        run->m_selStart = start;
        run->m_selEnd = end;
        engine->m_doc.m_selectionPresent = 1;
    }
};

TEST_F(SelectionQueries, OneEmptyRunLeftSelectedCountsAsNone)
{
    Load("<table><tr><td>|</td></tr></table><p>x</p>");
    CXDoc& doc = engine->m_doc;
    CElement* run = doc.m_caretElement;
    ASSERT_TRUE(run && run->IsTextElement() && run->m_text.IsEmpty());
    CElement* cell = run->m_parent;
    // The walk alone leaves the cell's empty run selected.
    bool inside = false;
    doc.m_root->ProcessSelection(
        run->GetID(), CPoint(20, 20), cell->GetID(), CPoint(20, 20), inside, true, nullptr);
    ASSERT_TRUE(run->m_selected);
    doc.m_root->CleanSelection(true);
    doc.ProcessSelection(cell, CPoint(20, 20), run, CPoint(20, 20));
    EXPECT_FALSE(doc.CheckSelection());
    EXPECT_EQ(doc.m_selectionPresent, 0);
}

TEST_F(SelectionQueries, TheElementHoldingTheWholeSelection)
{
    struct Case
    {
        const char* markup;
        std::vector<std::tuple<const char*, long, long>> selected;
        int kind;
        const char* holder; // the holder's tag, "" for none
    };
    const Case cases[] = {
        {"<ul><li>one</li><li>two</li></ul>", {{"one", 0, 2}, {"two", 0, 2}}, kKindUl, "ul"},
        {"<ul><li>one</li><li>two</li></ul>", {{"one", 0, 2}, {"two", 0, 1}}, kKindUl, ""},
        {"<ul><li>one</li></ul><p>out</p>", {{"one", 0, 2}, {"out", 0, 2}}, kKindUl, ""},
        {"<ul><li>one</li></ul><ul><li>two</li></ul>", {{"one", 0, 2}, {"two", 0, 2}}, kKindUl, ""},
        {"<blockquote><p>a<b>bold</b></p></blockquote>", {{"bold", 0, 3}}, kKindBlockquote, "blockquote"},
        {"<p>none</p>", {}, kKindP, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        Load(c.markup);
        for (const auto& [text, start, end] : c.selected)
            Select(text, start, end);
        CElement* holder = engine->m_doc.IsSelectionUnderSameTag(c.kind);
        EXPECT_EQ(holder ? qmtest::Utf8(CSafeBuf(holder->GetTagName())) : "", c.holder);
    }
}

TEST_F(SelectionQueries, TopSelectedBlocks)
{
    struct Case
    {
        const char* markup;
        std::vector<const char*> selected; // runs selected whole
        int count;
        const char* listed; // the tags (a run by its text) listed
    };
    const Case cases[] = {
        {"<p>a</p><p>b</p><p>c</p>", {"a", "b"}, 2, "p p"},
        {"<div><p>a</p><p>b</p></div><p>c</p>", {"a", "b"}, 2, "p p"},
        {"<p>x<b>y</b>z</p>", {"y", "z"}, 1, "b z"},
        {"<p>x<b>y</b>z</p><p>w</p>", {"z", "w"}, 2, "p p"},
        {"<p>x</p>", {}, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        Load(c.markup);
        for (const char* text : c.selected)
            Select(text, 0, 0);
        CPtrList out;
        EXPECT_EQ(engine->m_doc.GetTopSelectedBlocks(&out), c.count);
        std::string listed;
        out.ForEachItem([&](void* item) {
            const auto* e = static_cast<const CElement*>(item);
            listed += (listed.empty() ? "" : " ")
                + (e->IsTextElement() ? qmtest::Utf8(e->m_text) : qmtest::Utf8(CSafeBuf(e->GetTagName())));
        });
        EXPECT_EQ(listed, c.listed);
    }
}

TEST_F(SelectionQueries, MarkedCellsGetTheirContentSelected)
{
    Load("<table><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></table>");
    CXDoc& doc = engine->m_doc;
    CElement* table = doc.m_root->FindChild(kKindTable, 0, true);
    ASSERT_NE(table, nullptr);
    doc.SelectChildOfMarkInTable(table);
    EXPECT_EQ(doc.m_selectionPresent, 0) << "no marked cell";
    Run("b")->m_parent->m_wholeCell = 1;
    Run("c")->m_parent->m_wholeCell = 1;
    doc.SelectChildOfMarkInTable(table);
    EXPECT_EQ(doc.m_selectionPresent, 1);
    for (const char* text : {"a", "b", "c", "d"})
        EXPECT_EQ(Run(text)->m_selected != 0, *text == 'b' || *text == 'c') << text;
    doc.CleanSelection();
    EXPECT_FALSE(doc.CheckSelection());
    EXPECT_EQ(Run("b")->m_parent->m_wholeCell, 0);
}

TEST_F(SelectionQueries, ButtonsFollowTheSelection)
{
    struct Case
    {
        const char* markup;
        const char* selected; // a run selected whole; null: the caret alone
        bool ordered, unordered, leaveQuote, image, indent;
    };
    const Case cases[] = {
        {"<ol><li>one</li></ol>", "one", true, false, false, true, false},
        {"<ul><li>one</li></ul>", "one", false, true, false, true, false},
        {"<p>one</p>", "one", false, false, false, true, false},
        {"<blockquote><p>one</p></blockquote>", "one", false, false, true, true, false},
        {"<pre>one</pre>", "one", false, false, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        Load(c.markup);
        buttons->checked.clear();
        buttons->enabled.clear();
        Select(c.selected, 0, 2);
        engine->m_doc.DisplaySelectionStyle();
        EXPECT_EQ(buttons->checked[7], c.ordered);
        EXPECT_EQ(buttons->checked[8], c.unordered);
        EXPECT_EQ(buttons->enabled[9], c.leaveQuote);
        EXPECT_EQ(buttons->enabled[16], c.image);
        EXPECT_EQ(buttons->enabled[39], c.indent);
        EXPECT_EQ(engine->m_doc.m_caretEnabled, 0);
    }
    // Without a selection the caret's place decides the blockquote button.
    for (const char* markup : {"<blockquote><p>o|ne</p></blockquote>", "<p>o|ne</p>"}) {
        Load(markup);
        engine->m_doc.DisplayTabStyle();
        EXPECT_EQ(buttons->enabled[9], markup[1] == 'b') << markup;
    }
}

TEST_F(PointerSelection, ADragCarriesItsEnginesOwnToken)
{
    Load("<p>one two three</p>");
    Step("drag 20 42 60 42");
    Step("wait 600");
    Step("press 40 42");
    Step("release 40 42");
    ASSERT_EQ(driver.drags.size(), 1u);
    EXPECT_NE(driver.token, 0u);
    EXPECT_EQ(driver.token, engine->m_doc.m_dragToken);
    CXHTML other;
    EXPECT_NE(other.m_doc.m_dragToken, engine->m_doc.m_dragToken);
}
