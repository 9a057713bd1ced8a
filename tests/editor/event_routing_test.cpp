// The engine's event routing: key translation by both roads, double-click
// timing, null events that track the pointer and scroll past the window's
// edge, word selection by double click, and text-input events.

#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"

#include "base/shims/TimeShims.h"
#include "editor/KeyRoute.h"
#include "element/Element.h"
#include "element/markup/SourceCode.h"
#include "platform/events/Event.h"
#include "platform/events/EventTarget.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"
#include "platform/input/KeyLayout.h"
#include "platform/np/EventRecord.h"
#include "platform/np/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using qm::events::Services;

class EventRouting : public qmtest::EngineWithControl
{
protected:
    void SetUp() override
    {
        EngineWithControl::SetUp();
        Advance(1000); // a clock that is not young
        engine->m_window = &window;
    }
    void TearDown() override
    {
        g_IsSafara = 0;
        Services::Get().Input() = qm::events::InputState();
        EngineWithControl::TearDown();
    }

    void Load(std::string markup)
    {
        const std::string::size_type at = markup.find('|');
        if (at != std::string::npos)
            markup.replace(at, 1, kCaretMarker);
        // Laid out 400 pixels wide: short runs stay whole.
        engine->m_doc.m_viewRect = CRect(0, 0, 400, 300);
        engine->m_doc.m_viewWidth = 400;
        engine->AssignWnd();
        ASSERT_TRUE(engine->LoadDocument(qmtest::FromUtf8(markup)));
    }

    bool Send(std::uint16_t what, int h, int v, std::uint16_t modifiers = 0, std::uint32_t message = 0)
    {
        if (what == mouseDown)
            Services::Get().Input().buttons |= qm::events::kButtonPrimary;
        if (what == mouseUp)
            Services::Get().Input().buttons &= ~qm::events::kButtonPrimary;
        EventRecord e{
            what, message, 0, {static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)}, modifiers};
        return engine->HandleEvent(&e);
    }

    // The characters a run of key events gives.
    std::u16string Translate(const std::vector<std::pair<std::uint32_t, std::uint16_t>>& keys)
    {
        std::u16string out;
        for (const auto& [message, modifiers] : keys) {
            EventRecord e{keyDown, message, 0, {0, 0}, modifiers};
            unsigned short c = 0;
            if (engine->TranslateKey(e, c))
                out += char16_t(c);
        }
        return out;
    }

    NPWindow window{nullptr, 0, 0, 200, 100, NPRect{0, 0, 100, 200}, NPWindowTypeDrawable};
};

std::uint32_t Key(std::uint8_t keyCode, std::uint8_t byte) { return (std::uint32_t(keyCode) << 8) | byte; }

TEST_F(EventRouting, KeyTranslationByTheLayout)
{
    using namespace qm::input;
    EXPECT_EQ(Translate({{Key(kVK_ANSI_A, 'a'), 0}}), u"a");
    EXPECT_EQ(Translate({{Key(kVK_ANSI_A, 'a'), qm::events::kModShift}}), u"A");
    EXPECT_EQ(Translate({{Key(kVK_ANSI_A, 1), qm::events::kModControl}}), u"\x01");
    EXPECT_EQ(Translate({{Key(kVK_Home, 1), 0}}), u"\x01");
    EXPECT_EQ(Translate({{Key(kVK_ANSI_Z, 'z'), qm::events::kModCommand}}), u"z");
    EXPECT_EQ(Translate({{Key(kVK_F1, 16), 0}}), u"\x10") << "the layout's own answer for a key without text";
    Services::Get().Input().noLayoutData = true;
    EXPECT_EQ(Translate({{Key(kVK_ANSI_A, 'a'), 0}}), u"") << "no layout data: no character";
}

TEST_F(EventRouting, KeyTranslationOfTwoByteCharactersArrivingAsTwoKeyEvents)
{
    g_IsSafara = 1;
    // GB 2312 B0 A1 and Shift_JIS 82 A0, each as two one-byte key events.
    EXPECT_EQ(Translate({{0xB0, 0}, {0xA1, 0}}), u"\u554A");
    EXPECT_EQ(Translate({{0x82, 0}, {0xA0, 0}}), u"\u3042");
    EXPECT_EQ(engine->m_pendingByte, 0u);
    // Key code 0 with the character 'a' is the real A key, typed at once.
    EXPECT_EQ(Translate({{0x61, 0}}), u"a");
    // A pair that decodes in neither encoding is dropped; the next pair is
    // read afresh.
    EXPECT_EQ(Translate({{0x82, 0}, {0x20, 0}, {0xB0, 0}, {0xA1, 0}}), u"\u554A");
    // A modifier or another key code takes the layout's road and forgets a
    // waiting byte.
    EXPECT_EQ(Translate({{0xB0, 0}, {Key(qm::input::kVK_ANSI_X, 'x'), 0}, {0xA1, 0}}), u"x");
    EXPECT_EQ(engine->m_pendingByte, 0xA1u);
    engine->m_pendingByte = 0;
    EXPECT_EQ(Translate({{0x62, qm::events::kModShift}}), u"A") << "key code 0 with Shift is the A key";
    g_IsSafara = 0;
    EXPECT_EQ(Translate({{0xB0, 0}}), u"a") << "a browser that sends whole characters";
}

TEST_F(EventRouting, MacOSRoman)
{
    EXPECT_EQ(CXHTML::MacRoman2UCS(0x41), 0x41);
    EXPECT_EQ(CXHTML::MacRoman2UCS(0x7F), 0x7F);
    EXPECT_EQ(CXHTML::MacRoman2UCS(0x80), 0xC4);
    EXPECT_EQ(CXHTML::MacRoman2UCS(0xA5), 0x2022);
    EXPECT_EQ(CXHTML::MacRoman2UCS(0xCA), 0xA0);
    EXPECT_EQ(CXHTML::MacRoman2UCS(0xDB), 0x20AC);
    EXPECT_EQ(CXHTML::MacRoman2UCS(0xF0), 0xF8FF);
    EXPECT_EQ(CXHTML::MacRoman2UCS(0xFF), 0x2C7);
    std::u16string high;
    for (int b = 0x80; b <= 0xFF; ++b) {
        const char16_t u = CXHTML::MacRoman2UCS(static_cast<unsigned char>(b));
        EXPECT_GE(u, 0xA0) << b;
        EXPECT_EQ(high.find(u), std::u16string::npos) << "each byte its own character: " << b;
        high += u;
    }
}

TEST_F(EventRouting, DoubleClickTiming)
{
    Load("<p>one|</p>");
    struct Press
    {
        int afterMs;
        int dx;
        bool doubleClick;
    };
    struct Case
    {
        const char* name;
        std::vector<Press> presses;
    };
    const Case cases[] = {
        {"499 ms apart at one point", {{0, 0, false}, {499, 0, true}}},
        {"500 ms apart", {{0, 0, false}, {500, 0, false}}},
        {"one pixel apart", {{0, 0, false}, {100, 1, false}}},
        {"a third press is never a second double click", {{0, 0, false}, {100, 0, true}, {100, 0, false}}},
        {"a fourth press pairs with the third",
            {{0, 0, false}, {100, 0, true}, {100, 0, false}, {100, 0, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine->m_lastPressTime = 0; // no press before the case's first
        for (const Press& p : c.presses) {
            // The clock counts in sixtieths of a second: the time since the
            // last press is set to the millisecond instead.
            if (engine->m_lastPressTime != 0)
                engine->m_lastPressTime = static_cast<unsigned int>(GetTickCount()) - unsigned(p.afterMs);
            engine->m_buttonHeld = 0;
            EXPECT_TRUE(Send(mouseDown, 50 + p.dx, 20));
            Send(mouseUp, 50 + p.dx, 20);
            EXPECT_EQ(engine->m_lastPressTime == 0, p.doubleClick);
        }
    }
}

TEST_F(EventRouting, AControlClickAnswersZeroAndResetsTheTiming)
{
    Load("<p>one|</p>");
    EXPECT_TRUE(Send(mouseDown, 50, 20));
    EXPECT_NE(engine->m_lastPressTime, 0u);
    Send(mouseUp, 50, 20);
    Advance(100);
    EXPECT_FALSE(Send(mouseDown, 50, 20, qm::events::kModControl));
    EXPECT_EQ(engine->m_lastPressTime, 0u);
    Send(mouseUp, 50, 20);
    Advance(100);
    EXPECT_TRUE(Send(mouseDown, 50, 20));
    EXPECT_NE(engine->m_lastPressTime, 0u) << "not paired with the press before the Control-click";
}

TEST_F(EventRouting, NullEventsTrackThePointerAndScrollPastTheEdge)
{
    Load("<p>one|</p>");
    control->m_windowChangePending = 1; // the short document stays scrolled
    DOC_SCROLL_BAR& bar = engine->m_doc.m_verticalBar;
    bar.SetMinimum(0);
    bar.SetMaximum(1000);
    bar.SetValue(0);
    engine->m_doc.m_scrollY = 0;
    engine->Init();
    Advance(100);

    EXPECT_TRUE(Send(nullEvent, 20, 20));
    EXPECT_EQ(engine->m_lastPointerX, 20);
    EXPECT_EQ(engine->m_scrollDirection, 0u) << "no button held";

    Send(mouseDown, 20, 20);
    for (int tick = 1; tick <= 3; ++tick) {
        EXPECT_TRUE(Send(nullEvent, 20, 110)); // 10 px below the window
        EXPECT_EQ(engine->m_scrollDirection, 1u);
        Advance(100);
        EXPECT_EQ(engine->m_doc.m_scrollY, 20 * tick);
    }
    Advance(100);
    EXPECT_EQ(engine->m_doc.m_scrollY, 60) << "a request is used once";
    const int directions[][3] = {{20, -5, 2}, {205, 50, 3}, {-5, 50, 4}};
    for (const auto& d : directions) {
        Send(nullEvent, d[0], d[1]);
        EXPECT_EQ(engine->m_scrollDirection, unsigned(d[2])) << d[0] << "," << d[1];
    }

    // Released outside the window: the next null event ends the press even
    // left of or above the window.
    Services::Get().Input().buttons = 0;
    Send(nullEvent, -5, 10);
    EXPECT_EQ(engine->m_buttonHeld, 0);
    engine->UnInit();
}

TEST_F(EventRouting, DoubleClickSelectsTheWordAtTheCaret)
{
    struct Case
    {
        const char* text;
        long caret;
        const char* selected; // "" for nothing selected
    };
    const Case cases[] = {
        {"two words", 5, "words"},
        {"two words", 1, "two"},
        {"two words", 3, "two"},
        {"ab..cd", 3, ""}, // on a separator without a word start
        {"ab..cd", 2, "ab"},
        {"two words", 9, ""},
        {"a-b", 2, "b"},
        {"h\xC3\xA9llo w\xC3\xB6rld", 8, "w\xC3\xB6rld"},
        {"x9_y", 0, "x9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.caret));
        Load(std::string("<p>") + c.text + "</p>");
        CElement* run = engine->m_doc.m_root->m_firstChild->m_firstChild;
        ASSERT_TRUE(run && run->IsTextElement());
        run->m_caretOffset = c.caret;
        engine->m_doc.m_pointerElement = run;
        engine->m_lastDoubleClickTime = 0;
        engine->OnLButtonDblClk(2, CPoint(0, 0));
        std::string selected;
        if (run->m_selected) {
            const CSafeBuf& t = run->m_text;
            for (long i = run->m_selStart; i <= run->m_selEnd; ++i)
                selected += qmtest::Utf8(CSafeBuf(t.Mid(i, 1)));
        }
        EXPECT_EQ(selected, c.selected);
        EXPECT_EQ(engine->m_lastDoubleClickTime != 0, *c.selected != 0);
    }
}

TEST_F(EventRouting, APressSoonAfterAWordSelectionSelectsTheParagraph)
{
    for (const int later : {400, 600}) {
        Load("<p>two |words</p><p>other</p>");
        CElement* run = engine->m_doc.m_caretElement;
        ASSERT_TRUE(run && run->IsTextElement());
        engine->m_doc.m_pointerElement = run;
        engine->m_lastDoubleClickTime = 0;
        engine->OnLButtonDblClk(2, CPoint(0, 0));
        Advance(later);
        engine->OnLButtonDown(2, CPoint(5, 5));
        EXPECT_EQ(run->m_selected != 0 && run->m_selStart == 0 && run->m_selEnd == 8, later < 500) << later;
    }
}

class TextInput : public EventRouting
{
protected:
    void SetUp() override
    {
        EventRouting::SetUp();
        control->m_focused = 1;
        engine->Init();
    }
    void TearDown() override
    {
        engine->UnInit();
        EventRouting::TearDown();
    }

    int SendText(const std::u16string& text, std::uint32_t kind, long fixedBytes = -1)
    {
        qm::events::Event e(qm::events::kEventClassTextInput, kind);
        e.SetParam(qm::events::kParamText, text);
        if (fixedBytes >= 0)
            e.SetParam(qm::events::FourCC("tsfx"), std::int64_t{fixedBytes});
        return qm::events::EventTarget::Application().SendEvent(e);
    }

    // The caret run's selected range as "start:end", or "none".
    std::string Selection()
    {
        const CElement* run = engine->m_doc.m_caretElement;
        if (!run || !run->m_selected)
            return "none";
        return std::to_string(run->m_selStart) + ":" + std::to_string(run->m_selEnd);
    }
};

TEST_F(TextInput, TheFirstEventIsNotTypedAndTellsTheControl)
{
    Load("<p>abc|def</p>");
    EXPECT_EQ(SendText(u"xyz", 1, 0), qm::events::kEventNotHandledErr) << "always passed on";
    EXPECT_EQ(Selection(), "none");
    EXPECT_EQ(control->m_textInputSeen, 1);
    SendText(u"xyz", 1, 0);
    EXPECT_EQ(Selection(), "3:5") << "an unconfirmed composition stays selected";
}

TEST_F(TextInput, ACompositionIsSelectedOnlyWithinTheCaretsRun)
{
    control->m_textInputSeen = 1;
    struct Case
    {
        const char* markup;
        std::u16string text;
        long fixedBytes;
        std::uint32_t kind;
        const char* selection;
    };
    const std::u16string long150(150, u'k');
    const std::string run300(300, 'r');
    const Case cases[] = {
        {"<p>abc|def</p>", u"xyz", 0, 1, "3:5"},
        {"<p>a|bc</p>", u"xyz", 0, 1, "1:3"},
        {"<p>|abc</p>", u"xyz", 0, 1, "0:2"},
        {"<p>abc|def</p>", u"xyz", 6, 1, "none"},
        {"<p>abc|def</p>", u"xyz", -1, 1, "none"},
        {"<p>abc|def</p>", u"xyz", 0, 2, "none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        Load(c.markup);
        SendText(c.text, c.kind, c.fixedBytes);
        EXPECT_EQ(Selection(), c.selection);
    }
    // A text longer than 100 units is read whole.
    Load("<p>" + run300 + "|</p>");
    SendText(long150, 1, 0);
    EXPECT_EQ(Selection(), "300:449");
}

TEST_F(TextInput, NothingIsTypedWithoutFocusOrWhileAPopUpShows)
{
    Load("<p>abc|def</p>");
    control->m_textInputSeen = 1;
    control->m_focused = 0;
    SendText(u"xyz", 1, 0);
    EXPECT_EQ(Selection(), "none");
    control->m_focused = 1;
    control->m_bPopupShowing = 1;
    SendText(u"xyz", 1, 0);
    EXPECT_EQ(Selection(), "none");
}

} // namespace
